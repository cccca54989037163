#include "Countdown.h"

#include <QCoreApplication>

#include <algorithm>

namespace {

// `days` calendar days after `start` at the same wall-clock time, by addDays so a
// time in a skipped hour moves on as it always has. Qt 6.4's addDays overflows for
// spans of a few hundred thousand years; there the moment is built from the date.
QDateTime daysLater(const QDateTime &start, qint64 days)
{
    const QDate date = start.date().addDays(days);
    const QDateTime moved = start.addDays(days);
    if (moved.isValid() && std::abs(moved.date().daysTo(date)) <= 1)
        return moved;
    return QDateTime(date, start.time());
}

} // namespace

TimeRemaining timeRemainingBetween(const QDateTime &now, const QDateTime &target)
{
    if (!now.isValid() || !target.isValid() || target <= now)
        return {};

    const QDateTime start = now.toLocalTime();
    const QDateTime end = target.toLocalTime();
    // The days follow from the wall-clock dates and times; a skipped or repeated hour
    // moves the result by at most one day either way.
    qint64 days = start.date().daysTo(end.date()) - (end.time() < start.time() ? 1 : 0);
    days = std::max<qint64>(days, 0);
    QDateTime reached = daysLater(start, days);
    for (int step = 0; step < 2 && days > 0 && !(reached.isValid() && reached <= target); ++step)
        reached = daysLater(start, --days);
    if (const QDateTime next = daysLater(start, days + 1); next.isValid() && next <= target) {
        ++days;
        reached = next;
    }

    const qint64 ms = reached.isValid() ? std::max<qint64>(reached.msecsTo(target), 0) : 0;
    const qint64 totalSeconds = ms / 1000;
    return {days, totalSeconds / 3600, totalSeconds / 60 % 60, totalSeconds % 60};
}

QString menuBarTextBetween(const QDateTime &now, const QDateTime &target)
{
    const TimeRemaining left = timeRemainingBetween(now, target);
    // The unit letters, in the user's language, follow each number directly.
    QString text;
    if (left.days > 0)
        text += QString::number(left.days) + QCoreApplication::translate("Countdown", "d") + u' ';
    if (left.hours > 0)
        text += QString::number(left.hours) + QCoreApplication::translate("Countdown", "h") + u' ';
    if (left.minutes > 0)
        text += QString::number(left.minutes) + QCoreApplication::translate("Countdown", "m");
    return text;
}

qint64 msecsPastNextTurn(const QDateTime &now, const QDateTime &target, qint64 period, qint64 past)
{
    const auto pastNextTurn = [&](qint64 msecs) {
        const qint64 left = (msecs % period + period) % period;
        return (left == 0 ? period : left) + past;
    };
    // The text turns with the time left; with no event ahead, with the clock.
    const qint64 msecs = now.toMSecsSinceEpoch();
    if (target.isValid() && target.toMSecsSinceEpoch() > msecs)
        return pastNextTurn(target.toMSecsSinceEpoch() - msecs);
    return pastNextTurn(-msecs);
}

qint64 msecsToNextTextChange(const QDateTime &now, const QDateTime &target)
{
    // A little past the whole minute: at the whole minute itself the text still reads
    // the minute before, and a clock being slowed into step may run a few
    // milliseconds behind the timer. One met to the millisecond waits for the next,
    // so a clock that stands still never spins. Only the minutes wake the program.
    return msecsPastNextTurn(now, target, 60000, 20);
}
