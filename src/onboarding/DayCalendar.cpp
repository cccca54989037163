#include "onboarding/DayCalendar.h"

#include <QPainter>

DayCalendar::DayCalendar(QWidget *parent)
    : QCalendarWidget(parent)
{
}

void DayCalendar::paintCell(QPainter *painter, const QRect &rect, QDate date) const
{
    if (date >= minimumDate())
        return QCalendarWidget::paintCell(painter, rect, date);
    painter->save();
    painter->fillRect(rect, palette().brush(QPalette::Base));
    painter->setPen(palette().color(QPalette::Disabled, QPalette::Text));
    painter->drawText(rect, Qt::AlignCenter, locale().toString(date.day()));
    painter->restore();
}
