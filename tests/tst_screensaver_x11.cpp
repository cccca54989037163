#include "TestEnvironment.h"
#include "model/TimerViewModel.h"
#include "platform/LinuxPlatform.h"
#include "screensaver/ScreensaverController.h"
#include "screensaver/ScreensaverWindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QPointer>
#include <QProcess>
#include <QRegularExpression>
#include <QScreen>
#include <QTest>
#include <QWidget>

#include <memory>

namespace {

// An ordinary window of the program below the covers, counting what reaches it.
class Underneath : public QWidget
{
public:
    int inputs = 0;

protected:
    bool event(QEvent *event) override
    {
        switch (event->type()) {
        case QEvent::KeyPress:
        case QEvent::MouseButtonPress:
        case QEvent::Wheel:
            ++inputs;
            break;
        default:
            break;
        }
        return QWidget::event(event);
    }
};

// The window's place on the root window and its size, as the X server has it.
QRect serverGeometry(WId window)
{
    QProcess xwininfo;
    xwininfo.start(QStringLiteral("xwininfo"), {QStringLiteral("-id"), QString::number(window)});
    if (!xwininfo.waitForFinished(5000))
        return {};
    const QString out = QString::fromLocal8Bit(xwininfo.readAllStandardOutput());
    auto field = [&](const QString &name) {
        const QRegularExpression re(
            QRegularExpression::escape(name) + QStringLiteral(":\\s*(-?\\d+)"));
        return re.match(out).captured(1).toInt();
    };
    if (!out.contains(QStringLiteral("IsViewable")))
        return {};
    return QRect(field(QStringLiteral("Absolute upper-left X")),
        field(QStringLiteral("Absolute upper-left Y")), field(QStringLiteral("Width")),
        field(QStringLiteral("Height")));
}

bool windowManagerRunning()
{
    QProcess xprop;
    xprop.start(QStringLiteral("xprop"),
        {QStringLiteral("-root"), QStringLiteral("_NET_SUPPORTING_WM_CHECK")});
    return xprop.waitForFinished(5000) && xprop.readAllStandardOutput().contains("window id #");
}

bool xdotool(const QStringList &args)
{
    return QProcess::execute(QStringLiteral("xdotool"), args) == 0;
}

// Lets events arrive until `msecs` have passed since `since`.
void waitUntil(const QElapsedTimer &since, qint64 msecs)
{
    while (since.elapsed() < msecs)
        QTest::qWait(int(std::min<qint64>(20, msecs - since.elapsed())));
}

} // namespace

// The countdown on a real X server with a window manager: the covers, the grace
// second and the closing input, through the real platform.
class TestScreensaverX11 : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void coversEveryScreenAndClosesOnInputAfterTheGrace_data();
    void coversEveryScreenAndClosesOnInputAfterTheGrace();

private:
    std::unique_ptr<TestEnvironment> m_env;
};

void TestScreensaverX11::initTestCase()
{
    if (QGuiApplication::platformName() != u"xcb")
        QSKIP("needs an X server (run through scripts/test)");
    m_env = std::make_unique<TestEnvironment>();
    // The window manager may still be starting: wait until it announces itself.
    QTRY_VERIFY_WITH_TIMEOUT(windowManagerRunning(), 10000);
}

void TestScreensaverX11::coversEveryScreenAndClosesOnInputAfterTheGrace_data()
{
    QTest::addColumn<QStringList>("earlyInput");
    QTest::addColumn<QStringList>("closingInput");
    QTest::newRow("pointer moves, key closes")
        << QStringList {"mousemove_relative", "--", "40", "0"} << QStringList {"key", "a"};
    QTest::newRow("key, click closes")
        << QStringList {"key", "Escape"} << QStringList {"click", "1"};
    QTest::newRow("click, scroll closes")
        << QStringList {"click", "3"} << QStringList {"click", "5"};
}

void TestScreensaverX11::coversEveryScreenAndClosesOnInputAfterTheGrace()
{
    QFETCH(QStringList, earlyInput);
    QFETCH(QStringList, closingInput);

    LinuxPlatform platform;
    TimerViewModel model(platform);
    ScreensaverController &controller = *model.screensaver();

    Underneath underneath;
    underneath.setWindowTitle(QStringLiteral("underneath"));
    underneath.setGeometry(QRect(100, 100, 400, 300));
    underneath.show();
    QVERIFY(QTest::qWaitForWindowExposed(&underneath));
    // The window manager may have been started a moment ago.
    underneath.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&underneath, 10000));
    // The pointer over it, so a stray click or scroll would land there.
    QVERIFY(xdotool({"mousemove", "200", "200"}));
    QTest::qWait(100);
    underneath.inputs = 0;

    QElapsedTimer sinceShown;
    sinceShown.start();
    controller.show();
    if (controller.windows().isEmpty())
        QSKIP("this platform cannot put up a covering window with an input monitor yet");

    const QList<QRect> screens = platform.screenGeometries();
    const QList<QScreen *> qscreens = QGuiApplication::screens();
    QCOMPARE(screens.size(), qscreens.size());
    QCOMPARE(controller.windows().size(), screens.size());
    QList<QPointer<QWidget>> covers;
    for (qsizetype i = 0; i < screens.size(); ++i) {
        QWidget *cover = controller.windows().at(i)->window();
        covers.append(cover);
        QVERIFY(QTest::qWaitForWindowExposed(cover));
        QCOMPARE(cover->windowTitle(), QStringLiteral("Daystride Countdown"));
        QTRY_COMPARE(serverGeometry(cover->winId()), qscreens.at(i)->geometry());
    }
    QCOMPARE(QGuiApplication::overrideCursor() ? QGuiApplication::overrideCursor()->shape()
                                               : Qt::ArrowCursor,
        Qt::BlankCursor);

    // Within the first second: swallowed, and the covers stay.
    waitUntil(sinceShown, 500);
    QVERIFY(xdotool(earlyInput));
    QTest::qWait(300);
    QVERIFY(sinceShown.elapsed() < 1000); // else the next checks prove nothing
    QCOMPARE(controller.windows().size(), screens.size());
    for (const QPointer<QWidget> &cover : std::as_const(covers))
        QVERIFY(cover && cover->isVisible());

    // After it: the first input closes every cover and is swallowed too.
    waitUntil(sinceShown, 1100);
    QVERIFY(xdotool(closingInput));
    QTRY_VERIFY(controller.windows().isEmpty());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    for (const QPointer<QWidget> &cover : std::as_const(covers))
        QVERIFY(!cover || !cover->isVisible());
    QTest::qWait(200);
    QCOMPARE(underneath.inputs, 0);
    QVERIFY(!QGuiApplication::overrideCursor()
        || QGuiApplication::overrideCursor()->shape() != Qt::BlankCursor);

    // Input reaches the program's windows again.
    underneath.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&underneath));
    QVERIFY(xdotool({"key", "b"}));
    QTRY_VERIFY(underneath.inputs > 0);
}

QTEST_MAIN(TestScreensaverX11)
#include "tst_screensaver_x11.moc"
