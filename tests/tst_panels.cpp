#include "XTools.h"

#include <QDBusConnection>
#include <QDBusInterface>
#include <QDBusReply>
#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRect>
#include <QSettings>
#include <QTest>

namespace {

QString desktop()
{
    return qEnvironmentVariable("DAYSTRIDE_SHELL");
}

// One object the accessibility bus shows of a panel.
struct Accessible
{
    QString application, role, name, description;
    QRect place;

    bool operator==(const Accessible &) const = default;
};

// What the panels show now, as their toolkits tell screen readers.
QList<Accessible> accessibles()
{
    QProcess dump;
    dump.start(QStringLiteral(DAYSTRIDE_ATSPI_DUMP), {});
    dump.waitForFinished(10000);
    QList<Accessible> found;
    for (const QJsonValue &value : QJsonDocument::fromJson(dump.readAllStandardOutput()).array()) {
        const QJsonObject o = value.toObject();
        const QJsonArray p = o.value(QStringLiteral("place")).toArray();
        found << Accessible {o.value(QStringLiteral("application")).toString(),
            o.value(QStringLiteral("role")).toString(), o.value(QStringLiteral("name")).toString(),
            o.value(QStringLiteral("description")).toString(),
            QRect(p.at(0).toInt(), p.at(1).toInt(), p.at(2).toInt(), p.at(3).toInt())};
    }
    return found;
}

// The gap between two rectangles, 0 where they touch or overlap.
int gapBetween(const QRect &a, const QRect &b)
{
    const int dx = std::max({0, a.left() - b.right(), b.left() - a.right()});
    const int dy = std::max({0, a.top() - b.bottom(), b.top() - a.bottom()});
    return std::max(dx, dy);
}

QRect windowPlace(const QString &title)
{
    const QStringList ids = visibleWindows(title);
    return ids.isEmpty() ? QRect() : serverGeometry(ids.constFirst());
}

void click(const QPoint &at, int button = 1)
{
    xdotool({QStringLiteral("mousemove"), QString::number(at.x()), QString::number(at.y())});
    QTest::qWait(200);
    xdotool({QStringLiteral("click"), QString::number(button)});
}

// An XFCE panel plugin (`library`: libgenmon, libsystray): the window its process shows
// in the panel, found by the process's id (the window has no name of its own).
QRect pluginWindow(const QByteArray &library)
{
    const QFileInfoList processes = QDir(QStringLiteral("/proc")).entryInfoList(QDir::Dirs);
    for (const QFileInfo &process : processes) {
        QFile commandLine(process.filePath() + QStringLiteral("/cmdline"));
        if (!commandLine.open(QIODevice::ReadOnly) || !commandLine.readAll().contains(library))
            continue;
        const QString ids = runXTool(QStringLiteral("xdotool"),
            {QStringLiteral("search"), QStringLiteral("--pid"), process.fileName()});
        for (const QString &id : ids.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
            const QRect place = serverGeometry(id);
            if (!place.isEmpty())
                return place;
        }
    }
    return {};
}

// How many pixels of that place on the screen stand out from its corner's colour:
// drawn text, where there is any.
int inkIn(const QRect &place)
{
    QProcess grab;
    grab.start(QStringLiteral("import"),
        {QStringLiteral("-window"), QStringLiteral("root"), QStringLiteral("-crop"),
            QStringLiteral("%1x%2+%3+%4")
                .arg(place.width())
                .arg(place.height())
                .arg(place.x())
                .arg(place.y()),
            QStringLiteral("png:-")});
    grab.waitForFinished(10000);
    const QImage image = QImage::fromData(grab.readAllStandardOutput());
    if (image.isNull())
        return 0;
    const int ground = qGray(image.pixel(0, 0));
    int ink = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            ink += std::abs(qGray(image.pixel(x, y)) - ground) > 96 ? 1 : 0;
    }
    return ink;
}

// Cinnamon's XApp status applet gives its icons neither a name nor a role on the
// accessibility bus: there the item's clicks and menu are measured by hand (README).
bool itemUnnamed()
{
    return desktop() == QLatin1String("cinnamon");
}

} // namespace

// Daystride in the real panels of KDE Plasma, XFCE, MATE, LXQt and Cinnamon, each
// started on its own X server by its wrapper in tests/shells (with-plasma, …): the host
// shows the item, its click opens the popover next to it, each entry of the host's menu
// does its job, and the time left is readable in the panel. The hosts' items, their
// menus and the applets' texts are found through the accessibility bus, as a screen
// reader finds them; clicks and keys are the X server's own (xdotool).
class TestPanels : public QObject
{
    Q_OBJECT

