#include "onboarding/DayCalendar.h"

#include "ui/Accessibility.h"

#include <QAbstractItemView>
#include <QPainter>
#include <QSpinBox>
#include <QToolButton>

DayCalendar::DayCalendar(QWidget *parent)
    : QCalendarWidget(parent)
{
    Accessibility::install();
    // The calendar's own parts have no names for assistive technology.
    const std::pair<const char *, QString> parts[] = {
        {"qt_calendar_prevmonth", tr("Previous month")},
        {"qt_calendar_nextmonth", tr("Next month")},
        {"qt_calendar_monthbutton", tr("Month")},
        {"qt_calendar_yearbutton", tr("Year")},
        {"qt_calendar_yearedit", tr("Year")},
        {"qt_calendar_calendarview", tr("Day")},
    };
    for (const auto &[objectName, name] : parts) {
        if (auto *part = findChild<QWidget *>(QLatin1String(objectName)))
            part->setAccessibleName(name);
    }
}

QSize DayCalendar::minimumSizeHint() const
{
    QSize size = QCalendarWidget::minimumSizeHint();
    QFont header = font();
    header.setBold(true);
    const QFontMetrics metrics(header);
    int widest = 0;
    for (int day = Qt::Monday; day <= Qt::Sunday; ++day)
        widest = std::max(
            widest, metrics.horizontalAdvance(locale().dayName(day, QLocale::ShortFormat)));
    // The day table pads each cell a few pixels on either side.
    size.setWidth(std::max(size.width(), 7 * (widest + 6)));
    return size;
}

QSize DayCalendar::sizeHint() const
{
    return QCalendarWidget::sizeHint().expandedTo(minimumSizeHint());
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
