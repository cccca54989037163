#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QPoint>
#include <QString>

#include <memory>

class QSystemTrayIcon;
class StatusNotifierItem;

// The item in the desktop panel: a StatusNotifierItem while a watcher is on the
// session bus, otherwise the toolkit's tray icon.
class PanelItem : public QObject
{
    Q_OBJECT

public:
    explicit PanelItem(
        const QDBusConnection &bus = QDBusConnection::sessionBus(), QObject *parent = nullptr);
    ~PanelItem() override;

    QString text() const { return m_text; }
    // Changes the label and tooltip only when the text really differs.
    void setText(const QString &text);

    StatusNotifierItem *statusNotifierItem() const { return m_item.get(); }
    bool usesTrayIcon() const;

signals:
    void activated(const QPoint &at);

private:
    void updateFallback();

    QString m_text;
    std::unique_ptr<StatusNotifierItem> m_item;
    std::unique_ptr<QSystemTrayIcon> m_tray;
};
