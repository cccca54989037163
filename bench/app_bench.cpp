// Whole-process figures of the running program beside the floor (bench/floor.cpp, an
// empty Qt program), measured interleaved in one session and printed as one table:
//   app_bench [--starts N] [--settle-seconds S] [--idle-seconds S] [--cover-seconds S]
//             [--threads] [--maps]
// --threads prints each thread's wake-ups while idle and while covering.
// --maps measures only the first windows, and prints which mappings they grew.
// On X11 both run against a bus of the benchmark's own with a StatusNotifierWatcher, on
// the X server of bench/run. Inside a desktop shell of tests/shells (DAYSTRIDE_SHELL set,
// on Wayland) they run on the shell's own bus, whose panel hosts their items and whose
// compositor answers the idle queries. Memory, CPU time and wake-ups come from /proc.
#include "RemoteObject.h"
#include "TestBus.h"
#include "TestStatusNotifierWatcher.h"
#include "VirtualPointer.h"

#include <QCoreApplication>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QMap>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <memory>

namespace {

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A "Name:   123 kB" field of a /proc file, in KiB.
qint64 field(const QByteArray &text, const QByteArray &name)
{
    for (const QByteArray &line : text.split('\n')) {
        if (line.startsWith(name + ':'))
            return line.mid(name.size() + 1).trimmed().split(' ').first().toLongLong();
    }
    return 0;
}

struct Sample
{
    double rssMiB = 0;
    double pssMiB = 0;
    double dirtyMiB = 0; // written pages, private or shared (the surface): not reclaimable
    double cpuSeconds = 0; // run time of every thread, from the scheduler
    // Per thread ("name tid"): sleeps, each ended by a wake-up, and preemptions of
    // the running thread, which are the machine's load rather than the program's.
    struct Switches
    {
        qint64 sleeps = 0;
        qint64 preemptions = 0;
    };
    QMap<QString, Switches> threads;
};

// Over the threads alive at the later sample: Qt's pooled threads end after 30 s
// idle, and their counts must not leave the sum.
Sample::Switches switchesBetween(const Sample &from, const Sample &to)
{
    Sample::Switches sum;
    for (auto it = to.threads.begin(); it != to.threads.end(); ++it) {
        const Sample::Switches before = from.threads.value(it.key());
        sum.sleeps += it->sleeps - before.sleeps;
        sum.preemptions += it->preemptions - before.preemptions;
    }
    return sum;
}

// Resident KiB by mapped file ("[heap]", "[anon]" for anonymous memory).
QMap<QString, qint64> residentByMapping(qint64 pid)
{
    QMap<QString, qint64> resident;
    QString name;
    for (const QByteArray &line : readFile(QStringLiteral("/proc/%1/smaps").arg(pid)).split('\n')) {
        const QList<QByteArray> words = line.simplified().split(' ');
        if (words.size() >= 5 && words[0].contains('-') && !words[0].endsWith(':'))
            name = words.size() > 5 ? QString::fromUtf8(words.mid(5).join(' '))
                                    : QStringLiteral("[anon]");
        else if (words.value(0) == "Rss:")
            resident[name] += words.value(1).toLongLong();
    }
    return resident;
}

// The mappings that grew by more than 100 KiB between two readings.
void printGrowth(
    const char *what, const QMap<QString, qint64> &from, const QMap<QString, qint64> &to)
{
    std::printf("|   %s grew in:\n", what);
    QList<std::pair<qint64, QString>> growth;
    for (auto it = to.begin(); it != to.end(); ++it) {
        if (it.value() - from.value(it.key()) > 100)
            growth.append({it.value() - from.value(it.key()), it.key()});
    }
    std::sort(growth.rbegin(), growth.rend());
    for (const auto &[kib, name] : growth)
        std::printf("|     %8lld KiB %s\n", static_cast<long long>(kib), qPrintable(name));
}

Sample sample(qint64 pid)
{
    Sample s;
    const QString proc = QStringLiteral("/proc/%1").arg(pid);
    const QByteArray rollup = readFile(proc + QStringLiteral("/smaps_rollup"));
    s.rssMiB = field(rollup, "Rss") / 1024.0;
    s.pssMiB = field(rollup, "Pss") / 1024.0;
    s.dirtyMiB = (field(rollup, "Private_Dirty") + field(rollup, "Shared_Dirty")) / 1024.0;
    const QStringList tasks
        = QDir(proc + QStringLiteral("/task")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString &task : tasks) {
        const QString path = proc + QStringLiteral("/task/") + task;
        s.cpuSeconds
            += readFile(path + QStringLiteral("/schedstat")).split(' ').value(0).toDouble() / 1e9;
        const QByteArray status = readFile(path + QStringLiteral("/status"));
        s.threads.insert(
            QString::fromUtf8(readFile(path + QStringLiteral("/comm")).trimmed()) + u' ' + task,
            {field(status, "voluntary_ctxt_switches"),
                field(status, "nonvoluntary_ctxt_switches")});
    }
    return s;
}

struct Figure
{
    const char *name;
    double daystride;
    double floor;
    int decimals;
};

void printRow(const Figure &f)
{
    const QString ratio
        = f.floor > 0 ? QString::number(f.daystride / f.floor, 'f', 2) + u'x' : QStringLiteral("-");
    std::printf("| %-50s | %10s | %10s | %8s |\n", f.name,
        qPrintable(QString::number(f.daystride, 'f', f.decimals)),
        qPrintable(QString::number(f.floor, 'f', f.decimals)), qPrintable(ratio));
    std::fflush(stdout);
}

double median(QList<double> values)
{
    std::sort(values.begin(), values.end());
    return values.isEmpty() ? 0 : values[values.size() / 2];
}

// A small pointer motion, as a user's hand gives it: xdotool on X11, Mutter's
// RemoteDesktop API on GNOME, a virtual pointer on sway.
class PointerNudge
{
public:
    explicit PointerNudge(const QString &shell)
        : m_shell(shell)
    {
        if (m_shell == QLatin1String("sway"))
            m_pointer = std::make_unique<VirtualPointer>();
        if (m_shell != QLatin1String("gnome"))
            return;
        const QDBusMessage answer = QDBusConnection::sessionBus().call(
            QDBusMessage::createMethodCall(QStringLiteral("org.gnome.Mutter.RemoteDesktop"),
                QStringLiteral("/org/gnome/Mutter/RemoteDesktop"),
                QStringLiteral("org.gnome.Mutter.RemoteDesktop"), QStringLiteral("CreateSession")));
        m_session = answer.arguments().value(0).value<QDBusObjectPath>().path();
        session(QStringLiteral("Start"), {});
    }

