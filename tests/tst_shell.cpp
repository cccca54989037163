#include "TestEnvironment.h"
#include "VirtualPointer.h"
#include "menubar/Popover.h"
#include "model/TimerViewModel.h"
#include "screensaver/ScreensaverController.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusInterface>
#include <QDBusReply>
#include <QDBusVariant>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRect>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QSettings>
#include <QStandardPaths>
#include <QTest>

#include <cstdio>
#include <cstring>
#include <wayland-client.h>

namespace {

constexpr int buttonLeft = 0x110; // BTN_LEFT
constexpr uint keysymEscape = 0xff1b;
constexpr uint keycodeEscape = 1; // KEY_ESC
constexpr uint keycodeT = 20, keycodeR = 19, keycodeI = 23, keycodeP = 25, keycodeEnter = 28;
constexpr int starts = 10;
constexpr int rounds = 3;

QString shell()
{
    return qEnvironmentVariable("DAYSTRIDE_SHELL");
}

QJsonValue parseJson(const QString &text)
{
    return QJsonDocument::fromJson("[" + text.toUtf8() + "]").array().at(0);
}

QRect rectOf(const QJsonArray &a)
{
    return QRect(a.at(0).toInt(), a.at(1).toInt(), a.at(2).toInt(), a.at(3).toInt());
}

} // namespace

// Daystride on a real desktop shell, started by tests/shells/with-gnome-shell or
// tests/shells/with-sway: the panel item is listed and shown on every start, the
// host's clicks open its menu and the popover, and the idle countdown covers both
// outputs. Figures for the run are printed as they are measured.
class TestShell : public QObject
{
    Q_OBJECT

    QDBusConnection m_bus = QDBusConnection::sessionBus();
    std::unique_ptr<TestEnvironment> m_env;
    QProcess m_daystride;
    QString m_remoteSession;
    std::unique_ptr<VirtualPointer> m_virtualPointer;

    QString itemService() const
    {
        return QStringLiteral("org.kde.StatusNotifierItem-%1-1").arg(m_daystride.processId());
    }

    QStringList listedItems() const
    {
        QDBusInterface watcher(QStringLiteral("org.kde.StatusNotifierWatcher"),
            QStringLiteral("/StatusNotifierWatcher"),
            QStringLiteral("org.kde.StatusNotifierWatcher"), m_bus);
        return watcher.property("RegisteredStatusNotifierItems").toStringList();
    }

    bool isListed() const
    {
        const QStringList items = listedItems();
        return std::any_of(items.begin(), items.end(), [this](const QString &entry) {
            return entry.section(QLatin1Char('/'), 0, 0) == itemService();
        });
    }

    void writeSettings(bool idle)
    {
        m_env->writeSettingsFile(QByteArray("[General]\nonboarded=true\n"));
        QSettings settings(m_env->settingsPath(), QSettings::IniFormat);
        settings.setValue(QStringLiteral("savedDate"), QDateTime::currentDateTime().addDays(3));
        settings.setValue(QStringLiteral("idleEnabled"), idle);
        settings.setValue(QStringLiteral("idleMinutes"), 1);
    }