    QProcess m_daystride;
    QRect m_item; // the host's item for Daystride, on the screen
    QList<Accessible> m_before; // the panels before Daystride started

    QString itemService() const
    {
        return QStringLiteral("org.kde.StatusNotifierItem-%1-1").arg(m_daystride.processId());
    }

    bool isListed() const
    {
        QDBusInterface watcher(QStringLiteral("org.kde.StatusNotifierWatcher"),
            QStringLiteral("/StatusNotifierWatcher"),
            QStringLiteral("org.kde.StatusNotifierWatcher"), QDBusConnection::sessionBus());
        const QStringList items = watcher.property("RegisteredStatusNotifierItems").toStringList();
        return std::any_of(items.begin(), items.end(),
            [this](const QString &entry) { return entry.startsWith(itemService()); });
    }

    // The panel text as the program gives it to bars.
    static QString statusText()
    {
        QProcess status;
        status.start(QStringLiteral(DAYSTRIDE_EXECUTABLE), {QStringLiteral("--status")});
        status.waitForFinished(10000);
        return QString::fromUtf8(status.readAllStandardOutput()).trimmed();
    }

    // The host's own object for the item: a new one, small, on a panel's edge, named
    // after the item or described by its tooltip where the host does so, else a new
    // button. One named after the text alone is a panel command's (LXQt's custom
    // command, XFCE's generic monitor).
    QRect findItem() const
    {
        const QList<Accessible> now = accessibles();
        const QString text = statusText();
        const QRect genmon
            = desktop() == QLatin1String("xfce") ? pluginWindow("libgenmon") : QRect();
        QRect button;
        for (const Accessible &a : now) {
            if (m_before.contains(a) || a.application == QLatin1String("daystride")
                || genmon.contains(a.place))
                continue;
            const bool onEdge = a.place.top() < 60 || a.place.bottom() > 800 - 60;
            if (!onEdge || a.place.height() > 60 || a.place.width() < 8 || a.place.height() < 8)
                continue;
            if (a.name.contains(QLatin1String("Daystride"))
                || a.description.contains(QLatin1String("Daystride"))
                || (!a.description.isEmpty() && a.description == text))
                return a.place;
            if (a.role.contains(QLatin1String("button")) && a.name != text && button.isEmpty())
                button = a.place;
        }
        // XFCE links its plugins' widgets into the panel's accessible tree only now and
        // then (see timeLeftInThePanel): there, the tray's own window, which holds only
        // Daystride's item, once it is wide enough for one.
        if (button.isEmpty() && desktop() == QLatin1String("xfce")) {
            const QRect tray = pluginWindow("libsystray");
            if (tray.width() >= 16 && tray.width() <= 40)
                return tray;
        }
        return button;
    }

    // The host's menu entry labelled `label`, on the screen.
    static QRect menuEntry(const QString &label)
    {
        for (const Accessible &a : accessibles()) {
            if (a.role.contains(QLatin1String("menu item")) && a.place.width() > 0
                && QString(a.name).remove(QLatin1Char('&')) == label)
                return a.place;
        }
        return {};
    }

    // plasmashell's scripting console, as a desktop's setup scripts use it.
    static QString plasmaScript(const QString &script)
    {
        QDBusInterface shell(QStringLiteral("org.kde.plasmashell"), QStringLiteral("/PlasmaShell"),
            QStringLiteral("org.kde.PlasmaShell"), QDBusConnection::sessionBus());
        const QDBusReply<QString> reply = shell.call(QStringLiteral("evaluateScript"), script);
        return reply.isValid() ? reply.value() : reply.error().message();
    }

