#pragma once

#include <QWidget>

class QLineEdit;
class QCheckBox;
class TimerViewModel;

// One row of the Tasks section, bound to the task at a fixed position: a "Done"
// checkbox and the task's text. Writing replaces the whole task list, so each click
// or keystroke is one change of the list.
class TaskRow : public QWidget
{
    Q_OBJECT

public:
    TaskRow(TimerViewModel &viewModel, qsizetype position, QWidget *parent = nullptr);

    qsizetype position() const { return m_position; }
    QCheckBox *doneBox() const { return m_done; }
    QLineEdit *textField() const { return m_text; }

    // Shows the model's task at this position.
    void refresh();

private:
    void setCompleted(bool completed);
    void setText(const QString &text);

    TimerViewModel &m_viewModel;
    const qsizetype m_position;
    QCheckBox *m_done = nullptr;
    QLineEdit *m_text = nullptr;
};
