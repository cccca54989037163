#include "FakePlatform.h"
#include "TestEnvironment.h"
#include "model/TimerViewModel.h"
#include "screensaver/CountdownView.h"
#include "screensaver/ScreensaverController.h"
#include "screensaver/ScreensaverWindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QPainter>
#include <QPointer>
#include <QTest>

#include <limits>
#include <memory>

using Assertions = QMap<QString, qint64>;
using Geometries = QList<QRect>;

namespace {

// Can fail the covering window at `failAt`; remembers the windows made.
class FlakyPlatform : public FakePlatform
{
public:
    QWidget *createCoveringWindow(int screen, const QRect &geometry) override
    {
        if (created.size() == failAt)
            return nullptr;
        created.append(FakePlatform::createCoveringWindow(screen, geometry));
        return created.last();
    }
    qsizetype failAt = -1;
    QList<QPointer<QWidget>> created;
};

// Sent through the platform's input monitors; true when swallowed.
bool deliver(FakePlatform &platform, QEvent::Type type)
{
    const QPointF pos(100, 100);
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QKeyEvent key(type, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
    QMouseEvent mouse(type, pos, pos, button, button, Qt::NoModifier);
    const bool isKey = type == QEvent::KeyPress || type == QEvent::KeyRelease;
    return platform.deliverInput(isKey ? static_cast<QEvent *>(&key) : &mouse);
}

void flushDeletes()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

const QRect laptop(0, 0, 1920, 1080), dock(1920, 0, 2560, 1440), leftOf(-1280, 200, 1280, 1024);
const Geometries twoScreens = {laptop, dock};
const QChar ellipsis(0x2026);

} // namespace

// The full-screen countdown: the controller that puts it up on every screen and takes
// it down, and the view it paints.
class TestScreensaver : public QObject
{
    Q_OBJECT

    ScreensaverController *controller() { return m_model->screensaver(); }

    std::unique_ptr<CountdownView> makeView(QSize size = QSize(1920, 1080))
    {
        auto view = std::make_unique<CountdownView>(m_model.get());
        view->resize(size);
        return view;
    }

    // The showing is over and left nothing behind: no monitor, pointer shown, windows gone.
    void verifyNothingLeft()
    {
        QVERIFY(!controller()->isShown());
        QVERIFY(!controller()->eventMonitor());
        QCOMPARE(m_platform->pointerHideDepth, 0);
        QVERIFY(m_platform->monitors.isEmpty());
        flushDeletes();
        for (const QPointer<QWidget> &window : std::as_const(m_platform->created))
            QVERIFY(window.isNull());
    }

    // One visible cover per screen, in order, each with a ticking countdown.
    void verifyCovers(const Geometries &screens)
    {
        const auto &windows = controller()->windows();
        QCOMPARE(windows.size(), screens.size());
        for (qsizetype i = 0; i < screens.size(); ++i) {
            QCOMPARE(windows[i]->window()->geometry(), screens[i]);
            QVERIFY(windows[i]->window()->isVisible());
            auto *view = qobject_cast<CountdownView *>(windows[i]->content());
            QVERIFY(view && view->isTicking());
            QCOMPARE(view->geometry(), QRect(QPoint(), screens[i].size()));
        }
        QCOMPARE(m_platform->pointerHideDepth, screens.isEmpty() ? 0 : 1);
        QCOMPARE(m_platform->monitors.size(), screens.isEmpty() ? 0 : 1);
    }

    std::unique_ptr<TestEnvironment> m_env = std::make_unique<TestEnvironment>();
    std::unique_ptr<FlakyPlatform> m_platform;
    std::unique_ptr<TimerViewModel> m_model;
    const QDateTime m_now = QDateTime(QDate(2026, 5, 4), QTime(10, 0));

private slots:
    void initTestCase()
    {
        // The offscreen platform cannot raise windows and says so on every showing.
        static const QtMessageHandler previous = qInstallMessageHandler(nullptr);
        qInstallMessageHandler(
            [](QtMsgType type, const QMessageLogContext &context, const QString &text) {
                if (!text.contains(QLatin1String("does not support raise()")))
                    previous(type, context, text);
            });
    }

    void init()
    {
        m_model.reset(); // before the platform it uses
        flushDeletes();
        m_platform = std::make_unique<FlakyPlatform>();
        m_platform->setNow(m_now);
        m_model = std::make_unique<TimerViewModel>(*m_platform);
        m_model->setIdleEnabled(true);
        m_model->setIdleMinutes(5);
        m_model->setEventName(QStringLiteral("Launch"));
        m_model->setTimerDate(m_now.addDays(12).addSecs(3 * 3600 + 4 * 60 + 5));
    }

