#include "MutterIdleSource.h"

#include "DBusQuery.h"

namespace {
const QString service = QStringLiteral("org.gnome.Mutter.IdleMonitor");
const QString path = QStringLiteral("/org/gnome/Mutter/IdleMonitor/Core");
} // namespace

MutterIdleSource::MutterIdleSource(const QDBusConnection &bus)
    : m_bus(bus)
    , m_shell(service, bus, QDBusServiceWatcher::WatchForOwnerChange)
{
    connect(&m_shell, &QDBusServiceWatcher::serviceOwnerChanged, this, [this] {
        m_read = false;
        m_watch = 0;
    });
    m_bus.connect(
        service, path, service, QStringLiteral("WatchFired"), this, SLOT(watchFired(uint)));
}

std::optional<double> MutterIdleSource::idleSeconds(IdleQuery query)
{
    if ((!m_read || query == IdleQuery::Fresh) && !read())
        return std::nullopt;
    const auto idle = std::max(Clock::now() - m_idleSince, Clock::duration::zero());
    return std::chrono::duration<double>(idle).count();
}

bool MutterIdleSource::read()
{
    DBusQuery idletime(m_bus, service, path, service, QStringLiteral("GetIdletime"));
    if (idletime.run(QStringLiteral("t")) != DBusQuery::Outcome::Answered) {
        m_read = false;
        return false;
    }
    m_idleSince
        = Clock::now() - std::chrono::milliseconds(idletime.arguments().value(0).toULongLong());
    // Armed once per reading: a watch that stayed armed would fire on every input.
    if (!m_watch) {
        DBusQuery watch(m_bus, service, path, service, QStringLiteral("AddUserActiveWatch"));
        if (watch.run(QStringLiteral("u")) == DBusQuery::Outcome::Answered)
            m_watch = watch.arguments().value(0).toUInt();
    }
    // Without a watch nothing would tell of input: every question reads again.
    m_read = m_watch != 0;
    return true;
}

void MutterIdleSource::watchFired(uint id)
{
    if (!m_watch || id != m_watch)
        return;
    // The watch is spent; the next reading arms another.
    m_watch = 0;
    m_idleSince = Clock::now();
}
