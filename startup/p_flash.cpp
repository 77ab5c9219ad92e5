#include "startup/p_flash.h"

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>

Tflash::Tflash(QWidget *parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint), flash(new QLabel(this))
{
    setObjectName("flash");
    setFixedSize(350, 180);
    flash->setObjectName("flash_picture");
    flash->setGeometry(0, 0, 350, 180);
    flash->setPixmap(QPixmap(":/startup/splash.png"));
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}