    void pollDecidesOnIdleTimeAndAssertions_data()
    {
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<qint64>("minutes");
        QTest::addColumn<double>("idle");
        QTest::addColumn<double>("fresh"); // NaN: as `idle`
        QTest::addColumn<Assertions>("assertions");
        QTest::addColumn<QByteArray>("lock"); // "locked", or "keyboard" held by a locker
        QTest::addColumn<bool>("shown");
        QTest::addColumn<QList<int>>("queries"); // cheap idle, fresh idle, assertions

        const qint64 huge = std::numeric_limits<qint64>::max() / 60 + 1;
        const double inf = std::numeric_limits<double>::infinity(), nan = std::nan("");
        const QString prevent = QStringLiteral("PreventUserIdleDisplaySleep");
        const QString noSleep = QStringLiteral("NoDisplaySleepAssertion");
        const Assertions none, second {{prevent, 0}, {noSleep, 1}},
            zero {{prevent, 0}, {noSleep, 0}};
        QTest::newRow("at the threshold")
            << true << 5LL << 300.0 << nan << none << QByteArray() << true << QList {1, 1, 1};
        QTest::newRow("just below")
            << true << 5LL << 299.9 << nan << none << QByteArray() << false << QList {1, 0, 0};
        QTest::newRow("estimate passes, the source's own answer does not")
            << true << 5LL << 310.0 << 12.0 << none << QByteArray() << false << QList {1, 1, 0};
        QTest::newRow("disabled") << false << 5LL << 1e9 << nan << none << QByteArray() << false
                                  << QList {0, 0, 0};
        QTest::newRow("no idle source")
            << true << 5LL << nan << nan << none << QByteArray() << false << QList {1, 0, 0};
        QTest::newRow("second assertion blocks")
            << true << 5LL << 400.0 << nan << second << QByteArray() << false << QList {1, 1, 1};
        QTest::newRow("both held at level 0")
            << true << 5LL << 400.0 << nan << zero << QByteArray() << true << QList {1, 1, 1};
        QTest::newRow("session locked") << true << 5LL << 400.0 << nan << none
                                        << QByteArray("locked") << false << QList {1, 1, 1};
        QTest::newRow("a locker holds the keyboard")
            << true << 5LL << 400.0 << nan << none << QByteArray("keyboard") << false
            << QList {1, 1, 1};
        QTest::newRow("overflowing minutes saturate")
            << true << huge << inf << nan << none << QByteArray() << false << QList {1, 0, 0};
    }

    void pollDecidesOnIdleTimeAndAssertions()
    {
        QFETCH(bool, enabled);
        QFETCH(qint64, minutes);
        QFETCH(double, idle);
        QFETCH(double, fresh);
        QFETCH(Assertions, assertions);
        m_model->setIdleEnabled(enabled);
        m_model->setIdleMinutes(minutes);
        m_platform->idle = idle;
        if (!std::isnan(fresh))
            m_platform->freshIdle = fresh;
        m_platform->assertions = assertions;
        QFETCH(QByteArray, lock);
        m_platform->sessionLockedNow = lock == "locked";
        m_platform->inputHeldElsewhere = lock == "keyboard";

        controller()->checkIdle();

        QTEST(controller()->isShown(), "shown");
        const QList<int> queries
            = {m_platform->idleQueries, m_platform->freshIdleQueries, m_platform->assertionQueries};
        QTEST(queries, "queries");
    }

    // The real 15-second timer: one poll however often the watch is started, none while
    // idle showing is off (not from the minute tick either), and switching it on takes
    // effect at the next poll. The source is asked once as the watch starts, so
    // event-driven ones count from then.
    void idlePollRestsWhileOffAndStartsOnce()
    {
        m_model->setIdleEnabled(false);
        m_platform->idle = 400;
        controller()->startIdleTimer();
        const QTimer *timer = controller()->idleTimer();
        controller()->startIdleTimer();
        QCOMPARE(controller()->idleTimer(), timer);
        QVERIFY(!timer->isActive());
        // The minute tick polls only while the watch runs.
        controller()->pollWithTick();
        QVERIFY(!controller()->isShown());
        QVERIFY(!timer->isActive());

        QElapsedTimer sinceOn;
        sinceOn.start();
        m_model->setIdleEnabled(true);
        QTRY_VERIFY_WITH_TIMEOUT(controller()->isShown(), 20000);
        QVERIFY2(sinceOn.elapsed() >= 14000, qPrintable(QString::number(sinceOn.elapsed())));
        QCOMPARE(m_platform->idleQueries, 2);
        controller()->dismiss();

        // The minute tick polls at once and the poll's next interval starts from it.
        controller()->pollWithTick();
        QVERIFY(controller()->isShown());
        QCOMPARE(timer->interval(), ScreensaverController::idlePollMilliseconds);
        QVERIFY(timer->remainingTime() > ScreensaverController::idlePollMilliseconds - 1000);
        controller()->dismiss();
    }

