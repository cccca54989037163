#include "MutterIdleSource.h"

#include "DBusQuery.h"

MutterIdleSource::MutterIdleSource(const QDBusConnection &bus)
    : m_bus(bus)
{
}

std::optional<double> MutterIdleSource::idleSeconds(IdleQuery)
{
    DBusQuery query(m_bus, QStringLiteral("org.gnome.Mutter.IdleMonitor"),
        QStringLiteral("/org/gnome/Mutter/IdleMonitor/Core"),
        QStringLiteral("org.gnome.Mutter.IdleMonitor"), QStringLiteral("GetIdletime"));
    if (query.run(QStringLiteral("t")) != DBusQuery::Outcome::Answered)
        return std::nullopt;
    return double(query.arguments().value(0).toULongLong()) / 1000.0;
}
