#include "menubar/FocusOnShow.h"

#include <QEvent>
#include <QGuiApplication>
#include <QTimer>
#include <QWidget>
#include <QWindow>

FocusOnShow::FocusOnShow(QWindow *window, const QString &token)
    : QObject(window)
    , m_window(window)
    , m_token(token)
{
}

void FocusOnShow::request(QWidget *window, const QString &token)
{
    if (window)
        request(window->windowHandle(), token);
}

void FocusOnShow::request(QWindow *window, const QString &token)
{
    if (!window)
        return;
    if (QGuiApplication::platformName() != QLatin1String("wayland") || window->isExposed()) {
        (new FocusOnShow(window, token))->activate();
        return;
    }
    // One pending request per window: the latest token wins.
    for (FocusOnShow *pending : window->findChildren<FocusOnShow *>(Qt::FindDirectChildrenOnly))
        pending->deleteLater();
    window->installEventFilter(new FocusOnShow(window, token));
}

bool FocusOnShow::eventFilter(QObject *watched, QEvent *event)
{
    auto *handle = qobject_cast<QWindow *>(watched);
    if (event->type() == QEvent::Expose && handle && handle->isExposed()) {
        handle->removeEventFilter(this);
        // After the expose has been handled, so the first frame is on its way.
        QTimer::singleShot(0, this, &FocusOnShow::activate);
    }
    return false;
}

void FocusOnShow::activate()
{
    if (m_window && m_window->isVisible()) {
        // Qt's Wayland shell reads the token from the environment and clears it.
        if (!m_token.isEmpty() && QGuiApplication::platformName() == QLatin1String("wayland"))
            qputenv("XDG_ACTIVATION_TOKEN", m_token.toUtf8());
        m_window->raise();
        m_window->requestActivate();
    }
    deleteLater();
}
