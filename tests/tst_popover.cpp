#include "FakePlatform.h"
#include "TestEnvironment.h"
#include "menubar/Popover.h"
#include "menubar/ScreensaverSettingsView.h"
#include "menubar/TimerView.h"
#include "model/TimerViewModel.h"
#include "screensaver/ScreensaverController.h"

#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimeEdit>
#include <QToolButton>

// Both tabs of the popover on the offscreen platform, with the fake clock and the
// real settings file. Runs with TZ=America/New_York.
class TestPopover : public QObject
{
    Q_OBJECT

    // As the user switches: a click on the tab's segment.
    void clickTab(TimerView::Tab tab)
    {
        TimerView *view = m_popover->timerView();
        QTest::mouseClick(
            tab == TimerView::Tab::timer ? view->timerTabButton() : view->screensaverTabButton(),
            Qt::LeftButton);
        QCOMPARE(view->tab(), tab);
    }

    void openPopover()
    {
        m_popover->showAt(QPoint(900, 10));
        QVERIFY(QTest::qWaitForWindowExposed(m_popover.get()));
    }

    std::unique_ptr<TestEnvironment> m_env;
    std::unique_ptr<FakePlatform> m_platform;
    std::unique_ptr<TimerViewModel> m_model;
    std::unique_ptr<Popover> m_popover;
    const QDateTime m_now = QDateTime(QDate(2026, 3, 6), QTime(12, 0, 0));
    const QDateTime m_event = QDateTime(QDate(2026, 3, 9), QTime(15, 30, 0));

private slots:
    void initTestCase() { m_env = std::make_unique<TestEnvironment>(); }

    void init()
    {
        m_env->writeSettings(
            {{"onboarded", true}, {"savedEventName", "Launch"}, {"savedDate", m_event}});
        m_platform = std::make_unique<FakePlatform>();
        m_platform->setNow(m_now);
        m_model = std::make_unique<TimerViewModel>(*m_platform);
        m_popover = std::make_unique<Popover>(*m_model);
    }

    void cleanup()
    {
        m_popover.reset();
        m_model.reset();
        m_platform.reset();
    }

    void closingWithoutCommitDiscardsTheDrafts_data()
    {
        QTest::addColumn<bool>("byEscape");
        QTest::newRow("click outside") << false;
        QTest::newRow("Escape") << true;
    }

    void closingWithoutCommitDiscardsTheDrafts()
    {
        QFETCH(bool, byEscape);
        TimerView *view = m_popover->timerView();
        openPopover();
        QCOMPARE(view->nameField()->text(), QStringLiteral("Launch"));
        QCOMPARE(view->draftDate(), m_event);
        QVERIFY(!view->commitButton()->isEnabled());
        view->nameField()->setFocus();
        QTest::keyClicks(view->nameField(), QStringLiteral(" 2"));
        QVERIFY(view->commitButton()->isEnabled());

        if (byEscape) {
            QTest::keyClick(view->nameField(), Qt::Key_Escape);
        } else {
            QWidget elsewhere;
            elsewhere.show();
            QVERIFY(QTest::qWaitForWindowExposed(&elsewhere));
            QApplication::setActiveWindow(&elsewhere);
        }
        QTRY_VERIFY(!m_popover->isVisible());
        QCOMPARE(m_model->eventName(), QStringLiteral("Launch"));

        // The drafts reload on every appearance, also after a change made elsewhere.
        m_model->setTimerDate(m_event.addDays(1));
        openPopover();
        QCOMPARE(view->nameField()->text(), QStringLiteral("Launch"));
        QCOMPARE(view->dateField()->date(), m_event.addDays(1).date());
        QVERIFY(!view->commitButton()->isEnabled());
    }

    void returnCommitsOnlyWhileThereAreChanges()
    {
        TimerView *view = m_popover->timerView();
        openPopover();
        QSignalSpy saves(m_model.get(), &TimerViewModel::saved);
        QTest::keyClick(view->nameField(), Qt::Key_Return);
        QCOMPARE(saves.size(), 0);
        QVERIFY(m_popover->isVisible());

        QTest::keyClicks(view->nameField(), QStringLiteral("!"));
        view->timeField()->setTime(QTime(9, 45));
        QTest::keyClick(view->nameField(), Qt::Key_Return);
        QCOMPARE(saves.size(), 1);
        QTRY_VERIFY(!m_popover->isVisible());
        QCOMPARE(m_model->eventName(), QStringLiteral("Launch!"));
        QCOMPARE(m_model->timerDate(), QDateTime(m_event.date(), QTime(9, 45)));
        QCOMPARE(m_env->stored("savedEventName").toString(), QStringLiteral("Launch!"));
        QCOMPARE(m_env->stored("savedDate").toDateTime(), QDateTime(m_event.date(), QTime(9, 45)));
    }

