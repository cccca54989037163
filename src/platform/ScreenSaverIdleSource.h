#pragma once

#include "IdleSource.h"

#include <QDBusConnection>

// The session's org.freedesktop.ScreenSaver service (KDE Plasma, some others).
class ScreenSaverIdleSource : public IdleSource
{
public:
    explicit ScreenSaverIdleSource(const QDBusConnection &bus);

    Kind kind() const override { return Kind::ScreenSaver; }
    std::optional<double> idleSeconds(IdleQuery query) override;

private:
    QDBusConnection m_bus;
};
