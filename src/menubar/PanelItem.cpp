#include "menubar/PanelItem.h"

#include "platform/statusnotifier/StatusNotifierItem.h"
#include "ui/PaletteFollower.h"

#include <QCursor>
#include <QDBusConnection>
#include <QGuiApplication>
#include <QMenu>
#include <QSystemTrayIcon>
#include <QTimer>

namespace {

QList<SniPixmap> pixmaps(PanelIcon::Disc disc)
{
    QList<SniPixmap> list;
    for (int size : PanelIcon::sizes())
        list << SniPixmap::fromImage(PanelIcon::image(size, disc));
    return list;
}

} // namespace

PanelItem::PanelItem(const QDBusConnection &bus, QObject *parent)
    : QObject(parent)
    , m_open(tr("Open Daystride"))
    , m_showCountdown(tr("Show Countdown"))
    , m_settings(tr("Settings…"))
    , m_quit(tr("Quit"))
{
    m_separator.setSeparator(true);
    connect(&m_open, &QAction::triggered, this, &PanelItem::openRequested);
    connect(&m_showCountdown, &QAction::triggered, this, &PanelItem::showCountdownRequested);
    connect(&m_settings, &QAction::triggered, this, &PanelItem::settingsRequested);
    connect(&m_quit, &QAction::triggered, this, &PanelItem::quitRequested);

    if (bus.isConnected()) {
        m_item = std::make_unique<StatusNotifierItem>(bus, menuActions());
        connect(m_item.get(), &StatusNotifierItem::activated, this, &PanelItem::activated);
        connect(m_item.get(), &StatusNotifierItem::stateChanged, this, &PanelItem::updateFallback);
    } else {
        QTimer::singleShot(0, this, &PanelItem::updateFallback);
    }
    m_disc = PanelIcon::discFor(QGuiApplication::palette());
    if (m_item)
        m_item->setIcon(pixmaps(m_disc));
    PaletteFollower::follow(this, [this] { updateIcon(); });
}

PanelItem::~PanelItem() = default;

QList<QAction *> PanelItem::menuActions()
{
    return {&m_open, &m_showCountdown, &m_separator, &m_settings, &m_quit};
}

void PanelItem::setText(const QString &text, const QString &spoken)
{
    if (text == m_text && spoken == m_spoken)
        return;
    m_text = text;
    m_spoken = spoken;
    if (m_item)
        m_item->setLabel(text, spoken);
    if (m_tray)
        m_tray->setToolTip(toolTip());
}

QString PanelItem::toolTip() const
{
    if (!m_spoken.isEmpty())
        return m_spoken;
    return m_text.trimmed().isEmpty() ? QStringLiteral("Daystride") : m_text.trimmed();
}

void PanelItem::updateIcon()
{
    const PanelIcon::Disc disc = PanelIcon::discFor(QGuiApplication::palette());
    if (disc == m_disc)
        return;
    m_disc = disc;
    if (m_item)
        m_item->setIcon(pixmaps(disc));
    if (m_tray)
        m_tray->setIcon(PanelIcon::icon(disc));
}

bool PanelItem::usesTrayIcon() const
{
    return m_tray != nullptr;
}

QString PanelItem::takeActivationToken()
{
    return m_item ? m_item->takeActivationToken() : QString();
}

void PanelItem::updateFallback()
{
    const bool needed = !m_item || m_item->state() == StatusNotifierItem::State::unlisted;
    if (!needed) {
        // Only a listed item replaces the stand-in; while waiting, keep what is shown.
        if (m_item->isRegistered()) {
            m_tray.reset();
            m_trayMenu.reset();
        }
        return;
    }
    if (m_tray)
        return;
    m_trayMenu = std::make_unique<QMenu>();
    m_trayMenu->addActions(menuActions());
    m_tray = std::make_unique<QSystemTrayIcon>(PanelIcon::icon(m_disc));
    m_tray->setToolTip(toolTip());
    m_tray->setContextMenu(m_trayMenu.get());
    connect(m_tray.get(), &QSystemTrayIcon::activated, this, [this](auto reason) {
        if (reason == QSystemTrayIcon::Trigger || reason == QSystemTrayIcon::MiddleClick) {
            const QRect area = m_tray->geometry();
            emit activated(area.isValid() ? area.bottomLeft() : QCursor::pos());
        }
    });
    m_tray->show();
}
