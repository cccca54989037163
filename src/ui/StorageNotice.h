#pragma once

#include <QLabel>

class TimerViewModel;

// The model's word on the settings file: a failed save, and, where asked for, the
// copy kept of a file that could not be read in full. Hidden while there is none.
class StorageNotice : public QLabel
{
    Q_OBJECT

public:
    enum class Shows { saveProblem, saveProblemAndDamagedFile };

    StorageNotice(const TimerViewModel &viewModel, Shows shows, QWidget *parent = nullptr);

private:
    void refresh();

    const TimerViewModel &m_viewModel;
    Shows m_shows;
};