    void coversFollowTheScreens_data()
    {
        QTest::addColumn<Geometries>("before");
        QTest::addColumn<Geometries>("after");
        QTest::addColumn<QList<int>>("kept"); // index into `before`, or -1 for a new window

        QTest::newRow("added") << Geometries {laptop} << twoScreens << QList<int> {0, -1};
        QTest::newRow("resolution changed, one removed")
            << Geometries {laptop, leftOf, dock} << Geometries {QRect(0, 0, 1280, 720), dock}
            << QList<int> {-1, 2};
        QTest::newRow("every screen gone") << twoScreens << Geometries() << QList<int>();
    }

    void coversFollowTheScreens()
    {
        QFETCH(Geometries, before);
        QFETCH(Geometries, after);
        QFETCH(QList<int>, kept);
        m_platform->screens = before;
        m_platform->idle = 300;
        controller()->checkIdle();
        verifyCovers(before);
        QTRY_COMPARE(QApplication::activeWindow(), controller()->windows().last()->window());

        // Showing again or a later tick stacks nothing.
        m_platform->advance(15000);
        controller()->checkIdle();
        controller()->show();
        QCOMPARE(m_platform->idleQueries, 1);
        QCOMPARE(m_platform->created.size(), before.size());
        verifyCovers(before);

        const QList<ScreensaverWindow *> old = controller()->windows();
        const QList<QPointer<QWidget>> oldWidgets = m_platform->created;
        m_platform->screens = after;
        emit m_platform->screensChanged();
        verifyCovers(after);
        for (qsizetype i = 0; i < after.size(); ++i)
            QCOMPARE(old.indexOf(controller()->windows()[i]), kept[i]);
        flushDeletes();
        for (qsizetype i = 0; i < before.size(); ++i)
            QCOMPARE(oldWidgets[i].isNull(), !kept.contains(int(i)));
    }

    // The countdown ticks as the time left turns a second: the seconds change on time,
    // and covers shown a moment apart tick together.
    void ticksAsTheSecondTurns()
    {
        m_platform->setNow(m_now.addMSecs(700));
        auto view = makeView();
        view->show();
        QVERIFY(view->isTicking());
        const int toTick = view->millisecondsToTick();
        QVERIFY2(toTick > 250 && toTick <= 300 + CountdownView::tickSlackMilliseconds,
            qPrintable(QString::number(toTick)));
    }

    void inputAfterTheGraceCloses_data()
    {
        QTest::addColumn<int>("after");
        QTest::addColumn<QEvent::Type>("type");
        QTest::addColumn<bool>("swallowed");
        QTest::addColumn<bool>("closes");

        QTest::newRow("move at 0.5 s") << 500 << QEvent::MouseMove << true << false;
        QTest::newRow("key at 0.999 s") << 999 << QEvent::KeyPress << true << false;
        QTest::newRow("move at 1.0 s") << 1000 << QEvent::MouseMove << true << true;
        QTest::newRow("second press of a double click")
            << 1500 << QEvent::MouseButtonDblClick << true << true;
        QTest::newRow("key release passes") << 5000 << QEvent::KeyRelease << false << false;
    }

    void inputAfterTheGraceCloses()
    {
        QFETCH(int, after);
        QFETCH(QEvent::Type, type);
        QFETCH(bool, closes);
        m_platform->screens = twoScreens;
        controller()->show();
        m_platform->advance(after);
        QTEST(deliver(*m_platform, type), "swallowed");
        if (closes)
            return verifyNothingLeft();
        verifyCovers(twoScreens);
    }

