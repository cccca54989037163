#include "Switch.h"

#include "ui/Look.h"

#include <QPainter>
#include <QPainterPath>

Switch::Switch(QWidget *parent)
    : QAbstractButton(parent)
{
    setCheckable(true);
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::PointingHandCursor);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

QSize Switch::sizeHint() const
{
    return QSize(40, 24);
}

bool Switch::hitButton(const QPoint &pos) const
{
    return rect().contains(pos);
}

void Switch::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPalette &colors = palette();
    const QRectF track = QRectF(rect()).adjusted(2, 2, -2, -2);
    const qreal radius = track.height() / 2;

    QColor fill = isChecked() ? Look::accent(colors) : Look::separator(colors).darker(110);
    if (!isChecked())
        fill.setAlphaF(0.3);
    if (!isEnabled())
        fill.setAlphaF(fill.alphaF() * 0.4);
    painter.setPen(Qt::NoPen);
    painter.setBrush(fill);
    painter.drawRoundedRect(track, radius, radius);

    if (hasFocus()) {
        QColor ring = Look::accent(colors);
        ring.setAlphaF(0.6);
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(ring, 2));
        painter.drawRoundedRect(QRectF(rect()).adjusted(1, 1, -1, -1), radius + 1, radius + 1);
    }

    const qreal knobSize = track.height() - 4;
    const qreal x = isChecked() ? track.right() - 2 - knobSize : track.left() + 2;
    const QRectF knob(x, track.top() + 2, knobSize, knobSize);
    painter.setPen(QPen(QColor(0, 0, 0, 40), 0.5));
    painter.setBrush(isEnabled() ? QColor(Qt::white) : QColor(240, 240, 240));
    painter.drawEllipse(knob);
}
