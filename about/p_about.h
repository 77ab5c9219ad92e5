// The About dialog.
#pragma once

#include <QDialog>

class Tabout : public QDialog {
    Q_OBJECT
public:
    explicit Tabout(QWidget *parent = nullptr);
};
