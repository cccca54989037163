#include "FakePlatform.h"
#include "TestEnvironment.h"
#include "TextFit.h"
#include "model/TimerViewModel.h"
#include "onboarding/DatePage.h"
#include "onboarding/OnboardingView.h"
#include "onboarding/ScreensaverPage.h"
#include "platform/Translations.h"
#include "screensaver/ScreensaverController.h"
#include "ui/RoundedBox.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QCalendarWidget>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>
#include <QTimeEdit>

// The welcome guide on the offscreen platform with the fake clock and the real
// settings file. Runs with TZ=America/New_York.
class TestOnboarding : public QObject
{
    Q_OBJECT

    void goTo(OnboardingView::Step step)
    {
        m_guide->advance(qint64(step) - qint64(m_guide->step()));
        QCOMPARE(m_guide->step(), step);
    }

    // The cell of `day` of the month shown; days of the neighbouring months that
    // share its number are at the other end of the grid.
    static QRect dayCell(QTableView *days, int day)
    {
        QAbstractItemModel *model = days->model();
        QModelIndex found;
        for (int row = 1; row < model->rowCount(); ++row)
            for (int column = 0; column < model->columnCount(); ++column) {
                const QModelIndex index = model->index(row, column);
                if (index.data().toInt() == day && (!found.isValid() || day >= 15))
                    found = index;
            }
        return days->visualRect(found);
    }

    std::unique_ptr<TestEnvironment> m_env;
    std::unique_ptr<FakePlatform> m_platform;
    std::unique_ptr<TimerViewModel> m_model;
    std::unique_ptr<OnboardingView> m_guide;
    const QDateTime m_now = QDateTime(QDate(2026, 3, 7), QTime(9, 30));

private slots:
    void initTestCase()
    {
        m_env = std::make_unique<TestEnvironment>();
        // The language of the run's locale: English unless tst_onboarding_de_DE and the like.
        Translations::install(
            QLocale::system(), {QStringLiteral(DAYSTRIDE_TRANSLATIONS_BUILD_DIR)});
    }

