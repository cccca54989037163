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
#include <QTest>

#include <csignal>

using namespace Qt::StringLiterals;

// The program in the panel, end to end: a real X server with a window manager and
// a bus of the test's own with a small StatusNotifierWatcher on it.
class TestPanelItem : public QObject
{
    Q_OBJECT

    void startDaystride(QProcess &process)
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"XDG_CONFIG_HOME"_s, m_env->configHome());
        environment.insert(u"DBUS_SESSION_BUS_ADDRESS"_s, m_bus->address());
        environment.insert(u"QT_QPA_PLATFORM"_s, u"xcb"_s);
        process.setProcessEnvironment(environment);
        process.setProcessChannelMode(QProcess::ForwardedChannels);
        process.start(QStringLiteral(DAYSTRIDE_EXECUTABLE), {});
        QVERIFY(process.waitForStarted());
    }

    // Started, and its item in the watcher's list.
    bool startListed()
    {
        startDaystride(m_daystride);
        return QTest::qWaitFor(
            [&] { return m_watcher->registeredItems().contains(itemService()); }, 10000);
    }

    QString itemService() const
    {
        return u"org.kde.StatusNotifierItem-%1-1"_s.arg(m_daystride.processId());
    }

    std::unique_ptr<QDBusInterface> item() const
    {
        return std::make_unique<QDBusInterface>(itemService(), u"/StatusNotifierItem"_s,
            u"org.kde.StatusNotifierItem"_s, m_bus->connection());
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
        m_env->writeSettings({{"onboarded", true}, {"savedDate", m_target}});
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
        QVERIFY(startListed());

        const auto item = this->item();
        QCOMPARE(item->property("Id").toString(), u"daystride"_s);
        QCOMPARE(item->property("Title").toString(), u"Daystride"_s);
        QCOMPARE(item->property("Category").toString(), u"ApplicationStatus"_s);
        QCOMPARE(item->property("Status").toString(), u"Active"_s);
        QCOMPARE(item->property("XAyatanaLabel").toString(),
            menuBarTextBetween(QDateTime::currentDateTime(), m_target));

        QDBusMessage answer = item->call(u"Activate"_s, click.x(), click.y());
        QCOMPARE(answer.type(), QDBusMessage::ReplyMessage);
        QTRY_COMPARE_WITH_TIMEOUT(visibleWindows(u"Daystride"_s).size(), 1, 10000);
        const QRect popover = serverGeometry(visibleWindows(u"Daystride"_s).first());
        QCOMPARE(popover.width(), 320);
        QVERIFY2(QRect(0, 0, 1920, 1080).contains(popover), "the popover leaves the screen");
        // Next to the click: within its own size of it.
        QVERIFY(qAbs(popover.center().x() - click.x()) <= popover.width());
        QVERIFY(qAbs(popover.center().y() - click.y()) <= popover.height());

        // It takes the focus, so Escape typed now goes to it.
        const QString window = visibleWindows(u"Daystride"_s).first();
        QTRY_COMPARE_WITH_TIMEOUT(activeWindow(), window, 5000);
        xdotool({u"key"_s, u"Escape"_s});
        QTRY_VERIFY_WITH_TIMEOUT(visibleWindows(u"Daystride"_s).isEmpty(), 5000);
        // Finished before: no guide.
        QVERIFY(visibleWindows(u"Welcome to Daystride"_s).isEmpty());

        // A signal while the countdown covers the screen: it leaves, and nothing with it.
        const QByteArray settings = m_env->readSettingsFile();
        item->call(u"Activate"_s, click.x(), click.y());
        QTRY_COMPARE_WITH_TIMEOUT(visibleWindows(u"Daystride"_s).size(), 1, 10000);
        // "Show Countdown" sits at the bottom left of the popover.
        const QRect again = serverGeometry(visibleWindows(u"Daystride"_s).first());
        xdotool({u"mousemove"_s, QString::number(again.left() + 60),
            QString::number(again.bottom() - 22), u"click"_s, u"1"_s});
        QTRY_VERIFY_WITH_TIMEOUT(!visibleWindows(u"Daystride Countdown"_s).isEmpty(), 10000);
        ::kill(pid_t(m_daystride.processId()), SIGTERM);
        QVERIFY(m_daystride.waitForFinished(10000));
        QCOMPARE(m_daystride.exitStatus(), QProcess::NormalExit);
        QCOMPARE(m_daystride.exitCode(), 0);
        QVERIFY(visibleWindows(u"Daystride Countdown"_s).isEmpty());
        QCOMPARE(m_env->readSettingsFile(), settings);
    }

    // One of two starts hands over to the other, which opens its popover, and leaves.
    void secondStartHandsOverAndExits_data()
    {
        QTest::addColumn<bool>("atOnce");
        QTest::newRow("after the first is in the panel") << false;
        QTest::newRow("both at once") << true;
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
        QFETCH(bool, atOnce);
        startDaystride(m_daystride);
        if (!atOnce) {
            QTRY_VERIFY_WITH_TIMEOUT(m_watcher->registeredItems().contains(itemService()), 10000);
            QVERIFY(visibleWindows(u"Daystride"_s).isEmpty());
        }
        QProcess second;
        startDaystride(second);
        const auto gone = [](const QProcess &p) {
            return p.state() == QProcess::NotRunning;
        };
        QTRY_VERIFY_WITH_TIMEOUT(gone(m_daystride) != gone(second), 10000);
        QTest::qWait(1000);
        QProcess &left = gone(m_daystride) ? m_daystride : second;
        QProcess &stayed = gone(m_daystride) ? second : m_daystride;
        QVERIFY(atOnce || &left == &second);
        QCOMPARE(stayed.state(), QProcess::Running);
        QCOMPARE(left.exitStatus(), QProcess::NormalExit);
        QCOMPARE(left.exitCode(), 0);
        QTRY_COMPARE_WITH_TIMEOUT(m_watcher->registeredItems().size(), 1, 10000);
        if (!atOnce)
            QTRY_COMPARE_WITH_TIMEOUT(visibleWindows(u"Daystride"_s).size(), 1, 10000);
        stayed.terminate();
        QVERIFY(stayed.waitForFinished(5000));
    }

    void menuEntriesDoWhatThePopoverButtonsDo_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("window");
        for (const auto &[entry, window] :
            {std::pair {"Open Daystride", "Daystride"}, {"Show Countdown", "Daystride Countdown"},
                {"Settings…", "Daystride Settings"}, {"Quit", ""}})
            QTest::newRow(entry) << QString::fromUtf8(entry) << QString::fromUtf8(window);
    }

    void menuEntriesDoWhatThePopoverButtonsDo()
    {
        QFETCH(QString, entry);
        QFETCH(QString, window);
        QVERIFY(startListed());
        const auto item = this->item();
        QCOMPARE(item->property("ItemIsMenu").toBool(), false);
        const QString path = item->property("Menu").value<QDBusObjectPath>().path();
        QDBusInterface menu(itemService(), path, u"com.canonical.dbusmenu"_s, m_bus->connection());
        QVERIFY(menu.isValid());

        // The layout as a host reads it: the root with the entries below it.
        QDBusMessage answer = menu.call(u"GetLayout"_s, 0, -1, QStringList());
        QCOMPARE(answer.type(), QDBusMessage::ReplyMessage);
        DBusMenuLayoutItem root;
        answer.arguments().at(1).value<QDBusArgument>() >> root;
        QStringList labels;
        int id = -1;
        for (const DBusMenuLayoutItem &child : root.children) {
            const QString label = child.properties.value(u"label"_s).toString();
            const bool separator = child.properties.value(u"type"_s) == QLatin1String("separator");
            labels << (separator ? u"-"_s : label);
            if (label == entry)
                id = child.id;
        }
        QCOMPARE(
            labels, QStringList({"Open Daystride", "Show Countdown", "-", "Settings…", "Quit"}));

        // Hosts ask before showing the menu, then send the click.
        QCOMPARE(menu.call(u"AboutToShow"_s, 0).type(), QDBusMessage::ReplyMessage);
        answer = menu.call(
            u"Event"_s, id, u"clicked"_s, QVariant::fromValue(QDBusVariant(QString())), 0u);
        QCOMPARE(answer.type(), QDBusMessage::ReplyMessage);
        if (window.isEmpty()) {
            QVERIFY(m_daystride.waitForFinished(10000));
            QCOMPARE(m_daystride.exitCode(), 0);
            return;
        }
        QTRY_VERIFY_WITH_TIMEOUT(!visibleWindows(window).isEmpty(), 10000);
        const QString shown = visibleWindows(window).first();
        QTRY_COMPARE_WITH_TIMEOUT(activeWindow(), shown, 5000);
        // An unknown entry is an error, not a crash.
        answer = menu.call(
            u"Event"_s, 99, u"clicked"_s, QVariant::fromValue(QDBusVariant(QString())), 0u);
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

    void welcomeGuideOpensUntilFinished_data()
    {
        QTest::addColumn<QByteArray>("store");
        QTest::addColumn<bool>("guide");
        QTest::newRow("first start") << QByteArray() << true;
        // Written below through QSettings, so the date has the program's own format.
        QTest::newRow("a date from before the guide existed") << QByteArray("date") << false;
    }

    void welcomeGuideOpensUntilFinished()
    {
        QFETCH(QByteArray, store);
        QFETCH(bool, guide);
        if (store == "date")
            m_env->writeSettings({{"savedDate", m_target}});
        else
            m_env->writeSettingsFile(store);
        QVERIFY(startListed());
        if (guide) {
            QTRY_COMPARE_WITH_TIMEOUT(visibleWindows(u"Welcome to Daystride"_s).size(), 1, 10000);
            const QRect frame = serverGeometry(visibleWindows(u"Welcome to Daystride"_s).first());
            QCOMPARE(frame.size(), QSize(540, 500));
        } else {
            QTest::qWait(1000);
            QVERIFY(visibleWindows(u"Welcome to Daystride"_s).isEmpty());
        }
    }
};

QTEST_MAIN(TestPanelItem)
#include "tst_panelitem.moc"