    void operator()() const
    {
        // A few motions, as a hand gives them: a compositor may take the first only as
        // where the pointer now is.
        for (int i = 0; i < 3; ++i) {
            if (m_shell == QLatin1String("gnome")) {
                session(QStringLiteral("NotifyPointerMotionRelative"), {5.0, 5.0});
            } else if (m_pointer) {
                m_pointer->move(5, 5);
            } else {
                QProcess xdotool;
                xdotool.start(QStringLiteral("xdotool"), {"mousemove_relative", "--", "5", "5"});
                xdotool.waitForFinished(5000);
            }
            QTest::qWait(50);
        }
    }

private:
    void session(const QString &method, const QVariantList &arguments) const
    {
        QDBusMessage call
            = QDBusMessage::createMethodCall(QStringLiteral("org.gnome.Mutter.RemoteDesktop"),
                m_session, QStringLiteral("org.gnome.Mutter.RemoteDesktop.Session"), method);
        call.setArguments(arguments);
        QDBusConnection::sessionBus().call(call);
    }

    QString m_shell;
    QString m_session;
    std::unique_ptr<VirtualPointer> m_pointer;
};

class Bench
{
public:
    Bench(const QString &daystride, const QString &floor, bool threads, bool maps)
        : m_daystride(daystride)
        , m_floor(floor)
        , m_shell(qEnvironmentVariable("DAYSTRIDE_SHELL"))
        , m_watcher(m_bus.connection())
        , m_threads(threads)
        , m_maps(maps)
    {
    }

