#include "IdleTime.h"

#include "DBusIdleSource.h"
#include "ExtIdleNotifySource.h"
#include "KdeIdleSource.h"
#include "MutterIdleSource.h"
#include "WaylandIdleConnection.h"
#include "XSyncIdleSource.h"

#include <cmath>

IdleTime::Session IdleTime::currentSession()
{
    const QString type = qEnvironmentVariable("XDG_SESSION_TYPE").toLower();
    if (type == u"x11")
        return Session::X11;
    if (type == u"wayland")
        return Session::Wayland;
    if (!qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        return Session::X11;
    return Session::Wayland;
}

IdleTime::IdleTime(Session session, const QDBusConnection &sessionBus)
{
    if (session == Session::X11) {
        m_sources.push_back(std::make_unique<XSyncIdleSource>());
    } else {
        const auto wayland = std::make_shared<WaylandIdleConnection>();
        m_sources.push_back(std::make_unique<ExtIdleNotifySource>(wayland));
        m_sources.push_back(std::make_unique<KdeIdleSource>(wayland));
    }
    m_sources.push_back(std::make_unique<MutterIdleSource>(sessionBus));
    m_sources.push_back(
        std::make_unique<DBusIdleSource>(sessionBus, DBusIdleSource::screenSaver()));
}

IdleTime::~IdleTime() = default;

std::optional<IdleTime::Source> IdleTime::source() const
{
    if (!m_chosen)
        return std::nullopt;
    return m_chosen->kind();
}

double IdleTime::idleSeconds(IdleQuery query)
{
    if (m_chosen) {
        if (const std::optional<double> seconds = m_chosen->idleSeconds(query))
            return *seconds;
        m_chosen = nullptr;
    }
    for (const std::unique_ptr<IdleSource> &candidate : m_sources) {
        if (const std::optional<double> seconds = candidate->idleSeconds(query)) {
            m_chosen = candidate.get();
            return *seconds;
        }
    }
    return std::nan("");
}
