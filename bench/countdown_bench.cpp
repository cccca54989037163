// What the full-screen countdown costs the machine, on a real X server (bench/run
// starts one): redraw time per frame, CPU time per second with two 1920 x 1080
// covers up, resident memory around showings, and the time until both covers are
// mapped. Figures are printed, never checked.
#include "model/TimerViewModel.h"
#include "platform/LinuxPlatform.h"
#include "screensaver/CountdownView.h"
#include "screensaver/ScreensaverController.h"
#include "screensaver/ScreensaverWindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <algorithm>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <sys/resource.h>
#include <vector>

namespace {

// The real platform on two side-by-side 1920 x 1080 screens, with a clock that can
// be moved on. Where the real one cannot yet put up a covering window or an input
// monitor, plain frameless windows and an accepting monitor stand in, so the
// figures still describe the countdown's own cost.
class BenchPlatform : public LinuxPlatform
{
public:
    QDateTime now() const override { return LinuxPlatform::now().addMSecs(offset); }
    QList<QRect> screenGeometries() const override
    {
        return {QRect(0, 0, 1920, 1080), QRect(1920, 0, 1920, 1080)};
    }
    QWidget *createCoveringWindow(int screen, const QRect &geometry) override
    {
        if (QWidget *window = LinuxPlatform::createCoveringWindow(screen, geometry))
            return window;
        auto *window = new QWidget(nullptr, Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
        window->setGeometry(geometry);
        return window;
    }
    MonitorToken installInputMonitor(InputHandler handler) override
    {
        const MonitorToken token = LinuxPlatform::installInputMonitor(std::move(handler));
        return token ? token : standInToken;
    }
    void removeInputMonitor(MonitorToken token) override
    {
        if (token != standInToken)
            LinuxPlatform::removeInputMonitor(token);
    }

    qint64 offset = 0;
    static constexpr MonitorToken standInToken = ~MonitorToken(0);
};

struct Fixture
{
    BenchPlatform platform;
    TimerViewModel model {platform};
    Fixture()
    {
        model.setEventName(QStringLiteral("Product Launch"));
        model.setSubtitle(QStringLiteral("Version 2.0 goes live"));
        model.setTimerDate(platform.now().addDays(42).addSecs(5 * 3600 + 17 * 60 + 32));
        TodoList todos = model.todos();
        todos[0].isCompleted = true;
        todos[2].isCompleted = true;
        model.setTodos(todos);
    }
};

Fixture *fixture = nullptr;

double residentMiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024;
    }
    return 0;
}

double cpuSeconds()
{
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec)
        + double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

bool allExposed(const ScreensaverController &controller)
{
    if (controller.windows().isEmpty())
        return false;
    for (const ScreensaverWindow *window : controller.windows()) {
        const QWindow *handle = window->window()->windowHandle();
        if (!handle || !handle->isExposed())
            return false;
    }
    return true;
}

// Shows, and returns the milliseconds until every cover is mapped and exposed.
double showAndWaitMapped(ScreensaverController &controller)
{
    QElapsedTimer clock;
    clock.start();
    controller.show();
    while (!allExposed(controller) && clock.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    return double(clock.nsecsElapsed()) / 1e6;
}

void dismissAndSettle(ScreensaverController &controller)
{
    controller.dismiss();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

// A whole 1920 x 1080 frame, as after a resize or a new quote line.
void BM_FullFrame(benchmark::State &state)
{
    CountdownView view(&fixture->model);
    view.resize(1920, 1080);
    view.refresh();
    QImage image(1920, 1080, QImage::Format_RGB32);
    for (auto _ : state) {
        view.render(&image);
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(BM_FullFrame)->Unit(benchmark::kMillisecond);

// One ordinary tick on a shown view: read the time, repaint what changed and hand
// it to the X server.
void BM_Tick(benchmark::State &state)
{
    CountdownView view(&fixture->model);
    view.setWindowFlag(Qt::FramelessWindowHint);
    view.setGeometry(0, 0, 1920, 1080);
    view.show();
    while (!view.windowHandle()->isExposed())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    QCoreApplication::processEvents();
    for (auto _ : state) {
        fixture->platform.offset += 1000;
        view.refresh();
        QCoreApplication::processEvents();
    }
    fixture->platform.offset = 0;
}
BENCHMARK(BM_Tick)->Unit(benchmark::kMicrosecond);

void printWholeProcessFigures()
{
    ScreensaverController &controller = *fixture->model.screensaver();

    // Mapping time, taken over a few showings.
    std::vector<double> mapped;
    const double rssBefore = residentMiB();
    for (int i = 0; i < 10; ++i) {
        mapped.push_back(showAndWaitMapped(controller));
        dismissAndSettle(controller);
    }
    std::sort(mapped.begin(), mapped.end());

    // CPU while two covers are up, over ten seconds of ordinary ticks.
    showAndWaitMapped(controller);
    const double rssDuring = residentMiB();
    const double cpuStart = cpuSeconds();
    QElapsedTimer wall;
    wall.start();
    QEventLoop loop;
    QTimer::singleShot(10000, &loop, &QEventLoop::quit);
    loop.exec();
    const double cpuPercent = 100 * (cpuSeconds() - cpuStart) / (double(wall.elapsed()) / 1000);
    dismissAndSettle(controller);
    const double rssAfterOne = residentMiB();

    for (int i = 0; i < 100; ++i) {
        showAndWaitMapped(controller);
        dismissAndSettle(controller);
    }
    const double rssAfterHundred = residentMiB();

    std::printf("\nshow to both covers mapped: median %.1f ms, min %.1f ms, max %.1f ms\n",
        mapped[mapped.size() / 2], mapped.front(), mapped.back());
    std::printf("CPU with two 1920x1080 covers up: %.2f %% of one core (%.1f ms per second)\n",
        cpuPercent, cpuPercent * 10);
    std::printf("RSS: before %.1f MiB, during %.1f MiB, after one showing %.1f MiB, "
                "after 100 more show/dismiss cycles %.1f MiB\n",
        rssBefore, rssDuring, rssAfterOne, rssAfterHundred);
}

} // namespace

int main(int argc, char **argv)
{
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    QApplication app(argc, argv);
    Fixture f;
    fixture = &f;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    printWholeProcessFigures();
    benchmark::Shutdown();
    return 0;
}
