#include "menubar/ScreensaverSettingsView.h"

#include "model/TimerViewModel.h"
#include "ui/IdleNotice.h"
#include "ui/Look.h"
#include "ui/RoundedBox.h"
#include "ui/SingleLineText.h"
#include "ui/Stepper.h"
#include "ui/Switch.h"
#include "ui/SymbolIcon.h"
#include "ui/TextField.h"
#include "ui/Units.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

QVBoxLayout *section(const QString &title, QWidget *box, QWidget *parent)
{
    auto *stack = new QVBoxLayout;
    stack->setSpacing(6);
    // Shown in capitals, as written otherwise; read before the box it titles.
    QLabel *caption = Look::caption(title.toUpper(), parent);
    caption->stackUnder(box);
    stack->addWidget(caption);
    stack->addWidget(box);
    return stack;
}

QLabel *rowSymbol(const QString &name, QWidget *parent)
{
    auto *icon = new QLabel(parent);
    icon->setFixedWidth(16);
    SymbolIcon::show(icon, name, 16, &Look::accent);
    return icon;
}

} // namespace

ScreensaverSettingsView::ScreensaverSettingsView(TimerViewModel &viewModel, QWidget *parent)
    : QWidget(parent)
    , m_viewModel(viewModel)
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(16);

    const QString subtitleTitle = tr("Secondary Text");
    auto *subtitleBox = new RoundedBox(this);
    m_subtitleBox = subtitleBox;
    auto *subtitleRow = new QHBoxLayout(subtitleBox);
    subtitleRow->setContentsMargins(10, 10, 10, 10);
    m_subtitleField = new TextField(subtitleBox);
    SingleLineText::apply(m_subtitleField);
    m_subtitleField->setPlaceholderText(tr("Shown under the event name"));
    m_subtitleField->setAccessibleName(subtitleTitle);
    Look::makePlain(m_subtitleField);
    // The box draws the field's focus ring.
    m_subtitleField->installEventFilter(this);
    subtitleRow->addWidget(m_subtitleField);
    layout->addLayout(section(subtitleTitle, subtitleBox, this));
    connect(m_subtitleField, &QLineEdit::textEdited, this,
        [this](const QString &text) { m_viewModel.setSubtitle(text); });

    m_tasksBox = new RoundedBox(this);
    new QVBoxLayout(m_tasksBox);
    layout->addLayout(section(tr("Tasks"), m_tasksBox, this));

    auto *idleBox = new RoundedBox(this);
    auto *idleRows = new QVBoxLayout(idleBox);
    idleRows->setContentsMargins(0, 0, 0, 0);
    idleRows->setSpacing(0);
    auto *switchRow = new QHBoxLayout;
    switchRow->setContentsMargins(10, 8, 10, 8);
    switchRow->setSpacing(8);
    switchRow->addWidget(rowSymbol(QStringLiteral("moon.zzz"), idleBox));
    auto *switchLabel = new QLabel(tr("Show when idle"), idleBox);
    switchRow->addWidget(switchLabel);
    switchRow->addStretch();
    m_idleSwitch = new Switch(idleBox);
    m_idleSwitch->setAccessibleName(tr("Show when idle"));
    switchLabel->setBuddy(m_idleSwitch);
    switchRow->addWidget(m_idleSwitch);
    idleRows->addLayout(switchRow);
    idleRows->addWidget(Look::divider(idleBox, 36));
    m_delayRow = new QWidget(idleBox);
    auto *delayRow = new QHBoxLayout(m_delayRow);
    delayRow->setContentsMargins(10, 8, 10, 8);
    delayRow->setSpacing(8);
    delayRow->addWidget(rowSymbol(QStringLiteral("timer"), m_delayRow));
    delayRow->addWidget(new QLabel(tr("Delay"), m_delayRow));
    delayRow->addStretch();
    m_delayStepper = new Stepper(1, 120, tr("%lld min"), m_delayRow);
    m_delayStepper->setAccessibleName(tr("Delay"));
    m_delayStepper->setSpokenText(
        [](qint64 count) { return Units::spoken(Units::minutes, count); });
    delayRow->addWidget(m_delayStepper);
    idleRows->addWidget(m_delayRow);
    layout->addLayout(section(tr("Idle"), idleBox, this));
    layout->addWidget(new IdleNotice(m_viewModel.platform(), this));
    connect(
        m_idleSwitch, &Switch::toggled, this, [this](bool on) { m_viewModel.setIdleEnabled(on); });
    connect(m_delayStepper, &Stepper::valueChanged, this,
        [this](qint64 minutes) { m_viewModel.setIdleMinutes(minutes); });

    // Changes from here and from elsewhere alike; each real change saves once.
    connect(&viewModel, &TimerViewModel::subtitleChanged, this, [this] {
        if (m_viewModel.subtitle() == m_seenSubtitle)
            return;
        m_seenSubtitle = m_viewModel.subtitle();
        refreshFromModel();
        saveIfShown();
    });
    connect(&viewModel, &TimerViewModel::todosChanged, this, [this] {
        if (m_viewModel.todos() == m_seenTodos)
            return;
        const bool rowsChange = m_viewModel.todos().size() != m_seenTodos.size();
        m_seenTodos = m_viewModel.todos();
        if (rowsChange)
            rebuildTaskRows();
        refreshFromModel();
        saveIfShown();
    });
    connect(&viewModel, &TimerViewModel::idleEnabledChanged, this, [this] {
        if (m_viewModel.idleEnabled() == m_seenIdleEnabled)
            return;
        m_seenIdleEnabled = m_viewModel.idleEnabled();
        refreshFromModel();
        saveIfShown();
    });
    connect(&viewModel, &TimerViewModel::idleMinutesChanged, this, [this] {
        if (m_viewModel.idleMinutes() == m_seenIdleMinutes)
            return;
        m_seenIdleMinutes = m_viewModel.idleMinutes();
        refreshFromModel();
        saveIfShown();
    });

    m_seenSubtitle = viewModel.subtitle();
    m_seenTodos = viewModel.todos();
    m_seenIdleEnabled = viewModel.idleEnabled();
    m_seenIdleMinutes = viewModel.idleMinutes();
    rebuildTaskRows();
    refreshFromModel();
}

