#pragma once

#include "IdleSource.h"

#include <chrono>
#include <memory>

class WaylandIdleConnection;

// What the Wayland idle protocols share: the compositor says when the seat has been
// idle for a short timeout and when input resumes, so a poll asks it nothing. Idle
// time is the time since "idled" plus that timeout, and 0 until then or after
// "resumed". Subclasses make the protocol's notification object.
class WaylandIdleSource : public IdleSource
{
public:
    static constexpr std::chrono::milliseconds notifyAfter {5000};

    explicit WaylandIdleSource(std::shared_ptr<WaylandIdleConnection> connection);
    ~WaylandIdleSource() override;

    std::optional<double> idleSeconds(IdleQuery query) override;

protected:
    WaylandIdleConnection &connection() const { return *m_connection; }
    // Makes the notification object on the connection's seat; false when the
    // compositor does not offer the protocol.
    virtual bool subscribe() = 0;
    void idled();
    void resumed();

private:
    using Clock = std::chrono::steady_clock;

    std::shared_ptr<WaylandIdleConnection> m_connection;
    bool m_subscribed = false;
    bool m_triedSubscribing = false;
    bool m_idle = false;
    Clock::time_point m_idleSince;
};
