#include "ViewFixture.h"
#include "menubar/Popover.h"
#include "menubar/ScreensaverSettingsView.h"
#include "menubar/TimerView.h"
#include "ui/Look.h"
#include "ui/Stepper.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

// Every window as a keyboard user meets it: Tab reaches each control in reading
// order, each shows that it has the focus and its key operates it. What a screen
// reader says of each is tst_screenreader's.
class TestAccessibility : public QObject
{
    Q_OBJECT

    // Opens `window` on a model of its own; `page` is the guide's.
    QWidget *open(ViewFixture::Window window, int page)
    {
        m_fix.restartWithLaunch();
        QWidget *shown = m_fix.open(window, page);
        if (shown && window == ViewFixture::popoverTimer) // a draft: "Set Date and Time" works
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Z);
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
            QTest::keyClick(focused(), Qt::Key_Tab);
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
            QTest::keyClick(focused(), Qt::Key_Tab);
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

    // The points where the accent colour appears in `after` and not in `before`: a
    // focus ring.
    static int accentAppearing(const QImage &before, const QImage &after, const QColor &accent)
    {
        int count = 0;
        for (int y = 0; y < after.height(); ++y) {
            for (int x = 0; x < after.width(); ++x) {
                const QColor now = after.pixelColor(x, y);
                if (now != before.pixelColor(x, y) && now.hsvSaturationF() >= 0.25
                    && qAbs(now.hsvHue() - accent.hsvHue()) < 20)
                    ++count;
            }
        }
        return count;
    }

    // Operates the focused control by its key; true when it reacted.
    static bool operate(QWidget *control)
    {
        QWidget *keys = focused();
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

    ViewFixture m_fix;

private slots:
    void everyWindow_data()
    {
        QTest::addColumn<ViewFixture::Window>("window");
        QTest::addColumn<int>("page");
        QTest::addColumn<QString>("firstFocus");
        QTest::newRow("popover, timer") << ViewFixture::popoverTimer << 0 << "Event Name";
        QTest::newRow("popover, screensaver")
            << ViewFixture::popoverScreensaver << 0 << "Screensaver";
        QTest::newRow("settings") << ViewFixture::settings << 0 << "Event name";
        const char *pages[] = {"welcome", "event", "date", "screensaver", "tour"};
        for (int page = 0; page < 5; ++page)
            QTest::addRow("guide, %s", pages[page])
                << ViewFixture::guide << page << (page == 1 ? "Event name" : "");
    }

    void everyWindow()
    {
        QFETCH(ViewFixture::Window, window);
        QFETCH(int, page);
        QFETCH(QString, firstFocus);
        QWidget *shown = open(window, page);
        QVERIFY(shown && focused());
        if (!firstFocus.isEmpty())
            QCOMPARE(name(focused()).section(u'/', 0, 0), firstFocus);

        // Reached: each control once per round, in reading order from the top.
        const QList<QWidget *> chain = tabRound();
        QStringList unreachable;
        for (QWidget *control : controls(shown)) {
            if (!chain.contains(control))
                unreachable << name(control);
        }
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

        // Each shows a ring in the accent colour while it has the focus, drawn by the
        // control or by the box around it, scrolled into view or not.
        const QColor accent = Look::accent(shown->palette());
        for (QWidget *control : chain) {
            QWidget *box = control->parentWidget();
            const QRect area = control->geometry().adjusted(-12, -12, 12, 12) & box->rect();
            focused()->clearFocus();
            const QImage before = box->grab(area).toImage();
            control->setFocus(Qt::TabFocusReason);
            if (qobject_cast<QLineEdit *>(control) || qobject_cast<QAbstractSpinBox *>(control))
                QTest::keyClick(focused(), Qt::Key_End); // no selection
            QVERIFY2(accentAppearing(before, box->grab(area).toImage(), accent) >= 20,
                qPrintable(QStringLiteral("no focus ring on %1").arg(name(control))));
        }

        // Operated: each control's own key; after a button, in a window opened afresh.
        QStringList inoperable;
        shown = nullptr;
        qsizetype at = 0;
        for (qsizetype i = 0; i < chain.size(); ++i) {
            if (!shown) {
                shown = open(window, page);
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
        QVERIFY2(inoperable.isEmpty(), qPrintable(inoperable.join(u' ')));
    }

    // The delay stepper steps by its actions, as a screen reader's commands do.
    void stepperActions()
    {
        QWidget *shown = open(ViewFixture::popoverScreensaver, 0);
        QVERIFY(shown);
        QAccessibleActionInterface *actions
            = QAccessible::queryAccessibleInterface(shown->findChild<Stepper *>())
                  ->actionInterface();
        QVERIFY(actions);
        actions->doAction(QAccessibleActionInterface::increaseAction());
        QCOMPARE(m_fix.model->idleMinutes(), 6);
        actions->doAction(QAccessibleActionInterface::decreaseAction());
        QCOMPARE(m_fix.model->idleMinutes(), 5);
    }

    void ctrlTabSwitchesTabs_data()
    {
        QTest::addColumn<QKeySequence>("keys");
        QTest::newRow("Ctrl+Tab") << QKeySequence(Qt::CTRL | Qt::Key_Tab);
        QTest::newRow("Ctrl+Page Down") << QKeySequence(Qt::CTRL | Qt::Key_PageDown);
        QTest::newRow("Ctrl+Shift+Tab") << QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab);
        QTest::newRow("Ctrl+Page Up") << QKeySequence(Qt::CTRL | Qt::Key_PageUp);
    }

    void ctrlTabSwitchesTabs()
    {
        QFETCH(QKeySequence, keys);
        QWidget *shown = open(ViewFixture::popoverTimer, 0);
        QVERIFY(shown);
        TimerView *view = static_cast<Popover *>(shown)->timerView();
        const int height = shown->height();
        QTest::keySequence(view->nameField(), keys);
        QCOMPARE(view->tab(), TimerView::Tab::screensaver);
        QVERIFY(view->screensaverView()->isVisible());
        QTest::keySequence(focused(), keys);
        QCOMPARE(view->tab(), TimerView::Tab::timer);
        QCOMPARE(shown->height(), height);
    }
};

QTEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
