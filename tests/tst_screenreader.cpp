#include "ViewFixture.h"
#include "screensaver/ScreensaverController.h"

#include <QApplication>
#include <QLineEdit>
#include <QPointer>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>
#include <QVBoxLayout>

// What a screen reader says, heard over the accessibility bus: a listener in a process
// of its own (tests/spoken.py) applies Orca's rules to the focus events of each window
// as Tab goes round it. The session bus is the test's own (dbus-run-session), which
// starts the accessibility bus and its registry on demand, as a desktop session does.
class TestScreenReader : public QObject
{
    Q_OBJECT

    static QWidget *focused() { return QApplication::focusWidget(); }

    // Opens `window`: Launch on 9 March 2026 at 15:30, idle after 5 minutes, two tasks
    // (the first done) and two quotes.
    QWidget *open(ViewFixture::Window window, int page)
    {
        m_fix.restartWithLaunch();
        TodoList todos = m_fix.model->todos();
        todos[1].text = QStringLiteral("Print tickets");
        m_fix.model->setTodos(todos);
        m_fix.model->setQuotes({QStringLiteral("Go")});
        QWidget *shown = m_fix.open(
            window == ViewFixture::popoverScreensaver ? ViewFixture::popoverTimer : window);
        if (!shown)
            return nullptr;
        if (window == ViewFixture::popoverScreensaver)
            press(Qt::Key_Tab, Qt::ControlModifier);
        for (int i = 0; i < page; ++i)
            press(Qt::Key_Return);
        QTest::qWait(300); // the page's fade
        return shown;
    }

    // The next line the listener says that starts with one of `kinds`; empty when
    // it says none within a few seconds.
    QString next(const QStringList &kinds = {"focus: ", "silent: "})
    {
        QString found;
        (void)QTest::qWaitFor(
            [&] {
                while (found.isEmpty() && m_listener.canReadLine()) {
                    const QString line = QString::fromUtf8(m_listener.readLine()).trimmed();
                    for (const QString &kind : kinds) {
                        if (line.startsWith(kind))
                            found = line;
                    }
                }
                return !found.isEmpty();
            },
            3000);
        return found;
    }

    // Forgets what was said so far, once the listener has kept quiet for a moment.
    void hush()
    {
        do {
            m_listener.readAll();
            QTest::qWait(300);
        } while (m_listener.bytesAvailable() > 0);
    }

    // Presses `key` on the focused control and waits until the control has it: with
    // a screen reader listening, Qt offers each key to the bus first and hands it on
    // when the bus has answered.
    static void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        struct Arrival : QObject
        {
            bool arrived = false;
            bool eventFilter(QObject *, QEvent *event) override
            {
                arrived = arrived || event->type() == QEvent::KeyRelease;
                return false;
            }
        } arrival;
        QPointer<QWidget> target = focused();
        target->installEventFilter(&arrival);
        QTest::keyClick(target, key, modifiers);
        (void)QTest::qWaitFor([&] { return arrival.arrived || !target; }, 3000);
        if (target)
            target->removeEventFilter(&arrival);
    }

    // Presses Tab until the focus moves to another control, as often as it takes
    // a date field to go through its parts. False when it stays.
    static bool tab()
    {
        QWidget *before = focused();
        for (int i = 0; i < 10 && focused() == before; ++i)
            press(Qt::Key_Tab);
        return focused() != before;
    }

    ViewFixture m_fix;
    QProcess m_listener;

