#include "ScreensaverWindow.h"

#include "ui/Accessibility.h"

#include <QCoreApplication>
#include <QVBoxLayout>

ScreensaverWindow::ScreensaverWindow(QWidget *platformWindow)
    : m_window(platformWindow)
{
    if (!m_window)
        return;
    m_frame = m_window->geometry();
    // Translated like every text; scripts and window rules find it by its class.
    m_window->setWindowTitle(
        QCoreApplication::translate("ScreensaverWindow", "Daystride Countdown"));
    Accessibility::setRole(m_window, QAccessible::Window);
    // Closing only hides it: the owner decides when it goes.
    m_window->setAttribute(Qt::WA_DeleteOnClose, false);
    m_window->setAttribute(Qt::WA_ShowWithoutActivating, false);
    m_window->setAttribute(Qt::WA_X11DoNotAcceptFocus, false);
    m_window->setFocusPolicy(Qt::StrongFocus);
    m_window->setMouseTracking(true);
    m_window->setAutoFillBackground(true);
    QPalette pal = m_window->palette();
    pal.setColor(QPalette::Window, Qt::black);
    m_window->setPalette(pal);
    if (!m_window->layout()) {
        auto *layout = new QVBoxLayout(m_window);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->setSpacing(0);
    }
}

ScreensaverWindow::~ScreensaverWindow()
{
    // Later: this may run inside the window's own input event.
    if (m_window)
        m_window->deleteLater();
}

void ScreensaverWindow::setContent(QWidget *content)
{
    if (!m_window)
        return;
    if (m_content)
        m_content->deleteLater();
    m_content = content;
    if (!content)
        return;
    content->setMouseTracking(true);
    if (content->focusPolicy() != Qt::NoFocus)
        m_window->setFocusProxy(content);
    m_window->layout()->addWidget(content);
}

void ScreensaverWindow::setFrame(const QRect &frame)
{
    m_frame = frame;
    if (m_window)
        m_window->setGeometry(frame);
}

void ScreensaverWindow::makeKeyAndOrderFront()
{
    if (!m_window)
        return;
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
    m_window->setFocus(Qt::ActiveWindowFocusReason);
}

void ScreensaverWindow::close()
{
    if (m_window)
        m_window->close();
}
