#pragma once

#include "IdleSource.h"

#include <QtGlobal>

#include <chrono>
#include <memory>

class QSocketNotifier;
struct xcb_connection_t;

// The X server's IDLETIME counter (X Sync extension): milliseconds since the last
// input of any client, on a connection of its own read on the main thread. Once the
// counter has been read, an alarm reports the next input, so until then the idle
// time is this clock's time since that reading and a poll asks the server nothing.
class XSyncIdleSource : public IdleSource
{
public:
    XSyncIdleSource();
    ~XSyncIdleSource() override;

    XSyncIdleSource(const XSyncIdleSource &) = delete;
    XSyncIdleSource &operator=(const XSyncIdleSource &) = delete;

    Kind kind() const override { return Kind::XSync; }
    std::optional<double> idleSeconds(IdleQuery query) override;

private:
    using Clock = std::chrono::steady_clock;

    bool connect();
    void disconnect();
    // Arms the alarm, then reads the counter; false when the server did not answer.
    bool readCounter();
    void readEvents();

    xcb_connection_t *m_connection = nullptr;
    std::unique_ptr<QSocketNotifier> m_notifier;
    bool m_triedConnecting = false;
    quint32 m_counter = 0;
    quint32 m_alarm = 0;
    quint8 m_alarmNotify = 0;
    // When the last input happened by this clock; valid while the alarm is armed.
    Clock::time_point m_idleSince;
    bool m_armed = false;
    bool m_inputSinceReading = false;
    bool m_alarmRefused = false;
};