    bool start()
    {
        m_environment = QProcessEnvironment::systemEnvironment();
        if (m_shell.isEmpty()) {
            if (!m_bus.isRunning() || !m_watcher.start())
                return false;
            m_environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), m_bus.address());
        }
        m_environment.insert(QStringLiteral("XDG_CONFIG_HOME"), m_config.path());
        QDir(m_config.path()).mkpath(QStringLiteral("Daystride"));
        m_nudge = std::make_unique<PointerNudge>(m_shell);
        return bus().isConnected();
    }

    QDBusConnection bus() const
    {
        return m_shell.isEmpty() ? m_bus.connection() : QDBusConnection::sessionBus();
    }

    void writeSettings(bool idleEnabled, int idleMinutes)
    {
        QFile file(m_config.path() + QStringLiteral("/Daystride/Daystride.conf"));
        file.open(QIODevice::WriteOnly | QIODevice::Truncate);
        file.write(QStringLiteral("[General]\nonboarded=true\nidleEnabled=%1\nidleMinutes=%2\n")
                       .arg(idleEnabled ? "true" : "false")
                       .arg(idleMinutes)
                       .toUtf8());
    }

    // Starts a program and waits until its item is registered (on a shell's bus: its
    // item's name is there); the milliseconds taken.
    std::unique_ptr<QProcess> launch(const QString &program, double *milliseconds = nullptr)
    {
        auto process = std::make_unique<QProcess>();
        process->setProcessEnvironment(m_environment);
        process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        const int before = m_watcher.registrations();
        QElapsedTimer clock;
        clock.start();
        process->start(program, {});
        process->waitForStarted();
        const QString item = itemService(process->processId());
        const auto registered = [&] {
            return m_shell.isEmpty() ? m_watcher.registrations() != before
                                     : bus().interface()->isServiceRegistered(item).value();
        };
        while (!registered() && clock.elapsed() < 10000)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
        if (milliseconds)
            *milliseconds = clock.nsecsElapsed() / 1e6;
        return process;
    }

    static void stop(std::unique_ptr<QProcess> &process)
    {
        process->terminate();
        if (!process->waitForFinished(5000))
            process->kill();
        process.reset();
    }

    void startTimes(int starts)
    {
        QList<double> daystride, floor;
        for (int i = 0; i < starts; ++i) {
            double ms = 0;
            auto process = launch(m_daystride, &ms);
            daystride << ms;
            stop(process);
            process = launch(m_floor, &ms);
            floor << ms;
            stop(process);
        }
        printRow({"start to registered item (median, ms)", median(daystride), median(floor), 1});
    }

    static QString itemService(qint64 pid)
    {
        return QStringLiteral("org.kde.StatusNotifierItem-%1-1").arg(pid);
    }

    // The first window of each: Daystride's popover, opened and closed through its
    // item; the floor's plain 320 x 400 window. One after the other, so neither takes
    // the activation from the other.
    void popover()
    {
        writeSettings(true, 24 * 60);
        auto daystride = launch(m_daystride);
        auto floor = launch(m_floor);
        QTest::qWait(3000);
        const auto firstWindow
            = [this](qint64 pid, const RemoteObject &object, const QString &method,
                  const QVariantList &open, const QVariantList &close) {
                  const QMap<QString, qint64> mappedBefore = residentByMapping(pid);
                  const Sample before = sample(pid);
                  object.call(method, open);
                  QTest::qWait(3000);
                  const Sample shown = sample(pid);
                  if (m_maps)
                      printGrowth(qPrintable(object.path), mappedBefore, residentByMapping(pid));
                  object.call(method, close);
                  QTest::qWait(2000);
                  const Sample after = sample(pid);
                  return std::pair {shown.rssMiB - before.rssMiB, after.rssMiB - before.rssMiB};
              };
        const auto d = firstWindow(daystride->processId(),
            {bus(), itemService(daystride->processId()), QStringLiteral("/StatusNotifierItem"),
                QStringLiteral("org.kde.StatusNotifierItem")},
            QStringLiteral("Activate"), {0, 0}, {0, 0});
        const auto f = firstWindow(floor->processId(),
            {bus(), itemService(floor->processId()), QStringLiteral("/Floor"),
                QStringLiteral("org.daystride.Floor")},
            QStringLiteral("Window"), {true}, {false});
        printRow({"first window opened: memory growth (RSS MiB)", d.first, f.first, 1});
        printRow({"first window closed: memory kept (RSS MiB)", d.second, f.second, 1});
        stop(daystride);
        stop(floor);
    }

    void idle(bool idleEnabled, int settleSeconds, int idleSeconds)
    {
        // A delay no run reaches: the poll runs, the cover never shows.
        writeSettings(idleEnabled, 24 * 60);
        auto daystride = launch(m_daystride);
        auto floor = launch(m_floor);
        QTest::qWait(settleSeconds * 1000);
        const Sample d0 = sample(daystride->processId()), f0 = sample(floor->processId());
        QTest::qWait(idleSeconds * 1000);
        const Sample d1 = sample(daystride->processId()), f1 = sample(floor->processId());
        const double minutes = idleSeconds / 60.0;
        if (idleEnabled) {
            printRow({"RSS idle (MiB)", d1.rssMiB, f1.rssMiB, 1});
            printRow({"PSS idle (MiB)", d1.pssMiB, f1.pssMiB, 1});
        }
        const Sample::Switches d = switchesBetween(d0, d1), f = switchesBetween(f0, f1);
        printRow({idleEnabled ? "wake-ups per minute, all threads, idle on"
                              : "wake-ups per minute, all threads, idle off",
            d.sleeps / minutes, f.sleeps / minutes, 1});
        printRow({"  preemptions per minute (machine load)", d.preemptions / minutes,
            f.preemptions / minutes, 1});
        if (m_threads) {
            for (auto it = d1.threads.begin(); it != d1.threads.end(); ++it) {
                std::printf("|   thread %-41s | %10.1f |\n", qPrintable(it.key()),
                    (it->sleeps - d0.threads.value(it.key()).sleeps) / minutes);
            }
        }
        printRow({idleEnabled ? "CPU idle, idle on (ms per minute)"
                              : "CPU idle, idle off (ms per minute)",
            1000 * (d1.cpuSeconds - d0.cpuSeconds) / minutes,
            1000 * (f1.cpuSeconds - f0.cpuSeconds) / minutes, 2});
        stop(daystride);
        stop(floor);
    }

    // A cover on each screen: shown through the panel item's menu (the floor's through
    // its own call), closed by a pointer motion.
    void covering(int coverSeconds)
    {
        writeSettings(true, 24 * 60);
        auto daystride = launch(m_daystride);
        auto floor = launch(m_floor);
        QTest::qWait(3000);
        const RemoteObject menu {bus(), itemService(daystride->processId()),
            QStringLiteral("/MenuBar"), QStringLiteral("com.canonical.dbusmenu")};
        const RemoteObject floorCover {bus(), itemService(floor->processId()),
            QStringLiteral("/Floor"), QStringLiteral("org.daystride.Floor")};
        const int showId = menu.menuItemId(QStringLiteral("Show Countdown"));

        struct Run
        {
            Sample before, shown, during, after;
        } d, f;
        auto measure = [&](qint64 pid, Run &run, const std::function<void()> &show,
                           const std::function<void()> &hide) {
            // Each from a session in use: after minutes without input GNOME Shell counts
            // the session idle, and only the first program shown would meet that, the
            // second coming after the motion that ended the first.
            (*m_nudge)();
            QTest::qWait(1000);
            run.before = sample(pid);
            show();
            QTest::qWait(3000);
            run.shown = sample(pid);
            QTest::qWait(coverSeconds * 1000);
            run.during = sample(pid);
            hide();
            QTest::qWait(2000);
            run.after = sample(pid);
        };
        const auto pointerMoves = [this] {
            (*m_nudge)();
        };
        // Each thread's wake-ups per second while the last showing covered.
        const auto printThreads = [&] {
            if (!m_threads)
                return;
            for (const auto &[name, run] : {std::pair {"Daystride", &d}, {"floor", &f}}) {
                for (auto it = run->during.threads.begin(); it != run->during.threads.end(); ++it) {
                    std::printf("|   %s thread %-30s | %10.1f |\n", name, qPrintable(it.key()),
                        double(it->sleeps - run->shown.threads.value(it.key()).sleeps)
                            / coverSeconds);
                }
            }
        };
        // A first showing of each loads fonts and painting code; the figures are of
        // the second, as every later showing is.
        for (int round = 0; round < 2; ++round) {
            measure(
                daystride->processId(), d,
                [&] {
                    menu.call(QStringLiteral("Event"),
                        {showId, QStringLiteral("clicked"), QVariant::fromValue(QDBusVariant(0)),
                            0u});
                },
                pointerMoves);
            measure(
                floor->processId(), f, [&] { floorCover.call(QStringLiteral("Cover"), {true}); },
                [&] { floorCover.call(QStringLiteral("Cover"), {false}); });
            if (round == 0) {
                printRow({"memory growth, first showing (RSS MiB)",
                    d.shown.rssMiB - d.before.rssMiB, f.shown.rssMiB - f.before.rssMiB, 1});
                printRow({"memory growth, first showing (dirty MiB)",
                    d.shown.dirtyMiB - d.before.dirtyMiB, f.shown.dirtyMiB - f.before.dirtyMiB, 1});
                printRow({"wake-ups per second, first showing",
                    double(switchesBetween(d.shown, d.during).sleeps) / coverSeconds,
                    double(switchesBetween(f.shown, f.during).sleeps) / coverSeconds, 1});
                printThreads();
            }
        }
        printRow({"memory growth, later showing (RSS MiB)", d.shown.rssMiB - d.before.rssMiB,
            f.shown.rssMiB - f.before.rssMiB, 1});
        printRow({"memory growth, later showing (dirty MiB)", d.shown.dirtyMiB - d.before.dirtyMiB,
            f.shown.dirtyMiB - f.before.dirtyMiB, 1});
        printRow({"memory kept after dismissal (RSS MiB)", d.after.rssMiB - d.before.rssMiB,
            f.after.rssMiB - f.before.rssMiB, 1});
        printRow({"CPU while covering (ms per second)",
            1000 * (d.during.cpuSeconds - d.shown.cpuSeconds) / coverSeconds,
            1000 * (f.during.cpuSeconds - f.shown.cpuSeconds) / coverSeconds, 2});
        printRow({"wake-ups per second, later showing",
            double(switchesBetween(d.shown, d.during).sleeps) / coverSeconds,
            double(switchesBetween(f.shown, f.during).sleeps) / coverSeconds, 1});
        printThreads();
        stop(daystride);
        stop(floor);
    }

