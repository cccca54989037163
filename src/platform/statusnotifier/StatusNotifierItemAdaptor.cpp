#include "platform/statusnotifier/StatusNotifierItemAdaptor.h"

#include "platform/statusnotifier/StatusNotifierItem.h"
#include "platform/statusnotifier/StatusNotifierItemState.h"

#include <QMutexLocker>

StatusNotifierItemAdaptor::StatusNotifierItemAdaptor(
    QObject *object, std::shared_ptr<StatusNotifierItemState> state)
    : QDBusAbstractAdaptor(object)
    , m_state(std::move(state))
{
    setAutoRelaySignals(false);
}

SniPixmapList StatusNotifierItemAdaptor::iconPixmap() const
{
    const QMutexLocker lock(&m_state->mutex);
    return m_state->icon;
}

SniToolTip StatusNotifierItemAdaptor::toolTip() const
{
    const QMutexLocker lock(&m_state->mutex);
    // The panel text is the tooltip; with nothing left to count, the name says what it is.
    const QString text = m_state->label.trimmed();
    return {QString(), m_state->icon, text.isEmpty() ? QStringLiteral("Daystride") : text,
        m_state->description};
}

QString StatusNotifierItemAdaptor::xAyatanaLabel() const
{
    const QMutexLocker lock(&m_state->mutex);
    return m_state->label;
}

QDBusObjectPath StatusNotifierItemAdaptor::menu() const
{
    return QDBusObjectPath(QString::fromLatin1(StatusNotifierItem::menuPath));
}

void StatusNotifierItemAdaptor::activate(const QPoint &at)
{
    // Under the lock, so the item cannot go while the call is posted to it; a call
    // still queued when it goes is dropped with it.
    const QMutexLocker lock(&m_state->mutex);
    if (StatusNotifierItem *item = m_state->item)
        QMetaObject::invokeMethod(
            item, [item, at] { emit item->activated(at); }, Qt::QueuedConnection);
}

void StatusNotifierItemAdaptor::Activate(int x, int y)
{
    activate(QPoint(x, y));
}

void StatusNotifierItemAdaptor::SecondaryActivate(int x, int y)
{
    activate(QPoint(x, y));
}

void StatusNotifierItemAdaptor::ContextMenu(int x, int y)
{
    activate(QPoint(x, y));
}

void StatusNotifierItemAdaptor::Scroll(int, const QString &) { }

void StatusNotifierItemAdaptor::ProvideXdgActivationToken(const QString &token)
{
    const QMutexLocker lock(&m_state->mutex);
    m_state->activationToken = token;
}