    void init()
    {
        m_env->writeSettingsFile(QByteArray());
        m_platform = std::make_unique<FakePlatform>();
        m_platform->setNow(m_now);
        m_model = std::make_unique<TimerViewModel>(*m_platform);
        m_guide = std::make_unique<OnboardingView>(*m_model);
        m_guide->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_guide.get()));
    }

    void cleanup()
    {
        m_guide.reset();
        m_model.reset();
        m_platform.reset();
    }

    // With a 15 pt system font every text of each page is whole: a title on a second
    // line where one is too short.
    void textsWholeAtALargeFont()
    {
        const TextFit::ApplicationFont large(15);
        m_guide = std::make_unique<OnboardingView>(*m_model);
        m_guide->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_guide.get()));
        m_model->setEventName(QStringLiteral("Launch"));
        for (int i = 0; i < OnboardingView::stepCount; ++i) {
            goTo(OnboardingView::Step(i));
            QApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
            const QStringList cut = TextFit::cut(m_guide.get());
            QVERIFY2(cut.isEmpty(), qPrintable(cut.join(u'|')));
        }
    }

    void buttonsPerStep()
    {
        m_model->setEventName(QStringLiteral("Launch"));
        // Moving outside the steps does nothing.
        m_guide->advance(-1);
        QCOMPARE(m_guide->step(), OnboardingView::Step::welcome);
        const QStringList labels
            = {"Get Started", "Continue", "Continue", "Continue", "Start Using Daystride"};
        for (int i = 0; i < OnboardingView::stepCount; ++i) {
            goTo(OnboardingView::Step(i));
            QCOMPARE(m_guide->primaryButton()->text(), labels[i]);
            QCOMPARE(m_guide->backButton()->isVisible(), i != 0);
            QVERIFY(m_guide->primaryButton()->width() >= 80);
        }
        m_guide->advance(1);
        QCOMPARE(m_guide->step(), OnboardingView::Step::tour);
        QVERIFY(!m_model->hasCompletedOnboarding());
        // Return on the last step finishes, as the button does.
        QTest::keyClick(m_guide.get(), Qt::Key_Return);
        QVERIFY(m_model->hasCompletedOnboarding());
    }

    void continueNeedsANameThatIsNotBlank_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("enabled");
        QTest::newRow("empty") << "" << false;
        QTest::newRow("spaces and tabs") << " \t  \t" << false;
        QTest::newRow("no-break and ideographic spaces") << QStringLiteral("\u00a0\u3000") << false;
        QTest::newRow("a line break is not blank") << "\n" << true;
        QTest::newRow("one letter") << " x " << true;
    }

    void continueNeedsANameThatIsNotBlank()
    {
        QFETCH(QString, name);
        QFETCH(bool, enabled);
        m_model->setEventName(name);
        goTo(OnboardingView::Step::event);
        QTRY_COMPARE(m_guide->primaryButton()->isEnabled(), enabled);
        QTest::keyClick(m_guide.get(), Qt::Key_Return);
        QCOMPARE(
            m_guide->step(), enabled ? OnboardingView::Step::date : OnboardingView::Step::event);
    }

    void datePageNeedsADateAfterNow()
    {
        m_model->setTimerDate(m_now);
        goTo(OnboardingView::Step::date);
        QVERIFY(!m_guide->primaryButton()->isEnabled());
        QVERIFY(m_guide->pastWarning()->isVisible());
        QVERIFY(!m_guide->menuBarPreviewCapsule()->isVisible());

        m_model->setTimerDate(m_now.addSecs(60));
        QTRY_VERIFY(m_guide->primaryButton()->isEnabled());
        QVERIFY(m_guide->menuBarPreviewCapsule()->isVisible());
        QCOMPARE(m_guide->menuBarPreview()->text(), QStringLiteral("1m"));

        // Time passes on the page: the next announcement (the minute tick) disables it.
        m_platform->advance(61000);
        emit m_model->objectWillChange();
        QTRY_VERIFY(!m_guide->primaryButton()->isEnabled());
        QVERIFY(m_guide->pastWarning()->isVisible());

        // The time field steps the hour and keeps the day.
        QTimeEdit *time = m_guide->datePage()->timeField();
        time->setFocus();
        time->setCurrentSection(QDateTimeEdit::HourSection);
        QTest::keyClick(time, Qt::Key_Up);
        QCOMPARE(m_model->timerDate(), QDateTime(m_now.date(), QTime(10, 31)));
        QTRY_VERIFY(m_guide->primaryButton()->isEnabled());
    }

    // The day is picked the way users pick it; Return moves on and Back shows that day.
    void calendarKeepsTheDayTheUserPicked_data()
    {
        QTest::addColumn<QList<int>>("keys");
        QTest::addColumn<int>("clickedDay");
        QTest::addColumn<QDate>("picked");
        QTest::newRow("arrow keys")
            << QList<int> {Qt::Key_Right, Qt::Key_Right} << 0 << QDate(2026, 3, 17);
        // Across the spring change in New York: the wall-clock time stays 09:30.
        QTest::newRow("click across daylight saving") << QList<int>() << 8 << QDate(2026, 3, 8);
        QTest::newRow("a past day cannot be clicked") << QList<int>() << 5 << QDate(2026, 3, 15);
        QTest::newRow("keys stop at today")
            << QList<int> {Qt::Key_Up, Qt::Key_Up, Qt::Key_Left} << 0 << QDate(2026, 3, 7);
    }

    void calendarKeepsTheDayTheUserPicked()
    {
        QFETCH(QList<int>, keys);
        QFETCH(int, clickedDay);
        QFETCH(QDate, picked);
        const QTime kept(9, 30);
        m_model->setTimerDate(QDateTime(QDate(2026, 3, 15), kept));
        goTo(OnboardingView::Step::date);
        QCalendarWidget *calendar = m_guide->datePage()->calendar();
        auto *days = calendar->findChild<QTableView *>();
        const QImage image = days->viewport()->grab().toImage();
        // Past days look disabled: the darkest pixel of a cell is its digits' ink.
        auto ink = [&](int day) {
            const QRect cell = dayCell(days, day);
            int darkest = 255;
            for (int y = cell.top(); y <= cell.bottom(); ++y)
                for (int x = cell.left(); x <= cell.right(); ++x)
                    darkest = std::min(darkest, qGray(image.pixel(x, y)));
            return darkest;
        };
        QVERIFY2(ink(6) > ink(9) + 40, qPrintable(QStringLiteral("%1 %2").arg(ink(6)).arg(ink(9))));
        // and are unavailable to a screen reader.
        auto available = [&](int day) {
            const QPoint at = days->viewport()->mapToGlobal(dayCell(days, day).center());
            const QAccessibleInterface *cell
                = QAccessible::queryAccessibleInterface(days)->childAt(at.x(), at.y());
            return cell && cell->role() == QAccessible::Cell && !cell->state().disabled;
        };
        QVERIFY(!available(6) && available(9));
        // Future days alike, give or take the anti-aliasing of their digits.
        QVERIFY(std::abs(ink(9) - ink(10)) < 16);
        QTest::mouseClick(days->viewport(), Qt::LeftButton, {}, dayCell(days, 15).center());
        QVERIFY(days->hasFocus());
        for (int key : keys)
            QTest::keyClick(days, Qt::Key(key));
        if (clickedDay)
            QTest::mouseClick(
                days->viewport(), Qt::LeftButton, {}, dayCell(days, clickedDay).center());
        QCOMPARE(m_model->timerDate(), QDateTime(picked, kept));
        QCOMPARE(calendar->selectedDate(), picked);

        // The minute tick redraws the page without moving the highlight.
        m_platform->advance(60000);
        emit m_model->objectWillChange();
        QTest::qWait(0);
        QCOMPARE(calendar->selectedDate(), picked);

        const bool future = QDateTime(picked, kept) > m_platform->now();
        QTest::keyClick(days, Qt::Key_Return);
        QCOMPARE(m_guide->step(),
            future ? OnboardingView::Step::screensaver : OnboardingView::Step::date);
        if (future)
            QTest::mouseClick(m_guide->backButton(), Qt::LeftButton);
        QCOMPARE(m_guide->datePage()->calendar()->selectedDate(), picked);
        QCOMPARE(m_model->timerDate(), QDateTime(picked, kept));
    }

    // What the user points at becomes a moment that exists: a passed event's day,
    // highlighted as today, is picked by a click; New York skips 02:00-03:00 on
    // 2026-03-08, and a day or an hour picked into that gap moves on by it.
    void datePagePicksAMomentThatExists_data()
    {
        QTest::addColumn<QDateTime>("before");
        QTest::addColumn<int>("clickedDay"); // 0: the hour is stepped up instead
        QTest::addColumn<QDateTime>("after");
        QTest::newRow("passed event, today clicked") << QDateTime(QDate(2026, 3, 6), QTime(15, 30))
                                                     << 7 << QDateTime(m_now.date(), QTime(15, 30));
        QTest::newRow("day clicked into the skipped hour") << QDateTime(
            QDate(2026, 3, 15), QTime(2, 59)) << 8 << QDateTime(QDate(2026, 3, 8), QTime(3, 59));
        QTest::newRow("hour stepped into the skipped hour") << QDateTime(
            QDate(2026, 3, 8), QTime(1, 59)) << 0 << QDateTime(QDate(2026, 3, 8), QTime(3, 59));
    }

    void datePagePicksAMomentThatExists()
    {
        QFETCH(QDateTime, before);
        QFETCH(int, clickedDay);
        QFETCH(QDateTime, after);
        m_model->setTimerDate(before);
        goTo(OnboardingView::Step::date);
        QCOMPARE(m_guide->pastWarning()->isVisible(), before <= m_now);
        auto *days = m_guide->datePage()->calendar()->findChild<QTableView *>();
        QTimeEdit *time = m_guide->datePage()->timeField();
        if (clickedDay) {
            QTest::mouseClick(
                days->viewport(), Qt::LeftButton, {}, dayCell(days, clickedDay).center());
        } else {
            time->setFocus();
            time->setCurrentSection(QDateTimeEdit::HourSection);
            QTest::keyClick(time, Qt::Key_Up);
        }
        QVERIFY(m_model->timerDate().isValid());
        QCOMPARE(m_model->timerDate(), after);
        QTRY_COMPARE(time->time(), after.time());
        QCOMPARE(m_guide->datePage()->calendar()->selectedDate(), after.date());
        QTRY_VERIFY(m_guide->primaryButton()->isEnabled());
        QVERIFY(!m_guide->pastWarning()->isVisible());
    }

    // Return after a click on Back goes on again: after a page change the primary
    // button has the focus (the name field on the event page), whatever was clicked.
    // Where the page does not let the user go on yet, Return does nothing.
    void returnAfterBackGoesOn_data()
    {
        QTest::addColumn<int>("from");
        QTest::addColumn<bool>("passedDate");
        QTest::newRow("back to the event page") << int(OnboardingView::Step::date) << false;
        QTest::newRow("back to the date page") << int(OnboardingView::Step::screensaver) << false;
        QTest::newRow("back to the screensaver page") << int(OnboardingView::Step::tour) << false;
        QTest::newRow("back to a passed date") << int(OnboardingView::Step::screensaver) << true;
    }

    void returnAfterBackGoesOn()
    {
        QFETCH(int, from);
        QFETCH(bool, passedDate);
        m_model->setEventName(QStringLiteral("Launch"));
        m_model->setTimerDate(m_now.addDays(passedDate ? -1 : 1));
        goTo(OnboardingView::Step(from));
        QTest::mouseClick(m_guide->backButton(), Qt::LeftButton);
        const auto back = OnboardingView::Step(from - 1);
        QCOMPARE(m_guide->step(), back);
        QWidget *focus = QApplication::focusWidget();
        QVERIFY(focus);
        QVERIFY(focus != m_guide->backButton());
        if (!passedDate)
            QVERIFY(focus == m_guide->primaryButton() || focus == m_guide->nameField());
        QTest::keyClick(focus, Qt::Key_Return);
        QCOMPARE(m_guide->step(), passedDate ? back : OnboardingView::Step(from));
    }

    void backKeepsTheNameAndForwardFocusesIt()
    {
        QVERIFY(!m_guide->nameField());
        goTo(OnboardingView::Step::event);
        QTRY_VERIFY(m_guide->nameFocused());
        QTRY_COMPARE(m_guide->nameBox()->borderWidth(), 1.5);
        QTest::keyClicks(m_guide->nameField(), QStringLiteral("Gala"));
        QCOMPARE(m_model->eventName(), QStringLiteral("Gala"));

        QTest::mouseClick(m_guide->backButton(), Qt::LeftButton);
        QCOMPARE(m_guide->step(), OnboardingView::Step::welcome);
        QCOMPARE(m_model->eventName(), QStringLiteral("Gala"));
        QTest::mouseClick(m_guide->primaryButton(), Qt::LeftButton);
        QTRY_VERIFY(m_guide->nameFocused());
        QCOMPARE(m_guide->nameField()->text(), QStringLiteral("Gala"));

        // Coming back from the date page focuses it too.
        goTo(OnboardingView::Step::date);
        m_guide->advance(-1);
        QTRY_VERIFY(m_guide->nameFocused());
    }

    void finishTrimsSavesAndCloses_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("kept");
        QTest::addColumn<bool>("olderFile");
        QTest::newRow("spaces around one word") << "  word  "
                                                << "word" << false;
        QTest::newRow("inner spaces stay") << "\tbig  day "
                                           << "big  day" << false;
        QTest::newRow("a trailing line break stays") << "Launch\n"
                                                     << "Launch\n"
                                                     << false;
        // A file from before the key, where a saved date alone counts as done: run
        // again from Settings, the guide writes the key all the same.
        QTest::newRow("again over an older file") << "Gala"
                                                  << "Gala" << true;
    }

    void finishTrimsSavesAndCloses()
    {
        QFETCH(QString, typed);
        QFETCH(QString, kept);
        QFETCH(bool, olderFile);
        if (olderFile) {
            m_guide.reset();
            m_model.reset();
            m_platform->restart();
            m_env->writeSettings({{"savedDate", m_now.addDays(3)}});
            m_model = std::make_unique<TimerViewModel>(*m_platform);
            m_guide = std::make_unique<OnboardingView>(*m_model);
            m_guide->show();
            QVERIFY(QTest::qWaitForWindowExposed(m_guide.get()));
            QVERIFY(m_model->hasCompletedOnboarding());
            QVERIFY(!m_env->stored("onboarded").isValid());
        }
        m_model->setEventName(typed);
        QSignalSpy saves(m_model.get(), &TimerViewModel::saved);
        goTo(OnboardingView::Step::tour);
        QTest::mouseClick(m_guide->primaryButton(), Qt::LeftButton);
        QCOMPARE(m_model->eventName(), kept);
        QVERIFY(m_model->hasCompletedOnboarding());
        QCOMPARE(saves.size(), 1);
        QVERIFY(!m_guide->isVisible());
        QCOMPARE(m_env->stored("onboarded").toBool(), true);
        QCOMPARE(m_env->stored("savedEventName").toString(), kept);
        for (const char *key :
            {"savedDate", "subtitle", "todos", "quotes", "idleEnabled", "idleMinutes"})
            QVERIFY2(m_env->stored(QString::fromLatin1(key)).isValid(), key);

        // The next start does not present it again.
        m_platform->restart();
        QVERIFY(TimerViewModel(*m_platform).hasCompletedOnboarding());
    }

    void closingEarlyStoresNothing()
    {
        goTo(OnboardingView::Step::screensaver);
        m_model->setIdleEnabled(true);
        m_guide->close();
        QVERIFY(m_model->idleEnabled());
        QVERIFY(!m_model->hasCompletedOnboarding());
        QCOMPARE(m_env->readSettingsFile(), QByteArray());
        m_platform->restart();
        const TimerViewModel again(*m_platform);
        QVERIFY(!again.hasCompletedOnboarding());
        QVERIFY(!again.idleEnabled());
    }
};

QTEST_MAIN(TestOnboarding)
#include "tst_onboarding.moc"
