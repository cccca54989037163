#include "TestBus.h"
#include "TestEnvironment.h"
#include "TestStatusNotifierWatcher.h"
#include "XTools.h"
#include "menubar/PanelItem.h"
#include "menubar/StatusNotifierItem.h"
#include "menubar/StatusNotifierTypes.h"
#include "model/Countdown.h"

#include <QDBusInterface>
#include <QDBusObjectPath>
#include <QDBusReply>
#include <QDBusVariant>
#include <QProcess>
#include <QRect>
#include <QSettings>
#include <QTest>

#include <csignal>

namespace {

// The visible windows titled exactly `title`.
QStringList visibleWindows(const QString &title)
{
    const QString out = runXTool(QStringLiteral("xdotool"),
        {QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--name"),
            QStringLiteral("^%1$").arg(title)});
    return out.isEmpty() ? QStringList() : out.split(QLatin1Char('\n'));
}

} // namespace

// The program in the panel, end to end: a real X server with a window manager and
// a bus of the test's own with a small StatusNotifierWatcher on it.
class TestPanelItem : public QObject
{
    Q_OBJECT

    void startDaystride(QProcess &process)
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), m_env->configHome());
        environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), m_bus->address());
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        process.setProcessEnvironment(environment);
        process.setProcessChannelMode(QProcess::ForwardedChannels);
        process.start(QStringLiteral(DAYSTRIDE_EXECUTABLE), {});
        QVERIFY(process.waitForStarted());
    }

    QString itemService() const
    {
        return QStringLiteral("org.kde.StatusNotifierItem-%1-1").arg(m_daystride.processId());
    }

    std::unique_ptr<QDBusInterface> item() const
    {
        return std::make_unique<QDBusInterface>(itemService(),
            QStringLiteral("/StatusNotifierItem"), QStringLiteral("org.kde.StatusNotifierItem"),
            m_bus->connection());
    }

    std::unique_ptr<TestEnvironment> m_env;
    std::unique_ptr<TestBus> m_bus;
    std::unique_ptr<TestStatusNotifierWatcher> m_watcher;
    QProcess m_daystride;
    QDateTime m_target;
    QStringList m_heard;

