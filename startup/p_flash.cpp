#include "startup/p_flash.h"

#include "platform/qt/ui.h"

#include <QLabel>

Tflash::Tflash(QWidget *parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint), flash(new QLabel(this))
{
    setObjectName("flash");
    setFixedSize(350, 180);
    flash->setObjectName("flash_picture");
    flash->setGeometry(0, 0, 350, 180);
    flash->setPixmap(QPixmap(":/startup/splash.png"));
    quelvane::center_on_screen(*this);
}
