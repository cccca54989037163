#pragma once

#include "menubar/PanelIcon.h"

#include <QAction>
#include <QDBusConnection>
#include <QObject>
#include <QPoint>
#include <QString>

#include <memory>

class QMenu;
class QSystemTrayIcon;
class StatusNotifierItem;

// The item in the desktop panel: a StatusNotifierItem with its menu (Open
// Daystride, Show Countdown, Settings…, Quit), and the toolkit's tray icon in its
// place only while no watcher has ever listed the item.
class PanelItem : public QObject
{
    Q_OBJECT

public:
    explicit PanelItem(
        const QDBusConnection &bus = QDBusConnection::sessionBus(), QObject *parent = nullptr);
    ~PanelItem() override;

    QString text() const { return m_text; }
    // Changes the label and tooltip only when the text really differs.
    // `spoken`: the time left in words, for the tooltip a screen reader reads.
    void setText(const QString &text, const QString &spoken = QString());

    StatusNotifierItem *statusNotifierItem() const { return m_item.get(); }
    bool usesTrayIcon() const;
    QList<QAction *> menuActions();

    // The activation token the host gave with the latest click (Wayland's
    // xdg-activation), for the window that the click opens; empty once taken.
    QString takeActivationToken();

signals:
    // A click on the item; the point is in screen coordinates, (0, 0) when unknown.
    void activated(const QPoint &at);
    void openRequested();
    void showCountdownRequested();
    void settingsRequested();
    void quitRequested();

private:
    void updateFallback();
    // The icon in the tone that stands out from a panel in the desktop's colours.
    void updateIcon();

    QString toolTip() const;
    QString m_text;
    QString m_spoken;
    PanelIcon::Disc m_disc = PanelIcon::Disc::dark;
    QAction m_open;
    QAction m_showCountdown;
    QAction m_separator;
    QAction m_settings;
    QAction m_quit;
    std::unique_ptr<StatusNotifierItem> m_item;
    std::unique_ptr<QMenu> m_trayMenu;
    std::unique_ptr<QSystemTrayIcon> m_tray;
};
