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
#include <QAccessibleValueInterface>
#include <QLineEdit>
#include <QMetaEnum>
#include <QSignalSpy>
#include <QTest>

// Every window as a keyboard user and a screen reader meet it: Tab reaches each
// control in reading order, each shows that it has the focus and its key operates it;
// each is named and in its role in the tree Qt hands to the accessibility bus.
class TestAccessibility : public QObject
{
    Q_OBJECT

    // Opens `window` on a model of its own; `page` is the guide's.
    QWidget *open(ViewFixture::Window window, int page)
    {
        m_fix.restart({{"onboarded", true}, {"savedEventName", "Launch"},
            {"savedDate", QDateTime(QDate(2026, 3, 9), QTime(15, 30))}, {"idleEnabled", true},
            {"idleMinutes", 5}});
        TodoList todos = m_fix.model->todos();
        todos[0].text = QStringLiteral("Pack");
        todos[0].isCompleted = true;
        m_fix.model->setTodos(todos);
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

    static QString roleName(QAccessible::Role role)
    {
        return QString::fromLatin1(QMetaEnum::fromType<QAccessible::Role>().valueToKey(role));
    }

    // A role that says nothing of what the control is or does.
    static bool isGeneric(QAccessibleInterface *node)
    {
        switch (node->role()) {
        case QAccessible::Client:
        case QAccessible::Pane:
        case QAccessible::Grouping:
        case QAccessible::NoRole:
            return true;
        default:
            break;
        }
        // A button that stays pressed is a check box, a tab or a radio button.
        auto *button = qobject_cast<QAbstractButton *>(node->object());
        if (button && button->isCheckable() && node->role() == QAccessible::Button)
            return true;
        if (node->role() == QAccessible::SpinBox) {
            if (node->text(QAccessible::Value).isEmpty())
                return true;
            QAccessibleValueInterface *value = node->valueInterface();
            if (value && value->maximumValue().toDouble() <= value->minimumValue().toDouble())
                return true;
        }
        return false;
    }

    // Every visible node in reading order as "Role name"; what a screen reader could not
    // name, place or read goes into `faults`.
    static void walk(QAccessibleInterface *node, QStringList &seen, QStringList &faults)
    {
        for (int i = 0; i < node->childCount(); ++i) {
            QAccessibleInterface *child = node->child(i);
            if (!child || child->state().invisible)
                continue;
            const QString name = child->text(QAccessible::Name);
            seen << roleName(child->role()) + u' ' + name
                    + (child->state().checked ? QStringLiteral(" (checked)") : QString());
            const QString where = seen.last() + u' '
                + (child->object() ? child->object()->metaObject()->className() : "");
            if (child->state().focusable && name.trimmed().isEmpty())
                faults << QStringLiteral("no name: ") + where;
            if (child->state().focusable && isGeneric(child))
                faults << QStringLiteral("generic: ") + where;
            auto *box = qobject_cast<QAbstractSpinBox *>(child->object());
            if (box && child->text(QAccessible::Value) != box->text())
                faults << QStringLiteral("value not as shown: ") + where;
            walk(child, seen, faults);
        }
    }

    ViewFixture m_fix;

private slots:
    void everyWindow_data()
    {
        QTest::addColumn<ViewFixture::Window>("window");
        QTest::addColumn<int>("page");
        QTest::addColumn<QString>("firstFocus");
        // Nodes a screen reader meets in this order.
        QTest::addColumn<QStringList>("reading");
        QTest::newRow("popover, timer")
            << ViewFixture::popoverTimer << 0 << "Event Name"
            << QStringList {"PageTab Timer (checked)", "PageTab Screensaver", "SpinBox Date"};
        QTest::newRow("popover, screensaver")
            << ViewFixture::popoverScreensaver << 0 << "Screensaver"
            << QStringList {"StaticText SECONDARY TEXT", "EditableText Secondary Text",
                   "StaticText TASKS", "CheckBox Pack (checked)", "SpinBox Delay"};
        QTest::newRow("settings") << ViewFixture::settings << 0 << "Event name"
                                  << QStringList {"EditableText Event name"};
        const char *pages[] = {"welcome", "event", "date", "screensaver", "tour"};
        for (int page = 0; page < 5; ++page) {
            QTest::addRow("guide, %s", pages[page])
                << ViewFixture::guide << page << (page == 1 ? "Event name" : "") << QStringList();
        }
    }

    void everyWindow()
    {
        QFETCH(ViewFixture::Window, window);
        QFETCH(int, page);
        QFETCH(QString, firstFocus);
        QFETCH(QStringList, reading);
        QWidget *shown = open(window, page);
        QVERIFY(shown && focused());
        if (!firstFocus.isEmpty())
            QCOMPARE(name(focused()).section(u'/', 0, 0), firstFocus);

        // Named and in its role, in reading order.
        QStringList seen, faults;
        walk(QAccessible::queryAccessibleInterface(shown), seen, faults);
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(u'\n')));
        qsizetype at = 0;
        for (const QString &node : reading) {
            at = seen.indexOf(node, at);
            QVERIFY2(at >= 0,
                qPrintable(node + QStringLiteral(" not in order among: ") + seen.join(u'|')));
        }

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
        at = 0;
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

    // The delay stepper offers its value, range and steps.
    void stepperValueAndActions()
    {
        QWidget *shown = open(ViewFixture::popoverScreensaver, 0);
        QVERIFY(shown);
        QAccessibleInterface *node
            = QAccessible::queryAccessibleInterface(shown->findChild<Stepper *>());
        QCOMPARE(node->text(QAccessible::Name), QStringLiteral("Delay"));
        QCOMPARE(node->text(QAccessible::Value), QStringLiteral("5 min"));
        QAccessibleValueInterface *value = node->valueInterface();
        QAccessibleActionInterface *actions = node->actionInterface();
        QVERIFY(value && actions);
        QCOMPARE(value->currentValue().toInt(), 5);
        QCOMPARE(value->minimumValue().toInt(), 1);
        QCOMPARE(value->maximumValue().toInt(), 120);
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
