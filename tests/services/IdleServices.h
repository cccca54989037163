#pragma once

#include <QDBusConnection>
#include <QObject>

// GNOME's idle monitor: milliseconds since the last input.
class MutterIdleMonitor : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.gnome.Mutter.IdleMonitor")

public:
    explicit MutterIdleMonitor(quint64 idleMs)
        : m_idleMs(idleMs)
    {
    }

public slots:
    quint64 GetIdletime() { return m_idleMs; }

private:
    quint64 m_idleMs;
};

// The freedesktop screen saver as KDE serves it: idle time in milliseconds.
class FreedesktopScreenSaver : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.ScreenSaver")

public:
    explicit FreedesktopScreenSaver(uint idleMs)
        : m_idleMs(idleMs)
    {
    }

public slots:
    uint GetSessionIdleTime() { return m_idleMs; }

private:
    uint m_idleMs;
};
