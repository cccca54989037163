// Whole-process figures of the running program, printed as one table:
//   app_bench [--starts N] [--idle-seconds S] [--popover-seconds S]
// It runs build/daystride against a bus of its own with a StatusNotifierWatcher,
// and reads the process's memory, CPU time and context switches from /proc.
#include "TestBus.h"
#include "TestStatusNotifierWatcher.h"

#include <QCoreApplication>
#include <QDBusInterface>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <unistd.h>

namespace {

struct Sample
{
    double cpuSeconds = 0; // user + system
    qint64 contextSwitches = 0; // voluntary + involuntary: each is a wake-up or more
    qint64 rssKiB = 0;
};

// `path` is /proc/PID or /proc/PID/task/TID.
Sample sample(const QString &path)
{
    Sample s;
    QFile stat(path + QStringLiteral("/stat"));
    if (stat.open(QIODevice::ReadOnly)) {
        const QByteArray line = stat.readAll();
        // Fields after the command name, which may hold spaces.
        const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
        if (fields.size() > 13)
            s.cpuSeconds = (fields[11].toLongLong() + fields[12].toLongLong())
                / double(sysconf(_SC_CLK_TCK));
    }
    QFile status(path + QStringLiteral("/status"));
    if (status.open(QIODevice::ReadOnly)) {
        for (const QByteArray &line : status.readAll().split('\n')) {
            const QList<QByteArray> parts = line.simplified().split(' ');
            if (parts.size() < 2)
                continue;
            if (parts[0] == "VmRSS:")
                s.rssKiB = parts[1].toLongLong();
            else if (parts[0] == "voluntary_ctxt_switches:"
                || parts[0] == "nonvoluntary_ctxt_switches:")
                s.contextSwitches += parts[1].toLongLong();
        }
    }
    return s;
}

Sample sample(qint64 pid)
{
    return sample(QStringLiteral("/proc/%1").arg(pid));
}

// Threads other than the main one (the D-Bus thread among them) wake too; the
// per-thread counts are summed over /proc/PID/task.
qint64 allContextSwitches(qint64 pid)
{
    qint64 total = 0;
    const QStringList tasks = QDir(QStringLiteral("/proc/%1/task").arg(pid))
                                  .entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString &task : tasks)
        total += sample(QStringLiteral("/proc/%1/task/%2").arg(pid).arg(task)).contextSwitches;
    return total;
}

void row(const char *name, const QString &value, const char *target)
{
    std::printf("| %-52s | %14s | %-12s |\n", name, qPrintable(value), target);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char **argv)
{
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    QGuiApplication app(argc, argv);
    int starts = 10;
    int idleSeconds = 300;
    int popoverSeconds = 30;
    const QStringList args = app.arguments();
    for (int i = 1; i + 1 < args.size(); i += 2) {
        if (args[i] == QLatin1String("--starts"))
            starts = args[i + 1].toInt();
        else if (args[i] == QLatin1String("--idle-seconds"))
            idleSeconds = args[i + 1].toInt();
        else if (args[i] == QLatin1String("--popover-seconds"))
            popoverSeconds = args[i + 1].toInt();
    }
    const QString executable = QStringLiteral(DAYSTRIDE_EXECUTABLE);
    QDir(config.path()).mkpath(QStringLiteral("Daystride"));
    QFile settings(config.path() + QStringLiteral("/Daystride/Daystride.conf"));
    settings.open(QIODevice::WriteOnly);
    settings.write("[General]\nonboarded=true\n");
    settings.close();

    TestBus bus;
    if (!bus.isRunning()) {
        std::fprintf(stderr, "app_bench: dbus-daemon did not start\n");
        return 1;
    }
    TestStatusNotifierWatcher watcher(bus.connection());
    watcher.start();
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), bus.address());
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), config.path());

    std::printf("| %-52s | %14s | %-12s |\n", "figure", "value", "target");
    std::printf("|%s|%s|%s|\n", QByteArray(54, '-').constData(), QByteArray(16, '-').constData(),
        QByteArray(14, '-').constData());

    // Cold start: process start to the item registered with the watcher.
    QList<double> times;
    for (int i = 0; i < starts; ++i) {
        QProcess process;
        process.setProcessEnvironment(environment);
        const int before = watcher.registrations();
        QElapsedTimer clock;
        clock.start();
        process.start(executable, {});
        process.waitForStarted();
        while (watcher.registrations() == before && clock.elapsed() < 10000)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
        times << clock.nsecsElapsed() / 1e6;
        process.terminate();
        process.waitForFinished(5000);
    }
    std::sort(times.begin(), times.end());
    row("start to panel item registered (median of runs, ms)",
        QString::number(times.value(times.size() / 2), 'f', 1), "< 150");

    QProcess daystride;
    daystride.setProcessEnvironment(environment);
    daystride.start(executable, {});
    daystride.waitForStarted();
    const qint64 pid = daystride.processId();
    QTest::qWait(std::min(60, idleSeconds) * 1000);
    row("RSS after 1 minute idle (MiB)", QString::number(sample(pid).rssKiB / 1024.0, 'f', 1),
        "< 40");

    const Sample idleStart = sample(pid);
    const qint64 switchesStart = allContextSwitches(pid);
    QTest::qWait(idleSeconds * 1000);
    const Sample idleEnd = sample(pid);
    const qint64 switchesEnd = allContextSwitches(pid);
    const double minutes = idleSeconds / 60.0;
    row("wake-ups per minute idle (context switches)",
        QString::number((switchesEnd - switchesStart) / minutes, 'f', 1), "about 5");
    row("wake-ups per minute idle, main thread only",
        QString::number((idleEnd.contextSwitches - idleStart.contextSwitches) / minutes, 'f', 1),
        "about 5");
    row("CPU idle (%)",
        QString::number(100 * (idleEnd.cpuSeconds - idleStart.cpuSeconds) / idleSeconds, 'f', 3),
        "~ 0");

    // The popover's timer tab refreshes its countdown every second.
    QDBusInterface item(QStringLiteral("org.kde.StatusNotifierItem-%1-1").arg(pid),
        QStringLiteral("/StatusNotifierItem"), QStringLiteral("org.kde.StatusNotifierItem"),
        bus.connection());
    item.asyncCall(QStringLiteral("Activate"), 100, 10);
    QTest::qWait(1000);
    const Sample openStart = sample(pid);
    QTest::qWait(popoverSeconds * 1000);
    const Sample openEnd = sample(pid);
    row("CPU with the popover's timer tab open (%)",
        QString::number(100 * (openEnd.cpuSeconds - openStart.cpuSeconds) / popoverSeconds, 'f', 2),
        "< 1");
    row("RSS with the popover open (MiB)", QString::number(openEnd.rssKiB / 1024.0, 'f', 1),
        "< 40");

    daystride.terminate();
    daystride.waitForFinished(5000);
    return 0;
}
