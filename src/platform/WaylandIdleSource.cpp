#include "WaylandIdleSource.h"

#include "WaylandIdleConnection.h"

WaylandIdleSource::WaylandIdleSource(std::shared_ptr<WaylandIdleConnection> connection)
    : m_connection(std::move(connection))
{
}

WaylandIdleSource::~WaylandIdleSource() = default;

std::optional<double> WaylandIdleSource::idleSeconds(IdleQuery)
{
    if (!m_triedSubscribing) {
        m_triedSubscribing = true;
        m_subscribed = m_connection->isConnected() && subscribe() && m_connection->flush();
    }
    if (!m_subscribed || !m_connection->isConnected())
        return std::nullopt;
    if (!m_idle)
        return 0.0;
    return std::chrono::duration<double>(Clock::now() - m_idleSince).count();
}

void WaylandIdleSource::idled()
{
    m_idle = true;
    m_idleSince = Clock::now() - notifyAfter;
}

void WaylandIdleSource::resumed()
{
    m_idle = false;
}
