#include "FakePlatform.h"
#include "TestEnvironment.h"
#include "TextFit.h"
#include "menubar/DaystrideApp.h"
#include "menubar/PanelItem.h"
#include "menubar/Popover.h"
#include "menubar/TimerView.h"
#include "model/TimerViewModel.h"
#include "screensaver/ScreensaverController.h"
#include "settings/QuoteRow.h"
#include "settings/SettingsView.h"
#include "settings/SettingsWindow.h"
#include "settings/TaskRow.h"
#include "ui/Stepper.h"
#include "ui/Switch.h"
#include "ui/WindowHeader.h"

#include <QApplication>
#include <QDateEdit>
#include <QDateTimeEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QSignalSpy>
#include <QTest>
#include <QTimeEdit>
#include <QToolButton>

#include <ctime>

// The application on the offscreen platform with the real settings file: the panel
// text, and the Settings window opened the way the popover opens it. No session bus:
// the panel item is the tray one. Runs with TZ=America/New_York.
class TestSettingsView : public QObject
{
    Q_OBJECT

    SettingsView *view() const { return m_app->settingsWindow()->view(); }

    void startAt(const QDateTime &now)
    {
        m_app.reset();
        m_platform->restart();
        m_platform->setNow(now);
        m_app = std::make_unique<DaystrideApp>(*m_platform);
        QVERIFY(m_app->start());
    }

    std::unique_ptr<TestEnvironment> m_env;
    std::unique_ptr<FakePlatform> m_platform;
    std::unique_ptr<DaystrideApp> m_app;

private slots:
    void initTestCase() { m_env = std::make_unique<TestEnvironment>(); }

    void init()
    {
        m_env->writeSettingsFile(QByteArray("[General]\nonboarded=true\n"));
        m_platform = std::make_unique<FakePlatform>();
        startAt(QDateTime(QDate(2026, 6, 1), QTime(10, 0)));
        m_app->openSettings();
        QVERIFY(QTest::qWaitForWindowExposed(view()));
    }

    void cleanup()
    {
        m_app.reset();
        m_platform.reset();
        qputenv("TZ", "America/New_York");
        tzset();
    }

    // The panel text follows the passing time at the minute tick (here across the
    // autumn change) and a new date at once; the idle watch starts with the panel item.
    void panelTextFollowsTheMinuteTick()
    {
        const QDateTime now(QDate(2026, 11, 1), QTime(0, 30));
        m_env->writeSettings({{"onboarded", true}, {"savedDate", now.addSecs(3 * 3600 + 30)}});
        startAt(now);
        QCOMPARE(m_app->panelItem()->text(), QStringLiteral("3h "));
        QVERIFY(m_app->minuteTimer().isActive());
        QVERIFY(m_app->viewModel().screensaver()->hasIdleTimer());

        // Time passes, nothing else happens: the text lags until the tick.
        m_platform->advance(31000);
        QTest::qWait(20);
        QCOMPARE(m_app->panelItem()->text(), QStringLiteral("3h "));
        m_app->minuteTick();
        QTRY_COMPARE(m_app->panelItem()->text(), QStringLiteral("2h 59m"));
        m_app->viewModel().setTimerDate(m_platform->now().addDays(2).addSecs(3600 + 61));
        QTRY_COMPARE(m_app->panelItem()->text(), QStringLiteral("2d 1h 1m"));
    }

    // A day stepped into the hour New York skips on 2027-03-14 moves on by the gap;
    // into the hour it shows twice on 2027-11-07, it is the first of the two (EDT).
    void endsStepsIntoAChangedHour_data()
    {
        QTest::addColumn<QDateTime>("before");
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("stored");
        QTest::newRow("skipped hour") << QDateTime(QDate(2027, 3, 13), QTime(2, 30))
                                      << int(Qt::Key_Up) << "2027-03-14T07:30:00Z";
        QTest::newRow("repeated hour, day up") << QDateTime(QDate(2027, 11, 6), QTime(1, 30))
                                               << int(Qt::Key_Up) << "2027-11-07T05:30:00Z";
        QTest::newRow("repeated hour, day down") << QDateTime(QDate(2027, 11, 8), QTime(1, 30))
                                                 << int(Qt::Key_Down) << "2027-11-07T05:30:00Z";
    }

