#pragma once

#include "platform/statusnotifier/StatusNotifierTypes.h"

#include <QDBusAbstractAdaptor>
#include <QDBusObjectPath>

#include <memory>

struct StatusNotifierItemState;

// The org.kde.StatusNotifierItem interface (with the Ayatana label extension)
// of one StatusNotifierItem. It lives on Qt D-Bus's thread: hosts read the
// properties back after each of the item's signals (waybar: all of them, twice a
// minute), and answered there those reads wake no other thread. Clicks are handed
// to the item on its own thread.
class StatusNotifierItemAdaptor : public QDBusAbstractAdaptor
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.StatusNotifierItem")
    Q_PROPERTY(QString Category READ category)
    Q_PROPERTY(QString Id READ id)
    Q_PROPERTY(QString Title READ title)
    Q_PROPERTY(QString Status READ status)
    Q_PROPERTY(int WindowId READ windowId)
    Q_PROPERTY(QString IconThemePath READ iconThemePath)
    Q_PROPERTY(QString IconName READ emptyName)
    Q_PROPERTY(SniPixmapList IconPixmap READ iconPixmap)
    Q_PROPERTY(QString OverlayIconName READ emptyName)
    Q_PROPERTY(SniPixmapList OverlayIconPixmap READ noPixmaps)
    Q_PROPERTY(QString AttentionIconName READ emptyName)
    Q_PROPERTY(SniPixmapList AttentionIconPixmap READ noPixmaps)
    Q_PROPERTY(QString AttentionMovieName READ emptyName)
    Q_PROPERTY(SniToolTip ToolTip READ toolTip)
    Q_PROPERTY(bool ItemIsMenu READ itemIsMenu)
    Q_PROPERTY(QDBusObjectPath Menu READ menu)
    Q_PROPERTY(QString XAyatanaLabel READ xAyatanaLabel)
    Q_PROPERTY(QString XAyatanaLabelGuide READ xAyatanaLabelGuide)
    Q_PROPERTY(uint XAyatanaOrderingIndex READ xAyatanaOrderingIndex)

public:
    StatusNotifierItemAdaptor(QObject *object, std::shared_ptr<StatusNotifierItemState> state);

    QString category() const { return QStringLiteral("ApplicationStatus"); }
    QString id() const { return QStringLiteral("daystride"); }
    QString title() const { return QStringLiteral("Daystride"); }
    QString status() const { return QStringLiteral("Active"); }
    int windowId() const { return 0; }
    // The icon travels as pixmaps: no theme folder of its own.
    QString iconThemePath() const { return {}; }
    QString emptyName() const { return {}; }
    SniPixmapList iconPixmap() const;
    SniPixmapList noPixmaps() const { return {}; }
    SniToolTip toolTip() const;
    bool itemIsMenu() const { return false; }
    // A real menu, so hosts that open it on a click still offer every action; the
    // item is not only a menu: a host's primary click comes to Activate.
    QDBusObjectPath menu() const;
    QString xAyatanaLabel() const;
    // The widest text the label takes, so hosts can reserve its room.
    static QString xAyatanaLabelGuide() { return QStringLiteral("000d 00h 00m"); }
    uint xAyatanaOrderingIndex() const { return 0; }

public slots:
    void Activate(int x, int y);
    void SecondaryActivate(int x, int y);
    void ContextMenu(int x, int y);
    void Scroll(int delta, const QString &orientation);
    // Sent by hosts right before Activate: the token lets the window that the click
    // opens take the focus on Wayland.
    void ProvideXdgActivationToken(const QString &token);

signals:
    void NewTitle();
    void NewIcon();
    void NewAttentionIcon();
    void NewOverlayIcon();
    void NewToolTip();
    void NewStatus(const QString &status);
    void XAyatanaNewLabel(const QString &label, const QString &guide);

private:
    void activate(const QPoint &at);

    std::shared_ptr<StatusNotifierItemState> m_state;
};
