#include "ScreensaverController.h"

#include "model/TimerViewModel.h"

#include <QWidget>

ScreensaverController::ScreensaverController(TimerViewModel *viewModel)
    : m_viewModel(viewModel)
    , m_shownAt(distantPast())
{
}

ScreensaverController::~ScreensaverController() = default;

QDateTime ScreensaverController::distantPast()
{
    return QDateTime(QDate(1, 1, 1), QTime(0, 0), Qt::UTC);
}