    void closeWindow(const QString &title)
    {
        for (const QString &id : visibleWindows(title))
            xdotool({QStringLiteral("windowactivate"), QStringLiteral("--sync"), id,
                QStringLiteral("key"), QStringLiteral("Escape")});
        QTest::qWait(300);
        for (const QString &id : visibleWindows(title))
            xdotool({QStringLiteral("windowactivate"), QStringLiteral("--sync"), id,
                QStringLiteral("key"), QStringLiteral("alt+F4")});
        QTRY_VERIFY_WITH_TIMEOUT(visibleWindows(title).isEmpty(), 5000);
    }

private slots:
    void initTestCase()
    {
        QVERIFY2(
            !desktop().isEmpty(), "run under a wrapper in tests/shells: with-plasma, with-xfce, …");
        QVERIFY(QDBusConnection::sessionBus().isConnected());
        // In the session's own settings, which the panel's commands read too.
        const QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
        QVERIFY2(config.startsWith(QDir::tempPath()), "the wrapper's private XDG_CONFIG_HOME");
        {
            QSettings settings(
                config + QStringLiteral("/Daystride/Daystride.conf"), QSettings::IniFormat);
            settings.setValue(QStringLiteral("onboarded"), true);
            settings.setValue(QStringLiteral("savedDate"),
                QDateTime::currentDateTime().addDays(12).addSecs(4 * 3600 + 300));
            settings.setValue(QStringLiteral("idleEnabled"), false);
        }
        // The generic monitor shows the new text now, not at its next turn: the text's
        // width moves the items beside it.
        if (desktop() == QLatin1String("xfce")) {
            QProcess::execute(QStringLiteral("xfce4-panel"),
                {QStringLiteral("--plugin-event=genmon-8:refresh:bool:true")});
            QTest::qWait(1000);
        }
        m_before = accessibles();

        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        m_daystride.setProcessEnvironment(environment);
        m_daystride.setProcessChannelMode(QProcess::ForwardedChannels);
        m_daystride.start(QStringLiteral(DAYSTRIDE_EXECUTABLE), {});
        QVERIFY(m_daystride.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(isListed(), 15000);
    }

    void cleanupTestCase()
    {
        if (m_daystride.state() != QProcess::NotRunning) {
            m_daystride.terminate();
            if (!m_daystride.waitForFinished(5000))
                m_daystride.kill();
        }
    }

    void itemShownInThePanel()
    {
        if (itemUnnamed())
            QSKIP("the host's icons are not on the accessibility bus");
        QElapsedTimer waited;
        waited.start();
        while ((m_item = findItem()).isEmpty() && waited.elapsed() < 20000)
            QTest::qWait(500);
        QVERIFY2(!m_item.isEmpty(), "no item in the panel");
        qInfo("%s: the item at %d,%d %dx%d", qPrintable(desktop()), m_item.x(), m_item.y(),
            m_item.width(), m_item.height());
    }

    // MATE shows the item's label; Plasma and Cinnamon, Daystride's applet added to the
    // panel as a user adds it, which is named after its text; XFCE and LXQt, the
    // panel's command plugin (generic monitor, custom command) running
    // `daystride --status`, as the wrapper configures it.
    void timeLeftInThePanel()
    {
        QString text = statusText();
        QVERIFY2(text.contains(QLatin1String("12d")), qPrintable(text));
        if (desktop() == QLatin1String("mate")) {
            // The host's button holds the label beside the icon, and names itself after
            // the item's title: its width tells the text is there.
            const QRect item = findItem();
            qInfo("mate: the item with its label \"%s\": %dx%d", qPrintable(text), item.width(),
                item.height());
            QVERIFY2(item.width() >= item.height() + 5 * int(text.size()),
                "the item is not wide enough for its label");
            return;
        }
        if (desktop() == QLatin1String("plasma")) {
            const QString added = plasmaScript(
                QStringLiteral("var w = panels()[0].addWidget('org.daystride.countdown'); print(w "
                               "? w.type : '')"));
            QCOMPARE(added, QStringLiteral("org.daystride.countdown"));
        }
        if (desktop() == QLatin1String("cinnamon")) {
            // Added to the panel's right end, as the applets settings add it.
            const QString applets = runXTool(QStringLiteral("gsettings"),
                                        {QStringLiteral("get"), QStringLiteral("org.cinnamon"),
                                            QStringLiteral("enabled-applets")})
                                        .chopped(1)
                + QStringLiteral(", 'panel1:right:0:daystride@daystride.org:99']");
            QCOMPARE(QProcess::execute(QStringLiteral("gsettings"),
                         {QStringLiteral("set"), QStringLiteral("org.cinnamon"),
                             QStringLiteral("enabled-applets"), applets}),
                0);
        }
        // Asked again each time: the text may turn a minute meanwhile.
        QRect shown;
        QList<Accessible> panel;
        QElapsedTimer waited;
        waited.start();
        while (shown.isEmpty() && waited.elapsed() < 20000) {
            text = statusText();
            panel.clear();
            for (const Accessible &a : accessibles()) {
                if (a.place.width() <= 0 || !(a.place.top() < 60 || a.place.bottom() > 800 - 60))
                    continue;
                panel << a;
                if (a.name.trimmed() == text)
                    shown = a.place;
            }
            QTest::qWait(500);
        }
        if (shown.isEmpty() && desktop() == QLatin1String("xfce")) {
            // The generic monitor runs in a process of its own, whose widgets the panel
            // links into its accessible tree only now and then (a race at the panel's
            // start): there, its window must be as wide as the text at the panel's font
            // (5-10 px a character: not an error message, not an older, shorter text)
            // and show it.
            const QRect window = pluginWindow("libgenmon");
            const int ink = inkIn(window);
            qInfo("xfce: the generic monitor not on the accessibility bus; its window %dx%d, "
                  "%d pixels of text",
                window.width(), window.height(), ink);
            const int characters = int(text.size());
            if (window.width() >= 5 * characters && window.width() <= 10 * characters
                && ink >= 5 * characters)
                shown = window;
        }
        if (shown.isEmpty()) {
            for (const Accessible &a : std::as_const(panel))
                qWarning() << a.application << a.role << a.name << a.place;
        }
        QVERIFY2(!shown.isEmpty(), qPrintable(QStringLiteral("no \"%1\" in the panel").arg(text)));
        qInfo("%s: \"%s\" shown in the panel at %d,%d %dx%d", qPrintable(desktop()),
            qPrintable(text), shown.x(), shown.y(), shown.width(), shown.height());
        if (desktop() == QLatin1String("xfce"))
            return; // the generic monitor runs no command on a click
        // The text's click: the running program's popover, next to the text.
        click(shown.center());
        QTRY_VERIFY_WITH_TIMEOUT(!windowPlace(QStringLiteral("Daystride")).isEmpty(), 10000);
        const QRect popover = windowPlace(QStringLiteral("Daystride"));
        qInfo("%s: the text's popover at %d,%d %dx%d, %d px from the text", qPrintable(desktop()),
            popover.x(), popover.y(), popover.width(), popover.height(),
            gapBetween(popover, shown));
        QVERIFY2(gapBetween(popover, shown) <= 48, "the popover opened away from the text");
        closeWindow(QStringLiteral("Daystride"));
    }

    void clickOpensThePopoverNextToTheItem()
    {
        if (itemUnnamed())
            QSKIP("the host's icons are not on the accessibility bus");
        QVERIFY(!m_item.isEmpty());
        click(m_item.center());
        QTRY_VERIFY_WITH_TIMEOUT(!windowPlace(QStringLiteral("Daystride")).isEmpty(), 10000);
        const QRect popover = windowPlace(QStringLiteral("Daystride"));
        qInfo("%s: popover at %d,%d %dx%d, %d px from the item", qPrintable(desktop()), popover.x(),
            popover.y(), popover.width(), popover.height(), gapBetween(popover, m_item));
        QVERIFY2(gapBetween(popover, m_item) <= 48, "the popover opened away from the item");
        closeWindow(QStringLiteral("Daystride"));
    }

    void menuEntriesDoTheirJob_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<int>("downs"); // its place in the menu, for the keyboard
        QTest::addColumn<QString>("window"); // what it opens; none: the program ends
        QTest::newRow("open") << QStringLiteral("Open Daystride") << 1
                              << QStringLiteral("Daystride");
        QTest::newRow("countdown")
            << QStringLiteral("Show Countdown") << 2 << QStringLiteral("Daystride Countdown");
        QTest::newRow("settings") << QStringLiteral("Settings…") << 3
                                  << QStringLiteral("Daystride Settings");
        QTest::newRow("quit") << QStringLiteral("Quit") << 4 << QString();
    }

