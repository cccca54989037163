#pragma once

#include <QDateTime>
#include <QString>

// Days, hours, minutes and seconds from one moment to another, each 0 or more.
struct TimeRemaining
{
    qint64 days = 0;
    qint64 hours = 0;
    qint64 minutes = 0;
    qint64 seconds = 0;

    friend bool operator==(const TimeRemaining &, const TimeRemaining &) = default;
};

// Whole calendar days in local time first (a day across a daylight-saving change
// is 23 or 25 hours), then elapsed hours, minutes and seconds. A target at or
// before `now` gives zeros.
TimeRemaining timeRemainingBetween(const QDateTime &now, const QDateTime &target);

// The panel text: "12d 4h 5m", "2d 15m", "3h ", "1d ", or empty below a minute.
QString menuBarTextBetween(const QDateTime &now, const QDateTime &target);

// Milliseconds from `now` to `past` after the next moment the time left to `target`
// passes a whole `period`, or, with no event ahead, the wall clock does.
qint64 msecsPastNextTurn(const QDateTime &now, const QDateTime &target, qint64 period, qint64 past);

// Milliseconds from `now` to a little past the next moment the panel text may turn:
// the time left to `target` passing a whole minute (an event with seconds turns at
// another second), or, with no event ahead, the wall clock's next whole minute.
qint64 msecsToNextTextChange(const QDateTime &now, const QDateTime &target);
