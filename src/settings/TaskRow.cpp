#include "settings/TaskRow.h"

#include "model/TimerViewModel.h"
#include "ui/Look.h"
#include "ui/SingleLineText.h"
#include "ui/TextField.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLineEdit>

TaskRow::TaskRow(TimerViewModel &viewModel, qsizetype position, QWidget *parent)
    : QWidget(parent)
    , m_viewModel(viewModel)
    , m_position(position)
    , m_done(new QCheckBox(this))
    , m_text(new TextField(this))
{
    const QString number = QString::number(position + 1);
    m_text->setAccessibleName(tr("Task %lld").replace(QStringLiteral("%lld"), number));
    m_text->setPlaceholderText(
        tr("Task %lld: type to add").replace(QStringLiteral("%lld"), number));
    SingleLineText::apply(m_text);
    Look::makeRounded(m_text);

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_done, 0, Qt::AlignVCenter);
    layout->addWidget(m_text, 1, Qt::AlignVCenter);

    connect(m_done, &QCheckBox::clicked, this, &TaskRow::setCompleted);
    connect(m_text, &QLineEdit::textEdited, this, &TaskRow::setText);
    refresh();
}

void TaskRow::refresh()
{
    const TodoList &todos = m_viewModel.todos();
    const bool inRange = m_position >= 0 && m_position < todos.size();
    m_done->setChecked(inRange && todos[m_position].isCompleted);
    // Named after its task, so "done" is said of something; the tooltip says the same,
    // so a screen reader has no second, vaguer text to read after it.
    const QString text = inRange ? todos[m_position].text.trimmed() : QString();
    const QString name = text.isEmpty() ? tr("Mark task %1 as done").arg(m_position + 1)
                                        : tr("Mark “%1” as done").arg(text);
    m_done->setAccessibleName(name);
    m_done->setToolTip(name);
    Look::setTextKeepingCursor(m_text, inRange ? todos[m_position].text : QString());
}

void TaskRow::setCompleted(bool completed)
{
    TodoList todos = m_viewModel.todos();
    if (m_position < 0 || m_position >= todos.size())
        return;
    todos[m_position].isCompleted = completed;
    m_viewModel.setTodos(todos);
}

void TaskRow::setText(const QString &text)
{
    TodoList todos = m_viewModel.todos();
    if (m_position < 0 || m_position >= todos.size())
        return;
    todos[m_position].text = text;
    m_viewModel.setTodos(todos);
}
