#include "SessionLock.h"

#include "DBusQuery.h"

#include <QDBusArgument>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QGuiApplication>

#include <cstdlib>
#include <unistd.h>
#include <xcb/screensaver.h>
#include <xcb/xcb.h>

namespace {
const QString logindService = QStringLiteral("org.freedesktop.login1");
const QString logindSession = QStringLiteral("org.freedesktop.login1.Session");
const QString propertiesInterface = QStringLiteral("org.freedesktop.DBus.Properties");

// The screen savers of the session bus: service, object, interface. KDE offers the
// freedesktop one at both paths. GNOME's org.gnome.ScreenSaver is a helper the bus
// starts on a first call, so a session locked from the shell's menu or by its idle
// lock may have none: the shell itself answers under its own name.
struct ScreenSaver
{
    QString service;
    QString path;
    QString interface;
};
const QList<ScreenSaver> screenSavers = {
    {QStringLiteral("org.freedesktop.ScreenSaver"), QStringLiteral("/org/freedesktop/ScreenSaver"),
        QStringLiteral("org.freedesktop.ScreenSaver")},
    {QStringLiteral("org.freedesktop.ScreenSaver"), QStringLiteral("/ScreenSaver"),
        QStringLiteral("org.freedesktop.ScreenSaver")},
    {QStringLiteral("org.gnome.ScreenSaver"), QStringLiteral("/org/gnome/ScreenSaver"),
        QStringLiteral("org.gnome.ScreenSaver")},
    {QStringLiteral("org.gnome.Shell.ScreenShield"), QStringLiteral("/org/gnome/ScreenSaver"),
        QStringLiteral("org.gnome.ScreenSaver")},
};

xcb_connection_t *xcbConnection()
{
    auto *x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->connection() : nullptr;
}

// A property's value from a Properties.Get answer.
QVariant propertyValue(DBusQuery &query)
{
    if (query.run(QStringLiteral("v")) != DBusQuery::Outcome::Answered)
        return {};
    return query.arguments().value(0).value<QDBusVariant>().variant();
}
} // namespace

SessionLock::SessionLock(
    const QDBusConnection &sessionBus, const QDBusConnection &systemBus, QObject *parent)
    : QObject(parent)
    , m_sessionBus(sessionBus)
    , m_systemBus(systemBus)
{
    for (const ScreenSaver &saver : screenSavers) {
        // From any sender: a locker may hold the name under another connection later.
        m_sessionBus.connect(QString(), saver.path, saver.interface,
            QStringLiteral("ActiveChanged"), this, SLOT(screenSaverActiveChanged(bool)));
    }
    const QString session = logindSessionPath();
    if (!session.isEmpty()) {
        m_systemBus.connect(logindService, session, logindSession, QStringLiteral("Lock"), this,
            SLOT(logindLock()));
        m_systemBus.connect(logindService, session, propertiesInterface,
            QStringLiteral("PropertiesChanged"), this,
            SLOT(logindPropertiesChanged(QString, QVariantMap, QStringList)));
    }
    watchX11();
}

SessionLock::~SessionLock()
{
    if (m_xScreenSaverNotify && QCoreApplication::instance())
        QCoreApplication::instance()->removeNativeEventFilter(this);
}

bool SessionLock::isLocked()
{
    if (logindLockedHint() || xScreenSaverOn())
        return true;
    for (const ScreenSaver &saver : screenSavers) {
        if (screenSaverActive(saver.service, saver.path, saver.interface))
            return true;
    }
    return false;
}

QString SessionLock::logindSessionPath()
{
    if (m_sessionPathAsked)
        return m_sessionPath;
    m_sessionPathAsked = true;
    const QString manager = QStringLiteral("/org/freedesktop/login1");
    const QString managerInterface = QStringLiteral("org.freedesktop.login1.Manager");
    DBusQuery byPid(m_systemBus, logindService, manager, managerInterface,
        QStringLiteral("GetSessionByPID"), {QVariant::fromValue(uint(getpid()))});
    if (byPid.run(QStringLiteral("o")) == DBusQuery::Outcome::Answered) {
        m_sessionPath = byPid.arguments().value(0).value<QDBusObjectPath>().path();
        return m_sessionPath;
    }
    // Started outside the session's own processes (a user service, autostart through
    // systemd): the user's graphical session is the one that locks.
    DBusQuery user(m_systemBus, logindService, manager, managerInterface, QStringLiteral("GetUser"),
        {QVariant::fromValue(uint(getuid()))});
    if (user.run(QStringLiteral("o")) != DBusQuery::Outcome::Answered)
        return m_sessionPath;
    DBusQuery display(m_systemBus, logindService,
        user.arguments().value(0).value<QDBusObjectPath>().path(), propertiesInterface,
        QStringLiteral("Get"),
        {QStringLiteral("org.freedesktop.login1.User"), QStringLiteral("Display")});
    if (display.run(QStringLiteral("v")) != DBusQuery::Outcome::Answered)
        return m_sessionPath;
    // (so): the session's id and object.
    const QDBusArgument value
        = display.arguments().value(0).value<QDBusVariant>().variant().value<QDBusArgument>();
    QString id;
    QDBusObjectPath path;
    value.beginStructure();
    value >> id >> path;
    value.endStructure();
    if (!id.isEmpty())
        m_sessionPath = path.path();
    return m_sessionPath;
}

