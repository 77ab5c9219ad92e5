#include "batch/elided_label.h"

#include <QPainter>
#include <QStyle>

void ElidedLabel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QRect room = contentsRect();
    const QString shown = fontMetrics().elidedText(text(), Qt::ElideMiddle, room.width());
    style()->drawItemText(&painter, room, alignment(), palette(), isEnabled(), shown,
                          foregroundRole());
}