    void endsStepsIntoAChangedHour()
    {
        QFETCH(QDateTime, before);
        QFETCH(int, key);
        QFETCH(QString, stored);
        m_app->viewModel().setTimerDate(before);
        QDateTimeEdit *ends = view()->endsPicker();
        ends->setFocus();
        ends->setCurrentSection(QDateTimeEdit::DaySection);
        QTest::keyClick(ends, Qt::Key(key));
        QCOMPARE(m_app->viewModel().timerDate().toUTC().toString(Qt::ISODate), stored);
        QCOMPARE(m_env->stored("savedDate").toDateTime().toUTC().toString(Qt::ISODate), stored);
    }

    // After a change of time zone the date fields show the same moment in the new zone,
    // and an edit keeps the moment the user then sees, not the old zone's wall clock.
    void dateFieldsFollowAZoneChange_data()
    {
        QTest::addColumn<bool>("popover");
        QTest::newRow("popover") << true;
        QTest::newRow("Settings") << false;
    }

    void dateFieldsFollowAZoneChange()
    {
        QFETCH(bool, popover);
        // 15:30 in New York is 4:30 the next morning in Tokyo.
        const QDateTime event = QDateTime(QDate(2026, 6, 10), QTime(15, 30)).toUTC();
        m_env->writeSettings({{"onboarded", true}, {"savedDate", event}});
        startAt(QDateTime(QDate(2026, 6, 1), QTime(10, 0)));
        QDateEdit *date = nullptr;
        QTimeEdit *time = nullptr;
        QDateTimeEdit *picker = nullptr;
        if (popover) {
            m_app->showPopover(QPoint(900, 10));
            QVERIFY(QTest::qWaitForWindowExposed(m_app->popover()));
            date = m_app->popover()->timerView()->dateField();
            picker = time = m_app->popover()->timerView()->timeField();
        } else {
            m_app->openSettings();
            QVERIFY(QTest::qWaitForWindowExposed(view()));
            picker = view()->endsPicker();
        }
        const auto shown = [&] {
            return popover ? QDateTime(date->date(), time->time())
                           : QDateTime(picker->date(), picker->time());
        };
        QCOMPARE(shown(), event);

        qputenv("TZ", "Asia/Tokyo");
        tzset();
        emit m_platform->wallClockChanged();
        QTRY_COMPARE(shown().date(), QDate(2026, 6, 11));
        QCOMPARE(shown().time(), QTime(4, 30));
        QCOMPARE(shown(), event);

        // As a user tabs into the field and steps its first part up.
        picker->setFocus(Qt::TabFocusReason);
        QTest::keyClick(picker, Qt::Key_Up);
        const QDateTime edited = shown();
        QVERIFY(edited > event);
        if (popover)
            QTest::keyClick(picker, Qt::Key_Return);
        QTRY_COMPARE(m_env->stored("savedDate").toDateTime(), edited);
        QCOMPARE(m_app->viewModel().timerDate(), edited);
    }

