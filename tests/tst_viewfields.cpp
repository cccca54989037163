#include "ViewFixture.h"
#include "menubar/ScreensaverSettingsView.h"
#include "menubar/TimerView.h"
#include "onboarding/EventPage.h"
#include "onboarding/OnboardingView.h"
#include "onboarding/ScreensaverPage.h"
#include "settings/QuoteRow.h"
#include "settings/SettingsView.h"
#include "settings/TaskRow.h"
#include "ui/Stepper.h"
#include "ui/Switch.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <cmath>
#include <memory>

// What the popover's tabs, the Settings window and the guide's pages have in common,
// each view built on its own with the fake platform and the real settings file.
class TestViewFields : public QObject
{
    Q_OBJECT

public:
    enum View { timerTab, screensaverTab, settingsWindow, eventPage, screensaverPage };
    Q_ENUM(View)

private:
    static std::unique_ptr<QWidget> make(View view, TimerViewModel &model)
    {
        switch (view) {
        case timerTab:
            return std::make_unique<TimerView>(model);
        case screensaverTab:
            return std::make_unique<ScreensaverSettingsView>(model);
        case settingsWindow:
            return std::make_unique<SettingsView>(model, [] {});
        case eventPage:
        case screensaverPage:
            break;
        }
        // The guide's pages as the guide shows them.
        auto guide = std::make_unique<OnboardingView>(model);
        guide->advance(qint64(
            view == eventPage ? OnboardingView::Step::event : OnboardingView::Step::screensaver));
        return guide;
    }

    // The one-line text fields, not the editors inside date, time or number fields.
    static QList<QLineEdit *> textFields(const QWidget *view)
    {
        QList<QLineEdit *> fields;
        for (QLineEdit *field : view->findChildren<QLineEdit *>()) {
            if (!qobject_cast<QAbstractSpinBox *>(field->parentWidget()))
                fields << field;
        }
        return fields;
    }

    // The first column from the left where the text's colour shows.
    static int textStart(QLineEdit *field)
    {
        const QImage image = field->grab().toImage();
        const QColor text = field->palette().color(QPalette::Text);
        for (int x = 0; x < image.width(); ++x) {
            for (int y = image.height() / 4; y < image.height() * 3 / 4; ++y) {
                if (qAbs(image.pixelColor(x, y).lightness() - text.lightness()) < 60)
                    return x;
            }
        }
        return -1;
    }

    static QStringList texts(const TimerViewModel &model)
    {
        QStringList all = model.quotes();
        all << model.eventName() << model.subtitle();
        for (const Todo &todo : model.todos())
            all << todo.text;
        return all;
    }

    ViewFixture m_fix;

private slots:
    void init() { m_fix.restart({}); }

    void textFieldsStayOnOneLineAndSaveAsTyped_data()
    {
        QTest::addColumn<View>("view");
        QTest::newRow("popover's timer tab") << timerTab;
        QTest::newRow("popover's screensaver tab") << screensaverTab;
        QTest::newRow("Settings window") << settingsWindow;
        QTest::newRow("guide's event page") << eventPage;
    }

    // In every one-line field a pasted line break becomes one space as it comes in; a
    // line break already there (stored by an older version) stays through edits
    // elsewhere. Each keystroke is saved once, and another view of the same kind follows it
    // without moving its cursor. The timer tab's name is a draft until Return; the
    // guide saves when it is finished.
    void textFieldsStayOnOneLineAndSaveAsTyped()
    {
        QFETCH(View, view);
        const bool draft = view == timerTab;
        const bool saves = !draft && view != eventPage; // the guide saves when finished
        const auto widget = make(view, *m_fix.model);
        const auto other = make(view, *m_fix.model);
        for (QWidget *shown : {other.get(), widget.get()}) {
            shown->show();
            QVERIFY(QTest::qWaitForWindowExposed(shown));
        }
        QApplication::setActiveWindow(widget.get());
        const QList<QLineEdit *> fields = textFields(widget.get());
        QVERIFY(!fields.isEmpty());
        QSignalSpy saved(m_fix.model.get(), &TimerViewModel::saved);
        for (qsizetype i = 0; i < fields.size(); ++i) {
            QLineEdit *field = fields[i];
            field->setFocus();
            field->selectAll();
            QApplication::clipboard()->setText(QStringLiteral("Launch\r\nParty\n"));
            QTest::keyClick(field, Qt::Key_V, Qt::ControlModifier);
            QCOMPARE(field->text(), QStringLiteral("Launch Party "));
            QCOMPARE(field->cursorPosition(), 13);
            QLineEdit *mirror = textFields(other.get()).value(i);
            QVERIFY(mirror);
            mirror->setCursorPosition(1);

            field->setText(QStringLiteral("Gala\nNight"));
            field->end(false);
            const qsizetype before = saved.size();
            QTest::keyClicks(field, QStringLiteral("!"));
            QCOMPARE(saved.size() - before, saves ? 1 : 0); // once, however many views watch
            if (saves) {
                QCOMPARE(mirror->text(), field->text());
                QCOMPARE(mirror->cursorPosition(), 1);
            }
            QApplication::clipboard()->setText(QStringLiteral("\u2028x"));
            QTest::keyClick(field, Qt::Key_V, Qt::ControlModifier);
            QCOMPARE(field->text(), QStringLiteral("Gala\nNight! x"));
            QVERIFY(draft || texts(*m_fix.model).contains(field->text()));
        }
        if (draft) {
            QTest::keyClick(fields.first(), Qt::Key_Return);
            QCOMPARE(m_fix.model->eventName(), QStringLiteral("Gala\nNight! x"));
            QCOMPARE(m_fix.env.stored("savedEventName").toString(), m_fix.model->eventName());
        }
        // An equal value is no change.
        const qsizetype before = saved.size();
        m_fix.model->setSubtitle(m_fix.model->subtitle());
        QCOMPARE(saved.size(), before);
    }

