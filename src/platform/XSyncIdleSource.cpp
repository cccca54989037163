#include "XSyncIdleSource.h"

#include <QByteArray>
#include <QSocketNotifier>

#include <cstdlib>
#include <xcb/sync.h>
#include <xcb/xcb.h>

namespace {
qint64 toInt64(const xcb_sync_int64_t &value)
{
    return qint64(value.hi) * (qint64(1) << 32) + qint64(value.lo);
}
} // namespace

XSyncIdleSource::XSyncIdleSource() = default;

XSyncIdleSource::~XSyncIdleSource()
{
    disconnect();
}

bool XSyncIdleSource::connect()
{
    if (m_connection)
        return true;
    if (m_triedConnecting || qEnvironmentVariableIsEmpty("DISPLAY"))
        return false;
    m_triedConnecting = true;
    m_connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(m_connection)) {
        disconnect();
        return false;
    }
    const xcb_query_extension_reply_t *sync = xcb_get_extension_data(m_connection, &xcb_sync_id);
    if (!sync || !sync->present) {
        disconnect();
        return false;
    }
    m_alarmNotify = sync->first_event + XCB_SYNC_ALARM_NOTIFY;
    free(xcb_sync_initialize_reply(m_connection,
        xcb_sync_initialize(m_connection, XCB_SYNC_MAJOR_VERSION, XCB_SYNC_MINOR_VERSION),
        nullptr));

    xcb_sync_list_system_counters_reply_t *counters = xcb_sync_list_system_counters_reply(
        m_connection, xcb_sync_list_system_counters(m_connection), nullptr);
    if (counters) {
        // Walked by hand: each entry is 14 bytes and its name, padded to 4 bytes, which
        // libxcb's own iterator gets wrong.
        const char *entry = reinterpret_cast<const char *>(
            xcb_sync_list_system_counters_counters_iterator(counters).data);
        const char *end
            = reinterpret_cast<const char *>(counters) + sizeof(*counters) + counters->length * 4;
        constexpr size_t header = 14;
        for (uint32_t i = 0; i < counters->counters_len && entry + header <= end; ++i) {
            const auto *counter = reinterpret_cast<const xcb_sync_systemcounter_t *>(entry);
            if (entry + header + counter->name_len > end)
                break;
            if (QByteArray(entry + header, counter->name_len) == "IDLETIME")
                m_counter = counter->counter;
            entry += (header + counter->name_len + 3) & ~size_t(3);
        }
        free(counters);
    }
    if (!m_counter) {
        disconnect();
        return false;
    }

    // Fires when the counter falls back below 1 ms: the first input after the
    // reading. With no delta it then rests until it is armed again.
    m_alarm = xcb_generate_id(m_connection);
    xcb_sync_create_alarm_value_list_t alarm {};
    alarm.counter = m_counter;
    alarm.valueType = XCB_SYNC_VALUETYPE_ABSOLUTE;
    alarm.value = {0, 1};
    alarm.testType = XCB_SYNC_TESTTYPE_NEGATIVE_TRANSITION;
    alarm.delta = {0, 0};
    alarm.events = 1;
    xcb_sync_create_alarm_aux(m_connection, m_alarm,
        XCB_SYNC_CA_COUNTER | XCB_SYNC_CA_VALUE_TYPE | XCB_SYNC_CA_VALUE | XCB_SYNC_CA_TEST_TYPE
            | XCB_SYNC_CA_DELTA | XCB_SYNC_CA_EVENTS,
        &alarm);

    m_notifier = std::make_unique<QSocketNotifier>(
        xcb_get_file_descriptor(m_connection), QSocketNotifier::Read);
    QObject::connect(
        m_notifier.get(), &QSocketNotifier::activated, m_notifier.get(), [this] { readEvents(); });
    return true;
}

void XSyncIdleSource::disconnect()
{
    m_notifier.reset();
    if (m_connection)
        xcb_disconnect(m_connection);
    m_connection = nullptr;
    m_counter = 0;
    m_armed = false;
}

std::optional<double> XSyncIdleSource::idleSeconds(IdleQuery query)
{
    if (!connect())
        return std::nullopt;
    // Anything already read by an earlier reply: the alarm may be among it.
    readEvents();
    if (!m_connection)
        return std::nullopt;
    if ((!m_armed || query == IdleQuery::Fresh) && !readCounter())
        return std::nullopt;
    const auto idle = std::max(Clock::now() - m_idleSince, Clock::duration::zero());
    return std::chrono::duration<double>(idle).count();
}

bool XSyncIdleSource::readCounter()
{
    if (!m_alarmRefused) {
        xcb_sync_change_alarm_value_list_t alarm {};
        alarm.value = {0, 1};
        xcb_sync_change_alarm_aux(m_connection, m_alarm, XCB_SYNC_CA_VALUE, &alarm);
    }
    xcb_sync_query_counter_reply_t *reply = xcb_sync_query_counter_reply(
        m_connection, xcb_sync_query_counter(m_connection, m_counter), nullptr);
    if (!reply) {
        if (xcb_connection_has_error(m_connection))
            disconnect();
        return false;
    }
    const qint64 idle = std::max<qint64>(toInt64(reply->counter_value), 0);
    free(reply);
    m_idleSince = Clock::now() - std::chrono::milliseconds(idle);
    m_armed = !m_alarmRefused;
    m_inputSinceReading = false;
    // Read along with the reply: an input since the alarm was armed.
    readEvents();
    if (m_inputSinceReading)
        m_idleSince = Clock::now();
    return m_connection != nullptr;
}

void XSyncIdleSource::readEvents()
{
    if (!m_connection)
        return;
    while (xcb_generic_event_t *event = xcb_poll_for_event(m_connection)) {
        const quint8 type = event->response_type & 0x7f;
        if (type == m_alarmNotify) {
            m_armed = false;
            m_inputSinceReading = true;
        } else if (type == 0) {
            // A server that refuses the alarm is asked on every poll instead.
            m_alarmRefused = true;
            m_armed = false;
        }
        free(event);
    }
    if (xcb_connection_has_error(m_connection))
        disconnect();
}