bool SessionLock::logindLockedHint()
{
    const QString session = logindSessionPath();
    if (session.isEmpty())
        return false;
    DBusQuery hint(m_systemBus, logindService, session, propertiesInterface, QStringLiteral("Get"),
        {logindSession, QStringLiteral("LockedHint")});
    return propertyValue(hint).toBool();
}

bool SessionLock::screenSaverActive(
    const QString &service, const QString &path, const QString &interface)
{
    DBusQuery active(m_sessionBus, service, path, interface, QStringLiteral("GetActive"));
    return active.run(QStringLiteral("b")) == DBusQuery::Outcome::Answered
        && active.arguments().value(0).toBool();
}

void SessionLock::watchX11()
{
    xcb_connection_t *connection = xcbConnection();
    if (!connection)
        return;
    const xcb_query_extension_reply_t *extension
        = xcb_get_extension_data(connection, &xcb_screensaver_id);
    if (!extension || !extension->present)
        return;
    m_xScreenSaverNotify = extension->first_event + XCB_SCREENSAVER_NOTIFY;
    for (auto it = xcb_setup_roots_iterator(xcb_get_setup(connection)); it.rem;
         xcb_screen_next(&it)) {
        xcb_screensaver_select_input(connection, it.data->root, XCB_SCREENSAVER_EVENT_NOTIFY_MASK);
    }
    xcb_flush(connection);
    QCoreApplication::instance()->installNativeEventFilter(this);
}

bool SessionLock::xScreenSaverOn() const
{
    xcb_connection_t *connection = xcbConnection();
    if (!connection || !m_xScreenSaverNotify)
        return false;
    bool on = false;
    for (auto it = xcb_setup_roots_iterator(xcb_get_setup(connection)); it.rem;
         xcb_screen_next(&it)) {
        xcb_screensaver_query_info_reply_t *info = xcb_screensaver_query_info_reply(
            connection, xcb_screensaver_query_info(connection, it.data->root), nullptr);
        // Blanked by the server, or cycling its own screen saver.
        if (info && info->state != XCB_SCREENSAVER_STATE_OFF
            && info->state != XCB_SCREENSAVER_STATE_DISABLED)
            on = true;
        free(info);
    }
    return on;
}

bool SessionLock::keyboardHeldElsewhere()
{
    xcb_connection_t *connection = xcbConnection();
    if (!connection)
        return false;
    bool held = false;
    for (auto it = xcb_setup_roots_iterator(xcb_get_setup(connection)); it.rem;
         xcb_screen_next(&it)) {
        xcb_grab_keyboard_reply_t *grab = xcb_grab_keyboard_reply(connection,
            xcb_grab_keyboard(connection, false, it.data->root, XCB_CURRENT_TIME,
                XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC),
            nullptr);
        if (grab && grab->status == XCB_GRAB_STATUS_SUCCESS)
            xcb_ungrab_keyboard(connection, XCB_CURRENT_TIME);
        else if (grab)
            held = grab->status == XCB_GRAB_STATUS_ALREADY_GRABBED
                || grab->status == XCB_GRAB_STATUS_FROZEN;
        free(grab);
        if (held)
            break;
    }
    xcb_flush(connection);
    return held;
}

bool SessionLock::nativeEventFilter(const QByteArray &eventType, void *message, qintptr *)
{
    if (!m_xScreenSaverNotify || eventType != "xcb_generic_event_t")
        return false;
    const auto *event = static_cast<const xcb_generic_event_t *>(message);
    if ((event->response_type & 0x7f) != m_xScreenSaverNotify)
        return false;
    const auto *notify = static_cast<const xcb_screensaver_notify_event_t *>(message);
    if (notify->state == XCB_SCREENSAVER_STATE_ON || notify->state == XCB_SCREENSAVER_STATE_CYCLE)
        emit locked();
    return false;
}

void SessionLock::screenSaverActiveChanged(bool active)
{
    if (active)
        emit locked();
}

void SessionLock::logindLock()
{
    emit locked();
}

void SessionLock::logindPropertiesChanged(
    const QString &interface, const QVariantMap &changed, const QStringList &)
{
    if (interface == logindSession && changed.value(QStringLiteral("LockedHint")).toBool())
        emit locked();
}
