// Stand-ins for desktop services for the platform tests: BUS_ADDRESS SERVICE..., each
// SERVICE mutter=MS (with a user-active watch: Input() fires it, Readings() counts the
// GetIdletime calls), screensaver=MS, session=FLAGS, power=0|1, logind=WHAT/MODE,...,
// portal=SCHEME (the Settings portal's color-scheme; its SetColorScheme(u) switches
// it and signals SettingChanged), lock=0|1 and gnomelock=0|1 (a screen saver's
// GetActive; SetActive(b) switches it and signals ActiveChanged), loginsession=0|1
// (logind's session and its LockedHint; SetLockedHint(b) switches it and signals
// PropertiesChanged, Lock() signals Lock), silent=NAME (never answers) or deny=NAME
// (refuses), displaymanager=VERSION (GDM's Version property, which GNOME Shell asks
// before it builds its lock screen).
// Prints "ready", then serves.
#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QDBusVirtualObject>

#include <cstdio>
#include <optional>
#include <utility>

// One entry of logind's ListInhibitors: (what, who, why, mode, uid, pid).
struct Inhibitor
{
    QString what, mode;
};
Q_DECLARE_METATYPE(Inhibitor)

QDBusArgument &operator<<(QDBusArgument &argument, const Inhibitor &inhibitor)
{
    argument.beginStructure();
    argument << inhibitor.what << QStringLiteral("test") << QStringLiteral("testing")
             << inhibitor.mode << 1000u << 1u;
    argument.endStructure();
    return argument;
}

const QDBusArgument &operator>>(const QDBusArgument &argument, Inhibitor &)
{
    return argument; // never read back
}

// Answers each method as its argument says; silent or refuses on misbehaving interfaces.
class Services : public QDBusVirtualObject
{
public:
    QDBusConnection bus = QDBusConnection(QString());
    QMap<QString, QVariant> answers; // by method name
    QMap<QString, QString> misbehaving; // name -> silent or deny
    QList<QDBusMessage> pending; // kept, so the bus never answers them for us
    std::optional<uint> colorScheme; // set when serving as the Settings portal
    QString displayManagerVersion;
    uint readings = 0; // GetIdletime calls
    bool watchArmed = false;

    // Mutter's user-active watch: armed by a call, fired by the test's Input().
    bool handleMutterWatch(const QDBusMessage &call)
    {
        if (call.member() == u"AddUserActiveWatch") {
            watchArmed = true;
            return bus.send(call.createReply(7u));
        }
        if (call.member() == u"Readings")
            return bus.send(call.createReply(readings));
        if (call.member() != u"Input")
            return false;
        if (std::exchange(watchArmed, false)) {
            QDBusMessage fired = QDBusMessage::createSignal(
                "/org/gnome/Mutter/IdleMonitor/Core", "org.gnome.Mutter.IdleMonitor", "WatchFired");
            fired << 7u;
            bus.send(fired);
        }
        return bus.send(call.createReply());
    }

    bool lockServed = false;
    bool locked = false; // the screen savers' and logind's lock state

    static inline const QString sessionPath = QStringLiteral("/org/freedesktop/login1/session/_31");

    // The lock: its answers, its switches and the signals they send.
    bool handleLock(const QDBusMessage &call)
    {
        const QString member = call.member();
        if (member == u"GetActive")
            return bus.send(call.createReply(locked));
        if (member == u"GetSessionByPID" || member == u"GetUser")
            return bus.send(call.createReply(QVariant::fromValue(QDBusObjectPath(sessionPath))));
        if (member == u"Get" && call.arguments().value(1).toString() == u"LockedHint")
            return bus.send(call.createReply(QVariant::fromValue(QDBusVariant(locked))));
        QDBusMessage signal;
        if (member == u"SetActive") {
            locked = call.arguments().value(0).toBool();
            signal = QDBusMessage::createSignal(call.path(), call.interface(), "ActiveChanged");
            signal << locked;
        } else if (member == u"SetLockedHint") {
            locked = call.arguments().value(0).toBool();
            signal = QDBusMessage::createSignal(
                sessionPath, "org.freedesktop.DBus.Properties", "PropertiesChanged");
            signal << QStringLiteral("org.freedesktop.login1.Session")
                   << QVariantMap {{QStringLiteral("LockedHint"), locked}} << QStringList();
        } else if (member == u"Lock") {
            signal = QDBusMessage::createSignal(
                sessionPath, "org.freedesktop.login1.Session", QStringLiteral("Lock"));
        } else {
            return false;
        }
        bus.send(signal);
        return bus.send(call.createReply());
    }

    QDBusMessage readPortalSetting(const QDBusMessage &call) const
    {
        const QVariantList args = call.arguments();
        if (!colorScheme || args.value(0).toString() != u"org.freedesktop.appearance"
            || args.value(1).toString() != u"color-scheme")
            return call.createErrorReply(
                QStringLiteral("org.freedesktop.portal.Error.NotFound"), QStringLiteral("none"));
        // Read answers a variant inside a variant, as the real portal does.
        return call.createReply(
            QVariant::fromValue(QDBusVariant(QVariant::fromValue(QDBusVariant(*colorScheme)))));
    }

