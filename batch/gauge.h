// A horizontal bar gauge: 0..100, the value and a percent sign centred over the bar.
#pragma once

#include <QColor>
#include <QWidget>

class TGauge : public QWidget {
    Q_OBJECT
public:
    explicit TGauge(const QColor &bar, QWidget *parent = nullptr);

    int minimum() const { return 0; }
    int maximum() const { return 100; }
    int value() const { return value_; }
    // A value outside the range shows the nearest end; a change repaints at once.
    void setValue(int value);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QColor bar_;
    int value_ = 0;
};