private slots:
    void init()
    {
        if (qEnvironmentVariableIsEmpty("DISPLAY"))
            QSKIP("needs the X server that scripts/test starts");
        registerStatusNotifierTypes();
        m_env = std::make_unique<TestEnvironment>();
        m_bus = std::make_unique<TestBus>();
        QVERIFY2(m_bus->isRunning(), "dbus-daemon did not start");
        m_watcher = std::make_unique<TestStatusNotifierWatcher>(m_bus->connection());
        QVERIFY(m_watcher->start());
        // 3 days, 4 hours and a half minute away: the label reads "3d 4h " for a minute.
        m_target = QDateTime::currentDateTime().addDays(3).addSecs(4 * 3600 + 30);
        m_env->writeSettingsFile(QByteArray("[General]\nonboarded=true\n"));
        // The date goes in through the program's own format: written by QSettings.
        QSettings settings(m_env->settingsPath(), QSettings::IniFormat);
        settings.setValue(QStringLiteral("savedDate"), m_target);
    }

    void cleanup()
    {
        if (m_daystride.state() != QProcess::NotRunning) {
            m_daystride.terminate();
            m_daystride.waitForFinished(5000);
        }
        m_watcher.reset();
        m_bus.reset();
        m_env.reset();
    }

    void registersWithLabelAndOpensPopoverAtClick_data()
    {
        QTest::addColumn<QPoint>("click");
        QTest::newRow("panel at the top") << QPoint(1700, 12);
        QTest::newRow("panel at the bottom, right edge") << QPoint(1915, 1070);
    }

    void registersWithLabelAndOpensPopoverAtClick()
    {
        QFETCH(QPoint, click);
        startDaystride(m_daystride);
        QTRY_VERIFY_WITH_TIMEOUT(m_watcher->registeredItems().contains(itemService()), 10000);

        const auto item = this->item();
        QCOMPARE(item->property("Id").toString(), QStringLiteral("daystride"));
        QCOMPARE(item->property("Title").toString(), QStringLiteral("Daystride"));
        QCOMPARE(item->property("Category").toString(), QStringLiteral("ApplicationStatus"));
        QCOMPARE(item->property("Status").toString(), QStringLiteral("Active"));
        QCOMPARE(item->property("XAyatanaLabel").toString(),
            menuBarTextBetween(QDateTime::currentDateTime(), m_target));

        QDBusMessage answer = item->call(QStringLiteral("Activate"), click.x(), click.y());
        QCOMPARE(answer.type(), QDBusMessage::ReplyMessage);
        QTRY_COMPARE_WITH_TIMEOUT(visibleWindows(QStringLiteral("Daystride")).size(), 1, 10000);
        const QRect popover = serverGeometry(visibleWindows(QStringLiteral("Daystride")).first());
        QCOMPARE(popover.width(), 320);
        QVERIFY2(QRect(0, 0, 1920, 1080).contains(popover), "the popover leaves the screen");
        // Next to the click: within its own size of it.
        QVERIFY(qAbs(popover.center().x() - click.x()) <= popover.width());
        QVERIFY(qAbs(popover.center().y() - click.y()) <= popover.height());

        // It takes the focus, so Escape typed now goes to it.
        const QString window = visibleWindows(QStringLiteral("Daystride")).first();
        QTRY_COMPARE_WITH_TIMEOUT(
            runXTool(QStringLiteral("xdotool"), {QStringLiteral("getactivewindow")}), window, 5000);
        runXTool(QStringLiteral("xdotool"), {QStringLiteral("key"), QStringLiteral("Escape")});
        QTRY_VERIFY_WITH_TIMEOUT(visibleWindows(QStringLiteral("Daystride")).isEmpty(), 5000);
    }

    // Hosts re-read the label and tooltip only when told: once per new text, with it.
    void hostHearsOfEachNewLabel()
    {
        QDBusConnection host = QDBusConnection::connectToBus(m_bus->address(), "host");
        const QString interface = QStringLiteral("org.kde.StatusNotifierItem");
        const QString path = QString::fromLatin1(StatusNotifierItem::objectPath);
        QVERIFY(host.connect(QString(), path, interface, QStringLiteral("XAyatanaNewLabel"), this,
            SLOT(heardLabel(QString, QString))));
        QVERIFY(host.connect(
            QString(), path, interface, QStringLiteral("NewToolTip"), this, SLOT(heardToolTip())));
        {
            StatusNotifierItem item(m_bus->connection(), {});
            item.setLabel(QStringLiteral("3d 4h "));
            item.setLabel(QStringLiteral("3d 4h "));
            item.setLabel(QStringLiteral("3d 3h "));
            const QStringList expected = {"3d 4h ", "tooltip", "3d 3h ", "tooltip"};
            QTRY_COMPARE(m_heard, expected);
        }
        QDBusConnection::disconnectFromBus("host");
    }

public slots:
    void heardLabel(const QString &label, const QString &) { m_heard << label; }
    void heardToolTip() { m_heard << QStringLiteral("tooltip"); }