    QString introspect(const QString &) const override { return {}; }
    bool handleMessage(const QDBusMessage &call, const QDBusConnection &) override
    {
        for (auto it = misbehaving.cbegin(); it != misbehaving.cend(); ++it) {
            if (!call.interface().startsWith(it.key()))
                continue;
            if (it.value() == u"silent")
                pending.append(call);
            else
                bus.send(
                    call.createErrorReply(QStringLiteral("org.freedesktop.DBus.Error.AccessDenied"),
                        QStringLiteral("no")));
            return true;
        }
        if (call.interface() == u"org.freedesktop.portal.Settings" && call.member() == u"Read")
            return bus.send(readPortalSetting(call));
        if (call.member() == u"SetColorScheme" && colorScheme) {
            *colorScheme = call.arguments().value(0).toUInt();
            QDBusMessage changed
                = QDBusMessage::createSignal(QStringLiteral("/org/freedesktop/portal/desktop"),
                    QStringLiteral("org.freedesktop.portal.Settings"),
                    QStringLiteral("SettingChanged"));
            changed << QStringLiteral("org.freedesktop.appearance")
                    << QStringLiteral("color-scheme")
                    << QVariant::fromValue(QDBusVariant(*colorScheme));
            bus.send(changed);
            return bus.send(call.createReply());
        }
        if (call.member() == u"Get" && call.arguments().value(1).toString() == u"Version"
            && !displayManagerVersion.isEmpty())
            return bus.send(
                call.createReply(QVariant::fromValue(QDBusVariant(displayManagerVersion))));
        if (lockServed && handleLock(call))
            return true;
        if (answers.contains(QStringLiteral("GetIdletime")) && handleMutterWatch(call))
            return true;
        readings += call.member() == u"GetIdletime";
        if (!answers.contains(call.member()))
            return false;
        QVariant answer = answers.value(call.member());
        if (call.member() == u"IsInhibited") // inhibited for any of the flags asked about
            answer = (answer.toUInt() & call.arguments().value(0).toUInt()) != 0;
        return bus.send(call.createReply(answer));
    }
};

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    qDBusRegisterMetaType<Inhibitor>();
    qDBusRegisterMetaType<QList<Inhibitor>>();
    const QStringList args = app.arguments().mid(1);
    Services services;
    services.bus = QDBusConnection::connectToBus(args.value(0), QStringLiteral("services"));
    bool ok = services.bus.registerVirtualObject(
        QStringLiteral("/"), &services, QDBusConnection::SubPath);
    // kind -> the name it takes and the method it answers
    const QMap<QString, QStringList> kinds = {
        {"mutter", {"org.gnome.Mutter.IdleMonitor", "GetIdletime"}},
        {"screensaver", {"org.freedesktop.ScreenSaver", "GetSessionIdleTime"}},
        {"session", {"org.gnome.SessionManager", "IsInhibited"}},
        {"power", {"org.freedesktop.PowerManagement", "HasInhibit"}},
        {"logind", {"org.freedesktop.login1", "ListInhibitors"}},
        {"portal", {"org.freedesktop.portal.Desktop", "Read"}},
        {"lock", {"org.freedesktop.ScreenSaver", "GetActive"}},
        {"gnomelock", {"org.gnome.ScreenSaver", "GetActive"}},
        {"loginsession", {"org.freedesktop.login1", "GetSessionByPID"}},
        {"displaymanager", {"org.gnome.DisplayManager", "Get"}},
    };
    for (const QString &arg : args.mid(1)) {
        const QString kind = arg.section('=', 0, 0), value = arg.section('=', 1);
        QList<Inhibitor> inhibitors;
        for (const QString &entry : value.split(',', Qt::SkipEmptyParts))
            inhibitors.append({entry.section('/', 0, 0), entry.section('/', 1)});
        const QVariant answer = kind == u"mutter" ? QVariant(value.toULongLong())
            : kind == u"power"                    ? QVariant(value == u"1")
            : kind == u"logind"                   ? QVariant::fromValue(inhibitors)
                                                  : QVariant(value.toUInt());
        if (kind == u"portal") {
            services.colorScheme = value.toUInt();
        } else if (kind == u"displaymanager") {
            services.displayManagerVersion = value;
        } else if (kind.endsWith(u"lock") || kind == u"loginsession") {
            services.lockServed = true;
            services.locked = value == u"1";
        } else if (kinds.contains(kind)) {
            services.answers[kinds[kind][1]] = answer;
        } else if (kind == u"silent" || kind == u"deny") {
            services.misbehaving[value] = kind;
        } else {
            ok = false;
        }
        ok = ok && services.bus.registerService(kinds.value(kind, {value}).first());
    }
    std::printf(ok ? "ready\n" : "cannot serve\n");
    std::fflush(stdout);
    return ok ? app.exec() : 1;
}