    // The Settings fields form one column, padded like their boxes; Back keeps its
    // distance from the guide's primary button.
    void layout()
    {
        m_fix.model->setEventName(QStringLiteral("Launch"));
        m_fix.model->setSubtitle(QStringLiteral("Version 2"));
        const auto guide = make(eventPage, *m_fix.model);
        const auto window = make(settingsWindow, *m_fix.model);
        for (QWidget *shown : {guide.get(), window.get()}) {
            shown->show();
            QVERIFY(QTest::qWaitForWindowExposed(shown));
        }
        auto *settings = static_cast<SettingsView *>(window.get());
        QCOMPARE(settings->eventNameField()->mapTo(settings, QPoint()).x(),
            settings->subtitleField()->mapTo(settings, QPoint()).x());
        settings->quoteRows().first()->textField()->setText(QStringLiteral("Quote"));
        auto *onboarding = static_cast<OnboardingView *>(guide.get());
        for (QLineEdit *field : {settings->eventNameField(), settings->subtitleField(),
                 settings->taskRows().first()->textField(),
                 settings->quoteRows().first()->textField(),
                 onboarding->eventPage()->subtitleField()}) {
            // The text starts about 8 in from the border, not 2; round corners show the
            // background at the very corner and a border on the edge.
            QCOMPARE_GE(textStart(field), 8);
            const QImage image = field->grab().toImage();
            const QColor background = field->palette().color(QPalette::Window);
            QCOMPARE(image.pixelColor(0, 0), background);
            QVERIFY(image.pixelColor(0, image.height() / 2) != background);
        }
        QVERIFY(onboarding->backButton()->isVisible());
        const QRect back = onboarding->backButton()->geometry();
        QCOMPARE_GE(onboarding->primaryButton()->geometry().left() - back.right() - 1, 6);
    }

    void idleControls_data()
    {
        QTest::addColumn<View>("view");
        QTest::addColumn<bool>("answers");
        for (const bool answers : {false, true}) {
            const char *known = answers ? ", idle time known" : ", no idle time";
            QTest::addRow("popover's screensaver tab%s", known) << screensaverTab << answers;
            QTest::addRow("Settings window%s", known) << settingsWindow << answers;
            QTest::addRow("guide's screensaver page%s", known) << screensaverPage << answers;
        }
    }

    // The line beside "Show when idle" is there exactly while no idle source answers.
    // A stored delay above the stepper's range is the one in force, shown as it is;
    // a step down enters the range. Idle off greys the delay and keeps its value.
    void idleControls()
    {
        QFETCH(View, view);
        QFETCH(bool, answers);
        m_fix.platform->idle = answers ? 0.0 : std::nan("");
        m_fix.model->setIdleEnabled(true);
        m_fix.model->setIdleMinutes(500);
        const auto widget = make(view, *m_fix.model);
        widget->show();
        QVERIFY(QTest::qWaitForWindowExposed(widget.get()));
        QLabel *notice = nullptr;
        for (QLabel *label : widget->findChildren<QLabel *>()) {
            if (label->text().contains(QLatin1String("does not report idle time")))
                notice = label;
        }
        QVERIFY(notice);
        QCOMPARE(notice->isVisible(), !answers);
        // The desktop's answer changes while the view is open.
        emit m_fix.platform->idleTimeAvailableChanged(!answers);
        QCOMPARE(notice->isVisible(), answers);

        Switch *toggle = nullptr;
        Stepper *stepper = nullptr;
        QLabel *label = nullptr; // where the value is shown, if not on the stepper
        if (auto *tab = qobject_cast<ScreensaverSettingsView *>(widget.get())) {
            toggle = tab->idleSwitch();
            stepper = tab->delayStepper();
        } else if (auto *settings = qobject_cast<SettingsView *>(widget.get())) {
            toggle = settings->idleSwitch();
            stepper = settings->idleStepper();
            label = settings->idleStepperLabel();
        } else {
            ScreensaverPage *page = static_cast<OnboardingView *>(widget.get())->screensaverPage();
            toggle = page->idleSwitch();
            stepper = page->delayStepper();
        }
        const auto shown = [&] {
            return label ? label->text() : stepper->text();
        };
        QVERIFY(stepper->isEnabled());
        QVERIFY2(shown().endsWith(QLatin1String("500 min")), qPrintable(shown()));
        stepper->setFocus();
        QTest::keyClick(stepper, Qt::Key_Up);
        QCOMPARE(m_fix.model->idleMinutes(), 500);
        QTest::keyClick(stepper, Qt::Key_Down);
        QCOMPARE(m_fix.model->idleMinutes(), 120);
        QTRY_VERIFY2(shown().endsWith(QLatin1String("120 min")), qPrintable(shown()));

        QTest::mouseClick(toggle, Qt::LeftButton);
        QVERIFY(!m_fix.model->idleEnabled());
        QTRY_VERIFY(!stepper->isEnabled());
        QCOMPARE(m_fix.model->idleMinutes(), 120);
        // The guide stores nothing before it is finished.
        if (view != screensaverPage) {
            QCOMPARE(m_fix.env.stored("idleEnabled").toBool(), false);
            QCOMPARE(m_fix.env.stored("idleMinutes").toInt(), 120);
        }
    }
};

QTEST_MAIN(TestViewFields)
#include "tst_viewfields.moc"
