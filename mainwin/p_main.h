// The main window.
#pragma once

#include <QMainWindow>

class Tabout;
class Tprogress;

class Tmain : public QMainWindow {
    Q_OBJECT
public:
    explicit Tmain(QWidget *parent = nullptr);

    // The dialogs are created after the main window; it is told of them once they exist.
    void set_dialogs(Tabout *about, Tprogress *progress);

private:
    Tabout *about_ = nullptr;
    Tprogress *progress_ = nullptr;
};
