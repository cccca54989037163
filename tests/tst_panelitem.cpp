#include "TestBus.h"
#include "TestEnvironment.h"
#include "TestStatusNotifierWatcher.h"
#include "XTools.h"
#include "menubar/PanelItem.h"
#include "platform/statusnotifier/StatusNotifierItem.h"
#include "platform/statusnotifier/StatusNotifierTypes.h"
#include "model/Countdown.h"

#include <QDBusInterface>
#include <QDBusObjectPath>
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

    bool listed(const QProcess &process) const
    {
        return QTest::qWaitFor(
            [&] { return m_watcher->registeredItems().contains(itemService(process)); }, 10000);
    }

    static QString itemService(const QProcess &process)
    {
        return u"org.kde.StatusNotifierItem-%1-1"_s.arg(process.processId());
    }

    std::unique_ptr<QDBusInterface> item(const QString &interface = u"org.kde.StatusNotifierItem"_s,
        const QString &path = u"/StatusNotifierItem"_s) const
    {
        return std::make_unique<QDBusInterface>(
            itemService(m_daystride), path, interface, m_bus->connection());
    }

    static QStringList shown(const char *title) { return visibleWindows(QString::fromUtf8(title)); }

    std::unique_ptr<TestEnvironment> m_env;
    std::unique_ptr<TestBus> m_bus;
    std::unique_ptr<TestStatusNotifierWatcher> m_watcher;
    QProcess m_daystride;
    QDateTime m_target;
    QStringList m_heard;

public slots:
    void heardLabel(const QString &label, const QString &) { m_heard << label; }
    void heardToolTip() { m_heard << u"tooltip"_s; }

