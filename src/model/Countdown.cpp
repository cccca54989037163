#include "Countdown.h"

#include <algorithm>

TimeRemaining timeRemainingBetween(const QDateTime &now, const QDateTime &target)
{
    if (!now.isValid() || !target.isValid() || target <= now)
        return {};

    const QDateTime start = now.toLocalTime();
    // A first guess from the calendar dates, corrected so that adding the days
    // never passes the target, even where it lands in a skipped hour.
    qint64 days = start.date().daysTo(target.toLocalTime().date());
    while (days > 0 && start.addDays(days) > target)
        --days;
    for (QDateTime next = start.addDays(days + 1); next.isValid() && next <= target;
         next = start.addDays(days + 1))
        ++days;
    days = std::max<qint64>(days, 0);

    const qint64 ms = std::max<qint64>(start.addDays(days).msecsTo(target), 0);
    const qint64 totalSeconds = ms / 1000;
    return {days, totalSeconds / 3600, totalSeconds / 60 % 60, totalSeconds % 60};
}

QString menuBarTextBetween(const QDateTime &now, const QDateTime &target)
{
    const TimeRemaining left = timeRemainingBetween(now, target);
    QString text;
    if (left.days > 0)
        text += QString::number(left.days) + QStringLiteral("d ");
    if (left.hours > 0)
        text += QString::number(left.hours) + QStringLiteral("h ");
    if (left.minutes > 0)
        text += QString::number(left.minutes) + QStringLiteral("m");
    return text;
}