    // On the native platform, or on `platform` as a user may force it.
    bool startDaystride(const QString &platform = QStringLiteral("wayland"))
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), m_env->configHome());
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), platform);
        if (platform == QLatin1String("wayland"))
            environment.remove(QStringLiteral("DISPLAY"));
        m_daystride.setProcessEnvironment(environment);
        m_daystride.setProcessChannelMode(QProcess::ForwardedChannels);
        m_daystride.start(QStringLiteral(DAYSTRIDE_EXECUTABLE), {});
        return m_daystride.waitForStarted();
    }

    void stopDaystride()
    {
        if (m_daystride.state() == QProcess::NotRunning)
            return;
        m_daystride.terminate();
        if (!m_daystride.waitForFinished(5000))
            m_daystride.kill();
        m_daystride.waitForFinished(2000);
    }

    // GNOME Shell: a JavaScript expression evaluated in the shell (unsafe mode).
    QString eval(const QString &script) const
    {
        QDBusMessage call = QDBusMessage::createMethodCall(QStringLiteral("org.gnome.Shell"),
            QStringLiteral("/org/gnome/Shell"), QStringLiteral("org.gnome.Shell"),
            QStringLiteral("Eval"));
        call << script;
        const QDBusMessage answer = m_bus.call(call, QDBus::Block, 5000);
        if (answer.type() != QDBusMessage::ReplyMessage || !answer.arguments().value(0).toBool())
            return {};
        return answer.arguments().value(1).toString();
    }

    QString indicatorScript() const
    {
        return QStringLiteral(
            "Object.entries(Main.panel.statusArea).filter(([k]) => "
            "k.startsWith('appindicator-') && k.includes('%1')).map(([, v]) => v)[0]")
            .arg(itemService());
    }

    // The item's place in the top bar, empty while it is not shown.
    QRect indicatorOnScreen() const
    {
        const QJsonValue value = parseJson(eval(QStringLiteral(
            "(() => { const a = %1; if (!a || !a.visible || !a.is_mapped()) return null; "
            "const [x, y] = a.get_transformed_position(); const [w, h] = a.get_transformed_size(); "
            "return JSON.stringify([x, y, w, h]); })()")
                                                    .arg(indicatorScript())));
        return value.isString() ? rectOf(parseJson(value.toString()).toArray()) : QRect();
    }

    QStringList openMenuLabels() const
    {
        const QJsonValue value = parseJson(eval(QStringLiteral(
            "(() => { const a = %1; if (!a || !a.menu.isOpen) return null; return JSON.stringify("
            "a.menu._getMenuItems().filter(i => i.label).map(i => i.label.text)); })()")
                                                    .arg(indicatorScript())));
        if (!value.isString())
            return {};
        QStringList labels;
        for (const QJsonValue &label : parseJson(value.toString()).toArray())
            labels << label.toString();
        return labels;
    }

    // Windows of Daystride titled `title`: frame rectangle and whether it has the focus.
    // `shownOnly`: on sway, only those the compositor draws (on the visible workspace).
    QList<QPair<QRect, bool>> windows(const QString &title, bool shownOnly = false) const
    {
        QList<QPair<QRect, bool>> found;
        if (shell() == QLatin1String("gnome")) {
            const QJsonValue value = parseJson(eval(QStringLiteral(
                "JSON.stringify(global.get_window_actors().map(a => a.meta_window)"
                ".filter(w => w.get_title() === '%1' && w.showing_on_its_workspace()).map(w => {"
                " const r = w.get_frame_rect(); return [r.x, r.y, r.width, r.height, "
                "w.has_focus()]; }))")
                                                        .arg(title)));
            for (const QJsonValue &w : parseJson(value.toString()).toArray())
                found << qMakePair(rectOf(w.toArray()), w.toArray().at(4).toBool());
            return found;
        }
        QProcess swaymsg;
        swaymsg.start(
            QStringLiteral("swaymsg"), {QStringLiteral("-t"), QStringLiteral("get_tree")});
        swaymsg.waitForFinished(5000);
        std::function<void(const QJsonObject &)> walk = [&](const QJsonObject &node) {
            if (node.value(QStringLiteral("name")).toString() == title
                && node.value(QStringLiteral("pid")).toInt() == m_daystride.processId()
                && (!shownOnly || node.value(QStringLiteral("visible")).toBool())) {
                const QJsonObject r = node.value(QStringLiteral("rect")).toObject();
                found << qMakePair(QRect(r.value("x").toInt(), r.value("y").toInt(),
                                       r.value("width").toInt(), r.value("height").toInt()),
                    node.value(QStringLiteral("focused")).toBool());
            }
            for (const QString &key : {QStringLiteral("nodes"), QStringLiteral("floating_nodes")}) {
                for (const QJsonValue &child : node.value(key).toArray())
                    walk(child.toObject());
            }
        };
        walk(QJsonDocument::fromJson(swaymsg.readAllStandardOutput()).object());
        return found;
    }

    QList<QRect> outputs() const
    {
        QList<QRect> list;
        if (shell() == QLatin1String("gnome")) {
            const QJsonValue value = parseJson(eval(QStringLiteral(
                "JSON.stringify(Main.layoutManager.monitors.map(m => [m.x, m.y, m.width, "
                "m.height]))")));
            for (const QJsonValue &m : parseJson(value.toString()).toArray())
                list << rectOf(m.toArray());
        } else {
            QProcess swaymsg;
            swaymsg.start(
                QStringLiteral("swaymsg"), {QStringLiteral("-t"), QStringLiteral("get_outputs")});
            swaymsg.waitForFinished(5000);
            for (const QJsonValue &o :
                QJsonDocument::fromJson(swaymsg.readAllStandardOutput()).array()) {
                const QJsonObject r = o.toObject().value(QStringLiteral("rect")).toObject();
                list << QRect(r.value("x").toInt(), r.value("y").toInt(), r.value("width").toInt(),
                    r.value("height").toInt());
            }
        }
        return list;
    }

    // Mutter's RemoteDesktop API: input as a remote user would give it.
    bool remote(const QString &method, const QVariantList &arguments)
    {
        if (method.startsWith(QLatin1String("NotifyKeyboard"))) {
            QDBusMessage call = QDBusMessage::createMethodCall(
                QStringLiteral("org.gnome.Mutter.RemoteDesktop"), m_remoteSession,
                QStringLiteral("org.gnome.Mutter.RemoteDesktop.Session"), method);
            call.setArguments(arguments);
            const QDBusMessage answer = m_bus.call(call, QDBus::Block, 5000);
            if (answer.type() != QDBusMessage::ReplyMessage)
                qWarning() << answer.errorMessage();
            return answer.type() == QDBusMessage::ReplyMessage;
        }
        QDBusMessage call
            = QDBusMessage::createMethodCall(QStringLiteral("org.gnome.Mutter.RemoteDesktop"),
                m_remoteSession, QStringLiteral("org.gnome.Mutter.RemoteDesktop.Session"), method);
        call.setArguments(arguments);
        return m_bus.call(call, QDBus::Block, 5000).type() == QDBusMessage::ReplyMessage;
    }

    // Relative pointer motion as a mouse gives it: Mutter's RemoteDesktop API on GNOME,
    // the virtual pointer on sway.
    void movePointerBy(double dx, double dy)
    {
        if (shell() == QLatin1String("gnome"))
            remote(QStringLiteral("NotifyPointerMotionRelative"), {dx, dy});
        else if (m_virtualPointer)
            m_virtualPointer->move(dx, dy);
    }

    QPoint pointer() const
    {
        const QString text
            = parseJson(eval(QStringLiteral("JSON.stringify(global.get_pointer())"))).toString();
        const QJsonArray at = parseJson(text).toArray();
        return QPoint(at.at(0).toInt(), at.at(1).toInt());
    }

    bool movePointerTo(const QPoint &target)
    {
        for (int i = 0; i < 5; ++i) {
            const QPoint delta = target - pointer();
            if (delta.isNull())
                return true;
            remote(QStringLiteral("NotifyPointerMotionRelative"),
                {double(delta.x()), double(delta.y())});
            QTest::qWait(100);
        }
        return pointer() == target;
    }

    void click(int times)
    {
        for (int i = 0; i < times; ++i) {
            remote(QStringLiteral("NotifyPointerButton"), {buttonLeft, true});
            remote(QStringLiteral("NotifyPointerButton"), {buttonLeft, false});
            QTest::qWait(60);
        }
    }

    int menuEntryId(const QString &label) const
    {
        QDBusMessage call
            = QDBusMessage::createMethodCall(itemService(), QStringLiteral("/MenuBar"),
                QStringLiteral("com.canonical.dbusmenu"), QStringLiteral("GetProperty"));
        for (int id = 1; id < 20; ++id) {
            call.setArguments({id, QStringLiteral("label")});
            const QDBusMessage answer = m_bus.call(call);
            if (answer.arguments().value(0).value<QDBusVariant>().variant().toString() == label)
                return id;
        }
        return -1;
    }

    // The item's menu entry clicked, as the host reports a click.
    bool clickMenuEntry(const QString &label)
    {
        QDBusMessage event
            = QDBusMessage::createMethodCall(itemService(), QStringLiteral("/MenuBar"),
                QStringLiteral("com.canonical.dbusmenu"), QStringLiteral("Event"));
        event << menuEntryId(label) << QStringLiteral("clicked")
              << QVariant::fromValue(QDBusVariant(QString())) << 0u;
        return m_bus.call(event).type() == QDBusMessage::ReplyMessage;
    }

    // Mapped top-level X windows titled `title`, where the X server has them.
    static QList<QRect> xWindows(const QString &title)
    {
        QProcess xwininfo;
        xwininfo.start(
            QStringLiteral("xwininfo"), {QStringLiteral("-root"), QStringLiteral("-children")});
        xwininfo.waitForFinished(5000);
        QList<QRect> found;
        const QRegularExpression line(
            QStringLiteral("^\\s*(0x[0-9a-f]+) "
                           "\"%1\":.*\\s(\\d+)x(\\d+)\\+-?\\d+\\+-?\\d+\\s+\\+(-?\\d+)\\+(-?\\d+)$")
                .arg(QRegularExpression::escape(title)));
        for (const QString &text :
            QString::fromUtf8(xwininfo.readAllStandardOutput()).split(QLatin1Char('\n'))) {
            const QRegularExpressionMatch m = line.match(text);
            if (!m.hasMatch())
                continue;
            QProcess state;
            state.start(QStringLiteral("xwininfo"), {QStringLiteral("-id"), m.captured(1)});
            state.waitForFinished(5000);
            if (state.readAllStandardOutput().contains("IsViewable"))
                found << QRect(m.captured(4).toInt(), m.captured(5).toInt(), m.captured(2).toInt(),
                    m.captured(3).toInt());
        }
        return found;
    }

    // sway: the focused workspace without the panels.
    static QRect focusedWorkspaceArea()
    {
        QProcess swaymsg;
        swaymsg.start(
            QStringLiteral("swaymsg"), {QStringLiteral("-t"), QStringLiteral("get_workspaces")});
        swaymsg.waitForFinished(5000);
        for (const QJsonValue &w :
            QJsonDocument::fromJson(swaymsg.readAllStandardOutput()).array()) {
            const QJsonObject o = w.toObject();
            if (o.value(QStringLiteral("focused")).toBool()) {
                const QJsonObject r = o.value(QStringLiteral("rect")).toObject();
                return QRect(r.value("x").toInt(), r.value("y").toInt(), r.value("width").toInt(),
                    r.value("height").toInt());
            }
        }
        return {};
    }

    // A key by its evdev code, to the focused window.
    void pressKeycode(uint keycode)
    {
        QVERIFY(remote(QStringLiteral("NotifyKeyboardKeycode"), {keycode, true}));
        QTest::qWait(30);
        QVERIFY(remote(QStringLiteral("NotifyKeyboardKeycode"), {keycode, false}));
    }

    QRect workAreaUnderPointer() const
    {
        return rectOf(parseJson(
            parseJson(
                eval(QStringLiteral("(() => { const w = Main.layoutManager.getWorkAreaForMonitor("
                                    "global.display.get_current_monitor()); "
                                    "return JSON.stringify([w.x, w.y, w.width, w.height]); })()")))
                .toString())
                          .toArray());
    }

    // The title of the window that takes a click at `point`, empty for none.
    QString titleOfWindowAt(const QPoint &point) const
    {
        return parseJson(eval(QStringLiteral(
                             "(() => { let a = global.stage.get_actor_at_pos("
                             "imports.gi.Clutter.PickMode.REACTIVE, %1, %2); "
                             "while (a && !(a instanceof imports.gi.Meta.WindowActor)) "
                             "a = a.get_parent(); return a ? a.meta_window.get_title() : ''; })()")
                                  .arg(point.x())
                                  .arg(point.y())))
            .toString();
    }

    int residentKiB() const
    {
        QFile status(QStringLiteral("/proc/%1/status").arg(m_daystride.processId()));
        if (!status.open(QIODevice::ReadOnly))
            return 0;
        const QRegularExpressionMatch match
            = QRegularExpression(QStringLiteral("VmRSS:\\s+(\\d+)")).match(status.readAll());
        return match.captured(1).toInt();
    }

    void pressEscape()
    {
        QVERIFY(remote(QStringLiteral("NotifyKeyboardKeysym"), {keysymEscape, true}));
        QTest::qWait(30);
        QVERIFY(remote(QStringLiteral("NotifyKeyboardKeysym"), {keysymEscape, false}));
    }

