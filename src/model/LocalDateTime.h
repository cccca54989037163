#pragma once

#include <QDateTime>

// The moment the local clock shows `time` on `day`. A time the clock skips when it
// springs forward moves on by the gap, as the clock itself does (02:30 on a day that
// jumps from 02:00 to 03:00 is 03:30); a time the clock shows twice when it falls
// back is its first occurrence. Every place that puts a picked day and a picked time
// together goes through here, so none of them ends on an invalid or shifted moment.
QDateTime localDateTime(QDate day, QTime time);
