#include "platform/statusnotifier/DBusMenuExporter.h"

#include <QAction>
#include <QGuiApplication>
#include <QTimer>

DBusMenuExporter::DBusMenuExporter(const QDBusConnection &bus, const QString &path,
    const QList<QAction *> &actions, QObject *parent)
    : QObject(parent)
    , m_bus(bus)
    , m_path(path)
{
    registerStatusNotifierTypes();
    for (QAction *action : actions) {
        m_actions << action;
        // A changed text or state: hosts read the whole (small) layout again.
        connect(action, &QAction::changed, this, [this] { emit LayoutUpdated(++m_revision, 0); });
    }
    m_bus.registerObject(m_path, this,
        QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllSignals
            | QDBusConnection::ExportAllProperties);
}

DBusMenuExporter::~DBusMenuExporter()
{
    m_bus.unregisterObject(m_path);
}

QString DBusMenuExporter::textDirection() const
{
    return QGuiApplication::layoutDirection() == Qt::RightToLeft ? QStringLiteral("rtl")
                                                                 : QStringLiteral("ltr");
}

QVariantMap DBusMenuExporter::properties(int id, const QStringList &names) const
{
    QVariantMap all;
    if (id == 0) {
        all.insert(QStringLiteral("children-display"), QStringLiteral("submenu"));
    } else if (const QAction *action = m_actions.value(id - 1)) {
        if (action->isSeparator()) {
            all.insert(QStringLiteral("type"), QStringLiteral("separator"));
        } else {
            // dbusmenu marks mnemonics with '_': a literal one is doubled, Qt's '&' becomes '_'.
            QString label = action->text();
            label.replace(QLatin1Char('_'), QStringLiteral("__"));
            label.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
            label.replace(QLatin1Char('&'), QLatin1Char('_'));
            label.replace(QLatin1Char('\x01'), QLatin1Char('&'));
            all.insert(QStringLiteral("label"), label);
            all.insert(QStringLiteral("enabled"), action->isEnabled());
        }
        all.insert(QStringLiteral("visible"), action->isVisible());
    }
    if (names.isEmpty())
        return all;
    QVariantMap chosen;
    for (const QString &name : names) {
        if (all.contains(name))
            chosen.insert(name, all.value(name));
    }
    return chosen;
}

void DBusMenuExporter::unknownId(int id)
{
    if (calledFromDBus()) {
        sendErrorReply(QStringLiteral("com.canonical.dbusmenu.UnknownId"),
            QStringLiteral("No menu entry %1").arg(id));
    }
}

uint DBusMenuExporter::GetLayout(
    int parentId, int recursionDepth, const QStringList &propertyNames, DBusMenuLayoutItem &layout)
{
    if (!isKnown(parentId)) {
        unknownId(parentId);
        return m_revision;
    }
    layout.id = parentId;
    layout.properties = properties(parentId, propertyNames);
    // The menu is flat: only the root has children.
    if (parentId == 0 && recursionDepth != 0) {
        for (int id = 1; id <= m_actions.size(); ++id)
            layout.children << DBusMenuLayoutItem {id, properties(id, propertyNames), {}};
    }
    return m_revision;
}

DBusMenuItemPropertiesList DBusMenuExporter::GetGroupProperties(
    const QList<int> &ids, const QStringList &propertyNames)
{
    // No ids: every entry.
    QList<int> wanted = ids;
    if (wanted.isEmpty()) {
        for (int id = 0; id <= m_actions.size(); ++id)
            wanted << id;
    }
    DBusMenuItemPropertiesList list;
    for (int id : wanted) {
        if (isKnown(id))
            list << DBusMenuItemProperties {id, properties(id, propertyNames)};
    }
    return list;
}

QDBusVariant DBusMenuExporter::GetProperty(int id, const QString &name)
{
    const QVariantMap all = properties(id, {});
    if (!isKnown(id) || !all.contains(name)) {
        unknownId(id);
        return QDBusVariant(QString());
    }
    return QDBusVariant(all.value(name));
}

bool DBusMenuExporter::handleEvent(int id, const QString &eventId)
{
    if (!isKnown(id))
        return false;
    QAction *action = m_actions.value(id - 1);
    if (eventId == QLatin1String("clicked") && action && action->isEnabled()
        && !action->isSeparator()) {
        // After the reply has gone out: the action may quit the program.
        QTimer::singleShot(0, action, &QAction::trigger);
    }
    return true;
}

void DBusMenuExporter::Event(int id, const QString &eventId, const QDBusVariant &, uint)
{
    if (!handleEvent(id, eventId))
        unknownId(id);
}

QList<int> DBusMenuExporter::EventGroup(const DBusMenuEventList &events)
{
    QList<int> errors;
    for (const DBusMenuEvent &event : events) {
        if (!handleEvent(event.id, event.eventId))
            errors << event.id;
    }
    // Some not found: their ids are the answer; none found: an error.
    if (!events.isEmpty() && errors.size() == events.size())
        unknownId(errors.first());
    return errors;
}

bool DBusMenuExporter::AboutToShow(int id)
{
    if (!isKnown(id))
        unknownId(id);
    return false;
}

QList<int> DBusMenuExporter::AboutToShowGroup(const QList<int> &ids, QList<int> &idErrors)
{
    for (int id : ids) {
        if (!isKnown(id))
            idErrors << id;
    }
    if (!ids.isEmpty() && idErrors.size() == ids.size())
        unknownId(idErrors.first());
    // The menu never changes on being shown: no entry needs reading again.
    return {};
}
