// The splash picture shown while the helper tool is checked.
#pragma once

#include <QWidget>

class QLabel;

class Tflash : public QWidget {
    Q_OBJECT
public:
    explicit Tflash(QWidget *parent = nullptr);

private:
    QLabel *flash;
};