    void showingWithHugeStoredTextIsUpAndClosable()
    {
        // 16 MiB of text in every line the cover shows: a pasted file, a runaway sync.
        const QString huge = QString(16 << 20, u'w') + QStringLiteral(" end");
        const QString blankThenHuge = QString(4 << 20, u' ') + huge;
        m_model->setEventName(huge);
        m_model->setSubtitle(huge);
        m_model->setQuotes({blankThenHuge});
        TodoList todos = m_model->todos();
        for (Todo &todo : todos)
            todo.text = huge;
        todos[1].isCompleted = true;
        m_model->setTodos(todos);
        m_platform->screens = twoScreens;

        controller()->show();
        verifyCovers(twoScreens);
        for (const ScreensaverWindow *window : controller()->windows()) {
            // Painted: every line laid out and drawn, cut to what the screen can hold.
            window->window()->grab();
            auto *view = qobject_cast<CountdownView *>(window->content());
            QCOMPARE(view->quote(), blankThenHuge);
            for (const CountdownView::Line *line :
                {&view->eventNameLine(), &view->subtitleLine(), &view->quoteLine()}) {
                QVERIFY(line->present);
                QVERIFY(line->text.endsWith(ellipsis));
                QVERIFY(line->rect.width() <= window->window()->width());
            }
            QCOMPARE(view->todoViews().size(), 6);
            for (const TodoView &todo : view->todoViews())
                QVERIFY(todo.shownTitle().endsWith(ellipsis));
        }

        m_platform->advance(1000);
        QVERIFY(deliver(*m_platform, QEvent::KeyPress));
        verifyNothingLeft();
    }

    void showingThatCannotBeClosedIsNotPutUp_data()
    {
        QTest::addColumn<int>("failAt");
        QTest::newRow("no screens") << -1;
        QTest::newRow("monitor refused") << -1;
        QTest::newRow("second window not created") << 1;
        QTest::newRow("session locked") << -1;
    }

    void showingThatCannotBeClosedIsNotPutUp()
    {
        const QByteArray fault = QTest::currentDataTag();
        m_platform->screens = fault == "no screens" ? Geometries() : twoScreens;
        m_platform->refuseInputMonitor = fault == "monitor refused";
        QFETCH(int, failAt);
        m_platform->failAt = failAt;
        m_platform->sessionLockedNow = fault == "session locked";
        controller()->show();
        verifyNothingLeft();
        QCOMPARE(controller()->shownAt(), ScreensaverController::distantPast());

        // Nothing left behind that would stop the next showing.
        m_platform->screens = {laptop};
        m_platform->refuseInputMonitor = m_platform->sessionLockedNow = false;
        m_platform->failAt = -1;
        m_platform->created.clear();
        controller()->show();
        verifyCovers({laptop});
    }

    void layoutScalesAndKeepsItsSpacing_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<qreal>("scale");
        QTest::addColumn<QString>("subtitle");
        QTest::addColumn<QStringList>("quotes");
        QTest::addColumn<QString>("quote"); // the one chosen, or none
        QTest::addColumn<qint64>("days");
        QTest::addColumn<bool>("shrunk");
        QTest::addColumn<bool>("truncated");
        const QSize reference(1920, 1080), smaller(1440, 900);
        QTest::newRow("reference, no subtitle, no quote")
            << reference << 1.0 << QString() << QStringList() << QString() << 12LL << false
            << false;
        QTest::newRow("width the smaller ratio; a subtitle of spaces, blank quotes skipped")
            << smaller << 0.75 << QStringLiteral("   ")
            << QStringList {"", "   ", "\t", "\u00a0\u2003"} << QString() << 12LL << false << false;
        QTest::newRow("ultra-wide; subtitle and quote kept untrimmed")
            << QSize(3840, 1080) << 1.0 << QStringLiteral("Ship it")
            << QStringList {"", "  Be kind "} << QStringLiteral("  Be kind ") << 12LL << false
            << false;
        QTest::newRow("four digits shrink") << reference << 1.0 << QString() << QStringList {"One"}
                                            << QStringLiteral("One") << 1234LL << true << false;
        QTest::newRow("nine digits are truncated at half size")
            << reference << 1.0 << QString() << QStringList {"One"} << QStringLiteral("One")
            << 123456789LL << true << true;
    }

