#include "menubar/PanelItem.h"

#include "menubar/PanelIcon.h"
#include "menubar/StatusNotifierItem.h"

#include <QCursor>
#include <QDBusConnection>
#include <QSystemTrayIcon>
#include <QTimer>

namespace {
// How long a missing watcher may take to answer before the tray icon stands in.
constexpr int fallbackDelayMilliseconds = 1500;
} // namespace

PanelItem::PanelItem(const QDBusConnection &bus, QObject *parent)
    : QObject(parent)
{
    if (bus.isConnected()) {
        m_item = std::make_unique<StatusNotifierItem>(bus);
        QList<SniPixmap> pixmaps;
        for (int size : {16, 22, 24, 32, 48})
            pixmaps << SniPixmap::fromImage(PanelIcon::image(size));
        m_item->setIcon(pixmaps);
        connect(m_item.get(), &StatusNotifierItem::activated, this, &PanelItem::activated);
        connect(
            m_item.get(), &StatusNotifierItem::registeredChanged, this, &PanelItem::updateFallback);
    }
    // Give the watcher a moment to answer before putting up the stand-in.
    QTimer::singleShot(m_item ? fallbackDelayMilliseconds : 0, this, &PanelItem::updateFallback);
}

PanelItem::~PanelItem() = default;

void PanelItem::setText(const QString &text)
{
    if (text == m_text)
        return;
    m_text = text;
    if (m_item)
        m_item->setLabel(text);
    if (m_tray)
        m_tray->setToolTip(text.trimmed().isEmpty() ? QStringLiteral("Daystride") : text.trimmed());
}

bool PanelItem::usesTrayIcon() const
{
    return m_tray != nullptr;
}

void PanelItem::updateFallback()
{
    const bool needed = !m_item || !m_item->isRegistered();
    if (!needed) {
        m_tray.reset();
        return;
    }
    if (m_tray)
        return;
    m_tray = std::make_unique<QSystemTrayIcon>(PanelIcon::icon());
    m_tray->setToolTip(m_text.trimmed().isEmpty() ? QStringLiteral("Daystride") : m_text.trimmed());
    connect(m_tray.get(), &QSystemTrayIcon::activated, this, [this](auto reason) {
        if (reason == QSystemTrayIcon::Trigger || reason == QSystemTrayIcon::Context
            || reason == QSystemTrayIcon::MiddleClick) {
            const QRect area = m_tray->geometry();
            emit activated(area.isValid() ? area.bottomLeft() : QCursor::pos());
        }
    });
    m_tray->show();
}