private slots:
    void secondStartHandsOverAndExits()
    {
        startDaystride(m_daystride);
        QTRY_VERIFY_WITH_TIMEOUT(m_watcher->registeredItems().contains(itemService()), 10000);
        QVERIFY(visibleWindows(QStringLiteral("Daystride")).isEmpty());

        QProcess second;
        startDaystride(second);
        QVERIFY(second.waitForFinished(10000));
        QCOMPARE(second.exitStatus(), QProcess::NormalExit);
        QCOMPARE(second.exitCode(), 0);
        QTRY_COMPARE_WITH_TIMEOUT(visibleWindows(QStringLiteral("Daystride")).size(), 1, 10000);
        QCOMPARE(m_daystride.state(), QProcess::Running);
    }

    void menuEntriesDoWhatThePopoverButtonsDo_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("window");
        QTest::newRow("Open Daystride") << "Open Daystride"
                                        << "Daystride";
        QTest::newRow("Show Countdown") << "Show Countdown"
                                        << "Daystride Countdown";
        QTest::newRow("Settings") << "Settings…"
                                  << "Daystride Settings";
        QTest::newRow("Quit") << "Quit" << QString();
    }

    void menuEntriesDoWhatThePopoverButtonsDo()
    {
        QFETCH(QString, entry);
        QFETCH(QString, window);
        startDaystride(m_daystride);
        QTRY_VERIFY_WITH_TIMEOUT(m_watcher->registeredItems().contains(itemService()), 10000);
        const auto item = this->item();
        QCOMPARE(item->property("ItemIsMenu").toBool(), false);
        const QString path = item->property("Menu").value<QDBusObjectPath>().path();
        QDBusInterface menu(
            itemService(), path, QStringLiteral("com.canonical.dbusmenu"), m_bus->connection());
        QVERIFY(menu.isValid());

        // The layout as a host reads it: the root with the entries below it.
        QDBusMessage answer = menu.call(QStringLiteral("GetLayout"), 0, -1, QStringList());
        QCOMPARE(answer.type(), QDBusMessage::ReplyMessage);
        DBusMenuLayoutItem root;
        answer.arguments().at(1).value<QDBusArgument>() >> root;
        QStringList labels;
        int id = -1;
        for (const DBusMenuLayoutItem &child : root.children) {
            const QString label = child.properties.value(QStringLiteral("label")).toString();
            const bool separator
                = child.properties.value(QStringLiteral("type")) == QLatin1String("separator");
            labels << (separator ? QStringLiteral("-") : label);
            if (label == entry)
                id = child.id;
        }
        QCOMPARE(
            labels, QStringList({"Open Daystride", "Show Countdown", "-", "Settings…", "Quit"}));

        // Hosts ask before showing the menu, then send the click.
        QCOMPARE(menu.call(QStringLiteral("AboutToShow"), 0).type(), QDBusMessage::ReplyMessage);
        answer = menu.call(QStringLiteral("Event"), id, QStringLiteral("clicked"),
            QVariant::fromValue(QDBusVariant(QString())), 0u);
        QCOMPARE(answer.type(), QDBusMessage::ReplyMessage);
        if (window.isEmpty()) {
            QVERIFY(m_daystride.waitForFinished(10000));
            QCOMPARE(m_daystride.exitCode(), 0);
            return;
        }
        QTRY_VERIFY_WITH_TIMEOUT(!visibleWindows(window).isEmpty(), 10000);
        const QString shown = visibleWindows(window).first();
        QTRY_COMPARE_WITH_TIMEOUT(
            runXTool(QStringLiteral("xdotool"), {QStringLiteral("getactivewindow")}), shown, 5000);
        // An unknown entry is an error, not a crash.
        answer = menu.call(QStringLiteral("Event"), 99, QStringLiteral("clicked"),
            QVariant::fromValue(QDBusVariant(QString())), 0u);
        QCOMPARE(answer.type(), QDBusMessage::ErrorMessage);
        QCOMPARE(m_daystride.state(), QProcess::Running);
    }

    // How a watcher loses the item, and the item getting back into its list.
    void registersAgainWhenDropped_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("watcher restarts") << "restart";
        QTest::newRow("item unregistered") << "unregistered";
        QTest::newRow("host restarts, item forgotten") << "host";
        QTest::newRow("first registration lost") << "lost";
    }

    void registersAgainWhenDropped()
    {
        QFETCH(QString, how);
        if (how == "lost")
            m_watcher->setListsItems(false);
        PanelItem panel(m_bus->connection());
        StatusNotifierItem *item = panel.statusNotifierItem();
        const QString name = item->serviceName();
        if (how == "lost") {
            // Accepted, never listed: the item tries again, and the next try is kept.
            QTRY_COMPARE_WITH_TIMEOUT(m_watcher->registrations(), 1, 5000);
            m_watcher->setListsItems(true);
        }
        QTRY_VERIFY_WITH_TIMEOUT(item->isRegistered(), 10000);
        QVERIFY(m_watcher->registeredItems().contains(name));
        if (how == "lost") {
            QVERIFY(!panel.usesTrayIcon());
            return;
        }
        const int before = m_watcher->registrations();

        if (how == "restart") {
            m_watcher->stop();
            QTRY_VERIFY(!item->isRegistered());
            QVERIFY(m_watcher->start());
        } else {
            m_watcher->dropItem(name, how == "unregistered");
            if (how == "host")
                m_watcher->announceHost();
        }
        QTRY_VERIFY_WITH_TIMEOUT(m_watcher->registrations() > before, 10000);
        QTRY_VERIFY_WITH_TIMEOUT(item->isRegistered(), 10000);
        QVERIFY(m_watcher->registeredItems().contains(name));
        // Shown once, the item never gives way to the stand-in.
        QVERIFY(!panel.usesTrayIcon());
    }

    void fallsBackToTrayIconOnlyWhenNeverListed_data()
    {
        QTest::addColumn<bool>("watcher");
        QTest::newRow("no watcher") << false;
        QTest::newRow("a watcher that never lists the item") << true;
    }

    void fallsBackToTrayIconOnlyWhenNeverListed()
    {
        QFETCH(bool, watcher);
        if (watcher)
            m_watcher->setListsItems(false);
        else
            m_watcher->stop();
        PanelItem panel(m_bus->connection());
        QTRY_VERIFY_WITH_TIMEOUT(panel.usesTrayIcon(), 15000);
        QVERIFY(!panel.statusNotifierItem()->isRegistered());
        if (watcher) {
            QCOMPARE(m_watcher->registrations(), StatusNotifierItem::listingTries);
            m_watcher->stop();
        }

        // A panel that starts later takes the item over from the stand-in.
        m_watcher->setListsItems(true);
        QVERIFY(m_watcher->start());
        QTRY_VERIFY_WITH_TIMEOUT(panel.statusNotifierItem()->isRegistered(), 5000);
        QVERIFY(!panel.usesTrayIcon());
    }

    void signalWhileCoveringLeavesNothingBehind()
    {
        const QByteArray settings = m_env->readSettingsFile();
        startDaystride(m_daystride);
        QTRY_VERIFY_WITH_TIMEOUT(m_watcher->registeredItems().contains(itemService()), 10000);
        item()->call(QStringLiteral("Activate"), 900, 12);
        QTRY_COMPARE_WITH_TIMEOUT(visibleWindows(QStringLiteral("Daystride")).size(), 1, 10000);
        // "Show Countdown" sits at the bottom left of the popover.
        const QRect popover = serverGeometry(visibleWindows(QStringLiteral("Daystride")).first());
        runXTool(QStringLiteral("xdotool"),
            {QStringLiteral("mousemove"), QString::number(popover.left() + 60),
                QString::number(popover.bottom() - 22), QStringLiteral("click"),
                QStringLiteral("1")});
        QTRY_VERIFY_WITH_TIMEOUT(
            !visibleWindows(QStringLiteral("Daystride Countdown")).isEmpty(), 10000);

        ::kill(pid_t(m_daystride.processId()), SIGTERM);
        QVERIFY(m_daystride.waitForFinished(10000));
        QCOMPARE(m_daystride.exitStatus(), QProcess::NormalExit);
        QCOMPARE(m_daystride.exitCode(), 0);
        QVERIFY(visibleWindows(QStringLiteral("Daystride Countdown")).isEmpty());
        QCOMPARE(m_env->readSettingsFile(), settings);
    }

    void welcomeGuideOpensUntilFinished_data()
    {
        QTest::addColumn<QByteArray>("store");
        QTest::addColumn<bool>("guide");
        QTest::newRow("first start") << QByteArray() << true;
        QTest::newRow("finished") << QByteArray("[General]\nonboarded=true\n") << false;
        // Written below through QSettings, so the date has the program's own format.
        QTest::newRow("a date from before the guide existed") << QByteArray("date") << false;
    }

    void welcomeGuideOpensUntilFinished()
    {
        QFETCH(QByteArray, store);
        QFETCH(bool, guide);
        if (store == "date") {
            m_env->writeSettingsFile(QByteArray());
            QSettings(m_env->settingsPath(), QSettings::IniFormat)
                .setValue(QStringLiteral("savedDate"), m_target);
        } else {
            m_env->writeSettingsFile(store);
        }
        startDaystride(m_daystride);
        QTRY_VERIFY_WITH_TIMEOUT(m_watcher->registeredItems().contains(itemService()), 10000);
        if (guide) {
            QTRY_COMPARE_WITH_TIMEOUT(
                visibleWindows(QStringLiteral("Welcome to Daystride")).size(), 1, 10000);
            const QRect frame
                = serverGeometry(visibleWindows(QStringLiteral("Welcome to Daystride")).first());
            QCOMPARE(frame.size(), QSize(540, 500));
        } else {
            QTest::qWait(1000);
            QVERIFY(visibleWindows(QStringLiteral("Welcome to Daystride")).isEmpty());
        }
    }
};

QTEST_MAIN(TestPanelItem)
#include "tst_panelitem.moc"
