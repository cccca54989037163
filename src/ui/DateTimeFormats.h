#pragma once

#include <QLocale>
#include <QString>

// Display formats for the date and time fields: the locale's own short formats,
// with the year always in full and the time in hours and minutes, on the 12- or
// 24-hour clock as the locale has it.
class DateTimeFormats
{
public:
    static QString date(const QLocale &locale = QLocale());
    static QString time(const QLocale &locale = QLocale());
    // The date, a space, and the time.
    static QString dateTime(const QLocale &locale = QLocale());
};
