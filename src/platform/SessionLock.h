#pragma once

#include <QAbstractNativeEventFilter>
#include <QDBusConnection>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariantMap>

// Whether the session is locked or blanked, from every place a desktop tells it:
// systemd-logind's LockedHint and its Lock signal, the screen savers of the session
// bus (org.freedesktop.ScreenSaver as KDE, XFCE, MATE and Cinnamon offer it, and
// GNOME's org.gnome.ScreenSaver, from its helper or the shell), and on X11 the
// screen saver extension. An X11 locker such as i3lock tells nobody: it takes the
// keyboard, which is how it is recognised.
class SessionLock : public QObject, public QAbstractNativeEventFilter
{
    Q_OBJECT

public:
    SessionLock(const QDBusConnection &sessionBus, const QDBusConnection &systemBus,
        QObject *parent = nullptr);
    ~SessionLock() override;

    // Asks every source now; one that is absent or fails says "not locked".
    bool isLocked();
    // Whether another X11 client holds the keyboard, as a locker does while it holds
    // the screen. Tried with a grab that is released in the same instant, so a
    // locker starting then still gets it on its next try. False off X11.
    static bool keyboardHeldElsewhere();

    bool nativeEventFilter(const QByteArray &eventType, void *message, qintptr *result) override;

signals:
    // The session was locked or blanked just now.
    void locked();

private slots:
    void screenSaverActiveChanged(bool active);
    void logindLock();
    void logindPropertiesChanged(
        const QString &interface, const QVariantMap &changed, const QStringList &invalidated);

private:
    QString logindSessionPath();
    bool logindLockedHint();
    bool screenSaverActive(const QString &service, const QString &path, const QString &interface);
    bool xScreenSaverOn() const;
    void watchX11();

    QDBusConnection m_sessionBus;
    QDBusConnection m_systemBus;
    QString m_sessionPath;
    bool m_sessionPathAsked = false;
    quint8 m_xScreenSaverNotify = 0; // the extension's event code; 0 off X11
};