private slots:
    void init()
    {
        if (qEnvironmentVariableIsEmpty("DISPLAY"))
            QSKIP("needs the X server that scripts/test starts");
        registerStatusNotifierTypes();
        m_env = std::make_unique<TestEnvironment>();
        m_bus = std::make_unique<TestBus>();
        QVERIFY(m_bus->isRunning());
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
        startDaystride(m_daystride);
        QVERIFY(listed(m_daystride));
        const auto item = this->item();
        for (const auto &[name, value] : {std::pair {"Id", "daystride"}, {"Title", "Daystride"},
                 {"Category", "ApplicationStatus"}, {"Status", "Active"}})
            QCOMPARE(item->property(name).toString(), QString::fromUtf8(value));
        QCOMPARE(item->property("XAyatanaLabel").toString(),
            menuBarTextBetween(QDateTime::currentDateTime(), m_target));

        QCOMPARE(
            item->call(u"Activate"_s, click.x(), click.y()).type(), QDBusMessage::ReplyMessage);
        QTRY_COMPARE_WITH_TIMEOUT(shown("Daystride").size(), 1, 10000);
        const QRect popover = serverGeometry(shown("Daystride").first());
        QCOMPARE(popover.width(), 320);
        QVERIFY(QRect(0, 0, 1920, 1080).contains(popover));
        // Next to the click: within its own size of it.
        QVERIFY(qAbs(popover.center().x() - click.x()) <= popover.width());
        QVERIFY(qAbs(popover.center().y() - click.y()) <= popover.height());
        // It takes the focus, so Escape typed now goes to it.
        QTRY_COMPARE_WITH_TIMEOUT(activeWindow(), shown("Daystride").first(), 5000);
        xdotool({u"key"_s, u"Escape"_s});
        QTRY_VERIFY_WITH_TIMEOUT(shown("Daystride").isEmpty(), 5000);
        QVERIFY(shown("Welcome to Daystride").isEmpty()); // finished before: no guide

        // A signal while the countdown covers the screen: it leaves, and nothing with it.
        const QByteArray settings = m_env->readSettingsFile();
        item->call(u"Activate"_s, click.x(), click.y());
        QTRY_COMPARE_WITH_TIMEOUT(shown("Daystride").size(), 1, 10000);
        // "Show Countdown" sits at the bottom left of the popover.
        const QRect again = serverGeometry(shown("Daystride").first());
        xdotool({u"mousemove"_s, QString::number(again.left() + 60),
            QString::number(again.bottom() - 22), u"click"_s, u"1"_s});
        QTRY_VERIFY_WITH_TIMEOUT(!shown("Daystride Countdown").isEmpty(), 10000);
        ::kill(pid_t(m_daystride.processId()), SIGTERM);
        QVERIFY(m_daystride.waitForFinished(10000));
        QCOMPARE(m_daystride.exitStatus(), QProcess::NormalExit);
        QCOMPARE(m_daystride.exitCode(), 0);
        QVERIFY(shown("Daystride Countdown").isEmpty());
        QCOMPARE(m_env->readSettingsFile(), settings);
    }

    // Hosts re-read the label and tooltip only when told: once per new text, with it.
    void hostHearsOfEachNewLabel()
    {
        QDBusConnection host = QDBusConnection::connectToBus(m_bus->address(), "host");
        const QString interface = u"org.kde.StatusNotifierItem"_s;
        const QString path = QString::fromLatin1(StatusNotifierItem::objectPath);
        QVERIFY(host.connect(
            {}, path, interface, u"XAyatanaNewLabel"_s, this, SLOT(heardLabel(QString, QString))));
        QVERIFY(host.connect({}, path, interface, u"NewToolTip"_s, this, SLOT(heardToolTip())));
        {
            StatusNotifierItem item(m_bus->connection(), {});
            for (const char *label : {"3d 4h ", "3d 4h ", "3d 3h "})
                item.setLabel(QString::fromUtf8(label));
            QTRY_COMPARE(m_heard, QStringList({"3d 4h ", "tooltip", "3d 3h ", "tooltip"}));
        }
        QDBusConnection::disconnectFromBus("host");
    }

    // One of two starts hands over to the other, which opens its popover, and leaves.
    void secondStartHandsOverAndExits_data()
    {
        QTest::addColumn<bool>("atOnce");
        QTest::newRow("after the first is in the panel") << false;
        QTest::newRow("both at once") << true;
    }

    void secondStartHandsOverAndExits()
    {
        QFETCH(bool, atOnce);
        startDaystride(m_daystride);
        if (!atOnce) {
            QVERIFY(listed(m_daystride));
            QVERIFY(shown("Daystride").isEmpty());
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
            QTRY_COMPARE_WITH_TIMEOUT(shown("Daystride").size(), 1, 10000);
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
        startDaystride(m_daystride);
        QVERIFY(listed(m_daystride));
        QCOMPARE(item()->property("ItemIsMenu").toBool(), false);
        const auto menu = item(
            u"com.canonical.dbusmenu"_s, item()->property("Menu").value<QDBusObjectPath>().path());
        QVERIFY(menu->isValid());

        // The layout as a host reads it: the root with the entries below it.
        QDBusMessage answer = menu->call(u"GetLayout"_s, 0, -1, QStringList());
        QCOMPARE(answer.type(), QDBusMessage::ReplyMessage);
        DBusMenuLayoutItem root;
        answer.arguments().at(1).value<QDBusArgument>() >> root;
        QStringList labels;
        for (const DBusMenuLayoutItem &child : root.children)
            labels << (child.properties.value(u"type"_s) == u"separator"_s
                    ? u"-"_s
                    : child.properties.value(u"label"_s).toString());
        QCOMPARE(
            labels, QStringList({"Open Daystride", "Show Countdown", "-", "Settings…", "Quit"}));

        // Hosts ask before showing the menu, then send the click.
        QCOMPARE(menu->call(u"AboutToShow"_s, 0).type(), QDBusMessage::ReplyMessage);
        const auto click = [&](int id) {
            return menu->call(
                u"Event"_s, id, u"clicked"_s, QVariant::fromValue(QDBusVariant(u""_s)), 0u);
        };
        QCOMPARE(click(root.children[labels.indexOf(entry)].id).type(), QDBusMessage::ReplyMessage);
        if (window.isEmpty()) {
            QVERIFY(m_daystride.waitForFinished(10000));
            QCOMPARE(m_daystride.exitCode(), 0);
            return;
        }
        QTRY_VERIFY_WITH_TIMEOUT(!visibleWindows(window).isEmpty(), 10000);
        QTRY_COMPARE_WITH_TIMEOUT(activeWindow(), visibleWindows(window).first(), 5000);
        // An unknown entry is an error, not a crash.
        QCOMPARE(click(99).type(), QDBusMessage::ErrorMessage);
        QCOMPARE(m_daystride.state(), QProcess::Running);
    }

    // How the item loses its place in the watcher's list, or never gets one, and gets
    // (back) into it.
    void getsIntoTheWatchersList_data()
    {
        QTest::addColumn<QString>("how");
        for (const char *how : {"watcher restarts", "item unregistered", "host restarts",
                 "first registration lost", "no watcher", "never listed"})
            QTest::newRow(how) << QString::fromUtf8(how);
    }

    void getsIntoTheWatchersList()
    {
        QFETCH(QString, how);
        const bool late = how == "no watcher" || how == "never listed";
        if (how == "no watcher")
            m_watcher->stop();
        else
            m_watcher->setListsItems(!late && how != "first registration lost");
        PanelItem panel(m_bus->connection());
        StatusNotifierItem *item = panel.statusNotifierItem();
        if (late) {
            // Without a listing the stand-in tray icon shows, until a panel starts.
            QTRY_VERIFY_WITH_TIMEOUT(panel.usesTrayIcon(), 15000);
            QVERIFY(!item->isRegistered());
            if (how == "never listed") {
                QCOMPARE(m_watcher->registrations(), StatusNotifierItem::listingTries);
                m_watcher->stop();
            }
            m_watcher->setListsItems(true);
            QVERIFY(m_watcher->start());
            QTRY_VERIFY_WITH_TIMEOUT(item->isRegistered(), 5000);
        } else if (how == "first registration lost") {
            // Accepted, never listed: the item tries again, and the next try is kept.
            QTRY_COMPARE_WITH_TIMEOUT(m_watcher->registrations(), 1, 5000);
            m_watcher->setListsItems(true);
        } else {
            QTRY_VERIFY_WITH_TIMEOUT(item->isRegistered(), 10000);
            QVERIFY(m_watcher->registeredItems().contains(item->serviceName()));
            const int before = m_watcher->registrations();
            if (how == "watcher restarts") {
                m_watcher->stop();
                QTRY_VERIFY(!item->isRegistered());
                QVERIFY(m_watcher->start());
            } else {
                m_watcher->dropItem(item->serviceName(), how == "item unregistered");
                if (how == "host restarts")
                    m_watcher->announceHost();
            }
            QTRY_VERIFY_WITH_TIMEOUT(m_watcher->registrations() > before, 10000);
        }
        QTRY_VERIFY_WITH_TIMEOUT(item->isRegistered(), 10000);
        QVERIFY(m_watcher->registeredItems().contains(item->serviceName()));
        // Listed once, the item never gives way to the stand-in.
        QVERIFY(!panel.usesTrayIcon());
    }

    void firstStartOpensTheGuide()
    {
        m_env->writeSettingsFile({});
        startDaystride(m_daystride);
        QVERIFY(listed(m_daystride));
        QTRY_COMPARE_WITH_TIMEOUT(shown("Welcome to Daystride").size(), 1, 10000);
        QCOMPARE(serverGeometry(shown("Welcome to Daystride").first()).size(), QSize(540, 500));
    }
};

QTEST_MAIN(TestPanelItem)
#include "tst_panelitem.moc"