void ScreensaverSettingsView::appear()
{
    if (QWidget *focused = focusWidget(); focused && m_taskFields.contains(focused))
        focused->clearFocus();
    m_focusedTask.reset();
    refreshFromModel();
}

void ScreensaverSettingsView::toggleTask(int index)
{
    TodoList todos = m_viewModel.todos();
    if (index < 0 || index >= todos.size())
        return;
    todos[index].isCompleted = !todos[index].isCompleted;
    m_viewModel.setTodos(todos);
}

void ScreensaverSettingsView::rebuildTaskRows()
{
    auto *rows = static_cast<QVBoxLayout *>(m_tasksBox->layout());
    while (QLayoutItem *item = rows->takeAt(0)) {
        delete item->widget();
        delete item;
    }
    m_taskFields.clear();
    m_taskChecks.clear();
    m_taskFrames.clear();
    rows->setContentsMargins(0, 0, 0, 0);
    rows->setSpacing(0);
    m_tasksBox->setVisible(!m_viewModel.todos().isEmpty());

    for (int i = 0; i < m_viewModel.todos().size(); ++i) {
        if (i > 0)
            rows->addWidget(Look::divider(m_tasksBox, 36));
        auto *row = new QWidget(m_tasksBox);
        auto *line = new QHBoxLayout(row);
        // The check's focus ring takes 2 of the margin and of the spacing.
        line->setContentsMargins(8, 5, 10, 5);
        line->setSpacing(8);
        QToolButton *check = Look::checkSymbol(row);
        connect(check, &QToolButton::clicked, this, [this, i] { toggleTask(i); });
        line->addWidget(check);

        auto *frame = new RoundedBox(RoundedBox::Style::field, row);
        auto *frameLine = new QHBoxLayout(frame);
        frameLine->setContentsMargins(8, 5, 8, 5);
        auto *field = new TextField(frame);
        SingleLineText::apply(field);
        const QString number = QString::number(i + 1);
        field->setAccessibleName(tr("Task %lld").replace(QStringLiteral("%lld"), number));
        field->setPlaceholderText(
            tr("Task %lld: type to add").replace(QStringLiteral("%lld"), number));
        Look::makePlain(field);
        field->installEventFilter(this);
        frameLine->addWidget(field);
        line->addWidget(frame, 1);
        connect(field, &QLineEdit::textEdited, this, [this, i](const QString &text) {
            TodoList todos = m_viewModel.todos();
            if (i >= todos.size())
                return;
            todos[i].text = text;
            m_viewModel.setTodos(todos);
        });
        rows->addWidget(row);
        m_taskFields << field;
        m_taskChecks << check;
        m_taskFrames << frame;
    }

    // The rows come after the controls below them: keep Tab going top to bottom.
    QList<QWidget *> chain = {m_subtitleField};
    for (qsizetype i = 0; i < m_taskFields.size(); ++i)
        chain << m_taskChecks[i] << m_taskFields[i];
    chain << m_idleSwitch << m_delayStepper;
    for (qsizetype i = 1; i < chain.size(); ++i)
        QWidget::setTabOrder(chain[i - 1], chain[i]);
}

