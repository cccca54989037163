#pragma once

#include "IdleSource.h"

#include <QDBusConnection>

// A session-bus service asked for the milliseconds since the last input, with a
// method that takes no arguments and answers one unsigned number.
class DBusIdleSource : public IdleSource
{
public:
    struct Method
    {
        Kind kind;
        QString service, path, interface, name;
        QString signature; // of the answer
    };

    DBusIdleSource(const QDBusConnection &bus, Method method);

    // The session's org.freedesktop.ScreenSaver service (KDE Plasma, some others);
    // KDE, the desktop that implements the call, answers in milliseconds.
    static Method screenSaver();

    Kind kind() const override { return m_method.kind; }
    std::optional<double> idleSeconds(IdleQuery query) override;

private:
    QDBusConnection m_bus;
    Method m_method;
};
