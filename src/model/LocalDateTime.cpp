#include "LocalDateTime.h"

#include <algorithm>

QDateTime localDateTime(QDate day, QTime time)
{
    // Qt makes no moment of a skipped time, and either one of a repeated time,
    // depending on what the C library converted last.
    const QDateTime plain(day, time);
    if (!day.isValid() || !time.isValid())
        return plain;
    // The clock's reading taken as UTC, less the offset in force a day before and a
    // day after it: each is the moment the clock reads so, if it ever does.
    const QDateTime reading(day, time, Qt::UTC);
    constexpr qint64 daySeconds = 24 * 60 * 60;
    const int before = reading.addSecs(-daySeconds).toLocalTime().offsetFromUtc();
    const int after = reading.addSecs(daySeconds).toLocalTime().offsetFromUtc();
    // The larger offset gives the earlier moment.
    for (const int offset : {std::max(before, after), std::min(before, after)}) {
        const QDateTime moment = reading.addSecs(-offset).toLocalTime();
        if (moment.date() == day && moment.time() == time)
            return moment;
    }
    if (plain.isValid())
        return plain;
    // Skipped: read with the offset from before the change, the time lies as far
    // past the change as it lay past the start of the gap.
    return reading.addSecs(-before).toLocalTime();
}
