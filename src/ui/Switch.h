#pragma once

#include <QAbstractButton>

// An on/off switch: a rounded track with a sliding knob, filled with the accent
// colour while on. Space toggles it like any checkable button.
class Switch : public QAbstractButton
{
    Q_OBJECT

public:
    explicit Switch(QWidget *parent = nullptr);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    bool hitButton(const QPoint &pos) const override;
};
