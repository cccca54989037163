#pragma once

#include <QCalendarWidget>

// A month calendar for picking a day from the minimum date on: the days before it
// are drawn in the disabled text colour, as they cannot be picked.
class DayCalendar : public QCalendarWidget
{
    Q_OBJECT

public:
    explicit DayCalendar(QWidget *parent = nullptr);

    // Wide enough for the locale's day names: at Qt's own hint the first of them
    // is elided in German and French.
    QSize minimumSizeHint() const override;
    QSize sizeHint() const override;

protected:
    void paintCell(QPainter *painter, const QRect &rect, QDate date) const override;
};
