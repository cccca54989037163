#include "XScreenSaverSuspensions.h"

#include <QGuiApplication>
#include <QSocketNotifier>

#include <cstdlib>
#include <cstring>
#include <xcb/record.h>
#include <xcb/screensaver.h>
#include <xcb/xcb.h>
#include <xcb/xcbext.h>

namespace {
// What a recorded element is (the RECORD extension's categories).
enum Category : quint8 { fromClient = 1, clientDied = 3 };
} // namespace

XScreenSaverSuspensions::XScreenSaverSuspensions()
{
    auto *x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    m_control = x11 ? x11->connection() : nullptr;
    if (!m_control)
        return;
    const xcb_query_extension_reply_t *saver
        = xcb_get_extension_data(m_control, &xcb_screensaver_id);
    const xcb_query_extension_reply_t *record = xcb_get_extension_data(m_control, &xcb_record_id);
    if (!saver || !saver->present || !record || !record->present)
        return;

    xcb_record_range_t range;
    std::memset(&range, 0, sizeof range);
    range.ext_requests.major.first = range.ext_requests.major.last = saver->major_opcode;
    range.ext_requests.minor.first = range.ext_requests.minor.last = XCB_SCREENSAVER_SUSPEND;
    range.client_died = 1;
    const xcb_record_client_spec_t clients = XCB_RECORD_CS_ALL_CLIENTS;
    m_context = xcb_generate_id(m_control);
    if (xcb_generic_error_t *error = xcb_request_check(m_control,
            xcb_record_create_context_checked(m_control, m_context, 0, 1, 1, &clients, &range))) {
        free(error);
        m_context = 0;
        return;
    }

    // The records come as replies to one request that never ends, so on a connection
    // of their own.
    m_data = xcb_connect(qgetenv("DISPLAY").constData(), nullptr);
    if (xcb_connection_has_error(m_data)) {
        xcb_disconnect(m_data);
        m_data = nullptr;
        return;
    }
    m_sequence = xcb_record_enable_context(m_data, m_context).sequence;
    xcb_flush(m_data);
    m_notifier
        = std::make_unique<QSocketNotifier>(xcb_get_file_descriptor(m_data), QSocketNotifier::Read);
    connect(
        m_notifier.get(), &QSocketNotifier::activated, this, &XScreenSaverSuspensions::readRecords);
}

XScreenSaverSuspensions::~XScreenSaverSuspensions()
{
    m_notifier.reset();
    if (m_context && m_control) {
        xcb_record_disable_context(m_control, m_context);
        xcb_record_free_context(m_control, m_context);
        xcb_flush(m_control);
    }
    if (m_data)
        xcb_disconnect(m_data);
}

bool XScreenSaverSuspensions::isHeld()
{
    if (m_data) {
        // The server hands on what it recorded when it next sends anything: a round
        // trip makes it do so now, so a client that quit a moment ago is known.
        free(xcb_get_input_focus_reply(m_control, xcb_get_input_focus(m_control), nullptr));
        readRecords();
    }
    return !m_holders.isEmpty();
}

void XScreenSaverSuspensions::readRecords()
{
    void *reply = nullptr;
    xcb_generic_error_t *error = nullptr;
    while (xcb_poll_for_reply(m_data, m_sequence, &reply, &error) && (reply || error)) {
        free(error);
        error = nullptr;
        if (!reply)
            continue;
        const auto *record = static_cast<const xcb_record_enable_context_reply_t *>(reply);
        const int length = xcb_record_enable_context_data_length(record);
        const uint8_t *data = xcb_record_enable_context_data(record);
        if (record->category == clientDied) {
            m_holders.remove(record->xid_base);
        } else if (record->category == fromClient) {
            // One or more requests, each: major and minor opcode, its length in 4-byte
            // units, then the flag as a CARD32, which is non-zero in either byte order.
            for (int at = 0; at + 8 <= length;) {
                quint16 units = 0;
                quint32 suspend = 0;
                std::memcpy(&units, data + at + 2, sizeof units);
                std::memcpy(&suspend, data + at + 4, sizeof suspend);
                if (record->client_swapped)
                    units = quint16((units << 8) | (units >> 8));
                int &held = m_holders[record->xid_base];
                held += suspend ? 1 : -1;
                if (held <= 0)
                    m_holders.remove(record->xid_base);
                if (units < 2)
                    break;
                at += units * 4;
            }
        }
        free(reply);
        reply = nullptr;
    }
    if (xcb_connection_has_error(m_data))
        m_notifier->setEnabled(false);
}