private:
    QString m_daystride;
    QString m_floor;
    QString m_shell; // the desktop shell of tests/shells the bench runs in, or none
    std::unique_ptr<PointerNudge> m_nudge;
    QTemporaryDir m_config;
    TestBus m_bus;
    TestStatusNotifierWatcher m_watcher;
    QProcessEnvironment m_environment;
    bool m_threads; // each thread's wake-ups while idle
    bool m_maps; // where the first windows' memory goes, by mapping
};

} // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    int starts = 10;
    int settleSeconds = 60;
    int idleSeconds = 180;
    int coverSeconds = 10;
    QStringList args = app.arguments();
    const bool threads = args.removeAll(QStringLiteral("--threads")) > 0;
    const bool maps = args.removeAll(QStringLiteral("--maps")) > 0;
    for (int i = 1; i + 1 < args.size(); i += 2) {
        const int value = args[i + 1].toInt();
        if (args[i] == QLatin1String("--starts"))
            starts = value;
        else if (args[i] == QLatin1String("--settle-seconds"))
            settleSeconds = value;
        else if (args[i] == QLatin1String("--idle-seconds"))
            idleSeconds = value;
        else if (args[i] == QLatin1String("--cover-seconds"))
            coverSeconds = value;
    }
    Bench bench(
        QStringLiteral(DAYSTRIDE_EXECUTABLE), QStringLiteral(DAYSTRIDE_FLOOR), threads, maps);
    if (!bench.start()) {
        std::fprintf(stderr, "app_bench: the private bus or its watcher did not start\n");
        return 1;
    }
    std::printf("| %-50s | %10s | %10s | %8s |\n", "figure", "Daystride", "floor", "ratio");
    std::printf("|%s|%s|%s|%s|\n", QByteArray(52, '-').constData(), QByteArray(12, '-').constData(),
        QByteArray(12, '-').constData(), QByteArray(10, '-').constData());
    if (!maps)
        bench.startTimes(starts);
    bench.popover();
    if (maps)
        return 0;
    bench.idle(true, settleSeconds, idleSeconds);
    bench.idle(false, settleSeconds, idleSeconds);
    bench.covering(coverSeconds);
    return 0;
}
