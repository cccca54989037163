#pragma once

#include <QFont>
#include <QRectF>
#include <QString>

class QPainter;

// One cell of the countdown's checklist: a circle symbol (checked when completed)
// and the task's title, struck through when completed. A light layout rather than a
// widget, so the countdown repaints in one pass. It takes its font and colour from
// the grid that holds it.
class TodoView
{
public:
    TodoView(const QString &todoTitle, bool isCompleted);

    const QString &todoTitle() const { return m_todoTitle; }
    bool isCompleted() const { return m_isCompleted; }
    // The platform symbol this cell stands for.
    QString symbolName() const;

    // Lays the row out at the leading edge of `cell`, vertically centred, in the
    // grid's font; the title shrinks to half size, then is truncated.
    void layout(const QFont &font, const QRectF &cell);

    QRectF cell() const { return m_cell; }
    QRectF symbolRect() const { return m_symbolRect; }
    QRectF titleRect() const { return m_titleRect; }
    const QString &shownTitle() const { return m_shownTitle; }
    const QFont &titleFont() const { return m_titleFont; }
    qreal baseline() const { return m_baseline; }

    // Draws with the painter's pen colour.
    void paint(QPainter &painter) const;

private:
    QString m_todoTitle;
    bool m_isCompleted = false;
    QRectF m_cell;
    QRectF m_symbolRect;
    QRectF m_titleRect;
    QString m_shownTitle;
    QFont m_titleFont;
    qreal m_baseline = 0;
    qreal m_strokeWidth = 1;
};
