#pragma once

#include "IdleSource.h"

#include <QDBusConnection>

// GNOME Shell's idle monitor on the session bus (GNOME on X11 and Wayland).
class MutterIdleSource : public IdleSource
{
public:
    explicit MutterIdleSource(const QDBusConnection &bus);

    Kind kind() const override { return Kind::MutterIdleMonitor; }
    std::optional<double> idleSeconds(IdleQuery query) override;

private:
    QDBusConnection m_bus;
};
