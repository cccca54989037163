#include "ui/RoundedBox.h"

#include "ui/Accessibility.h"
#include "ui/Look.h"

#include <QPainter>
#include <QPainterPath>

RoundedBox::RoundedBox(QWidget *parent)
    : RoundedBox(Style::box, parent)
{
}

RoundedBox::RoundedBox(Style style, QWidget *parent)
    : QFrame(parent)
    , m_style(style)
    , m_border(style == Style::field)
{
    // Only a background: a group to a screen reader, never a window of its own.
    Accessibility::setRole(this, QAccessible::Grouping);
}

void RoundedBox::setBorder(bool border)
{
    m_border = border;
    update();
}

void RoundedBox::setFocusBorder(bool focused)
{
    if (focused == m_focused)
        return;
    m_focused = focused;
    update();
}

qreal RoundedBox::borderWidth() const
{
    if (m_focused)
        return 1.5;
    return m_border ? 1.0 : 0.0;
}

void RoundedBox::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal radius = m_style == Style::box ? 10 : 6;
    QColor fill = m_style == Style::box ? Look::quaternaryFill(palette())
                                        : palette().color(QPalette::Window);
    fill.setAlphaF(fill.alphaF() * 0.5f);
    painter.setPen(Qt::NoPen);
    painter.setBrush(fill);
    painter.drawRoundedRect(QRectF(rect()), radius, radius);

    const qreal width = borderWidth();
    if (width > 0) {
        // Inside the shape: inset by half the pen.
        const QRectF edge = QRectF(rect()).adjusted(width / 2, width / 2, -width / 2, -width / 2);
        painter.setBrush(Qt::NoBrush);
        painter.setPen(
            QPen(m_focused ? Look::accent(palette()) : Look::separator(palette()), width));
        painter.drawRoundedRect(edge, radius - width / 2, radius - width / 2);
    }
}
