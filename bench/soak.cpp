// A long run of the real program: idle with the minute tick and the idle poll, then
// popover opens and closes through the panel item's Activate, then showings of the
// countdown closed by a pointer motion. Prints resident memory and open file
// descriptors at the start and after each stage; growth is a fault, not a figure.
//   soak [--idle-seconds S] [--popovers N] [--showings N]
#include "RemoteObject.h"
#include "TestBus.h"
#include "TestStatusNotifierWatcher.h"

#include <QCoreApplication>
#include <QDBusMessage>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>

namespace {

double rssMiB(qint64 pid)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024;
    }
    return 0;
}

qsizetype openFds(qint64 pid)
{
    return QDir(QStringLiteral("/proc/%1/fd").arg(pid))
        .entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot)
        .size();
}

// Runs an X tool quietly; its exit code.
int xtool(const QStringList &arguments)
{
    QProcess process;
    process.start(QStringLiteral("xdotool"), arguments);
    process.waitForFinished(5000);
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

void report(const char *stage, qint64 pid, const QElapsedTimer &clock)
{
    std::printf("| %-40s | %7.0f s | %8.1f MiB | %5lld fds |\n", stage, clock.elapsed() / 1000.0,
        rssMiB(pid), static_cast<long long>(openFds(pid)));
    std::fflush(stdout);
}

} // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    int idleSeconds = 600;
    int popovers = 500;
    int showings = 100;
    const QStringList args = app.arguments();
    for (int i = 1; i + 1 < args.size(); i += 2) {
        if (args[i] == QLatin1String("--idle-seconds"))
            idleSeconds = args[i + 1].toInt();
        else if (args[i] == QLatin1String("--popovers"))
            popovers = args[i + 1].toInt();
        else if (args[i] == QLatin1String("--showings"))
            showings = args[i + 1].toInt();
    }

    QTemporaryDir config;
    QDir(config.path()).mkpath(QStringLiteral("Daystride"));
    QFile settings(config.path() + QStringLiteral("/Daystride/Daystride.conf"));
    settings.open(QIODevice::WriteOnly);
    // The idle poll runs; a delay of a day keeps the idle stage from showing.
    settings.write("[General]\nonboarded=true\nidleEnabled=true\nidleMinutes=1440\n");
    settings.close();

    TestBus bus;
    TestStatusNotifierWatcher watcher(bus.connection());
    if (!bus.isRunning() || !watcher.start()) {
        std::fprintf(stderr, "soak: the private bus or its watcher did not start\n");
        return 1;
    }
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), bus.address());
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), config.path());
    QProcess daystride;
    daystride.setProcessEnvironment(environment);
    daystride.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    daystride.start(QStringLiteral(DAYSTRIDE_EXECUTABLE), {});
    daystride.waitForStarted();
    QElapsedTimer waited;
    waited.start();
    while (watcher.registrations() == 0 && waited.elapsed() < 10000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    const qint64 pid = daystride.processId();
    const QString service = QStringLiteral("org.kde.StatusNotifierItem-%1-1").arg(pid);
    const RemoteObject item {bus.connection(), service, QStringLiteral("/StatusNotifierItem"),
        QStringLiteral("org.kde.StatusNotifierItem")};
    const RemoteObject menu {bus.connection(), service, QStringLiteral("/MenuBar"),
        QStringLiteral("com.canonical.dbusmenu")};
    const int showId = menu.menuItemId(QStringLiteral("Show Countdown"));

    QElapsedTimer clock;
    clock.start();
    QTest::qWait(5000);
    std::printf("| %-40s | %9s | %12s | %9s |\n", "stage", "time", "RSS", "open");
    std::printf("|%s|%s|%s|%s|\n", QByteArray(42, '-').constData(), QByteArray(11, '-').constData(),
        QByteArray(14, '-').constData(), QByteArray(11, '-').constData());
    report("start", pid, clock);

    QTest::qWait(idleSeconds * 1000);
    report(qPrintable(QStringLiteral("after %1 s idle").arg(idleSeconds)), pid, clock);

    for (int i = 0; i < popovers; ++i) {
        item.call(QStringLiteral("Activate"), {100, 10}); // opens
        QTest::qWait(80);
        item.call(QStringLiteral("Activate"), {100, 10}); // closes
        QTest::qWait(80);
    }
    report(
        qPrintable(QStringLiteral("after %1 popover opens and closes").arg(popovers)), pid, clock);

    int seen = 0;
    for (int i = 0; i < showings; ++i) {
        menu.call(QStringLiteral("Event"),
            {showId, QStringLiteral("clicked"), QVariant::fromValue(QDBusVariant(0)), 0u});
        QTest::qWait(1300); // past the second in which input is only swallowed
        seen += xtool({"search", "--onlyvisible", "--name", "^Daystride Countdown$"}) == 0;
        xtool({"mousemove_relative", "--", "7", "3"});
        QTest::qWait(300);
    }
    report(
        qPrintable(QStringLiteral("after %1 showings and dismissals").arg(showings)), pid, clock);
    std::printf("covers seen up: %d of %d showings\n", seen, showings);

    daystride.terminate();
    daystride.waitForFinished(5000);
    return daystride.exitStatus() == QProcess::NormalExit ? 0 : 1;
}