    void layoutScalesAndKeepsItsSpacing()
    {
        QFETCH(QSize, size);
        QFETCH(qreal, scale);
        QFETCH(QString, subtitle);
        QFETCH(QStringList, quotes);
        QFETCH(qint64, days);
        QFETCH(bool, shrunk);
        QFETCH(bool, truncated);
        m_model->setSubtitle(subtitle);
        m_model->setQuotes(quotes);
        m_model->setTimerDate(m_now.addDays(12));
        const auto view = makeView(size);
        view->refresh();
        const QRectF row = view->countdownRowRect();
        m_model->setTimerDate(m_now.addDays(days));
        view->refresh();
        QCOMPARE(view->countdownRowRect(), row); // a wide number never widens the row
        QCOMPARE(view->scale(), scale);
        QTEST(view->quote(), "quote");
        QCOMPARE(view->eventNameLine().nominalPixelSize, qRound(60 * scale));

        const auto &groups = view->unitGroups();
        const QList<qreal> boxes = {250, 200, 200, 200};
        for (int i = 0; i < 4; ++i) {
            const CountdownView::UnitGroup &group = groups[i];
            QCOMPARE(group.number.nominalPixelSize, qRound(150 * scale));
            QCOMPARE(group.label.nominalPixelSize, qRound(20 * scale));
            QCOMPARE(group.box.width(), boxes[i] * scale);
            // The number fills its box up to the trailing edge, the label 20 behind it.
            QVERIFY(group.number.rect.width() <= group.box.width());
            QCOMPARE(group.number.rect.right(), group.box.right());
            QCOMPARE(group.label.rect.left() - group.box.right(), 20 * scale);
            QCOMPARE(group.number.baseline, group.label.baseline);
            if (i > 0)
                QCOMPARE(group.box.left() - groups[i - 1].label.rect.right(), 20 * scale);
            // Only a number too wide for its box shrinks, to no less than half size.
            const int pixels = group.number.font.pixelSize();
            if (i == 0 && shrunk)
                QVERIFY(pixels < qRound(150 * scale) && pixels >= 75 * scale);
            else
                QCOMPARE(pixels, qRound(150 * scale));
            QCOMPARE(group.number.text.endsWith(ellipsis), i == 0 && truncated);
        }
        if (!truncated)
            QCOMPARE(groups[0].number.text, QString::number(days));

        // The column, centred: absent lines take no room.
        const QPointF centre = QRectF(QPointF(), QSizeF(size)).center();
        QCOMPARE(view->columnRect().center(), centre);
        QCOMPARE(view->gridRect().center().x(), centre.x());
        QCOMPARE(view->gridRect().width(), 1100 * scale);
        QCOMPARE(view->eventNameLine().rect.top(), view->columnRect().top());
        const CountdownView::Line &sub = view->subtitleLine();
        QCOMPARE(sub.present, !subtitle.isEmpty());
        if (sub.present)
            QCOMPARE(sub.text, subtitle);
        const qreal above = sub.present ? sub.rect.bottom() : view->eventNameLine().rect.bottom();
        QCOMPARE(view->countdownRowRect().top() - above, 50 * scale);
        const CountdownView::Line &line = view->quoteLine();
        QCOMPARE(line.present, !view->quote().isEmpty());
        const qreal below = line.present ? line.rect.top() : view->gridRect().top();
        QCOMPARE(below - view->countdownRowRect().bottom(), 100 * scale);
        QCOMPARE(view->gridRect().bottom(), view->columnRect().bottom());
    }

