#include "mainwin/p_main.h"

Tmain::Tmain(QWidget *parent) : QMainWindow(parent)
{
    setObjectName("main");
    setWindowTitle("Quelvane 0.2.3");
    auto *client = new QWidget(this);
    client->setFixedSize(868, 401);
    setCentralWidget(client);
}

void Tmain::set_dialogs(Tabout *about, Tprogress *progress)
{
    about_ = about;
    progress_ = progress;
}
