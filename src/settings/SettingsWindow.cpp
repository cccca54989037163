#include "settings/SettingsWindow.h"

#include "model/TimerViewModel.h"
#include "platform/Platform.h"
#include "settings/SettingsView.h"

SettingsWindow::SettingsWindow(TimerViewModel &viewModel, QObject *parent)
    : QObject(parent)
    , m_viewModel(viewModel)
{
}

SettingsWindow::~SettingsWindow()
{
    delete m_view;
}

void SettingsWindow::setShowWelcomeGuide(std::function<void()> action)
{
    m_showWelcomeGuide = std::move(action);
}

void SettingsWindow::open()
{
    // A window just closed is only waiting to be deleted: open a fresh one.
    if (m_view && !m_view->isVisible())
        m_view.clear();
    if (!m_view) {
        // Called through this object, so a hook set after the window opened is used.
        m_view = new SettingsView(m_viewModel, [this] {
            if (m_showWelcomeGuide)
                m_showWelcomeGuide();
        });
        m_view->setAttribute(Qt::WA_DeleteOnClose);
        m_view->show();
    }
    m_viewModel.platform().activate(m_view);
}

SettingsView *SettingsWindow::view() const
{
    return m_view;
}

void SettingsWindow::close()
{
    if (m_view)
        m_view->close();
}
