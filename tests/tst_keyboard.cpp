#include "FakePlatform.h"
#include "TestEnvironment.h"
#include "menubar/Popover.h"
#include "menubar/ScreensaverSettingsView.h"
#include "menubar/TimerView.h"
#include "model/TimerViewModel.h"
#include "onboarding/GuidePage.h"
#include "onboarding/OnboardingView.h"
#include "settings/SettingsView.h"
#include "ui/Look.h"
#include "ui/Stepper.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

// Every window driven by the keyboard alone: Tab reaches each control from top to
// bottom, each shows that it has the focus, and its key operates it.
class TestKeyboard : public QObject
{
    Q_OBJECT

    enum Window { popoverTimer, popoverScreensaver, settings, guide };

    // Opens `window` as a user finds it; `step` is the guide's page, reached by Return.
    QWidget *open(Window window, int step)
    {
        m_window.reset();
        m_model = std::make_unique<TimerViewModel>(*m_platform);
        // The covers of a countdown shown before go first: they would take the
        // activation from the new window.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        m_model->setEventName(QStringLiteral("Launch"));
        m_model->setTimerDate(m_platform->now().addDays(3));
        m_model->setIdleEnabled(true);
        QWidget *shown = nullptr;
        switch (window) {
        case popoverTimer:
        case popoverScreensaver: {
            auto *popover = new Popover(*m_model);
            popover->showAt(QPoint(900, 10));
            shown = popover;
            break;
        }
        case settings:
            shown = new SettingsView(*m_model, [] {});
            shown->show();
            break;
        case guide:
            shown = new OnboardingView(*m_model);
            shown->show();
            break;
        }
        m_window.reset(shown);
        QApplication::setActiveWindow(shown);
        if (!QTest::qWaitForWindowActive(shown))
            return nullptr;
        if (window == popoverTimer) // A draft, so "Set Date and Time" can be pressed.
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Z);
        if (window == popoverScreensaver)
            QTest::keyClick(shown, Qt::Key_Tab, Qt::ControlModifier);
        for (int i = 0; i < step; ++i)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        // The page fades in: drawn in full once its effect is gone.
        if (auto *onboarding = qobject_cast<OnboardingView *>(shown)) {
            if (!QTest::qWaitFor([onboarding] { return !onboarding->page()->graphicsEffect(); }))
                return nullptr;
        }
        return shown;
    }

    static QWidget *focused() { return QApplication::focusWidget(); }

    // What a screen reader calls it.
    static QString name(QWidget *widget)
    {
        return QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Name) + u'/'
            + QString::fromLatin1(widget->metaObject()->className());
    }

    // One round of Tab from the first focus. A date field's Tab goes through its
    // parts first: it counts once.
    static QList<QWidget *> tabRound()
    {
        QList<QWidget *> chain = {focused()};
        for (int i = 0; i < 200 && chain.first(); ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            if (focused() == chain.first())
                break;
            if (focused() != chain.last())
                chain << focused();
        }
        return chain;
    }

    // Tab until the focus is on the `index`th control of the round.
    static QWidget *tabTo(qsizetype index)
    {
        for (qsizetype i = 0; i < 100 && index > 0; ++i) {
            QWidget *before = focused();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            if (focused() != before)
                --index;
        }
        return focused();
    }

    // What a keyboard user must be able to reach.
    static QList<QWidget *> controls(QWidget *window)
    {
        QList<QWidget *> found;
        for (QWidget *widget : window->findChildren<QWidget *>()) {
            if (!(widget->focusPolicy() & Qt::TabFocus) || !widget->isVisibleTo(window)
                || !widget->isEnabled())
                continue;
            // A spin box's field passes the focus on; a calendar takes it in its table.
            while (widget->focusProxy())
                widget = widget->focusProxy();
            if (!found.contains(widget))
                found << widget;
        }
        return found;
    }

    // The points of `area` where the accent colour appears in `after` and not in
    // `before`: a focus ring.
    static int accentAppearing(const QImage &before, const QImage &after, const QColor &accent)
    {
        int count = 0;
        for (int y = 0; y < after.height(); ++y) {
            for (int x = 0; x < after.width(); ++x) {
                const QColor now = after.pixelColor(x, y);
                if (now == before.pixelColor(x, y) || now.hsvSaturationF() < 0.25)
                    continue;
                if (qAbs(now.hsvHue() - accent.hsvHue()) < 20)
                    ++count;
            }
        }
        return count;
    }

    // Operates the focused control by its key; true when it reacted.
    static bool operate(QWidget *control)
    {
        QWidget *keys = QApplication::focusWidget();
        if (auto *button = qobject_cast<QAbstractButton *>(control)) {
            QSignalSpy clicks(button, &QAbstractButton::clicked);
            QTest::keyClick(keys, Qt::Key_Return);
            return clicks.size() == 1;
        }
        if (auto *field = qobject_cast<QLineEdit *>(control)) {
            const QString before = field->text();
            QTest::keyClick(keys, Qt::Key_End);
            QTest::keyClick(keys, Qt::Key_Q);
            return field->text() != before;
        }
        auto text = [control] {
            if (auto *box = qobject_cast<QAbstractSpinBox *>(control))
                return box->text();
            if (auto *stepper = qobject_cast<Stepper *>(control))
                return QString::number(stepper->value());
            if (auto *table = qobject_cast<QAbstractItemView *>(control))
                return table->currentIndex().data().toString();
            return QString();
        };
        const QString before = text();
        QTest::keyClick(keys, Qt::Key_Up);
        if (text() == before)
            QTest::keyClick(keys, Qt::Key_Down);
        return text() != before;
    }

    std::unique_ptr<TestEnvironment> m_env;
    std::unique_ptr<FakePlatform> m_platform;
    std::unique_ptr<TimerViewModel> m_model;
    std::unique_ptr<QWidget> m_window;
    int m_unreachable = 0;
    int m_inoperable = 0;

