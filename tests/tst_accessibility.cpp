#include "FakePlatform.h"
#include "TestEnvironment.h"
#include "menubar/Popover.h"
#include "menubar/TimerView.h"
#include "model/TimerViewModel.h"
#include "onboarding/OnboardingView.h"
#include "settings/SettingsView.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QAccessibleValueInterface>
#include <QDateEdit>
#include <QPushButton>
#include <QSettings>
#include <QTest>
#include <QToolButton>

// What a screen reader sees: the accessibility tree of every window and page, as
// Qt hands it to the desktop's accessibility bus.
class TestAccessibility : public QObject
{
    Q_OBJECT

    struct Node
    {
        QString name;
        QAccessible::Role role;
        QAccessible::State state;
        QString value;
    };

    // Every visible node in reading order; the focusable ones that a screen reader
    // could not name or place go into `faults`.
    static void walk(
        QAccessibleInterface *node, QList<Node> &seen, QStringList &unnamed, QStringList &generic)
    {
        for (int i = 0; i < node->childCount(); ++i) {
            QAccessibleInterface *child = node->child(i);
            if (!child || child->state().invisible)
                continue;
            const Node item {child->text(QAccessible::Name), child->role(), child->state(),
                child->text(QAccessible::Value)};
            seen << item;
            const QString where = QStringLiteral("%1 \"%2\" (role %3)")
                                      .arg(child->object() ? QString::fromLatin1(
                                               child->object()->metaObject()->className())
                                                           : QStringLiteral("item"),
                                          item.name)
                                      .arg(int(item.role));
            if (item.state.focusable) {
                if (item.name.trimmed().isEmpty())
                    unnamed << where;
                if (isGeneric(child))
                    generic << where;
            }
            walk(child, seen, unnamed, generic);
        }
    }

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

    static QList<Node> inspect(QWidget *window)
    {
        QList<Node> seen;
        QStringList unnamed;
        QStringList generic;
        walk(QAccessible::queryAccessibleInterface(window), seen, unnamed, generic);
        s_unnamed += unnamed.size();
        s_generic += generic.size();
        s_faults << unnamed.replaceInStrings(QStringLiteral("^"), QStringLiteral("no name: "))
                 << generic.replaceInStrings(QStringLiteral("^"), QStringLiteral("generic: "));
        return seen;
    }

    static QAccessibleInterface *find(
        QAccessibleInterface *node, const QString &name, QAccessible::Role role)
    {
        for (int i = 0; i < node->childCount(); ++i) {
            QAccessibleInterface *child = node->child(i);
            if (child->role() == role && child->text(QAccessible::Name) == name)
                return child;
            if (QAccessibleInterface *found = find(child, name, role))
                return found;
        }
        return nullptr;
    }

    static qsizetype indexOf(const QList<Node> &nodes, const QString &name, QAccessible::Role role)
    {
        for (qsizetype i = 0; i < nodes.size(); ++i) {
            if (nodes[i].name == name && nodes[i].role == role)
                return i;
        }
        return -1;
    }

    static inline QStringList s_faults;
    static inline int s_unnamed = 0;
    static inline int s_generic = 0;

    std::unique_ptr<TestEnvironment> m_env;
    std::unique_ptr<FakePlatform> m_platform;
    std::unique_ptr<TimerViewModel> m_model;

private slots:
    void initTestCase()
    {
        m_env = std::make_unique<TestEnvironment>();
        m_env->writeSettingsFile(QByteArray("[General]\nonboarded=true\n"));
        m_platform = std::make_unique<FakePlatform>();
        m_platform->setNow(QDateTime(QDate(2026, 3, 6), QTime(12, 0)));
        m_model = std::make_unique<TimerViewModel>(*m_platform);
        m_model->setEventName(QStringLiteral("Launch"));
        m_model->setTimerDate(QDateTime(QDate(2026, 3, 9), QTime(15, 30)));
        m_model->setIdleEnabled(true);
        m_model->setIdleMinutes(5);
        TodoList todos = m_model->todos();
        todos[0].text = QStringLiteral("Pack");
        todos[0].isCompleted = true;
        m_model->setTodos(todos);
    }