    // The ultra-light lines (secondary line, unit labels) are drawn visibly lighter
    // than the thin ones (name, numbers, quote, tasks): the same text at the same size
    // in each line's face leaves clearly less ink.
    void ultraLightIsLighterThanThin()
    {
        m_model->setSubtitle(QStringLiteral("Launch"));
        const auto view = makeView();
        const QFont thin = view->eventNameLine().font;
        const QFont ultraLight = view->subtitleLine().font;
        QCOMPARE(view->unitGroups()[0].label.font.family(), ultraLight.family());
        QCOMPARE(view->unitGroups()[0].label.font.weight(), ultraLight.weight());
        QCOMPARE(view->unitGroups()[0].number.font.family(), thin.family());
        auto ink = [](QFont font) {
            font.setPixelSize(80);
            QImage image(900, 120, QImage::Format_RGB32);
            image.fill(Qt::black);
            QPainter painter(&image);
            painter.setPen(Qt::white);
            painter.setFont(font);
            painter.drawText(image.rect(), Qt::AlignCenter, QStringLiteral("Launch 0123"));
            painter.end();
            qint64 sum = 0;
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < image.width(); ++x)
                    sum += qGray(image.pixel(x, y));
            return double(sum);
        };
        const double thinInk = ink(thin);
        const double ultraLightInk = ink(ultraLight);
        qInfo("ink of the same text: thin %s %d %.0f, ultra-light %s %d %.0f (%.0f %%)",
            qPrintable(thin.family()), thin.weight(), thinInk, qPrintable(ultraLight.family()),
            ultraLight.weight(), ultraLightInk, 100 * ultraLightInk / thinInk);
        QVERIFY2(ultraLightInk < 0.8 * thinInk, "the two weights look the same");
    }

    void quoteStaysNinetyTicksAndIsRetriedWhileNoneIsValid()
    {
        m_model->setQuotes({QStringLiteral("One")});
        const auto view = makeView();
        view->refresh();
        QCOMPARE(view->quote(), QStringLiteral("One"));
        m_model->setQuotes({QStringLiteral("Two")});
        for (int tick = 1; tick < 90; ++tick)
            view->refresh();
        QCOMPARE(view->quote(), QStringLiteral("One"));
        QCOMPARE(view->quoteInterval(), 89);
        view->refresh();
        QCOMPARE(view->quote(), QStringLiteral("Two"));
        QCOMPARE(view->quoteInterval(), 0);

        // Only blank quotes: no line, and every tick looks again.
        m_model->setQuotes({QString(), QStringLiteral(" \t ")});
        for (int tick = 0; tick < 90; ++tick)
            view->refresh();
        QCOMPARE(view->quote(), QString());
        QVERIFY(!view->quoteLine().present);
        m_model->setQuotes({QStringLiteral("  "), QStringLiteral("Late")});
        view->refresh();
        QCOMPARE(view->quote(), QStringLiteral("Late"));
        QVERIFY(view->quoteLine().present);
    }

    void taskGridShowsNonBlankTasksRowByRow_data()
    {
        QTest::addColumn<QStringList>("texts");
        QTest::addColumn<QList<bool>>("completed");
        QTest::addColumn<QList<int>>("shown"); // indices into `texts`
        QTest::newRow("blank tasks left out, completed kept")
            << QStringList {"Write", "   ", "Ship", "\t", "Test", "Party"}
            << QList<bool> {false, true, true, false, false, true} << QList<int> {0, 2, 4, 5};
        QTest::newRow("the third starts the second row on the left")
            << QStringList {"A", "B", "C", " ", "\u2003", ""}
            << QList<bool> {false, false, true, false, false, false} << QList<int> {0, 1, 2};
        QTest::newRow("none visible: an empty grid")
            << QStringList {"", " ", "\t", "", " ", ""} << QList<bool>(6, true) << QList<int>();
    }

    void taskGridShowsNonBlankTasksRowByRow()
    {
        QFETCH(QStringList, texts);
        QFETCH(QList<bool>, completed);
        QFETCH(QList<int>, shown);
        TodoList todos = m_model->todos();
        for (qsizetype i = 0; i < todos.size(); ++i) {
            todos[i].text = texts[i];
            todos[i].isCompleted = completed[i];
        }
        m_model->setTodos(todos);
        const auto view = makeView();
        const std::vector<TodoView> &cells = view->todoViews();
        QCOMPARE(qsizetype(cells.size()), shown.size());
        const QRectF grid = view->gridRect();
        QCOMPARE(grid.height() == 0, shown.isEmpty());
        for (qsizetype i = 0; i < shown.size(); ++i) {
            const TodoView &cell = cells[size_t(i)];
            QCOMPARE(cell.shownTitle(), texts[shown[i]]);
            const bool done = completed[shown[i]];
            QCOMPARE(cell.symbolName(), QLatin1String(done ? "checkmark.circle" : "circle"));
            QCOMPARE(cell.titleFont().strikeOut(), done);
            // Row by row: first cell at the left edge, the second in the right column.
            QCOMPARE(cell.cell().top(), cells[size_t(i - i % 2)].cell().top());
            if (i % 2 == 0)
                QCOMPARE(cell.cell().left(), grid.left());
            else
                QCOMPARE(cell.cell().left() - cells[size_t(i - 1)].cell().right(), 60.0);
            if (i >= 2)
                QCOMPARE(cell.cell().top() - cells[size_t(i - 2)].cell().bottom(), 16.0);
            QVERIFY(cell.symbolRect().left() >= cell.cell().left());
            QVERIFY(cell.titleRect().left() > cell.symbolRect().right());
        }
    }
};

QTEST_MAIN(TestScreensaver)
#include "tst_screensaver.moc"
