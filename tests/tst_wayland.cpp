#include "TestBus.h"
#include "TestEnvironment.h"
#include "TestStatusNotifierWatcher.h"
#include "menubar/DaystrideApp.h"
#include "menubar/PanelItem.h"
#include "menubar/Popover.h"
#include "menubar/TimerView.h"
#include "platform/LinuxPlatform.h"
#include "platform/statusnotifier/StatusNotifierItem.h"

#include <QApplication>
#include <QDBusInterface>
#include <QFileInfo>
#include <QLabel>
#include <QTest>
#include <QToolButton>

#include <cstdio>

// The whole program on a Wayland compositor that reports no idle time (weston's
// headless backend, started by scripts/test): the popover says so.
class TestWayland : public QObject
{
    Q_OBJECT

private slots:
    void popoverSaysThereIsNoIdleTime()
    {
        QCOMPARE(QGuiApplication::platformName(), QStringLiteral("wayland"));
        TestEnvironment env;
        env.writeSettingsFile(QByteArray("[General]\nonboarded=true\n"));
        TestBus bus;
        QVERIFY(bus.isRunning());
        // The program's own session-bus connection is made on first use, after this.
        qputenv("DBUS_SESSION_BUS_ADDRESS", bus.address().toUtf8());
        TestStatusNotifierWatcher watcher(bus.connection());
        QVERIFY(watcher.start());
        LinuxPlatform platform;
        DaystrideApp app(platform);
        QVERIFY(app.start());
        const QString service = app.panelItem()->statusNotifierItem()->serviceName();
        QTRY_VERIFY_WITH_TIMEOUT(watcher.registeredItems().contains(service), 10000);

        // Asked asynchronously: the item answers from this very event loop.
        QDBusInterface item(service, QStringLiteral("/StatusNotifierItem"),
            QStringLiteral("org.kde.StatusNotifierItem"), bus.connection());
        item.asyncCall(QStringLiteral("Activate"), 200, 10);
        QTRY_VERIFY_WITH_TIMEOUT(app.popover() && app.popover()->isVisible(), 10000);
        QVERIFY(QTest::qWaitForWindowExposed(app.popover()));

        // weston reports no idle time, nor does anything on the test's bus: the
        // screensaver tab says so beside "Show when idle".
        TimerView *view = app.popover()->timerView();
        QTest::mouseClick(view->screensaverTabButton(), Qt::LeftButton);
        const QList<QLabel *> labels = view->findChildren<QLabel *>();
        QVERIFY(std::any_of(labels.begin(), labels.end(), [](const QLabel *label) {
            return label->isVisible()
                && label->text().contains(QLatin1String("does not report idle time"));
        }));
    }
};

int main(int argc, char **argv)
{
    // Without a compositor there is nothing to test; say why and skip.
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    const QString display = qEnvironmentVariable("WAYLAND_DISPLAY");
    if (display.isEmpty() || !QFileInfo::exists(runtime + QLatin1Char('/') + display)) {
        std::printf("SKIP: no Wayland compositor at %s/%s (%s)\n", qPrintable(runtime),
            qPrintable(display), qPrintable(qEnvironmentVariable("DAYSTRIDE_WESTON_ERROR")));
        return 77;
    }
    qputenv("QT_QPA_PLATFORM", "wayland");
    QApplication app(argc, argv);
    TestWayland test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_wayland.moc"
