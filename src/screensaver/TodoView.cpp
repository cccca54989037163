#include "TodoView.h"

#include "FittedText.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>

TodoView::TodoView(const QString &todoTitle, bool isCompleted)
    : m_todoTitle(todoTitle)
    , m_isCompleted(isCompleted)
{
}

QString TodoView::symbolName() const
{
    return m_isCompleted ? QStringLiteral("checkmark.circle") : QStringLiteral("circle");
}

void TodoView::layout(const QFont &font, const QRectF &cell)
{
    m_cell = cell;
    const QFontMetricsF metrics(font);
    const qreal size = font.pixelSize() > 0 ? font.pixelSize() : metrics.height();
    // Like a symbol set in the text's size: a little smaller than the em, centred on
    // the capitals, standing on the baseline.
    const qreal diameter = 0.85 * size;
    const qreal spacing = 0.3 * size;
    m_strokeWidth = std::max<qreal>(1.0, size / 16.0);

    const qreal lineHeight = metrics.ascent() + metrics.descent();
    m_baseline = cell.top() + (cell.height() - lineHeight) / 2 + metrics.ascent();
    const qreal centreY = m_baseline - metrics.capHeight() / 2;
    m_symbolRect = QRectF(cell.left(), centreY - diameter / 2, diameter, diameter);

    const qreal titleLeft = m_symbolRect.right() + spacing;
    const FittedText fitted
        = FittedText::fit(font, m_todoTitle, std::max<qreal>(0, cell.right() - titleLeft));
    m_titleFont = fitted.font;
    m_titleFont.setStrikeOut(m_isCompleted);
    m_shownTitle = fitted.text;
    m_titleRect = QRectF(titleLeft, m_baseline - metrics.ascent(), fitted.width, lineHeight);
}

void TodoView::paint(QPainter &painter) const
{
    const QColor colour = painter.pen().color();
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    QPen pen(colour, m_strokeWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    const qreal inset = m_strokeWidth / 2;
    const QRectF ring = m_symbolRect.adjusted(inset, inset, -inset, -inset);
    painter.drawEllipse(ring);
    if (m_isCompleted) {
        const qreal w = ring.width();
        QPainterPath check;
        check.moveTo(ring.left() + 0.28 * w, ring.top() + 0.52 * w);
        check.lineTo(ring.left() + 0.44 * w, ring.top() + 0.68 * w);
        check.lineTo(ring.left() + 0.73 * w, ring.top() + 0.35 * w);
        painter.drawPath(check);
    }
    painter.setFont(m_titleFont);
    painter.setPen(colour);
    painter.drawText(QPointF(m_titleRect.left(), m_baseline), m_shownTitle);
    painter.restore();
}
