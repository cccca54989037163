#include "ExtIdleNotifySource.h"

#include "WaylandIdleConnection.h"
#include "ext-idle-notify-v1-client-protocol.h"

ExtIdleNotifySource::~ExtIdleNotifySource()
{
    if (m_notification)
        ext_idle_notification_v1_destroy(m_notification);
    if (m_notifier)
        ext_idle_notifier_v1_destroy(m_notifier);
}

bool ExtIdleNotifySource::subscribe()
{
    m_notifier
        = static_cast<ext_idle_notifier_v1 *>(connection().bind(&ext_idle_notifier_v1_interface));
    if (!m_notifier)
        return false;
    m_notification = ext_idle_notifier_v1_get_idle_notification(
        m_notifier, uint32_t(notifyAfter.count()), connection().seat());
    static const ext_idle_notification_v1_listener listener = {
        [](void *data, ext_idle_notification_v1 *) {
            static_cast<ExtIdleNotifySource *>(data)->idled();
        },
        [](void *data, ext_idle_notification_v1 *) {
            static_cast<ExtIdleNotifySource *>(data)->resumed();
        },
    };
    ext_idle_notification_v1_add_listener(m_notification, &listener, this);
    return true;
}
