#include "ui/Accessibility.h"

#include "ui/CalendarDaysInterface.h"
#include "ui/Stepper.h"

#include <QAbstractButton>
#include <QAccessibleWidget>
#include <QCalendarWidget>
#include <QDateTimeEdit>
#include <QTableView>

namespace {

const char roleProperty[] = "daystrideAccessibleRole";

// A widget in the role it plays. A button keeps its text as its name, its check
// state and its press.
class RoleInterface : public QAccessibleWidget
{
public:
    RoleInterface(QWidget *widget, QAccessible::Role role)
        : QAccessibleWidget(widget, role)
    {
    }

    QString text(QAccessible::Text t) const override
    {
        QString text = QAccessibleWidget::text(t);
        if (t == QAccessible::Name && text.isEmpty() && button())
            text = button()->text().remove(QLatin1Char('&'));
        return text;
    }

    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        if (QAbstractButton *b = button(); b && b->isCheckable()) {
            state.checkable = true;
            state.checked = b->isChecked();
            if (role() == QAccessible::PageTab) {
                state.selectable = true;
                state.selected = b->isChecked();
            }
        }
        return state;
    }

    QStringList actionNames() const override
    {
        QStringList names = QAccessibleWidget::actionNames();
        if (button() && widget()->isEnabled())
            names.prepend(role() == QAccessible::CheckBox ? toggleAction() : pressAction());
        return names;
    }

    void doAction(const QString &name) override
    {
        if (button() && widget()->isEnabled() && (name == pressAction() || name == toggleAction()))
            button()->click();
        else
            QAccessibleWidget::doAction(name);
    }

private:
    QAbstractButton *button() const { return qobject_cast<QAbstractButton *>(widget()); }
};

// A read-only text of `text()`: how a screen reader finds the value as shown.
class ShownText : public QAccessibleTextInterface
{
public:
    virtual QString shown() const = 0;

    void selection(int, int *start, int *end) const override { *start = *end = 0; }
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override { }
    void removeSelection(int) override { }
    void setSelection(int, int, int) override { }
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override { }
    QString text(int start, int end) const override { return shown().mid(start, end - start); }
    int characterCount() const override { return int(shown().size()); }
    QRect characterRect(int) const override { return QRect(); }
    int offsetAtPoint(const QPoint &) const override { return -1; }
    void scrollToSubstring(int, int) override { }
    QString attributes(int offset, int *start, int *end) const override
    {
        *start = *end = offset;
        return QString();
    }
};

// A spin box read as the value it shows, which it also gives as a number.
class SpinValue : public QAccessibleWidget, public QAccessibleValueInterface, public ShownText
{
public:
    explicit SpinValue(QWidget *widget)
        : QAccessibleWidget(widget, QAccessible::SpinBox)
    {
    }

    void *interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::ValueInterface)
            return static_cast<QAccessibleValueInterface *>(this);
        if (type == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface *>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QString text(QAccessible::Text t) const override
    {
        return t == QAccessible::Value ? shown() : QAccessibleWidget::text(t);
    }
    using ShownText::text;
};

class StepperInterface : public SpinValue
{
public:
    explicit StepperInterface(Stepper *stepper)
        : SpinValue(stepper)
    {
    }

    // A stepper without a label of its own reads out the bare number.
    QString shown() const override
    {
        const QString spoken = stepper()->spokenText();
        return spoken.isEmpty() ? QString::number(stepper()->value()) : spoken;
    }

    QVariant currentValue() const override { return stepper()->value(); }
    void setCurrentValue(const QVariant &value) override
    {
        if (widget()->isEnabled())
            stepper()->stepBy(value.toLongLong() - stepper()->value());
    }
    QVariant maximumValue() const override { return stepper()->maximum(); }
    QVariant minimumValue() const override { return stepper()->minimum(); }
    QVariant minimumStepSize() const override { return 1; }

    QStringList actionNames() const override
    {
        QStringList names = QAccessibleWidget::actionNames();
        if (widget()->isEnabled())
            names << increaseAction() << decreaseAction();
        return names;
    }

    void doAction(const QString &name) override
    {
        if (!widget()->isEnabled())
            return;
        if (name == increaseAction())
            stepper()->stepBy(1);
        else if (name == decreaseAction())
            stepper()->stepBy(-1);
        else
            QAccessibleWidget::doAction(name);
    }

    QStringList keyBindingsForAction(const QString &name) const override
    {
        if (name == increaseAction())
            return {QStringLiteral("Up")};
        if (name == decreaseAction())
            return {QStringLiteral("Down")};
        return QAccessibleWidget::keyBindingsForAction(name);
    }

private:
    Stepper *stepper() const { return static_cast<Stepper *>(widget()); }
};

// A date or time field is read as its text ("9 Mar 2026", "15:30"), and offers the
// moment as a number only so that a screen reader hears of each change (the value
// changed event) and reads the new text.
class DateTimeInterface : public SpinValue
{
public:
    explicit DateTimeInterface(QDateTimeEdit *edit)
        : SpinValue(edit)
    {
        QObject::connect(edit, &QDateTimeEdit::dateTimeChanged, edit, [edit](const QDateTime &) {
            QAccessibleValueChangeEvent event(edit, number(edit->dateTime()));
            QAccessible::updateAccessibility(&event);
        });
    }

    // The field inside is this control, not a part of it.
    int childCount() const override { return 0; }
    QAccessibleInterface *child(int) const override { return nullptr; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }

    QString shown() const override { return edit()->text(); }

    QVariant currentValue() const override { return number(edit()->dateTime()); }
    void setCurrentValue(const QVariant &) override { }
    QVariant maximumValue() const override { return number(edit()->maximumDateTime()); }
    QVariant minimumValue() const override { return number(edit()->minimumDateTime()); }
    QVariant minimumStepSize() const override { return 0; }

private:
    // Seconds: a double holds them exactly.
    static QVariant number(const QDateTime &moment) { return double(moment.toSecsSinceEpoch()); }
    QDateTimeEdit *edit() const { return static_cast<QDateTimeEdit *>(widget()); }
};

QAccessibleInterface *createInterface(const QString &, QObject *object)
{
    auto *widget = qobject_cast<QWidget *>(object);
    if (!widget)
        return nullptr;
    if (const QVariant role = widget->property(roleProperty); role.isValid())
        return new RoleInterface(widget, QAccessible::Role(role.toInt()));
    if (auto *stepper = qobject_cast<Stepper *>(widget))
        return new StepperInterface(stepper);
    if (auto *edit = qobject_cast<QDateTimeEdit *>(widget))
        return new DateTimeInterface(edit);
    if (widget->objectName() == QLatin1String("qt_calendar_calendarview")) {
        for (QWidget *above = widget->parentWidget(); above; above = above->parentWidget()) {
            if (auto *calendar = qobject_cast<QCalendarWidget *>(above))
                return new CalendarDaysInterface(static_cast<QTableView *>(widget), calendar);
        }
    }
    return nullptr;
}

} // namespace

void Accessibility::install()
{
    static const bool installed = [] {
        QAccessible::installFactory(createInterface);
        return true;
    }();
    Q_UNUSED(installed);
}

void Accessibility::setRole(QWidget *widget, QAccessible::Role role)
{
    install();
    widget->setProperty(roleProperty, int(role));
}
