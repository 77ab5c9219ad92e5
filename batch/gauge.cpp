#include "batch/gauge.h"

#include <QPainter>

#include <algorithm>

TGauge::TGauge(const QColor &bar, QWidget *parent) : QWidget(parent), bar_(bar)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TGauge::setValue(int value)
{
    const int clamped = std::clamp(value, minimum(), maximum());
    if (clamped == value_)
        return;
    value_ = clamped;
    repaint();
}

void TGauge::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QRect frame = rect().adjusted(0, 0, -1, -1);
    painter.fillRect(rect(), Qt::white);
    painter.setPen(Qt::black);
    painter.drawRect(frame);

    const QRect inside = rect().adjusted(1, 1, -1, -1);
    QRect filled = inside;
    filled.setWidth(inside.width() * value_ / maximum());
    painter.fillRect(filled, bar_);

    // The text reads as its background's inverse, so it shows on the bar and off it alike.
    const QString text = QString::number(value_) + QLatin1Char('%');
    painter.setClipRect(filled);
    painter.setPen(QColor(255 - bar_.red(), 255 - bar_.green(), 255 - bar_.blue()));
    painter.drawText(inside, Qt::AlignCenter, text);
    painter.setClipRect(QRect(filled.right() + 1, inside.top(), inside.right() - filled.right(),
                              inside.height()));
    painter.setPen(Qt::black);
    painter.drawText(inside, Qt::AlignCenter, text);
}
