#include "ui/WindowIcon.h"

QIcon WindowIcon::make(const QString &scalableFile)
{
    return QIcon(new WindowIcon(QIcon(scalableFile)));
}

WindowIcon::WindowIcon(const QIcon &scalable)
    : m_scalable(scalable)
{
}

void WindowIcon::paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state)
{
    m_scalable.paint(painter, rect, Qt::AlignCenter, mode, state);
}

QPixmap WindowIcon::pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state)
{
    return m_scalable.pixmap(size, mode, state);
}

QPixmap WindowIcon::scaledPixmap(
    const QSize &size, QIcon::Mode mode, QIcon::State state, qreal scale)
{
    return m_scalable.pixmap(size, scale, mode, state);
}

QList<QSize> WindowIcon::availableSizes(QIcon::Mode, QIcon::State)
{
    // Taskbars, window lists and switchers on X11 pick among these; larger views
    // take the icon the desktop entry names.
    return {QSize(16, 16), QSize(24, 24), QSize(32, 32), QSize(48, 48)};
}

QIconEngine *WindowIcon::clone() const
{
    return new WindowIcon(m_scalable);
}

bool WindowIcon::isNull()
{
    return m_scalable.isNull();
}
