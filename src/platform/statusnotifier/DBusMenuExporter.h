#pragma once

#include "platform/statusnotifier/StatusNotifierTypes.h"

#include <QDBusConnection>
#include <QDBusContext>
#include <QList>
#include <QObject>
#include <QPointer>

class QAction;

// A flat menu of actions published as com.canonical.dbusmenu, the menu that panel
// hosts show for a StatusNotifierItem. Entry ids are the actions' positions plus
// one; 0 is the root. Choosing an entry triggers its action once the host has had
// its answer.
class DBusMenuExporter : public QObject, protected QDBusContext
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "com.canonical.dbusmenu")
    Q_PROPERTY(uint Version READ version)
    Q_PROPERTY(QString TextDirection READ textDirection)
    Q_PROPERTY(QString Status READ status)
    Q_PROPERTY(QStringList IconThemePath READ iconThemePath)

public:
    DBusMenuExporter(const QDBusConnection &bus, const QString &path,
        const QList<QAction *> &actions, QObject *parent = nullptr);
    ~DBusMenuExporter() override;

    QString path() const { return m_path; }
    uint version() const { return 3; }
    QString textDirection() const;
    QString status() const { return QStringLiteral("normal"); }
    QStringList iconThemePath() const { return {}; }

public slots:
    uint GetLayout(int parentId, int recursionDepth, const QStringList &propertyNames,
        DBusMenuLayoutItem &layout);
    DBusMenuItemPropertiesList GetGroupProperties(
        const QList<int> &ids, const QStringList &propertyNames);
    QDBusVariant GetProperty(int id, const QString &name);
    void Event(int id, const QString &eventId, const QDBusVariant &data, uint timestamp);
    QList<int> EventGroup(const DBusMenuEventList &events);
    bool AboutToShow(int id);
    QList<int> AboutToShowGroup(const QList<int> &ids, QList<int> &idErrors);

signals:
    void ItemsPropertiesUpdated(const DBusMenuItemPropertiesList &updatedProps,
        const DBusMenuItemRemovedPropertiesList &removedProps);
    void LayoutUpdated(uint revision, int parent);
    void ItemActivationRequested(int id, uint timestamp);

private:
    bool isKnown(int id) const { return id >= 0 && id <= m_actions.size(); }
    QVariantMap properties(int id, const QStringList &names) const;
    bool handleEvent(int id, const QString &eventId);
    void unknownId(int id);

    QDBusConnection m_bus;
    QString m_path;
    QList<QPointer<QAction>> m_actions;
    uint m_revision = 1;
};
