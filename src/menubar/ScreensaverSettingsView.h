#pragma once

#include "model/Todo.h"

#include <QList>
#include <QWidget>

#include <optional>

class QLineEdit;
class QToolButton;
class RoundedBox;
class Stepper;
class Switch;
class TimerViewModel;

// The popover's second tab: the secondary line, the six tasks and the idle options,
// bound straight to the model and saved after every change while shown.
class ScreensaverSettingsView : public QWidget
{
    Q_OBJECT

public:
    explicit ScreensaverSettingsView(TimerViewModel &viewModel, QWidget *parent = nullptr);

    // Each time the tab is selected: no task focused, fields from the model.
    void appear();

    std::optional<int> focusedTask() const { return m_focusedTask; }
    void toggleTask(int index);

    // For tests and screenshots.
    QLineEdit *subtitleField() const { return m_subtitleField; }
    QList<QLineEdit *> taskFields() const { return m_taskFields; }
    QList<QToolButton *> taskChecks() const { return m_taskChecks; }
    QList<RoundedBox *> taskFrames() const { return m_taskFrames; }
    Switch *idleSwitch() const { return m_idleSwitch; }
    QWidget *delayRow() const { return m_delayRow; }
    Stepper *delayStepper() const { return m_delayStepper; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void rebuildTaskRows();
    void refreshFromModel();
    void refreshTaskLooks();
    void saveIfShown();

    TimerViewModel &m_viewModel;
    std::optional<int> m_focusedTask;

    RoundedBox *m_subtitleBox = nullptr;
    QLineEdit *m_subtitleField = nullptr;
    QWidget *m_tasksBox = nullptr;
    QList<QLineEdit *> m_taskFields;
    QList<QToolButton *> m_taskChecks;
    QList<RoundedBox *> m_taskFrames;
    Switch *m_idleSwitch = nullptr;
    QWidget *m_delayRow = nullptr;
    Stepper *m_delayStepper = nullptr;

    // What was last seen of each watched field: a write of an equal value is no change.
    QString m_seenSubtitle;
    TodoList m_seenTodos;
    bool m_seenIdleEnabled = false;
    qint64 m_seenIdleMinutes = 0;
};
