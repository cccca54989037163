#pragma once

#include <QDBusArgument>
#include <QList>
#include <QObject>
#include <QString>

// GNOME's session manager, inhibited for the flags it was given.
class GnomeSessionManager : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.gnome.SessionManager")

public:
    explicit GnomeSessionManager(uint inhibitedFlags)
        : m_flags(inhibitedFlags)
    {
    }

public slots:
    bool IsInhibited(uint flags) { return (m_flags & flags) != 0; }

private:
    uint m_flags;
};

// The freedesktop power-management inhibitor (KDE, Xfce).
class PowerManagementInhibit : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.PowerManagement.Inhibit")

public:
    explicit PowerManagementInhibit(bool inhibited)
        : m_inhibited(inhibited)
    {
    }

public slots:
    bool HasInhibit() { return m_inhibited; }

private:
    bool m_inhibited;
};

struct LogindInhibitor
{
    QString what, who, why, mode;
    uint uid = 1000, pid = 1;
};
Q_DECLARE_METATYPE(LogindInhibitor)

inline QDBusArgument &operator<<(QDBusArgument &argument, const LogindInhibitor &inhibitor)
{
    argument.beginStructure();
    argument << inhibitor.what << inhibitor.who << inhibitor.why << inhibitor.mode << inhibitor.uid
             << inhibitor.pid;
    argument.endStructure();
    return argument;
}

inline const QDBusArgument &operator>>(const QDBusArgument &argument, LogindInhibitor &inhibitor)
{
    argument.beginStructure();
    argument >> inhibitor.what >> inhibitor.who >> inhibitor.why >> inhibitor.mode >> inhibitor.uid
        >> inhibitor.pid;
    argument.endStructure();
    return argument;
}

// systemd-logind's manager, listing the inhibitors it was given.
class Login1Manager : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.login1.Manager")

public:
    explicit Login1Manager(QList<LogindInhibitor> inhibitors)
        : m_inhibitors(std::move(inhibitors))
    {
    }

public slots:
    QList<LogindInhibitor> ListInhibitors() { return m_inhibitors; }

private:
    QList<LogindInhibitor> m_inhibitors;
};
