#include "ui/Stepper.h"

#include "ui/Accessibility.h"
#include "ui/Look.h"

#include <QAccessible>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

namespace {
constexpr int controlWidth = 52;
constexpr int gap = 8;
} // namespace

Stepper::Stepper(qint64 minimum, qint64 maximum, const QString &format, QWidget *parent)
    : QWidget(parent)
    , m_minimum(minimum)
    , m_maximum(std::max(minimum, maximum))
    , m_value(minimum)
    , m_format(format)
{
    setFocusPolicy(Qt::StrongFocus);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    Accessibility::install();
}

void Stepper::announceValue()
{
    if (!QAccessible::isActive())
        return;
    QAccessibleValueChangeEvent event(this, m_value);
    QAccessible::updateAccessibility(&event);
}

void Stepper::setValue(qint64 value)
{
    // Shown as it is, also outside the range: it is the value in force.
    if (value == m_value)
        return;
    m_value = value;
    updateGeometry();
    update();
    announceValue();
}

void Stepper::stepBy(qint64 steps)
{
    // From outside the range, the first step towards it lands on its nearest end.
    const qint64 next = std::clamp(m_value + steps, m_minimum, m_maximum);
    if (next == m_value || (steps > 0) != (next > m_value))
        return;
    m_value = next;
    updateGeometry();
    update();
    announceValue();
    emit valueChanged(m_value);
}

QString Stepper::text() const
{
    return QString(m_format).replace(QStringLiteral("%lld"), QString::number(m_value));
}

QSize Stepper::sizeHint() const
{
    // Wide enough for the widest value, so the row does not jump while stepping.
    const qint64 largest = std::max({qAbs(m_minimum), qAbs(m_maximum), qAbs(m_value)});
    const QString widest = QString(m_format).replace(
        QStringLiteral("%lld"), QString(QString::number(largest).size(), QLatin1Char('0')));
    return QSize(fontMetrics().horizontalAdvance(widest) + gap + controlWidth, 24);
}

QRectF Stepper::controlRect() const
{
    return QRectF(width() - controlWidth, 0, controlWidth, height()).adjusted(1, 1, -1, -1);
}

QRectF Stepper::downRect() const
{
    const QRectF box = controlRect();
    return QRectF(box.left(), box.top(), box.width() / 2, box.height());
}

QRectF Stepper::upRect() const
{
    const QRectF box = controlRect();
    return QRectF(box.center().x(), box.top(), box.width() / 2, box.height());
}

void Stepper::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPalette &colors = palette();
    QColor textColor
        = colors.color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText);
    painter.setPen(textColor);
    painter.drawText(QRectF(0, 0, width() - controlWidth - gap, height()),
        Qt::AlignRight | Qt::AlignVCenter, text());

    const QRectF box = controlRect();
    painter.setPen(
        QPen(hasFocus() ? Look::accent(colors) : Look::separator(colors), hasFocus() ? 1.5 : 1));
    painter.setBrush(colors.color(QPalette::Button));
    painter.drawRoundedRect(box, 6, 6);
    painter.setPen(QPen(Look::separator(colors), 1));
    painter.drawLine(
        QPointF(box.center().x(), box.top() + 4), QPointF(box.center().x(), box.bottom() - 4));

    // Each half greys out at its end of the range, and both with the widget.
    auto symbolColor = [&](bool available) {
        QColor color = available && isEnabled() ? colors.color(QPalette::ButtonText)
                                                : Look::secondary(colors);
        if (!isEnabled())
            color.setAlphaF(color.alphaF() * 0.5f);
        return color;
    };
    const qreal arm = 4;
    painter.setPen(QPen(symbolColor(m_value > m_minimum), 1.6, Qt::SolidLine, Qt::RoundCap));
    const QPointF down = downRect().center();
    painter.drawLine(down - QPointF(arm, 0), down + QPointF(arm, 0));
    painter.setPen(QPen(symbolColor(m_value < m_maximum), 1.6, Qt::SolidLine, Qt::RoundCap));
    const QPointF up = upRect().center();
    painter.drawLine(up - QPointF(arm, 0), up + QPointF(arm, 0));
    painter.drawLine(up - QPointF(0, arm), up + QPointF(0, arm));
}

void Stepper::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || !controlRect().contains(event->position()))
        return QWidget::mousePressEvent(event);
    stepBy(upRect().contains(event->position()) ? 1 : -1);
}

void Stepper::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Up:
    case Qt::Key_Plus:
        stepBy(1);
        break;
    case Qt::Key_Down:
    case Qt::Key_Minus:
        stepBy(-1);
        break;
    default:
        QWidget::keyPressEvent(event);
    }
}
