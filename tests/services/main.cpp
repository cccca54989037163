// Stand-ins for desktop services on a private bus, for the platform tests.
//   daystride_test_service BUS_ADDRESS SPEC...
// Each SPEC is one of
//   mutter=MS screensaver=MS session=FLAGS power=0|1
//   logind=WHAT/MODE[,WHAT/MODE...] (empty for none)
//   silent=NAME deny=NAME
// Prints "ready" once every name is taken, then serves until terminated.
#include "IdleServices.h"
#include "InhibitorServices.h"
#include "MisbehavingService.h"

#include <QCoreApplication>
#include <QDBusMetaType>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    qDBusRegisterMetaType<LogindInhibitor>();
    qDBusRegisterMetaType<QList<LogindInhibitor>>();
    const QStringList args = app.arguments().mid(1);
    if (args.isEmpty())
        return 2;
    QDBusConnection bus = QDBusConnection::connectToBus(args.first(), QStringLiteral("services"));
    if (!bus.isConnected())
        return 3;

    auto serve = [&](const QString &name, const QString &path, QObject *object) {
        object->setParent(&app);
        return bus.registerObject(path, object, QDBusConnection::ExportAllSlots)
            && bus.registerService(name);
    };
    for (const QString &spec : args.mid(1)) {
        const QString kind = spec.section(QLatin1Char('='), 0, 0);
        const QString value = spec.section(QLatin1Char('='), 1);
        bool ok = false;
        if (kind == u"mutter") {
            ok = serve(QStringLiteral("org.gnome.Mutter.IdleMonitor"),
                QStringLiteral("/org/gnome/Mutter/IdleMonitor/Core"),
                new MutterIdleMonitor(value.toULongLong()));
        } else if (kind == u"screensaver") {
            ok = serve(QStringLiteral("org.freedesktop.ScreenSaver"),
                QStringLiteral("/org/freedesktop/ScreenSaver"),
                new FreedesktopScreenSaver(value.toUInt()));
        } else if (kind == u"session") {
            ok = serve(QStringLiteral("org.gnome.SessionManager"),
                QStringLiteral("/org/gnome/SessionManager"),
                new GnomeSessionManager(value.toUInt()));
        } else if (kind == u"power") {
            ok = serve(QStringLiteral("org.freedesktop.PowerManagement"),
                QStringLiteral("/org/freedesktop/PowerManagement/Inhibit"),
                new PowerManagementInhibit(value == u"1"));
        } else if (kind == u"logind") {
            QList<LogindInhibitor> inhibitors;
            for (const QString &entry : value.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
                LogindInhibitor inhibitor;
                inhibitor.what = entry.section(QLatin1Char('/'), 0, 0);
                inhibitor.mode = entry.section(QLatin1Char('/'), 1);
                inhibitor.who = QStringLiteral("test");
                inhibitor.why = QStringLiteral("testing");
                inhibitors.append(inhibitor);
            }
            ok = serve(QStringLiteral("org.freedesktop.login1"),
                QStringLiteral("/org/freedesktop/login1"), new Login1Manager(inhibitors));
        } else if (kind == u"silent" || kind == u"deny") {
            auto *object = new MisbehavingService(bus,
                kind == u"silent" ? MisbehavingService::Mode::Silent
                                  : MisbehavingService::Mode::Deny);
            object->setParent(&app);
            ok = bus.registerVirtualObject(QStringLiteral("/"), object, QDBusConnection::SubPath)
                && bus.registerService(value);
        }
        if (!ok) {
            std::fprintf(stderr, "cannot serve %s\n", qPrintable(spec));
            return 4;
        }
    }
    std::printf("ready\n");
    std::fflush(stdout);
    return app.exec();
}