private slots:
    void initTestCase()
    {
        m_env = std::make_unique<TestEnvironment>();
        m_env->writeSettingsFile(QByteArray("[General]\nonboarded=true\n"));
        m_platform = std::make_unique<FakePlatform>();
        m_platform->setNow(QDateTime(QDate(2026, 3, 6), QTime(12, 0)));
    }

    void cleanup()
    {
        m_window.reset();
        m_model.reset();
    }

    void everyControlByKeys_data()
    {
        QTest::addColumn<int>("window");
        QTest::addColumn<int>("step");
        QTest::addColumn<QString>("firstFocus");
        QTest::newRow("popover, timer") << int(popoverTimer) << 0 << "Event Name";
        QTest::newRow("popover, screensaver") << int(popoverScreensaver) << 0 << "Screensaver";
        QTest::newRow("settings") << int(settings) << 0 << "Event name";
        QTest::newRow("guide, welcome") << int(guide) << 0 << "";
        QTest::newRow("guide, event") << int(guide) << 1 << "Event name";
        QTest::newRow("guide, date") << int(guide) << 2 << "";
        QTest::newRow("guide, screensaver") << int(guide) << 3 << "";
        QTest::newRow("guide, tour") << int(guide) << 4 << "";
    }

    void everyControlByKeys()
    {
        QFETCH(int, window);
        QFETCH(int, step);
        QFETCH(QString, firstFocus);
        QWidget *shown = open(Window(window), step);
        QVERIFY(shown);
        QVERIFY(focused());
        if (!firstFocus.isEmpty())
            QCOMPARE(name(focused()).section(u'/', 0, 0), firstFocus);

        // Reached: each control once per round, in reading order from the top.
        const QList<QWidget *> chain = tabRound();
        QStringList unreachable;
        for (QWidget *control : controls(shown)) {
            if (!chain.contains(control))
                unreachable << name(control);
        }
        m_unreachable += int(unreachable.size());
        QVERIFY2(unreachable.isEmpty(), qPrintable(unreachable.join(u' ')));
        // After: below, or beside on the right.
        auto place = [shown](QWidget *w) {
            return QRect(w->mapTo(shown, QPoint()), w->size());
        };
        auto after = [](const QRect &previous, const QRect &next) {
            const bool beside = next.top() < previous.bottom() && previous.top() < next.bottom();
            return beside ? next.left() > previous.left() : next.top() > previous.top();
        };
        qsizetype first = 0;
        for (qsizetype i = 1; i < chain.size(); ++i) {
            if (after(place(chain[i]), place(chain[first])))
                first = i;
        }
        for (qsizetype i = 1; i < chain.size(); ++i) {
            QWidget *next = chain[(first + i) % chain.size()];
            QVERIFY2(after(place(chain[(first + i - 1) % chain.size()]), place(next)),
                qPrintable(QStringLiteral("Tab goes back to %1").arg(name(next))));
        }

        // Each shows a ring in the accent colour while it has the focus.
        const QColor accent = Look::accent(shown->palette());
        for (qsizetype i = 0; i < chain.size(); ++i) {
            // Drawn by the control or by the box around it, scrolled into view or not.
            QWidget *control = chain[i];
            QWidget *box = control->parentWidget();
            const QRect area = control->geometry().adjusted(-12, -12, 12, 12) & box->rect();
            QApplication::focusWidget()->clearFocus();
            const QImage before = box->grab(area).toImage();
            control->setFocus(Qt::TabFocusReason);
            if (qobject_cast<QLineEdit *>(control) || qobject_cast<QAbstractSpinBox *>(control))
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_End); // no selection
            const QImage after = box->grab(area).toImage();
            QVERIFY2(accentAppearing(before, after, accent) >= 20,
                qPrintable(QStringLiteral("no focus ring on %1").arg(name(control))));
        }

        // Operated: each control's own key; after a button, in a window opened afresh.
        QStringList inoperable;
        shown = nullptr;
        qsizetype at = 0;
        for (qsizetype i = 0; i < chain.size(); ++i) {
            if (!shown) {
                shown = open(Window(window), step);
                QVERIFY2(shown, qPrintable(QString::number(i)));
                at = 0;
            }
            QWidget *control = tabTo(i - at);
            at = i;
            if (qobject_cast<QAbstractButton *>(control))
                shown = nullptr;
            if (!control || !operate(control))
                inoperable << name(control);
        }
        m_inoperable += int(inoperable.size());
        QVERIFY2(inoperable.isEmpty(), qPrintable(inoperable.join(u' ')));
    }

    void ctrlTabSwitchesTabs_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::newRow("Ctrl+Tab") << int(Qt::Key_Tab) << int(Qt::ControlModifier);
        QTest::newRow("Ctrl+Page Down") << int(Qt::Key_PageDown) << int(Qt::ControlModifier);
        QTest::newRow("Ctrl+Shift+Tab")
            << int(Qt::Key_Backtab) << int(Qt::ControlModifier | Qt::ShiftModifier);
        QTest::newRow("Ctrl+Page Up") << int(Qt::Key_PageUp) << int(Qt::ControlModifier);
    }

    void ctrlTabSwitchesTabs()
    {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QWidget *shown = open(popoverTimer, 0);
        QVERIFY(shown);
        auto *view = static_cast<Popover *>(shown)->timerView();
        const int height = shown->height();
        QTest::keyClick(view->nameField(), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        QCOMPARE(view->tab(), TimerView::Tab::screensaver);
        QVERIFY(view->screensaverView()->isVisible());
        QTest::keyClick(
            QApplication::focusWidget(), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        QCOMPARE(view->tab(), TimerView::Tab::timer);
        QCOMPARE(shown->height(), height);
    }

    void cleanupTestCase()
    {
        qInfo("controls not reachable: %d, not operable: %d", m_unreachable, m_inoperable);
    }
};

QTEST_MAIN(TestKeyboard)
#include "tst_keyboard.moc"
