#include "about/p_about.h"

Tabout::Tabout(QWidget *parent) : QDialog(parent)
{
    setObjectName("about");
    setWindowTitle("About");
}
