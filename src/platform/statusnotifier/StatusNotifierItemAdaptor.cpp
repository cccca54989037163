#include "platform/statusnotifier/StatusNotifierItemAdaptor.h"

#include "platform/statusnotifier/StatusNotifierItem.h"

StatusNotifierItemAdaptor::StatusNotifierItemAdaptor(StatusNotifierItem *item)
    : QDBusAbstractAdaptor(item)
    , m_item(item)
{
    setAutoRelaySignals(false);
}

SniPixmapList StatusNotifierItemAdaptor::iconPixmap() const
{
    return m_item->icon();
}

SniToolTip StatusNotifierItemAdaptor::toolTip() const
{
    // The panel text is the tooltip; with nothing left to count, the name says what it is.
    const QString text = m_item->label().trimmed();
    return {QString(), m_item->icon(), text.isEmpty() ? QStringLiteral("Daystride") : text,
        m_item->description()};
}

QString StatusNotifierItemAdaptor::xAyatanaLabel() const
{
    return m_item->label();
}

QDBusObjectPath StatusNotifierItemAdaptor::menu() const
{
    return QDBusObjectPath(QString::fromLatin1(StatusNotifierItem::menuPath));
}

void StatusNotifierItemAdaptor::Activate(int x, int y)
{
    emit m_item->activated(QPoint(x, y));
}

void StatusNotifierItemAdaptor::SecondaryActivate(int x, int y)
{
    emit m_item->activated(QPoint(x, y));
}

void StatusNotifierItemAdaptor::ContextMenu(int x, int y)
{
    emit m_item->activated(QPoint(x, y));
}

void StatusNotifierItemAdaptor::Scroll(int, const QString &) { }

void StatusNotifierItemAdaptor::ProvideXdgActivationToken(const QString &token)
{
    m_item->m_activationToken = token;
}