private slots:
    void initTestCase()
    {
        m_listener.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_listener.start(QStringLiteral("/usr/bin/python3"), {QStringLiteral(DAYSTRIDE_SPOKEN)});
        QVERIFY(m_listener.waitForStarted());
        QVERIFY2(next({"ready"}) == QLatin1String("ready"), "the listener did not start");
        // Qt learns that someone listens a moment later: focus goes back and forth
        // until a focus event is heard.
        QWidget probe;
        auto *layout = new QVBoxLayout(&probe);
        QLineEdit *fields[] = {new QLineEdit(&probe), new QLineEdit(&probe)};
        for (QLineEdit *field : fields)
            layout->addWidget(field);
        probe.show();
        QVERIFY(QTest::qWaitForWindowActive(&probe));
        bool heard = false;
        for (int i = 0; i < 50 && !heard; ++i) {
            fields[i % 2]->setFocus();
            QTest::qWait(100);
            heard = m_listener.canReadLine();
        }
        QVERIFY2(heard, "no focus event reached the listener");
        hush();
    }

    void cleanupTestCase()
    {
        m_listener.kill();
        m_listener.waitForFinished();
    }

    void tabRound_data()
    {
        QTest::addColumn<ViewFixture::Window>("window");
        QTest::addColumn<int>("page");
        // What is said for each control, from the first focus round to the last.
        QTest::addColumn<QStringList>("spoken");
        // The six tasks: two filled in, four as the program starts.
        QStringList tasks;
        const char *texts[] = {"Pack", "Print tickets", "Record the demo video",
            "Update the website", "Test the release build", "Plan the celebration"};
        for (int i = 0; i < 6; ++i) {
            tasks << QStringLiteral("Mark “%1” as done, check box, %2")
                         .arg(texts[i], i == 0 ? "checked" : "not checked")
                  << QStringLiteral("Task %1, text, %2, Task %1: type to add")
                         .arg(i + 1)
                         .arg(texts[i]);
        }
        const QString buttons[] = {"Show Countdown, push button",
            "Settings, push button, Edit tasks, quotes and more in the Settings window",
            "Quit Daystride, push button"};
        QTest::newRow("popover, timer")
            << ViewFixture::popoverTimer << 0
            << QStringList {"Event Name, text, Launch", "Date, spin button, 9 Mar 2026",
                   "Time, spin button, 15:30", buttons[0], buttons[1], buttons[2],
                   "Timer, page tab, selected"};
        QTest::newRow("popover, screensaver")
            << ViewFixture::popoverScreensaver << 0
            << QStringList {"Screensaver, page tab, selected",
                   "Secondary Text, text, Shown under the event name"}
                + tasks
                + QStringList {"Show when idle, check box, checked",
                    "Delay, spin button, 5 minutes", buttons[0], buttons[1], buttons[2]};
        QTest::newRow("settings") << ViewFixture::settings << 0
                                  << QStringList {"Event name, text, Launch",
                                         "Secondary text, text",
                                         "Ends, spin button, 9 Mar 2026 15:30"}
                + tasks
                + QStringList {"Quote 1, text, Go, Type a quote",
                    "Delete quote 1: “Go”, push button", "Add Quote, push button",
                    "Restore Defaults, push button", "Show countdown when idle, check box, checked",
                    "Delay, spin button, 5 minutes", "Preview Now, push button",
                    "Launch at login, check box, not checked", "Show Welcome Guide, push button"};
        QTest::newRow("guide, welcome")
            << ViewFixture::guide << 0
            << QStringList {"Get Started, push button, Welcome to Daystride, Step 1 of 5"};
        QTest::newRow("guide, event")
            << ViewFixture::guide << 1
            << QStringList {"Event name, text, Launch, e.g. Product Launch",
                   "Secondary text, text, Shown under the event name", "Back, push button",
                   "Continue, push button, What are you counting down to?, Step 2 of 5"};
        QTest::newRow("guide, date")
            << ViewFixture::guide << 2
            << QStringList {"Continue, push button, When is it?, Step 3 of 5",
                   "Monday, Monday, 9 March 2026, table cell, selected", "Time, spin button, 15:30",
                   "Back, push button"};
        QTest::newRow("guide, screensaver")
            << ViewFixture::guide << 3
            << QStringList {"Continue, push button, Full-screen countdown, Step 4 of 5",
                   "Show when idle, check box, checked", "Delay, spin button, 5 minutes",
                   "See what it looks like, push button",
                   "Launch Daystride at login, check box, not checked", "Back, push button"};
        QTest::newRow("guide, tour")
            << ViewFixture::guide << 4
            << QStringList {"Start Using Daystride, push button, You're all set, Step 5 of 5",
                   "Back, push button"};
    }

    // Tab goes round the window once; each control is spoken as it takes the focus.
    void tabRound()
    {
        QFETCH(ViewFixture::Window, window);
        QFETCH(int, page);
        QFETCH(QStringList, spoken);
        QWidget *shown = open(window, page);
        QVERIFY(shown && focused());
        hush();
        QWidget *first = focused();
        QStringList heard;
        while (tab() && heard.size() < 60) {
            heard << next();
            if (focused() == first)
                break;
        }
        if (heard.isEmpty()) { // the only control: it takes the focus again
            first->clearFocus();
            first->setFocus(Qt::TabFocusReason);
            heard << next();
        }
        heard.prepend(heard.takeLast());
        for (QString &line : heard)
            line.remove(QRegularExpression(QStringLiteral("^focus: ")));
        for (qsizetype i = 0; i < std::max(heard.size(), spoken.size()); ++i)
            QCOMPARE(heard.value(i), spoken.value(i));
    }

    void changesAreSpoken_data()
    {
        QTest::addColumn<ViewFixture::Window>("window");
        QTest::addColumn<int>("page");
        QTest::addColumn<int>("tabs");
        QTest::addColumn<Qt::Key>("key");
        // What is said after the key: the focus's new value, state or place.
        QTest::addColumn<QString>("said");
        QTest::newRow("date field, Up")
            << ViewFixture::popoverTimer << 0 << 1 << Qt::Key_Up << "said: 10 Mar 2026";
        QTest::newRow("task, Space")
            << ViewFixture::popoverScreensaver << 0 << 4 << Qt::Key_Space << "said: checked";
        QTest::newRow("delay, Up")
            << ViewFixture::popoverScreensaver << 0 << 15 << Qt::Key_Up << "said: 6 minutes";
        QTest::newRow("settings, Ends, Down")
            << ViewFixture::settings << 0 << 2 << Qt::Key_Down << "said: 8 Mar 2026 15:30";
        // A day in a new column comes after its column's header.
        QTest::newRow("calendar, Right")
            << ViewFixture::guide << 2 << 1 << Qt::Key_Right
            << "focus: Tuesday, Tuesday, 10 March 2026, table cell, selected";
        QTest::newRow("calendar, Down") << ViewFixture::guide << 2 << 1 << Qt::Key_Down
                                        << "focus: Monday, 16 March 2026, table cell, selected";
        QTest::newRow("guide, next page") << ViewFixture::guide << 2 << 0 << Qt::Key_Return
                                          << "said: Full-screen countdown, Step 4 of 5";
        QTest::newRow("guide, into a page") << ViewFixture::guide << 0 << 0 << Qt::Key_Return
                                            << "context: What are you counting down to?";
    }

    void changesAreSpoken()
    {
        QFETCH(ViewFixture::Window, window);
        QFETCH(int, page);
        QFETCH(int, tabs);
        QFETCH(Qt::Key, key);
        QFETCH(QString, said);
        QVERIFY(open(window, page));
        hush();
        // Each stop is heard before the key is pressed.
        for (int i = 0; i < tabs; ++i) {
            QVERIFY(tab());
            QVERIFY(!next().isEmpty());
        }
        hush();
        press(key);
        QCOMPARE(next({said.section(u' ', 0, 0) + u' '}), said);
    }

    // The full-screen countdown, as it comes up: the event, the time left, the quote
    // and the tasks; the time left again when its minute changes, not every second.
    void countdown()
    {
        QVERIFY(open(ViewFixture::settings, 0));
        m_fix.close();
        hush();
        m_fix.model->screensaver()->show();
        QCOMPARE(next(),
            QStringLiteral("focus: Launch: 3 days, 3 hours, 30 minutes left, label, “Go”. Pack, "
                           "done. Print tickets, not done. Record the demo video, not done. "
                           "Update the website, not done. Test the release build, not done. Plan "
                           "the celebration, not done"));
        QTest::qWait(2500);
        QCOMPARE(next({"said: "}), QString());
        m_fix.platform->setNow(m_fix.platform->now().addSecs(60));
        QCOMPARE(
            next({"said: "}), QStringLiteral("said: Launch: 3 days, 3 hours, 29 minutes left"));
    }
};

int main(int argc, char **argv)
{
    // The accessibility bus is the one the test's session bus starts; Qt speaks on it
    // whether or not a screen reader asked for it.
    qunsetenv("AT_SPI_BUS_ADDRESS");
    qputenv("QT_LINUX_ACCESSIBILITY_ALWAYS_ON", "1");
    QApplication app(argc, argv);
    TestScreenReader test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_screenreader.moc"
