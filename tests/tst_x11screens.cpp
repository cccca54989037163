#include "TestEnvironment.h"
#include "model/TimerViewModel.h"
#include "platform/LinuxPlatform.h"
#include "screensaver/ScreensaverController.h"
#include "screensaver/ScreensaverWindow.h"

#include <QApplication>
#include <QDir>
#include <QProcess>
#include <QScreen>
#include <QTest>
#include <QThread>

#include <X11/Xlib.h>
#include <cstdio>
#include <memory>

namespace {
std::unique_ptr<QProcess> xserver;
}

// Covers on a display of two X screens of different sizes, as a multi-head setup
// without Xinerama has: Qt reports both screens at 0,0, and each cover must still go
// to its own screen. The test runs its own Xvfb.
class TestX11Screens : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestEnvironment> m_env = std::make_unique<TestEnvironment>();

private slots:
    void initTestCase() { QCOMPARE(QGuiApplication::screens().size(), 2); }

    void eachScreenGetsItsOwnCover()
    {
        LinuxPlatform platform;
        TimerViewModel model(platform);
        ScreensaverController &controller = *model.screensaver();
        controller.show();
        const QList<QScreen *> screens = QGuiApplication::screens();
        QCOMPARE(controller.windows().size(), screens.size());

        Display *display = XOpenDisplay(nullptr);
        QVERIFY(display);
        QList<Window> roots;
        for (qsizetype i = 0; i < screens.size(); ++i) {
            QWidget *cover = controller.windows().at(i)->window();
            QVERIFY(QTest::qWaitForWindowExposed(cover));
            QCOMPARE(cover->screen(), screens.at(i));
            // On the X server: a child of that screen's root, as large as that screen.
            XWindowAttributes attributes {};
            QVERIFY(XGetWindowAttributes(display, Window(cover->winId()), &attributes));
            const Screen *xscreen = attributes.screen;
            QCOMPARE(QSize(attributes.width, attributes.height), screens.at(i)->size());
            QCOMPARE(QSize(WidthOfScreen(xscreen), HeightOfScreen(xscreen)), screens.at(i)->size());
            roots.append(attributes.root);
        }
        QVERIFY(roots.at(0) != roots.at(1));
        XCloseDisplay(display);

        // Input on either screen reaches the monitor: the grab is held.
        QTRY_VERIFY(platform.grabWindow());
        controller.dismiss();
        QVERIFY(!platform.grabWindow());
    }
};

int main(int argc, char **argv)
{
    int number = 150;
    while (QFile::exists(QStringLiteral("/tmp/.X%1-lock").arg(number))
        || QFile::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(number)))
        ++number;
    const QString name = QStringLiteral(":%1").arg(number);
    xserver = std::make_unique<QProcess>();
    xserver->start(QStringLiteral("Xvfb"),
        {name, "-screen", "0", "1920x1080x24", "-screen", "1", "1280x1024x24", "-nolisten", "tcp"});
    if (!xserver->waitForStarted()) {
        std::printf("FAIL: Xvfb did not start\n");
        return 1;
    }
    const QByteArray display = name.toLocal8Bit();
    Display *probe = nullptr;
    for (int i = 0; i < 100 && !(probe = XOpenDisplay(display.constData())); ++i)
        QThread::msleep(50);
    if (!probe) {
        std::printf("FAIL: Xvfb %s did not answer\n", display.constData());
        return 1;
    }
    XCloseDisplay(probe);
    qputenv("DISPLAY", display);
    qputenv("QT_QPA_PLATFORM", "xcb");

    int result = 0;
    {
        QApplication app(argc, argv);
        TestX11Screens test;
        result = QTest::qExec(&test, argc, argv);
    }
    xserver->terminate();
    xserver->waitForFinished(5000);
    return result;
}

#include "tst_x11screens.moc"
