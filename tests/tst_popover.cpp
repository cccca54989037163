#include "FakePlatform.h"
#include "TestEnvironment.h"
#include "TextFit.h"
#include "menubar/Popover.h"
#include "menubar/ScreensaverSettingsView.h"
#include "menubar/TimerView.h"
#include "model/TimerViewModel.h"
#include "platform/Translations.h"
#include "screensaver/ScreensaverController.h"

#include <QAbstractButton>
#include <QApplication>
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
    void initTestCase()
    {
        m_env = std::make_unique<TestEnvironment>();
        // The language of the run's locale: English unless tst_popover_de_DE and the like.
        Translations::install(
            QLocale::system(), {QStringLiteral(DAYSTRIDE_TRANSLATIONS_BUILD_DIR)});
    }

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

    // The drafts are the model's only once committed: Return with changes commits.
    void closingKeepsOnlyCommittedDrafts_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("click outside") << "outside";
        QTest::newRow("Escape") << "Escape";
        QTest::newRow("Return") << "Return";
    }

    void closingKeepsOnlyCommittedDrafts()
    {
        QFETCH(QString, how);
        TimerView *view = m_popover->timerView();
        openPopover();
        QCOMPARE(view->nameField()->text(), QStringLiteral("Launch"));
        QCOMPARE(view->draftDate(), m_event);
        QVERIFY(!view->commitButton()->isEnabled());
        QSignalSpy saves(m_model.get(), &TimerViewModel::saved);
        QTest::keyClick(view->nameField(), Qt::Key_Return);
        QCOMPARE(saves.size(), 0);
        QVERIFY(m_popover->isVisible());

        view->nameField()->setFocus();
        QTest::keyClicks(view->nameField(), QStringLiteral("!"));
        view->timeField()->setTime(QTime(9, 45));
        QVERIFY(view->commitButton()->isEnabled());
        QWidget elsewhere;
        if (how == u"outside") {
            elsewhere.show();
            QVERIFY(QTest::qWaitForWindowExposed(&elsewhere));
            QApplication::setActiveWindow(&elsewhere);
        } else {
            QTest::keyClick(view->nameField(), how == u"Return" ? Qt::Key_Return : Qt::Key_Escape);
        }
        QTRY_VERIFY(!m_popover->isVisible());
        const bool committed = how == u"Return";
        QCOMPARE(saves.size(), committed ? 1 : 0);
        const QString name = committed ? QStringLiteral("Launch!") : QStringLiteral("Launch");
        const QDateTime date = committed ? QDateTime(m_event.date(), QTime(9, 45)) : m_event;
        QCOMPARE(m_model->eventName(), name);
        QCOMPARE(m_model->timerDate(), date);
        QCOMPARE(m_env->stored("savedEventName").toString(), name);
        QCOMPARE(m_env->stored("savedDate").toDateTime(), date);

        // The drafts reload on every appearance, also after a change made elsewhere.
        m_model->setTimerDate(m_event.addDays(1));
        openPopover();
        QCOMPARE(view->nameField()->text(), name);
        QCOMPARE(view->dateField()->date(), m_event.addDays(1).date());
        QVERIFY(!view->commitButton()->isEnabled());
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

    // New York skips 02:00-03:00 on 2027-03-14 and shows 01:00-02:00 twice on
    // 2027-11-07. A day stepped into either is one real moment: the skipped time
    // moves on by the gap, the repeated one is its first occurrence (EDT).
    void aDayStepsIntoAChangedHour_data()
    {
        QTest::addColumn<QDateTime>("event");
        QTest::addColumn<int>("key");
        QTest::addColumn<QTime>("shown");
        QTest::addColumn<QString>("stored");
        QTest::newRow("skipped hour") << QDateTime(QDate(2027, 3, 13), QTime(2, 30))
                                      << int(Qt::Key_Up) << QTime(3, 30) << "2027-03-14T07:30:00Z";
        QTest::newRow("repeated hour")
            << QDateTime(QDate(2027, 11, 8), QTime(1, 30)) << int(Qt::Key_Down) << QTime(1, 30)
            << "2027-11-07T05:30:00Z";
    }

    void aDayStepsIntoAChangedHour()
    {
        QFETCH(QDateTime, event);
        QFETCH(int, key);
        QFETCH(QTime, shown);
        QFETCH(QString, stored);
        TimerView *view = m_popover->timerView();
        m_model->setTimerDate(event);
        openPopover();
        QDateEdit *date = view->dateField();
        date->setFocus();
        date->setCurrentSection(QDateTimeEdit::DaySection);
        QTest::keyClick(date, Qt::Key(key));
        QCOMPARE(date->date(), event.date().addDays(key == Qt::Key_Up ? 1 : -1));
        QCOMPARE(view->timeField()->time(), shown);
        QTest::keyClick(date, Qt::Key_Return);
        QTRY_VERIFY(!m_popover->isVisible());

        QCOMPARE(m_env->stored("savedDate").toDateTime().toUTC().toString(Qt::ISODate), stored);
        m_platform->restart();
        const TimerViewModel restarted(*m_platform);
        QCOMPARE(restarted.timerDate().toUTC().toString(Qt::ISODate), stored);
        QVERIFY(restarted.timeRemaining().days > 300);
    }

    // Digits of one width: as the seconds tick, the digits that stay keep their place.
    void countdownDigitsKeepTheirPlace_data()
    {
        QTest::addColumn<QList<int>>("seconds");
        QTest::newRow("40 to 47") << QList<int> {40, 41, 44, 47};
        QTest::newRow("10 to 19") << QList<int> {10, 11, 14, 19};
    }

    void countdownDigitsKeepTheirPlace()
    {
        QFETCH(QList<int>, seconds);
        openPopover();
        QLabel *number = m_popover->timerView()->countdownNumbers().last();
        // The leftmost inked column: where the first digit begins.
        auto firstInk = [number] {
            const QImage image = number->grab().toImage();
            const QColor ground = image.pixelColor(0, 0);
            for (int x = 0; x < image.width(); ++x) {
                for (int y = 0; y < image.height(); ++y) {
                    const QColor c = image.pixelColor(x, y);
                    if (qAbs(c.lightness() - ground.lightness()) > 80)
                        return x;
                }
            }
            return -1;
        };
        QList<int> starts;
        for (int s : seconds) {
            m_model->setTimerDate(m_now.addSecs(s));
            QCOMPARE(number->text(), QString::number(s));
            starts << firstInk();
        }
        QVERIFY(starts.first() >= 0);
        QCOMPARE(starts, QList<int>(seconds.size(), starts.first()));
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

    // 320 wide at the default font in English; wider, within the screen, where a 15 pt
    // system font, a longer language or a long task needs it, so that no button, tab,
    // label or field loses part of its text.
    void textsWholeAtEachFontSize_data()
    {
        QTest::addColumn<qreal>("points");
        QTest::addColumn<QString>("task"); // typed into the first task once it is open
        QTest::newRow("default") << 0.0 << QString();
        QTest::newRow("15 pt") << 15.0 << QString();
        QTest::newRow("a long task") << 0.0 << "Record the demo video with the new onboarding";
    }

    void textsWholeAtEachFontSize()
    {
        QFETCH(qreal, points);
        QFETCH(QString, task);
        const TextFit::ApplicationFont font(points);
        if (points > 0)
            m_popover = std::make_unique<Popover>(*m_model);
        openPopover();
        const QLocale::Language language = QLocale().language();
        if (points == 0 && (language == QLocale::C || language == QLocale::English))
            QCOMPARE(m_popover->width(), Popover::contentWidth);
        for (TimerView::Tab tab : {TimerView::Tab::timer, TimerView::Tab::screensaver}) {
            clickTab(tab);
            if (!task.isEmpty() && tab == TimerView::Tab::screensaver) {
                QLineEdit *field = m_popover->timerView()->screensaverView()->taskFields()[0];
                field->selectAll();
                QTest::keyClicks(field, task);
            }
            // The window takes its new width when the window system says so.
            QTRY_VERIFY2(TextFit::cut(m_popover.get()).isEmpty(),
                qPrintable(TextFit::cut(m_popover.get()).join(u'|')));
            QVERIFY(m_popover->width() <= m_popover->screen()->availableGeometry().width());
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
