#include "ui/TabularNumber.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QStyle>

#include <cmath>

TabularNumber::TabularNumber(const QString &text, QWidget *parent)
    : QLabel(text, parent)
{
}

qreal TabularNumber::digitCell() const
{
    const QFontMetricsF metrics(font());
    qreal cell = 0;
    for (char16_t d = u'0'; d <= u'9'; ++d)
        cell = std::max(cell, metrics.horizontalAdvance(QChar(d)));
    return cell;
}

qreal TabularNumber::textWidth() const
{
    const QFontMetricsF metrics(font());
    const qreal cell = digitCell();
    qreal width = 0;
    for (const QChar c : text())
        width += c.isDigit() ? cell : metrics.horizontalAdvance(c);
    return width;
}

QSize TabularNumber::sizeHint() const
{
    const QMargins margins = contentsMargins();
    return QSize(int(std::ceil(textWidth())) + margins.left() + margins.right(),
        QFontMetrics(font()).height() + margins.top() + margins.bottom());
}

QSize TabularNumber::minimumSizeHint() const
{
    return sizeHint();
}

void TabularNumber::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setFont(font());
    painter.setPen(palette().color(foregroundRole()));
    const QFontMetricsF metrics(font());
    const QRectF area = contentsRect();
    const qreal width = textWidth();
    const Qt::Alignment align = QStyle::visualAlignment(layoutDirection(), alignment());
    qreal x = area.left();
    if (align & Qt::AlignHCenter)
        x += (area.width() - width) / 2;
    else if (align & Qt::AlignRight)
        x += area.width() - width;
    qreal top = area.top();
    if (align & Qt::AlignVCenter)
        top += (area.height() - metrics.height()) / 2;
    else if (align & Qt::AlignBottom)
        top += area.height() - metrics.height();
    const qreal baseline = top + metrics.ascent();
    const qreal cell = digitCell();
    // Digits left to right whatever the layout direction, as a number reads.
    for (const QChar c : text()) {
        const qreal advance = metrics.horizontalAdvance(c);
        const qreal box = c.isDigit() ? cell : advance;
        painter.drawText(QPointF(x + (box - advance) / 2, baseline), QString(c));
        x += box;
    }
}
