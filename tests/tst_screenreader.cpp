#include "ViewFixture.h"
#include "screensaver/ScreensaverController.h"

#include <QApplication>
#include <QLineEdit>
#include <QPointer>
#include <QProcess>
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
        m_fix.restart({{"onboarded", true}, {"savedEventName", "Launch"},
            {"savedDate", QDateTime(QDate(2026, 3, 9), QTime(15, 30))}, {"idleEnabled", true},
            {"idleMinutes", 5}});
        TodoList todos = m_fix.model->todos();
        todos[0].text = QStringLiteral("Pack");
        todos[0].isCompleted = true;
        todos[1].text = QStringLiteral("Print tickets");
        m_fix.model->setTodos(todos);
        m_fix.model->setQuotes({QStringLiteral("Go"), QStringLiteral("Now")});
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

    // Forgets what was said so far.
    void hush()
    {
        QTest::qWait(200);
        m_listener.readAll();
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
        QTest::newRow("popover, timer")
            << ViewFixture::popoverTimer << 0
            << QStringList {"Event Name, text, Launch", "Timer, page tab, selected",
                   "Screensaver, page tab", "Date, spin button, Mon, 9 Mar 2026",
                   "Time, spin button, 3:30 PM", "Show Countdown, push button",
                   "Settings, push button", "Quit Daystride, push button"};
        QTest::newRow("popover, screensaver")
            << ViewFixture::popoverScreensaver << 0 << QStringList {};
        QTest::newRow("settings") << ViewFixture::settings << 0 << QStringList {};
        const char *pages[] = {"welcome", "event", "date", "screensaver", "tour"};
        for (int page = 0; page < 5; ++page)
            QTest::addRow("guide, %s", pages[page]) << ViewFixture::guide << page << QStringList {};
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
        QCOMPARE(heard.join(u'\n'), spoken.join(u'\n'));
    }

    // The full-screen countdown, as it comes up: its name, the time left, the quote and
    // the tasks; the time left again as its minute changes.
    void countdown()
    {
        QVERIFY(open(ViewFixture::settings, 0));
        m_fix.close();
        hush();
        m_fix.model->screensaver()->show();
        QCOMPARE(next(), QString());
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
