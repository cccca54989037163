// What the full-screen countdown costs per frame and per tick, beside the floor: a
// plain window that paints one line of text on black. Runs on a real X server
// (bench/run starts one). Figures are printed, never checked.
#include "model/TimerViewModel.h"
#include "platform/LinuxPlatform.h"
#include "screensaver/CountdownView.h"

#include <QApplication>
#include <QImage>
#include <QPaintEvent>
#include <QPainter>
#include <QTemporaryDir>
#include <QWidget>
#include <QWindow>

#include <benchmark/benchmark.h>

namespace {

// The real platform with a clock that can be moved on.
class BenchPlatform : public LinuxPlatform
{
public:
    QDateTime now() const override { return LinuxPlatform::now().addMSecs(offset); }
    qint64 offset = 0;
};

// The floor's view: black, one line of text, repainted where it changed.
class PlainView : public QWidget
{
public:
    PlainView() { setAttribute(Qt::WA_OpaquePaintEvent); }
    QString text = QStringLiteral("42 days 5 hours 17 mins 32 secs");

protected:
    void paintEvent(QPaintEvent *event) override
    {
        QPainter painter(this);
        painter.fillRect(event->rect(), Qt::black);
        painter.setPen(Qt::white);
        painter.drawText(rect(), Qt::AlignCenter, text);
    }
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

// A whole 1920 x 1080 frame, as after a resize or a new quote line.
void renderFrames(benchmark::State &state, QWidget &view)
{
    view.resize(1920, 1080);
    QImage image(1920, 1080, QImage::Format_RGB32);
    for (auto _ : state) {
        view.render(&image);
        benchmark::DoNotOptimize(image.constBits());
    }
}

// Frameless at 1920 x 1080, mapped and exposed on the X server.
void showExposed(QWidget &view)
{
    view.setWindowFlag(Qt::FramelessWindowHint);
    view.setGeometry(0, 0, 1920, 1080);
    view.show();
    while (!view.windowHandle()->isExposed())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    QCoreApplication::processEvents();
}

void BM_FullFrame(benchmark::State &state)
{
    CountdownView view(&fixture->model);
    view.resize(1920, 1080);
    view.refresh();
    renderFrames(state, view);
}
BENCHMARK(BM_FullFrame)->Unit(benchmark::kMillisecond);

void BM_FloorFullFrame(benchmark::State &state)
{
    PlainView view;
    renderFrames(state, view);
}
BENCHMARK(BM_FloorFullFrame)->Unit(benchmark::kMillisecond);

// One ordinary tick on a shown view: read the time, repaint what changed and hand
// it to the X server.
void BM_Tick(benchmark::State &state)
{
    CountdownView view(&fixture->model);
    showExposed(view);
    for (auto _ : state) {
        fixture->platform.offset += 1000;
        view.refresh();
        QCoreApplication::processEvents();
    }
    fixture->platform.offset = 0;
}
BENCHMARK(BM_Tick)->Unit(benchmark::kMicrosecond);

// The floor's tick: one line's width of the window repainted and handed over.
void BM_FloorTick(benchmark::State &state)
{
    PlainView view;
    showExposed(view);
    const QRect line(0, 480, 1920, 120);
    int n = 0;
    for (auto _ : state) {
        view.text = QStringLiteral("42 days 5 hours 17 mins %1 secs").arg(n++ % 60);
        view.update(line);
        QCoreApplication::processEvents();
    }
}
BENCHMARK(BM_FloorTick)->Unit(benchmark::kMicrosecond);

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
    benchmark::Shutdown();
    return 0;
}
