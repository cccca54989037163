#pragma once

#include <QWidget>

class TimerViewModel;

class TimerView : public QWidget
{
    Q_OBJECT

public:
    explicit TimerView(TimerViewModel &viewModel, QWidget *parent = nullptr);
    void appear();

signals:
    void closeRequested();
    void settingsRequested();

private:
    TimerViewModel &m_viewModel;
};
