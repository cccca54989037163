#include "ui/Units.h"

#include <QStringList>

#include <algorithm>

QString Units::label(Unit unit, qint64 count)
{
    const int n = int(std::clamp<qint64>(count, -1000000, 1000000));
    const bool one = n == 1;
    switch (unit) {
    case days:
        return one ? tr("day", nullptr, n) : tr("days", nullptr, n);
    case hours:
        return one ? tr("hour", nullptr, n) : tr("hours", nullptr, n);
    case minutes:
        return one ? tr("min", nullptr, n) : tr("mins", nullptr, n);
    case seconds:
        break;
    }
    return one ? tr("sec", nullptr, n) : tr("secs", nullptr, n);
}

QString Units::spoken(Unit unit, qint64 count)
{
    const int n = int(std::clamp<qint64>(count, -1000000, 1000000));
    const bool one = n == 1;
    switch (unit) {
    case days:
        return one ? tr("%n day", nullptr, n) : tr("%n days", nullptr, n);
    case hours:
        return one ? tr("%n hour", nullptr, n) : tr("%n hours", nullptr, n);
    case minutes:
        return one ? tr("%n minute", nullptr, n) : tr("%n minutes", nullptr, n);
    case seconds:
        break;
    }
    return one ? tr("%n second", nullptr, n) : tr("%n seconds", nullptr, n);
}

QString Units::timeLeft(const TimeRemaining &left)
{
    QStringList parts;
    if (left.days > 0)
        parts << spoken(days, left.days);
    if (left.days > 0 || left.hours > 0)
        parts << spoken(hours, left.hours);
    parts << spoken(minutes, left.minutes);
    return parts.join(QStringLiteral(", "));
}

QString Units::untilEvent(const QString &eventName, const TimeRemaining &left)
{
    const QString name = eventName.trimmed();
    return name.isEmpty() ? tr("%1 left").arg(timeLeft(left))
                          : tr("%1: %2 left").arg(name, timeLeft(left));
}