    // A right click on the host's icon, and the entry picked in the host's menu: with the
    // pointer where the host shows its menu to screen readers, with the keyboard where
    // it does not (XFCE's systray).
    void menuEntriesDoTheirJob()
    {
        if (itemUnnamed())
            QSKIP("the host's icons are not on the accessibility bus");
        QFETCH(QString, entry);
        QFETCH(int, downs);
        QFETCH(QString, window);
        QVERIFY(!m_item.isEmpty());
        QCOMPARE(m_daystride.state(), QProcess::Running);
        click(m_item.center(), 3);
        QRect place;
        QElapsedTimer waited;
        waited.start();
        while ((place = menuEntry(entry)).isEmpty() && waited.elapsed() < 3000)
            QTest::qWait(200);
        if (!place.isEmpty()) {
            click(place.center());
        } else {
            QStringList keys(downs, QStringLiteral("Down"));
            xdotool(QStringList {
                        QStringLiteral("key"), QStringLiteral("--delay"), QStringLiteral("100")}
                + keys + QStringList {QStringLiteral("Return")});
        }
        qInfo("%s: \"%s\" picked with the %s", qPrintable(desktop()), qPrintable(entry),
            place.isEmpty() ? "keyboard" : "pointer");
        if (window.isEmpty()) {
            QVERIFY(m_daystride.waitForFinished(10000));
            QCOMPARE(m_daystride.exitCode(), 0);
            return;
        }
        QTRY_VERIFY_WITH_TIMEOUT(!windowPlace(window).isEmpty(), 10000);
        closeWindow(window);
    }
};

QTEST_GUILESS_MAIN(TestPanels)
#include "tst_panels.moc"