private slots:
    void initTestCase()
    {
        QVERIFY2(m_bus.isConnected(), "no session bus from the shell's wrapper");
        if (shell() == QLatin1String("gnome")) {
            QDBusMessage create = QDBusMessage::createMethodCall(
                QStringLiteral("org.gnome.Mutter.RemoteDesktop"),
                QStringLiteral("/org/gnome/Mutter/RemoteDesktop"),
                QStringLiteral("org.gnome.Mutter.RemoteDesktop"), QStringLiteral("CreateSession"));
            const QDBusMessage answer = m_bus.call(create, QDBus::Block, 5000);
            QCOMPARE(answer.type(), QDBusMessage::ReplyMessage);
            m_remoteSession = answer.arguments().value(0).value<QDBusObjectPath>().path();
            QVERIFY(remote(QStringLiteral("Start"), {}));
        } else {
            // Before Daystride starts, so its windows see a pointer from the first.
            m_virtualPointer = std::make_unique<VirtualPointer>();
            QVERIFY2(m_virtualPointer->isValid(), "no virtual pointer from the compositor");
        }
    }

    void init()
    {
        m_env = std::make_unique<TestEnvironment>();
        writeSettings(false);
    }

    void cleanup()
    {
        stopDaystride();
        m_env.reset();
    }

    void itemShownOnEveryStart()
    {
        int shown = 0;
        for (int i = 0; i < starts; ++i) {
            QVERIFY(startDaystride());
            bool listed = false;
            QRect place;
            for (int waited = 0; waited < 10000
                 && !(listed && (!place.isEmpty() || shell() != QLatin1String("gnome")));
                 waited += 100) {
                QTest::qWait(100);
                listed = isListed();
                if (listed && shell() == QLatin1String("gnome"))
                    place = indicatorOnScreen();
            }
            if (listed && (shell() != QLatin1String("gnome") || !place.isEmpty()))
                ++shown;
            else
                qWarning("start %d: listed %d, shown at %d,%d %dx%d", i + 1, listed, place.x(),
                    place.y(), place.width(), place.height());
            stopDaystride();
        }
        qInfo("%s: item shown in %d of %d starts", qPrintable(shell()), shown, starts);
        QCOMPARE(shown, starts);
    }

    void clicksOpenTheMenuAndThePopover()
    {
        if (shell() == QLatin1String("gnome")) {
            // The last test's items out of the top bar first. In one run the AppIndicator
            // extension failed on an item that registered while it still took down the
            // one before ("this._proxy is undefined" in its log), and no click opened
            // that item's menu.
            QTRY_COMPARE_WITH_TIMEOUT(
                eval(QStringLiteral("Object.keys(Main.panel.statusArea)"
                                    ".some(k => k.startsWith('appindicator-'))")),
                QStringLiteral("false"), 10000);
            QTest::qWait(1000);
        }
        QVERIFY(startDaystride());
        QTRY_VERIFY_WITH_TIMEOUT(isListed(), 10000);
        const QStringList entries {"Open Daystride", "Show Countdown", "Settings…", "Quit"};
        int menus = 0;
        int popovers = 0;
        QRect popover;
        QTest::qWait(1000);
        struct
        {
            int before, open = 0, closed = 0;
        } rss {residentKiB()};
        for (int round = 0; round < rounds; ++round) {
            if (shell() == QLatin1String("gnome")) {
                QTRY_VERIFY_WITH_TIMEOUT(!indicatorOnScreen().isEmpty(), 10000);
                const QRect item = indicatorOnScreen();
                QVERIFY(movePointerTo(item.center()));
                // One click: the item's menu, once the double-click time has passed.
                click(1);
                QTest::qWait(600);
                bool first = false;
                for (int waited = 0; waited < 3000 && !first; waited += 100) {
                    first = !openMenuLabels().isEmpty();
                    QTest::qWait(100);
                }
                if (!first) {
                    // Counted as missed; a second click shows whether the menu works at all.
                    qWarning() << "round" << round + 1 << ": no menu on the first click at"
                               << pointer() << "item at" << indicatorOnScreen();
                    QVERIFY(movePointerTo(indicatorOnScreen().center()));
                    click(1);
                }
                QTRY_VERIFY_WITH_TIMEOUT(!openMenuLabels().isEmpty(), 3000);
                // The host fills the menu in as the layout arrives.
                bool complete = false;
                for (int waited = 0; waited < 3000 && !complete; waited += 100) {
                    complete = openMenuLabels().filter(QRegularExpression(QStringLiteral(".")))
                        == entries;
                    if (!complete)
                        QTest::qWait(100);
                }
                if (first && complete)
                    ++menus;
                else
                    qWarning() << "menu" << openMenuLabels();
                pressEscape();
                QTRY_VERIFY_WITH_TIMEOUT(openMenuLabels().isEmpty(), 3000);
                QTest::qWait(600);
                // A double click: Activate, the popover, with the focus.
                click(2);
                bool opened = false;
                for (int waited = 0; waited < 3000 && !opened; waited += 100) {
                    opened = windows(QStringLiteral("Daystride")).size() == 1;
                    QTest::qWait(100);
                }
                if (!opened) {
                    // Counted as missed; a second double click shows whether it works at all.
                    qWarning() << "round" << round + 1 << ": no popover on the first double click";
                    --popovers;
                    QVERIFY(movePointerTo(indicatorOnScreen().center()));
                    click(2);
                }
            } else {
                // waybar sends Activate on a single click, with the point within the icon.
                QDBusInterface item(itemService(), QStringLiteral("/StatusNotifierItem"),
                    QStringLiteral("org.kde.StatusNotifierItem"), m_bus);
                item.call(QStringLiteral("Activate"), 8, 8);
            }
            QTRY_VERIFY_WITH_TIMEOUT(windows(QStringLiteral("Daystride")).size() == 1, 5000);
            QTRY_VERIFY_WITH_TIMEOUT(windows(QStringLiteral("Daystride")).first().second, 5000);
            if (shell() == QLatin1String("sway")) {
                // Moved from the centre to the right end of waybar, just under it.
                const QRect area = focusedWorkspaceArea();
                QTRY_COMPARE_WITH_TIMEOUT(
                    windows(QStringLiteral("Daystride")).first().first.topLeft(),
                    QPoint(area.right() - 3 - Popover::contentWidth, area.top() + 4), 3000);
            }
            popover = windows(QStringLiteral("Daystride")).first().first;
            ++popovers;
            if (round == 0)
                rss.open = residentKiB();
            if (shell() == QLatin1String("gnome")) {
                // Mutter fits it to the work area of the monitor under the pointer; the
                // card is at the top-right, under the indicators.
                QCOMPARE(popover, workAreaUnderPointer());
                // Only the card takes input: beside it, a click reaches what is below. The
                // shell picks the window once its first frame with the input region is in.
                const QRect card(popover.right() - 3 - Popover::contentWidth, popover.top() + 4,
                    Popover::contentWidth, 40);
                QTRY_COMPARE_WITH_TIMEOUT(
                    titleOfWindowAt(card.center()), QStringLiteral("Daystride"), 5000);
                QCOMPARE(titleOfWindowAt(card.center() - QPoint(card.width(), 0)), QString());
                // Each round closes it another way: Escape; a name typed into the focused
                // field and Return, which saves it; or the shell's own menu taking the
                // focus. The keys go to the window the shell gave the focus to.
                if (round == 0) {
                    pressKeycode(keycodeEscape);
                } else if (round == 1) {
                    for (const uint key : {keycodeT, keycodeR, keycodeI, keycodeP, keycodeEnter})
                        pressKeycode(key);
                    QTRY_COMPARE_WITH_TIMEOUT(QSettings(m_env->settingsPath(), QSettings::IniFormat)
                                                  .value(QStringLiteral("savedEventName"))
                                                  .toString(),
                        QStringLiteral("trip"), 5000);
                } else {
                    QVERIFY(movePointerTo(indicatorOnScreen().center()));
                    click(1);
                    QTRY_VERIFY_WITH_TIMEOUT(windows(QStringLiteral("Daystride")).isEmpty(), 5000);
                    pressEscape();
                    QTRY_VERIFY_WITH_TIMEOUT(openMenuLabels().isEmpty(), 3000);
                }
            } else {
                QDBusInterface item(itemService(), QStringLiteral("/StatusNotifierItem"),
                    QStringLiteral("org.kde.StatusNotifierItem"), m_bus);
                item.call(QStringLiteral("Activate"), 8, 8);
            }
            QTRY_VERIFY_WITH_TIMEOUT(windows(QStringLiteral("Daystride")).isEmpty(), 5000);
            if (round == 0)
                rss.closed = residentKiB();
            QTest::qWait(600);
        }
        qInfo("%s: resident memory %d KiB before the popover, %d KiB open, %d KiB closed again",
            qPrintable(shell()), rss.before, rss.open, rss.closed);
        qInfo("%s: menu on a single click %d of %d, popover %d of %d, opened at %d,%d %dx%d "
              "(outputs: %s)",
            qPrintable(shell()), menus, shell() == QLatin1String("gnome") ? rounds : 0, popovers,
            rounds, popover.x(), popover.y(), popover.width(), popover.height(),
            qPrintable(QString::fromUtf8(QJsonDocument(QJsonArray::fromStringList([&] {
                QStringList s;
                for (const QRect &r : outputs())
                    s << QStringLiteral("%1,%2 %3x%4")
                             .arg(r.x())
                             .arg(r.y())
                             .arg(r.width())
                             .arg(r.height());
                return s;
            }()))
                                             .toJson(QJsonDocument::Compact))));
        QVERIFY(popovers > 0);
        // No GL driver was loaded for window frames, whoever draws them.
        {
            QFile maps(QStringLiteral("/proc/%1/maps").arg(m_daystride.processId()));
            QVERIFY(maps.open(QIODevice::ReadOnly));
            const QByteArray mapped = maps.readAll();
            QVERIFY(!mapped.contains("libLLVM") && !mapped.contains("swrast_dri"));
        }
        // Wherever the compositor puts it, the popover is whole on one output.
        const QList<QRect> screens = outputs();
        QVERIFY(std::any_of(screens.begin(), screens.end(),
            [&](const QRect &output) { return output.contains(popover); }));
        // Quitting with the popover open ends the program (on GNOME the card's window
        // has a parent, which Qt Widgets cannot close on its way out).
        {
            QDBusInterface item(itemService(), QStringLiteral("/StatusNotifierItem"),
                QStringLiteral("org.kde.StatusNotifierItem"), m_bus);
            item.call(QStringLiteral("Activate"), 0, 0);
            QTRY_VERIFY_WITH_TIMEOUT(windows(QStringLiteral("Daystride")).size() == 1, 5000);
            m_daystride.terminate();
            QVERIFY(m_daystride.waitForFinished(5000));
            QCOMPARE(m_daystride.exitCode(), 0);
        }
    }

    // "Show Countdown" from the item's menu as soon as the item is listed puts one cover
    // on each output, shown there. On sway's own Wayland, or forced onto X11 under
    // sway (Xwayland, DAYSTRIDE_SHELL_XWAYLAND=1).
    void showCountdownCoversEachOutput()
    {
        if (shell() != QLatin1String("sway"))
            QSKIP("needs sway");
        const bool x11 = !qEnvironmentVariableIsEmpty("DISPLAY");
        QVERIFY(startDaystride(x11 ? QStringLiteral("xcb") : QStringLiteral("wayland")));
        QTRY_VERIFY_WITH_TIMEOUT(isListed(), 10000);
        const QList<QRect> screens = outputs();
        // The pointer where the countdown draws nothing: any ink there is the pointer.
        const QPoint pointerAt = screens.first().topLeft() + QPoint(100, 100);
        QCOMPARE(QProcess::execute(QStringLiteral("swaymsg"),
                     {QStringLiteral("seat"), QStringLiteral("-"), QStringLiteral("cursor"),
                         QStringLiteral("set"), QString::number(pointerAt.x()),
                         QString::number(pointerAt.y())}),
            0);
        QVERIFY(clickMenuEntry(QStringLiteral("Show Countdown")));
        const auto covers = [&] {
            if (x11)
                return xWindows(QStringLiteral("Daystride Countdown"));
            QList<QRect> rects;
            for (const auto &w : windows(QStringLiteral("Daystride Countdown"), true))
                rects << w.first;
            return rects;
        };
        const auto perOutput = [&] {
            const QList<QRect> shown = covers();
            return int(std::count_if(screens.begin(), screens.end(),
                [&](const QRect &output) { return shown.count(output) == 1; }));
        };
        // The compositor sizes each full-screen window a moment after it maps.
        QTRY_COMPARE_WITH_TIMEOUT(perOutput(), int(screens.size()), 5000);
        // And they stay.
        QTest::qWait(1500);
        qInfo("sway%s: %d of %d outputs covered by one cover each", x11 ? ", Xwayland" : "",
            perOutput(), int(screens.size()));
        if (perOutput() != screens.size())
            qWarning() << "covers" << covers() << "outputs" << screens;
        QCOMPARE(perOutput(), int(screens.size()));
        // What each output shows: the black countdown, not the desktop under it. A
        // capture makes sway compose the output, as a remote desktop viewer does.
        if (QStandardPaths::findExecutable(QStringLiteral("grim")).isEmpty())
            return;
        const auto capture = [](const QRect &area) {
            QProcess grim;
            grim.start(QStringLiteral("grim"),
                {QStringLiteral("-c"), QStringLiteral("-g"),
                    QStringLiteral("%1,%2 %3x%4")
                        .arg(area.x())
                        .arg(area.y())
                        .arg(area.width())
                        .arg(area.height()),
                    QStringLiteral("-")});
            grim.waitForFinished(10000);
            return QImage::fromData(grim.readAllStandardOutput());
        };
        for (const QRect &output : screens) {
            const QImage shot = capture(output);
            QVERIFY(!shot.isNull());
            qint64 sum = 0;
            for (int y = 0; y < shot.height(); y += 4)
                for (int x = 0; x < shot.width(); x += 4)
                    sum += qGray(shot.pixel(x, y));
            const double mean = sum / double((shot.width() / 4) * (shot.height() / 4)) / 255;
            qInfo("output at %d,%d: mean brightness %.3f", output.x(), output.y(), mean);
            QVERIFY2(mean < 0.1, "the output shows something other than the countdown");
        }
        // No arrow over the countdown where the pointer is (cursors included). Through
        // Xwayland sway still draws one until the pointer moves: left to Xwayland.
        if (x11)
            return;
        const QImage around = capture(QRect(pointerAt - QPoint(24, 24), QSize(48, 48)));
        QVERIFY(!around.isNull());
        int brightest = 0;
        for (int y = 0; y < around.height(); ++y)
            for (int x = 0; x < around.width(); ++x)
                brightest = std::max(brightest, qGray(around.pixel(x, y)));
        qInfo("around the pointer: brightest %d of 255", brightest);
        QVERIFY2(brightest < 64, "the pointer shows over the countdown");
    }

    void idleMinuteCoversBothOutputs()
    {
        writeSettings(true);
        QVERIFY(startDaystride());
        QTRY_VERIFY_WITH_TIMEOUT(isListed(), 10000);
        // The last input: one pointer motion, then nothing.
        movePointerBy(1, 0);
        QElapsedTimer sinceInput;
        sinceInput.start();
        const QList<QRect> screens = outputs();
        const auto covered = [this] {
            QList<QRect> rects;
            for (const auto &w : windows(QStringLiteral("Daystride Countdown")))
                rects << w.first;
            return rects;
        };
        QTRY_VERIFY_WITH_TIMEOUT(covered().size() == screens.size(), 120000);
        const double seconds = sinceInput.elapsed() / 1000.0;
        // The compositor sizes each full-screen window a moment after it maps.
        bool exact = false;
        for (int waited = 0; waited < 3000 && !exact; waited += 100) {
            const QList<QRect> covers = covered();
            exact = std::all_of(screens.begin(), screens.end(),
                [&](const QRect &output) { return covers.count(output) == 1; });
            if (!exact)
                QTest::qWait(100);
        }
        qInfo("%s: cover after %.1f s of idle, one on each output: %s", qPrintable(shell()),
            seconds, exact ? "yes" : "no");
        if (!exact)
            qWarning() << "covers" << covered() << "outputs" << screens;
        QVERIFY(exact);
        // The delay, and at most one 15 s poll more (with a little slack for the host).
        QVERIFY(seconds >= 59.0);
        QVERIFY2(seconds <= 80.0, qPrintable(QString::number(seconds)));

        // A hand on the mouse, once the cover's first second (which ignores input) is
        // over: a few small motions close it on every output. The first reaches a cover
        // as the pointer's entry, not yet as a motion.
        QTest::qWait(ScreensaverController::dismissGraceMilliseconds);
        for (int i = 0; i < 3; ++i) {
            movePointerBy(5, 5);
            QTest::qWait(100);
        }
        QTRY_VERIFY_WITH_TIMEOUT(covered().isEmpty(), 5000);
        qInfo("%s: a pointer motion closed the cover", qPrintable(shell()));
    }

    // GNOME's lock screen takes the countdown down, no cover goes up behind it, and
    // none meets the user on unlocking. Locked through the shell's own object, as its
    // menu's Lock and its idle lock do, with no org.gnome.ScreenSaver helper running;
    // then through org.gnome.ScreenSaver, which the bus starts on that first call.
    void lockScreenEndsTheCountdown_data()
    {
        QTest::addColumn<QString>("service");
        QTest::addRow("shell") << QStringLiteral("org.gnome.Shell.ScreenShield");
        QTest::addRow("org.gnome.ScreenSaver") << QStringLiteral("org.gnome.ScreenSaver");
    }

    void lockScreenEndsTheCountdown()
    {
        if (shell() != QLatin1String("gnome")
            || qEnvironmentVariableIsEmpty("DAYSTRIDE_TEST_SERVICE"))
            QSKIP("needs GNOME Shell with a display manager (DAYSTRIDE_TEST_SERVICE)");
        QFETCH(QString, service);
        QDBusInterface screenSaver(service, QStringLiteral("/org/gnome/ScreenSaver"),
            QStringLiteral("org.gnome.ScreenSaver"), m_bus);
        const auto active = [&] {
            return QDBusReply<bool>(screenSaver.call(QStringLiteral("GetActive"))).value();
        };
        const auto covers = [this] {
            return int(windows(QStringLiteral("Daystride Countdown")).size());
        };
        QVERIFY(startDaystride());
        QTRY_VERIFY_WITH_TIMEOUT(isListed(), 10000);
        QVERIFY(clickMenuEntry(QStringLiteral("Show Countdown")));
        QTRY_COMPARE_WITH_TIMEOUT(covers(), int(outputs().size()), 5000);

        screenSaver.setTimeout(10000); // answered once the lock screen is up
        QVERIFY(screenSaver.call(QStringLiteral("Lock")).type() == QDBusMessage::ReplyMessage);
        QTRY_VERIFY_WITH_TIMEOUT(active(), 5000);
        // Unlocked whatever fails: the next row needs the panel item the lock hides.
        const auto unlock = qScopeGuard([&] {
            if (active())
                screenSaver.call(QStringLiteral("SetActive"), false);
        });
        QTRY_COMPARE_WITH_TIMEOUT(covers(), 0, 5000);
        // Asked for again while locked: a moment for a cover to come up, if it would.
        QVERIFY(clickMenuEntry(QStringLiteral("Show Countdown")));
        QTest::qWait(2000);
        QCOMPARE(covers(), 0);

        screenSaver.call(QStringLiteral("SetActive"), false);
        QTRY_VERIFY_WITH_TIMEOUT(!active(), 5000);
        QTest::qWait(2000);
        qInfo("gnome, locked through %s: the countdown went down, none behind the lock or "
              "after it: %s",
            qPrintable(service), covers() == 0 ? "yes" : "no");
        QCOMPARE(covers(), 0);
    }

    // waybar's custom module running `daystride --status --follow --json`: the text comes
    // up with the saved event, and turns when it changes. Read from the bar's pixels:
    // the columns the module's text inks at the bar's left end.
    void barModuleShowsTheTimeLeft()
    {
        const QString config = qEnvironmentVariable("DAYSTRIDE_SHELL_CONFIG_HOME");
        if (shell() != QLatin1String("sway") || config.isEmpty())
            QSKIP("needs waybar with the Daystride module (with-sway, DAYSTRIDE_BIN_DIR)");
        const auto bar = [] {
            QProcess grim;
            grim.start(QStringLiteral("grim"),
                {QStringLiteral("-g"), QStringLiteral("0,0 400x30"), QStringLiteral("-")});
            grim.waitForFinished(10000);
            return QImage::fromData(grim.readAllStandardOutput())
                .convertToFormat(QImage::Format_RGB32);
        };
        // How many of the bar's columns hold something other than its background.
        const auto inkedColumns = [](const QImage &image) {
            const QRgb background = image.pixel(image.width() - 1, 1);
            int inked = 0;
            for (int x = 0; x < image.width(); ++x) {
                for (int y = 0; y < image.height(); ++y) {
                    if (qAbs(qGray(image.pixel(x, y)) - qGray(background)) > 60) {
                        ++inked;
                        break;
                    }
                }
            }
            return inked;
        };
        const QImage empty = bar();
        QVERIFY(!empty.isNull());
        const int emptyInk = inkedColumns(empty);

        const auto save = [&](int days) {
            QDir().mkpath(config + QStringLiteral("/Daystride"));
            QSettings settings(
                config + QStringLiteral("/Daystride/Daystride.conf"), QSettings::IniFormat);
            settings.setValue(QStringLiteral("onboarded"), true);
            settings.setValue(QStringLiteral("savedDate"),
                QDateTime::currentDateTime().addDays(days).addSecs(4 * 3600 + 300));
        };
        save(12);
        QImage shown;
        // "12d 4h 5m": nine characters, some 40 columns of ink at least.
        QTRY_VERIFY_WITH_TIMEOUT((shown = bar()) != empty && inkedColumns(shown) >= 40, 10000);
        save(3);
        QTRY_VERIFY_WITH_TIMEOUT(bar() != shown, 10000);
        qInfo("sway: waybar's module inks %d columns with an event 12 days away, %d before",
            inkedColumns(shown), emptyInk);
        QFile::remove(config + QStringLiteral("/Daystride/Daystride.conf"));
    }
};

int main(int argc, char **argv)
{
    if (shell().isEmpty()) {
        std::printf("SKIP: run inside tests/shells/with-gnome-shell or with-sway\n");
        return 77;
    }
    QCoreApplication app(argc, argv);
    TestShell test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_shell.moc"