    // The locale's own formats, with the year in full and its own clock.
    void pickersShowTheLocalesFormatsWithTheFullYear_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("date");
        QTest::addColumn<QString>("time");
        QTest::newRow("en_US") << "en_US"
                               << "3/9/2026"
                               << "3:30 PM";
        QTest::newRow("de_DE") << "de_DE"
                               << "09.03.2026"
                               << "15:30";
    }

    void pickersShowTheLocalesFormatsWithTheFullYear()
    {
        QFETCH(QString, locale);
        QFETCH(QString, date);
        QFETCH(QString, time);
        const QLocale before;
        QLocale::setDefault(QLocale(locale));
        m_popover = std::make_unique<Popover>(*m_model);
        QLocale::setDefault(before);
        openPopover();
        QCOMPARE(m_popover->timerView()->dateField()->text(), date);
        QCOMPARE(m_popover->timerView()->timeField()->text(), time);
    }

    void bothPickersEditOneInstant_data()
    {
        QTest::addColumn<QDate>("date");
        QTest::addColumn<QTime>("time");
        QTest::addColumn<QDateTime>("expected");
        const QDateTime event(QDate(2026, 3, 9), QTime(15, 30, 0));
        QTest::newRow("date keeps the time")
            << QDate(2026, 7, 4) << QTime() << QDateTime(QDate(2026, 7, 4), QTime(15, 30));
        QTest::newRow("time keeps the day")
            << QDate() << QTime(8, 5) << QDateTime(QDate(2026, 3, 9), QTime(8, 5));
        // Across the spring change in New York: the wall-clock time is kept.
        QTest::newRow("across daylight saving")
            << QDate(2026, 3, 7) << QTime() << QDateTime(QDate(2026, 3, 7), QTime(15, 30));
        QTest::newRow("past dates are allowed") << QDate(1999, 12, 31) << QTime(23, 59)
                                                << QDateTime(QDate(1999, 12, 31), QTime(23, 59));
    }

    void bothPickersEditOneInstant()
    {
        QFETCH(QDate, date);
        QFETCH(QTime, time);
        QFETCH(QDateTime, expected);
        TimerView *view = m_popover->timerView();
        openPopover();
        if (date.isValid())
            view->dateField()->setDate(date);
        if (time.isValid())
            view->timeField()->setTime(time);
        QCOMPARE(view->draftDate(), expected);
        QVERIFY(view->commitButton()->isEnabled());

        // Back to the committed instant: nothing to commit.
        view->dateField()->setDate(m_event.date());
        view->timeField()->setTime(m_event.time());
        QCOMPARE(view->draftDate(), m_event);
        QVERIFY(!view->commitButton()->isEnabled());
    }

    void countdownFollowsTheModelAndTicksOnlyWhileShown()
    {
        TimerView *view = m_popover->timerView();
        auto numbers = [&] {
            QStringList texts;
            for (QLabel *label : view->countdownNumbers())
                texts << label->text();
            return texts;
        };
        QVERIFY(!view->countdownTicker().isActive());
        openPopover();
        QVERIFY(view->countdownTicker().isActive());
        // 3 calendar days and 3.5 hours away, whatever the draft says.
        view->dateField()->setDate(m_event.date().addDays(20));
        QCOMPARE(numbers(), QStringList({"3", "3", "30", "0"}));
        m_platform->advance(1000);
        QTRY_COMPARE(numbers(), QStringList({"3", "3", "29", "59"}));
        m_model->setTimerDate(m_now.addSecs(-60));
        QCOMPARE(numbers(), QStringList({"0", "0", "0", "0"}));

        clickTab(TimerView::Tab::screensaver);
        QVERIFY(!view->countdownTicker().isActive());
        clickTab(TimerView::Tab::timer);
        QVERIFY(view->countdownTicker().isActive());
        m_popover->close();
        QVERIFY(!view->countdownTicker().isActive());
    }

    // The window follows the tab's content: no blank gap over the bottom bar.
    void popoverFitsEachTab()
    {
        openPopover();
        const int timerHeight = m_popover->height();
        QCOMPARE(m_popover->sizeHint().height(), timerHeight);
        for (int round = 0; round < 2; ++round) {
            clickTab(TimerView::Tab::screensaver);
            QTRY_COMPARE(m_popover->height(), m_popover->sizeHint().height());
            QVERIFY(m_popover->height() > timerHeight);
            clickTab(TimerView::Tab::timer);
            QTRY_COMPARE(m_popover->height(), timerHeight);
        }
    }

    void togglingATaskSavesAtOnce()
    {
        TimerView *view = m_popover->timerView();
        openPopover();
        clickTab(TimerView::Tab::screensaver);
        ScreensaverSettingsView *tab = view->screensaverView();
        QCOMPARE(tab->taskFields().size(), 6);
        QCOMPARE(tab->taskFields()[5]->placeholderText(), QStringLiteral("Task 6: type to add"));

        const TodoList before = m_model->todos();
        QTest::mouseClick(tab->taskChecks()[1], Qt::LeftButton);
        QVERIFY(m_model->todos()[1].isCompleted);
        QCOMPARE(m_model->todos()[1].id, before[1].id);
        QCOMPARE(m_model->todos()[1].text, before[1].text);
        QVERIFY(tab->taskFields()[1]->font().strikeOut());
        QVERIFY(!tab->taskFields()[0]->font().strikeOut());
        const auto todos = decodeTodos(m_env->stored("todos").toByteArray());
        QVERIFY(todos);
        QVERIFY((*todos)[1].isCompleted);
    }
};

QTEST_MAIN(TestPopover)
#include "tst_popover.moc"
