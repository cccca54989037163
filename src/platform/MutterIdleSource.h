#pragma once

#include "IdleSource.h"

#include <QDBusConnection>
#include <QDBusServiceWatcher>
#include <QObject>

#include <chrono>

// GNOME Shell's idle monitor (GNOME on X11 and Wayland), asked as little as the X
// server's counter is: one reading, then a user-active watch tells of the first
// input after it. Until the next reading a cheap answer counts from that input, or
// from the reading, on the program's own clock; it may run ahead of the truth, never
// behind it, so a fresh reading confirms it before the screens are covered.
class MutterIdleSource : public QObject, public IdleSource
{
    Q_OBJECT

public:
    explicit MutterIdleSource(const QDBusConnection &bus);

    Kind kind() const override { return Kind::MutterIdleMonitor; }
    std::optional<double> idleSeconds(IdleQuery query) override;

private slots:
    void watchFired(uint id);

private:
    using Clock = std::chrono::steady_clock;
    bool read();

    QDBusConnection m_bus;
    QDBusServiceWatcher m_shell; // gone, its watch is gone with it
    Clock::time_point m_idleSince;
    bool m_read = false; // a reading to count from
    uint m_watch = 0; // the user-active watch armed at the last reading; 0: none
};
