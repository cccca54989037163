#pragma once

#include <QMap>
#include <QObject>

#include <memory>

class QSocketNotifier;
struct xcb_connection_t;

// Which X11 clients keep the screen on through the screen saver extension's Suspend,
// as browsers and video players do. The server tells nobody of it, so the requests
// themselves are followed through the RECORD extension: only that one request and
// clients going away, from the time this watch starts.
class XScreenSaverSuspensions : public QObject
{
    Q_OBJECT

public:
    XScreenSaverSuspensions();
    ~XScreenSaverSuspensions() override;

    // Whether some client holds a suspension now.
    bool isHeld();

private:
    void readRecords();

    xcb_connection_t *m_control = nullptr; // the program's own, shared with Qt
    xcb_connection_t *m_data = nullptr; // one of this watch's own: it only receives
    quint32 m_context = 0;
    unsigned int m_sequence = 0;
    std::unique_ptr<QSocketNotifier> m_notifier;
    QMap<quint32, int> m_holders; // client (its resource base) -> suspensions held
};
