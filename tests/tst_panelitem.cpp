#include "TestBus.h"
#include "TestEnvironment.h"
#include "TestStatusNotifierWatcher.h"
#include "XTools.h"
#include "menubar/PanelItem.h"
#include "model/Countdown.h"
#include "platform/statusnotifier/StatusNotifierItem.h"
#include "platform/statusnotifier/StatusNotifierTypes.h"
#include "ui/Appearance.h"
#include "ui/Look.h"

#include <QApplication>
#include <QDBusInterface>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QPainter>
#include <QProcess>
#include <QRect>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QStyle>
#include <QTest>
#include <QXmlStreamReader>
#include <QtEndian>

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

    // A call from a panel host's own connection to an item in this process.
    QDBusMessage hostCall(const QString &service, const QString &path, const QString &interface,
        const QString &method, const QVariantList &arguments = {}) const
    {
        QDBusMessage call = QDBusMessage::createMethodCall(service, path, interface, method);
        call.setArguments(arguments);
        return QDBusConnection::connectToBus(m_bus->address(), u"host"_s)
            .call(call, QDBus::BlockWithGui);
    }

    static QImage imageOf(const SniPixmap &pixmap)
    {
        QImage image(pixmap.width, pixmap.height, QImage::Format_ARGB32);
        const auto *in = reinterpret_cast<const quint32 *>(pixmap.argb.constData());
        for (int y = 0; y < image.height(); ++y) {
            auto *line = reinterpret_cast<quint32 *>(image.scanLine(y));
            for (int x = 0; x < image.width(); ++x)
                line[x] = qFromBigEndian(*in++);
        }
        return image;
    }

    // The share of the icon's opaque pixels that stand out from `panel` as much as a
    // graphic needs (a contrast ratio of 3:1) once drawn on it.
    static qreal contrastingShare(const QImage &icon, const QColor &panel)
    {
        QImage drawn(icon.size(), QImage::Format_RGB32);
        drawn.fill(panel);
        QPainter(&drawn).drawImage(0, 0, icon);
        int opaque = 0, contrasting = 0;
        for (int y = 0; y < icon.height(); ++y) {
            for (int x = 0; x < icon.width(); ++x) {
                if (qAlpha(icon.pixel(x, y)) < 128)
                    continue;
                ++opaque;
                contrasting += Look::contrast(drawn.pixelColor(x, y), panel) >= 3.0 ? 1 : 0;
            }
        }
        return opaque ? qreal(contrasting) / opaque : 0;
    }

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
        QDBusConnection::disconnectFromBus(u"host"_s);
        if (m_daystride.state() != QProcess::NotRunning) {
            m_daystride.terminate();
            m_daystride.waitForFinished(5000);
        }
        m_watcher.reset();
        m_bus.reset();
        m_env.reset();
    }

    // Hosts send the click, the item's corner, a fixed point or nothing as the place of
    // the click; the popover opens next to the item whatever they send.
    void registersWithLabelAndOpensPopoverAtClick_data()
    {
        QTest::addColumn<QPoint>("pointer");
        QTest::addColumn<QPoint>("click");
        QTest::newRow("panel at the top") << QPoint(1700, 12) << QPoint(1700, 12);
        QTest::newRow("panel at the bottom, right edge")
            << QPoint(1915, 1070) << QPoint(1915, 1070);
        QTest::newRow("no place (0, 0)") << QPoint(1880, 12) << QPoint(0, 0);
        QTest::newRow("MATE's fixed (0, 25)") << QPoint(1880, 12) << QPoint(0, 25);
        QTest::newRow("a place on no screen") << QPoint(1880, 1070) << QPoint(-4000, 5000);
    }

    void registersWithLabelAndOpensPopoverAtClick()
    {
        QFETCH(QPoint, pointer);
        QFETCH(QPoint, click);
        startDaystride(m_daystride);
        QVERIFY(listed(m_daystride));
        const auto item = this->item();
        for (const auto &[name, value] : {std::pair {"Id", "daystride"}, {"Title", "Daystride"},
                 {"Category", "ApplicationStatus"}, {"Status", "Active"}})
            QCOMPARE(item->property(name).toString(), QString::fromUtf8(value));
        QCOMPARE(item->property("XAyatanaLabel").toString(),
            menuBarTextBetween(QDateTime::currentDateTime(), m_target));
        // The tooltip says the time left in words, for a screen reader.
        QDBusMessage get = QDBusMessage::createMethodCall(
            item->service(), item->path(), u"org.freedesktop.DBus.Properties"_s, u"Get"_s);
        get << item->interface() << u"ToolTip"_s;
        const QDBusMessage reply = item->connection().call(get);
        const auto toolTip = qdbus_cast<SniToolTip>(
            reply.arguments().value(0).value<QDBusVariant>().variant().value<QDBusArgument>());
        QVERIFY2(QRegularExpression(u"^\\d+ days, \\d+ hours?, \\d+ minutes? left$"_s)
                     .match(toolTip.description)
                     .hasMatch(),
            qPrintable(toolTip.description));

        // The user's pointer is on the item when the panel sends the click.
        QVERIFY(
            xdotool({u"mousemove"_s, QString::number(pointer.x()), QString::number(pointer.y())}));
        QCOMPARE(
            item->call(u"Activate"_s, click.x(), click.y()).type(), QDBusMessage::ReplyMessage);
        QTRY_COMPARE_WITH_TIMEOUT(shown("Daystride").size(), 1, 10000);
        const QRect popover = serverGeometry(shown("Daystride").first());
        QCOMPARE(popover.width(), 320);
        QVERIFY(QRect(0, 0, 1920, 1080).contains(popover));
        // Next to the item: within its own size of the pointer.
        QVERIFY2(qAbs(popover.center().x() - pointer.x()) <= popover.width()
                && qAbs(popover.center().y() - pointer.y()) <= popover.height(),
            qPrintable(u"popover at %1,%2"_s.arg(popover.x()).arg(popover.y())));
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

    // Hosts hear of the label and tooltip only when they change: once per new text.
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
            // and read them back (waybar all of them, after each signal): answered on
            // Qt D-Bus's thread, so even while this one waits.
            QDBusMessage getAll = QDBusMessage::createMethodCall(m_bus->connection().baseService(),
                path, u"org.freedesktop.DBus.Properties"_s, u"GetAll"_s);
            getAll << interface;
            const QDBusMessage reply = host.call(getAll, QDBus::Block, 3000);
            QCOMPARE(reply.type(), QDBusMessage::ReplyMessage);
            QCOMPARE(qdbus_cast<QVariantMap>(reply.arguments().value(0))
                         .value(u"XAyatanaLabel"_s)
                         .toString(),
                u"3d 3h "_s);
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
        QTest::addColumn<QString>("method");
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("window");
        // XFCE's systray and Cinnamon send the click as a group of events, others alone.
        for (const char *method : {"Event", "EventGroup"}) {
            for (const auto &[entry, window] : {std::pair {"Open Daystride", "Daystride"},
                     {"Show Countdown", "Daystride Countdown"}, {"Settings…", "Daystride Settings"},
                     {"Quit", ""}}) {
                QTest::addRow("%s through %s", entry, method) << QString::fromUtf8(
                    method) << QString::fromUtf8(entry) << QString::fromUtf8(window);
            }
        }
    }

    void menuEntriesDoWhatThePopoverButtonsDo()
    {
        QFETCH(QString, method);
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
            QDBusMessage call = QDBusMessage::createMethodCall(
                menu->service(), menu->path(), menu->interface(), method);
            const QDBusVariant data(QVariant(0));
            if (method == u"EventGroup"_s)
                call << QVariant::fromValue(QList<DBusMenuEvent> {{id, u"clicked"_s, data, 0u}});
            else
                call << id << u"clicked"_s << QVariant::fromValue(data) << 0u;
            return m_bus->connection().call(call);
        };
        const QDBusMessage chosen = click(root.children[labels.indexOf(entry)].id);
        QVERIFY2(chosen.type() == QDBusMessage::ReplyMessage, qPrintable(chosen.errorMessage()));
        // A group answers with the entries it did not find: none.
        if (method == u"EventGroup"_s)
            QCOMPARE(qdbus_cast<QList<int>>(chosen.arguments().value(0)), QList<int>());
        if (window.isEmpty()) {
            QVERIFY(m_daystride.waitForFinished(10000));
            QCOMPARE(m_daystride.exitCode(), 0);
            return;
        }
        QTRY_VERIFY_WITH_TIMEOUT(!visibleWindows(window).isEmpty(), 10000);
        QTRY_COMPARE_WITH_TIMEOUT(activeWindow(), visibleWindows(window).first(), 5000);
        // An unknown entry is an error, not a crash.
        QCOMPARE(click(99).errorName(), u"com.canonical.dbusmenu.UnknownId"_s);
        QCOMPARE(m_daystride.state(), QProcess::Running);
    }

    // Each call of the menu's interface, with the arguments hosts send, has its answer.
    void menuAnswersEveryCall_data()
    {
        QTest::addColumn<QString>("method");
        QTest::addColumn<QVariantList>("arguments");
        QTest::addColumn<QString>("signature");
        QTest::addColumn<QList<int>>("notFound");
        const auto variant = [](const QVariant &value) {
            return QVariant::fromValue(QDBusVariant(value));
        };
        const auto ids = [](const QList<int> &list) {
            return QVariant::fromValue(list);
        };
        QTest::newRow("GetLayout") << u"GetLayout"_s << QVariantList {0, -1, QStringList()}
                                   << u"u(ia{sv}av)"_s << QList<int>();
        QTest::newRow("GetLayout of one entry")
            << u"GetLayout"_s << QVariantList {1, 0, QStringList {u"label"_s}} << u"u(ia{sv}av)"_s
            << QList<int>();
        QTest::newRow("GetGroupProperties")
            << u"GetGroupProperties"_s << QVariantList {ids({1, 2}), QStringList {u"label"_s}}
            << u"a(ia{sv})"_s << QList<int>();
        QTest::newRow("GetProperty")
            << u"GetProperty"_s << QVariantList {1, u"label"_s} << u"v"_s << QList<int>();
        QTest::newRow("Event") << u"Event"_s << QVariantList {1, u"hovered"_s, variant(0), 0u}
                               << QString() << QList<int>();
        QTest::newRow("EventGroup") << u"EventGroup"_s
                                    << QVariantList {QVariant::fromValue(QList<DBusMenuEvent> {
                                           {1, u"hovered"_s, QDBusVariant(0), 0u},
                                           {99, u"clicked"_s, QDBusVariant(0), 0u}})}
                                    << u"ai"_s << QList<int> {99};
        QTest::newRow("AboutToShow")
            << u"AboutToShow"_s << QVariantList {0} << u"b"_s << QList<int>();
        QTest::newRow("AboutToShowGroup") << u"AboutToShowGroup"_s << QVariantList {ids({0, 1, 99})}
                                          << u"aiai"_s << QList<int> {99};
    }

    void menuAnswersEveryCall()
    {
        QFETCH(QString, method);
        QFETCH(QVariantList, arguments);
        QFETCH(QString, signature);
        QFETCH(QList<int>, notFound);
        PanelItem panel(m_bus->connection());
        const QDBusMessage reply = hostCall(panel.statusNotifierItem()->serviceName(),
            u"/MenuBar"_s, u"com.canonical.dbusmenu"_s, method, arguments);
        QVERIFY2(reply.type() == QDBusMessage::ReplyMessage,
            qPrintable(reply.errorName() + u": "_s + reply.errorMessage()));
        QCOMPARE(reply.signature(), signature);
        if (signature.endsWith(u"ai"_s))
            QCOMPARE(qdbus_cast<QList<int>>(reply.arguments().constLast()), notFound);
    }

    // Hosts look members up in the introspection data and read the properties at once.
    void hostsFindEveryMember_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("interface");
        QTest::addColumn<QStringList>("members");
        QTest::newRow("menu") << u"/MenuBar"_s << u"com.canonical.dbusmenu"_s
                              << QStringList {"GetLayout", "GetGroupProperties", "GetProperty",
                                     "Event", "EventGroup", "AboutToShow", "AboutToShowGroup",
                                     "ItemsPropertiesUpdated", "LayoutUpdated",
                                     "ItemActivationRequested", "Version", "TextDirection",
                                     "Status", "IconThemePath"};
        QTest::newRow("item") << u"/StatusNotifierItem"_s << u"org.kde.StatusNotifierItem"_s
                              << QStringList {"Category", "Id", "Title", "Status", "WindowId",
                                     "IconThemePath", "IconName", "IconPixmap", "OverlayIconName",
                                     "OverlayIconPixmap", "AttentionIconName",
                                     "AttentionIconPixmap", "AttentionMovieName", "ToolTip",
                                     "ItemIsMenu", "Menu", "XAyatanaLabel", "XAyatanaLabelGuide",
                                     "XAyatanaOrderingIndex", "Activate", "SecondaryActivate",
                                     "ContextMenu", "Scroll", "NewTitle", "NewIcon",
                                     "NewAttentionIcon", "NewOverlayIcon", "NewToolTip",
                                     "NewStatus", "XAyatanaNewLabel"};
    }

    void hostsFindEveryMember()
    {
        QFETCH(QString, path);
        QFETCH(QString, interface);
        QFETCH(QStringList, members);
        PanelItem panel(m_bus->connection());
        const QString service = panel.statusNotifierItem()->serviceName();
        const QDBusMessage xml
            = hostCall(service, path, u"org.freedesktop.DBus.Introspectable"_s, u"Introspect"_s);
        QCOMPARE(xml.type(), QDBusMessage::ReplyMessage);
        QStringList found, properties;
        QXmlStreamReader reader(xml.arguments().value(0).toString());
        bool inInterface = false;
        while (reader.readNext() != QXmlStreamReader::Invalid && !reader.atEnd()) {
            const QString name = reader.attributes().value(u"name"_s).toString();
            if (reader.isStartElement() && reader.name() == u"interface"_s)
                inInterface = name == interface;
            else if (reader.isStartElement() && inInterface
                && QStringList({"method", "signal", "property"}).contains(reader.name()))
                found << name;
            if (reader.isStartElement() && inInterface && reader.name() == u"property"_s)
                properties << name;
        }
        for (const QString &member : members)
            QVERIFY2(found.contains(member), qPrintable(member));
        const QDBusMessage all = hostCall(
            service, path, u"org.freedesktop.DBus.Properties"_s, u"GetAll"_s, {interface});
        const QVariantMap values = qdbus_cast<QVariantMap>(all.arguments().value(0));
        for (const QString &property : properties)
            QVERIFY2(values.contains(property), qPrintable(property));
    }

    // The icon follows the desktop's light or dark colours, so that its disc stands out
    // from a panel in the same colours, and keeps an outline and hands that stand out
    // from a panel in the other ones.
    void iconReadsOnLightAndDarkPanels_data()
    {
        QTest::addColumn<bool>("dark");
        QTest::newRow("light desktop") << false;
        QTest::newRow("dark desktop") << true;
    }

    void iconReadsOnLightAndDarkPanels()
    {
        QFETCH(bool, dark);
        const QPalette light = QApplication::style()->standardPalette();
        const QPalette before = QGuiApplication::palette();
        const auto restore = qScopeGuard([&] { QApplication::setPalette(before); });
        // The colours change while the item is in the panel.
        QApplication::setPalette(dark ? light : Appearance::darkPalette());
        PanelItem panel(m_bus->connection());
        QApplication::setPalette(dark ? Appearance::darkPalette() : light);
        // The item takes the new colours once every widget has them, and then tells
        // the hosts (NewIcon), which read the icon again.
        QCoreApplication::processEvents();

        const QDBusMessage reply = hostCall(panel.statusNotifierItem()->serviceName(),
            u"/StatusNotifierItem"_s, u"org.freedesktop.DBus.Properties"_s, u"Get"_s,
            {u"org.kde.StatusNotifierItem"_s, u"IconPixmap"_s});
        QCOMPARE(reply.type(), QDBusMessage::ReplyMessage);
        const auto pixmaps = qdbus_cast<QList<SniPixmap>>(
            reply.arguments().value(0).value<QDBusVariant>().variant());
        // Breeze's panels, light and dark.
        const QColor lightPanel(0xef, 0xf0, 0xf1), darkPanel(0x2a, 0x2e, 0x32);
        for (int size : {16, 22, 24}) {
            const auto it = std::find_if(pixmaps.begin(), pixmaps.end(),
                [&](const SniPixmap &p) { return p.width == size && p.height == size; });
            QVERIFY2(it != pixmaps.end(), qPrintable(u"no %1 px icon"_s.arg(size)));
            const QImage image = imageOf(*it);
            QVERIFY2(contrastingShare(image, dark ? darkPanel : lightPanel) >= 0.5,
                qPrintable(u"%1 px on its own panel"_s.arg(size)));
            QVERIFY2(contrastingShare(image, dark ? lightPanel : darkPanel) >= 0.25,
                qPrintable(u"%1 px on the other panel"_s.arg(size)));
        }
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
