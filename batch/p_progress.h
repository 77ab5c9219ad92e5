// The progress dialog that runs the batch.
#pragma once

#include <QDialog>

class Tmain;

class Tprogress : public QDialog {
    Q_OBJECT
public:
    explicit Tprogress(Tmain &main, QWidget *parent = nullptr);

private:
    Tmain &main_;
};
