// A one-line label that shows a text too long for it with "…" in its middle, so both the start
// and the file name stay in sight; text() keeps the whole text.
#pragma once

#include <QLabel>

class ElidedLabel : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;

protected:
    void paintEvent(QPaintEvent *event) override;
};