    void popover()
    {
        Popover popover(*m_model);
        popover.showAt(QPoint(900, 10));
        QVERIFY(QTest::qWaitForWindowExposed(&popover));
        TimerView *view = popover.timerView();
        QList<Node> timer = inspect(&popover);
        QVERIFY(indexOf(timer, QStringLiteral("Timer"), QAccessible::PageTab) >= 0);
        QVERIFY(indexOf(timer, QStringLiteral("Screensaver"), QAccessible::PageTab) >= 0);
        const qsizetype date = indexOf(timer, QStringLiteral("Date"), QAccessible::SpinBox);
        QVERIFY(date >= 0);
        QCOMPARE(timer[date].value, view->dateField()->text());

        QTest::mouseClick(view->screensaverTabButton(), Qt::LeftButton);
        const QList<Node> tab = inspect(&popover);
        // Captions come before the boxes they title.
        const qsizetype caption
            = indexOf(tab, QStringLiteral("SECONDARY TEXT"), QAccessible::StaticText);
        const qsizetype field
            = indexOf(tab, QStringLiteral("Secondary Text"), QAccessible::EditableText);
        QVERIFY(caption >= 0 && field > caption);
        const qsizetype tasks = indexOf(tab, QStringLiteral("TASKS"), QAccessible::StaticText);
        // The check of a task is named after it and says whether it is done.
        const qsizetype check = indexOf(tab, QStringLiteral("Pack"), QAccessible::CheckBox);
        QVERIFY(tasks > field && check > tasks);
        QVERIFY(tab[check].state.checked);
        const qsizetype delay = indexOf(tab, QStringLiteral("Delay"), QAccessible::SpinBox);
        QVERIFY(delay >= 0);
        QCOMPARE(tab[delay].value, QStringLiteral("5 min"));

        // The delay stepper offers its value, range and steps.
        QAccessibleInterface *stepper = find(QAccessible::queryAccessibleInterface(&popover),
            QStringLiteral("Delay"), QAccessible::SpinBox);
        QAccessibleValueInterface *value = stepper->valueInterface();
        QAccessibleActionInterface *actions = stepper->actionInterface();
        QVERIFY(value && actions);
        QCOMPARE(value->currentValue().toInt(), 5);
        QCOMPARE(value->minimumValue().toInt(), 1);
        QCOMPARE(value->maximumValue().toInt(), 120);
        actions->doAction(QAccessibleActionInterface::increaseAction());
        QCOMPARE(m_model->idleMinutes(), 6);
        actions->doAction(QAccessibleActionInterface::decreaseAction());
        QCOMPARE(m_model->idleMinutes(), 5);
    }

    void settings()
    {
        SettingsView settings(*m_model, [] {});
        settings.show();
        QVERIFY(QTest::qWaitForWindowExposed(&settings));
        const QList<Node> nodes = inspect(&settings);
        QVERIFY(indexOf(nodes, QStringLiteral("Event name"), QAccessible::EditableText) >= 0);
    }

    void guidePages()
    {
        OnboardingView guide(*m_model);
        guide.show();
        QVERIFY(QTest::qWaitForWindowExposed(&guide));
        for (int step = 0; step < OnboardingView::stepCount; ++step) {
            if (step > 0)
                QTest::keyClick(guide.primaryButton(), Qt::Key_Return);
            QCOMPARE(int(guide.step()), step);
            inspect(&guide);
        }
    }

    void cleanup()
    {
        const QStringList faults = std::exchange(s_faults, {});
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QStringLiteral("\n"))));
    }

    void cleanupTestCase()
    {
        qInfo("controls without a name: %d, with a generic role: %d", s_unnamed, s_generic);
    }
};

QTEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