    void quoteAndTaskRowsEditInPlace()
    {
        TimerViewModel &model = m_app->viewModel();
        QPushButton *restore = view()->restoreDefaultsButton();
        QVERIFY(!restore->isEnabled());
        QCOMPARE(view()->quoteRows().size(), 14);
        while (!view()->quoteRows().isEmpty())
            QTest::mouseClick(view()->quoteRows().first()->deleteButton(), Qt::LeftButton);
        QVERIFY(model.quotes().isEmpty());
        QVERIFY(restore->isEnabled());
        QTest::mouseClick(restore, Qt::LeftButton);
        QCOMPARE(model.quotes(), TimerViewModel::defaultQuotes());
        QCOMPARE(view()->quoteRows().size(), 14);
        QVERIFY(!restore->isEnabled());

        // One character off enables it; typing it back disables it again.
        QLineEdit *first = view()->quoteRows().first()->textField();
        first->setFocus();
        first->end(false);
        QTest::keyClick(first, Qt::Key_Backspace);
        QVERIFY(restore->isEnabled());
        QTest::keyClicks(first, TimerViewModel::defaultQuotes().first().right(1));
        QVERIFY(!restore->isEnabled());

        // A row left over from a longer list reads empty and writes nothing.
        QuoteRow stale(model, 20);
        QCOMPARE(stale.quote(), QString());
        QSignalSpy changes(&model, &TimerViewModel::quotesChanged);
        stale.setQuote(QStringLiteral("lost"));
        QCOMPARE(changes.size(), 0);

        // An added quote starts empty and is saved as such.
        QTest::mouseClick(view()->addQuoteButton(), Qt::LeftButton);
        QCOMPARE(view()->quoteRows().size(), 15);
        QCOMPARE(view()->quoteRows().last()->textField()->placeholderText(),
            QStringLiteral("Type a quote"));
        QCOMPARE(model.quotes().last(), QString());
        QVERIFY(restore->isEnabled());
        const QByteArray saved = m_env->stored("quotes").toByteArray();
        QVERIFY2(saved.endsWith(",\"\"]"), saved.constData());

        // A cleared task keeps its row.
        QCOMPARE(view()->taskRows().size(), 6);
        QLineEdit *task = view()->taskRows()[4]->textField();
        QCOMPARE(task->placeholderText(), QStringLiteral("Task 5: type to add"));
        task->setFocus();
        task->selectAll();
        QTest::keyClick(task, Qt::Key_Delete);
        QCOMPARE(view()->taskRows().size(), 6);
        QCOMPARE(model.todos().size(), 6);
        QCOMPARE(model.todos()[4].text, QString());
    }

    // Off at first, the stepper comes on with the switch; "-" and "+" are its right end.
    void idleStepperStepsWithinItsRange_data()
    {
        QTest::addColumn<int>("before");
        QTest::addColumn<QString>("input");
        QTest::addColumn<int>("after");
        QTest::newRow("click on minus") << 17 << "-" << 16;
        QTest::newRow("Minus") << 17 << "Minus" << 16;
        QTest::newRow("not below 1") << 1 << "Down" << 1;
        QTest::newRow("not above 120") << 120 << "+" << 120;
    }

    void idleStepperStepsWithinItsRange()
    {
        QFETCH(int, before);
        QFETCH(QString, input);
        QFETCH(int, after);
        TimerViewModel &model = m_app->viewModel();
        model.setIdleMinutes(before);
        Stepper *stepper = view()->idleStepper();
        QVERIFY(!stepper->isEnabled());
        QTest::mouseClick(view()->idleSwitch(), Qt::LeftButton);
        QVERIFY(stepper->isEnabled());
        const QString shown = QStringLiteral("After %1 min");
        QCOMPARE(view()->idleStepperLabel()->text(), shown.arg(before));
        if (input.size() == 1) {
            const QPoint at(stepper->width() - (input == u"-" ? 39 : 13), stepper->height() / 2);
            QTest::mouseClick(stepper, Qt::LeftButton, {}, at);
        } else {
            stepper->setFocus();
            QTest::keyClick(stepper, input == u"Down" ? Qt::Key_Down : Qt::Key_Minus);
        }
        QCOMPARE(model.idleMinutes(), after);
        QCOMPARE(view()->idleStepperLabel()->text(), shown.arg(after));
        QCOMPARE(m_env->stored("idleMinutes").toInt(), after);
    }

    void loginSwitchEndsOnTheStateThatHolds_data()
    {
        QTest::addColumn<bool>("enabledBefore");
        QTest::addColumn<bool>("writable");
        QTest::addColumn<bool>("shown");
        QTest::addColumn<int>("calls");
        QTest::newRow("registered") << false << true << true << 1;
        QTest::newRow("registration fails") << false << false << false << 2;
        // Neither unregistering nor registering works: one correction, no loop.
        QTest::newRow("stuck on") << true << false << true << 2;
    }