void ScreensaverSettingsView::refreshFromModel()
{
    Look::setTextKeepingCursor(m_subtitleField, m_viewModel.subtitle());
    const TodoList &todos = m_viewModel.todos();
    for (int i = 0; i < m_taskFields.size() && i < todos.size(); ++i)
        Look::setTextKeepingCursor(m_taskFields[i], todos[i].text);
    {
        const QSignalBlocker block(m_idleSwitch);
        m_idleSwitch->setChecked(m_viewModel.idleEnabled());
    }
    {
        const QSignalBlocker block(m_delayStepper);
        m_delayStepper->setValue(m_viewModel.idleMinutes());
    }
    m_delayRow->setEnabled(m_viewModel.idleEnabled());
    refreshTaskLooks();
}

void ScreensaverSettingsView::refreshTaskLooks()
{
    const TodoList &todos = m_viewModel.todos();
    for (int i = 0; i < m_taskFields.size() && i < todos.size(); ++i) {
        const bool done = todos[i].isCompleted;
        m_taskChecks[i]->setIcon(done
                ? SymbolIcon::icon(QStringLiteral("checkmark.circle.fill"), Look::accent(palette()))
                : SymbolIcon::icon(QStringLiteral("circle"), Look::secondary(palette())));
        m_taskChecks[i]->setChecked(done);
        // Named after its task, so "done" is said of something; the tooltip says the
        // same, so a screen reader has no second, vaguer text to read after it.
        const QString name = todos[i].text.trimmed().isEmpty()
            ? tr("Mark task %1 as done").arg(i + 1)
            : tr("Mark “%1” as done").arg(todos[i].text.trimmed());
        m_taskChecks[i]->setAccessibleName(name);
        m_taskChecks[i]->setToolTip(name);
        QFont font = m_taskFields[i]->font();
        font.setStrikeOut(done);
        m_taskFields[i]->setFont(font);
        QPalette colours = m_taskFields[i]->palette();
        colours.setColor(
            QPalette::Text, done ? Look::secondary(palette()) : palette().color(QPalette::Text));
        m_taskFields[i]->setPalette(colours);
        m_taskFrames[i]->setFocusBorder(m_focusedTask == i);
    }
}

bool ScreensaverSettingsView::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_subtitleField
        && (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut)) {
        m_subtitleBox->setFocusBorder(event->type() == QEvent::FocusIn);
    } else if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut) {
        const int index = int(m_taskFields.indexOf(static_cast<QLineEdit *>(watched)));
        if (index >= 0) {
            if (event->type() == QEvent::FocusIn)
                m_focusedTask = index;
            else if (m_focusedTask == index)
                m_focusedTask.reset();
            refreshTaskLooks();
        }
    }
    return QWidget::eventFilter(watched, event);
}

void ScreensaverSettingsView::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::PaletteChange)
        refreshTaskLooks();
    QWidget::changeEvent(event);
}

void ScreensaverSettingsView::saveIfShown()
{
    if (isVisible())
        m_viewModel.save();
}
