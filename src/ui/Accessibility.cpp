#include "ui/Accessibility.h"

#include "ui/Stepper.h"

#include <QAbstractButton>
#include <QAccessibleWidget>
#include <QDateTimeEdit>
#include <QLineEdit>

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

class StepperInterface : public QAccessibleWidget, public QAccessibleValueInterface
{
public:
    explicit StepperInterface(Stepper *stepper)
        : QAccessibleWidget(stepper, QAccessible::SpinBox)
    {
    }

    void *interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::ValueInterface)
            return static_cast<QAccessibleValueInterface *>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QString text(QAccessible::Text t) const override
    {
        if (t != QAccessible::Value)
            return QAccessibleWidget::text(t);
        // A stepper without a label of its own reads out the bare number.
        const QString shown = stepper()->text();
        return shown.isEmpty() ? QString::number(stepper()->value()) : shown;
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

// A date or time field is read as its text ("9 Mar 2026", "15:30"): a date has no
// numeric value or range to offer, so there is no value interface, and the text is
// that of the field inside.
class DateTimeInterface : public QAccessibleWidget, public QAccessibleTextInterface
{
public:
    explicit DateTimeInterface(QDateTimeEdit *edit)
        : QAccessibleWidget(edit, QAccessible::SpinBox)
    {
    }

    void *interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface *>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    // The field inside is this control, not a part of it.
    int childCount() const override { return 0; }
    QAccessibleInterface *child(int) const override { return nullptr; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Value)
            return static_cast<QDateTimeEdit *>(widget())->text();
        return QAccessibleWidget::text(t);
    }

    void selection(int index, int *start, int *end) const override
    {
        *start = *end = 0;
        if (auto *f = field())
            f->selection(index, start, end);
    }
    int selectionCount() const override { return field() ? field()->selectionCount() : 0; }
    void addSelection(int start, int end) override
    {
        if (auto *f = field())
            f->addSelection(start, end);
    }
    void removeSelection(int index) override
    {
        if (auto *f = field())
            f->removeSelection(index);
    }
    void setSelection(int index, int start, int end) override
    {
        if (auto *f = field())
            f->setSelection(index, start, end);
    }
    int cursorPosition() const override { return field() ? field()->cursorPosition() : 0; }
    void setCursorPosition(int position) override
    {
        if (auto *f = field())
            f->setCursorPosition(position);
    }
    QString text(int start, int end) const override
    {
        return field() ? field()->text(start, end) : QString();
    }
    int characterCount() const override { return field() ? field()->characterCount() : 0; }
    QRect characterRect(int offset) const override
    {
        return field() ? field()->characterRect(offset) : QRect();
    }
    int offsetAtPoint(const QPoint &point) const override
    {
        return field() ? field()->offsetAtPoint(point) : -1;
    }
    void scrollToSubstring(int start, int end) override
    {
        if (auto *f = field())
            f->scrollToSubstring(start, end);
    }
    QString attributes(int offset, int *start, int *end) const override
    {
        *start = *end = offset;
        return field() ? field()->attributes(offset, start, end) : QString();
    }

private:
    QAccessibleTextInterface *field() const
    {
        auto *edit = widget()->findChild<QLineEdit *>(QString(), Qt::FindDirectChildrenOnly);
        QAccessibleInterface *inner = edit ? QAccessible::queryAccessibleInterface(edit) : nullptr;
        return inner ? inner->textInterface() : nullptr;
    }
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