    void loginSwitchEndsOnTheStateThatHolds()
    {
        QFETCH(bool, enabledBefore);
        QFETCH(bool, writable);
        QFETCH(bool, shown);
        QFETCH(int, calls);
        m_app->settingsWindow()->close();
        m_platform->loginItemEnabled = enabledBefore;
        m_platform->loginItemWritable = writable;
        m_app->openSettings();
        QVERIFY(QTest::qWaitForWindowExposed(view()));
        QCOMPARE(view()->launchAtLoginSwitch()->isChecked(), enabledBefore);
        QTest::mouseClick(view()->launchAtLoginSwitch(), Qt::LeftButton);
        QCOMPARE(view()->launchAtLoginSwitch()->isChecked(), shown);
        QCOMPARE(view()->launchAtLogin(), shown);
        QCOMPARE(m_platform->loginItemCalls, calls);
    }

    // On a screen shorter than the form (tst_settingsview_short gives it one) the
    // window fits, title bar included, and Shift+Tab from the first control brings the
    // last one into view.
    void fitsAShortScreen()
    {
        SettingsView *settings = view();
        QVERIFY(settings->height() + SettingsView::titleBarAllowance
            <= settings->screen()->availableGeometry().height());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
        QWidget *last = settings->welcomeGuideButton();
        QCOMPARE(QApplication::focusWidget(), last);
        const QRect shown(last->mapTo(settings, QPoint()), last->size());
        QVERIFY(settings->scrollArea()->geometry().contains(shown));
    }

    // Every label and button whole, at the default size and with a 15 pt font (and, run
    // again under German and French, in the longer languages).
    void textsWholeAtEachFontSize_data()
    {
        QTest::addColumn<qreal>("points");
        QTest::newRow("default") << 0.0;
        QTest::newRow("15 pt") << 15.0;
    }

    void textsWholeAtEachFontSize()
    {
        QFETCH(qreal, points);
        const TextFit::ApplicationFont font(points);
        if (points > 0) {
            // Opened again, so the window is laid out in the new font.
            m_app->settingsWindow()->close();
            QTRY_VERIFY(!m_app->settingsWindow()->view());
            m_app->openSettings();
            QVERIFY(QTest::qWaitForWindowExposed(view()));
        }
        QApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        const QStringList cut = TextFit::cut(view());
        QVERIFY2(cut.isEmpty(), qPrintable(cut.join(u'|')));
    }

    // Where the desktop draws no title bar (GNOME on Wayland), the window has its own,
    // whose button closes it; elsewhere Escape does.
    void openingAgainRaisesTheSameWindow_data()
    {
        QTest::addColumn<bool>("ownTitleBar");
        QTest::newRow("the desktop's title bar") << false;
        QTest::newRow("a title bar of its own") << true;
    }

    void openingAgainRaisesTheSameWindow()
    {
        QFETCH(bool, ownTitleBar);
        if (ownTitleBar) {
            m_app->settingsWindow()->close();
            QTRY_VERIFY(!m_app->settingsWindow()->view());
            m_platform->ownTitleBar = true;
            m_app->openSettings();
            QVERIFY(QTest::qWaitForWindowExposed(view()));
        }
        SettingsView *first = view();
        QCOMPARE(first->windowTitle(), QStringLiteral("Daystride Settings"));
        auto *header = first->findChild<WindowHeader *>();
        QCOMPARE(header != nullptr, ownTitleBar);
        const int activations = m_platform->activateCount;
        m_app->openSettings();
        QCOMPARE(view(), first);
        QCOMPARE(m_platform->activateCount, activations + 1);
        if (header) {
            // At the top, and the window no taller than the screen with it.
            QCOMPARE(header->geometry().top(), 0);
            QVERIFY(first->height() <= first->screen()->availableGeometry().height());
            QVERIFY(header->findChild<QLabel *>()->text() == first->windowTitle());
            QTest::mouseClick(header->findChild<QToolButton *>(), Qt::LeftButton);
        } else {
            QTest::keyClick(first, Qt::Key_Escape);
        }
        QTRY_VERIFY(!m_app->settingsWindow()->view());
    }
};

QTEST_MAIN(TestSettingsView)
#include "tst_settingsview.moc"
