#include "KdeIdleSource.h"

#include "WaylandIdleConnection.h"
#include "idle-client-protocol.h"

KdeIdleSource::~KdeIdleSource()
{
    if (m_timeout)
        org_kde_kwin_idle_timeout_release(m_timeout);
    if (m_idle)
        org_kde_kwin_idle_destroy(m_idle);
}

bool KdeIdleSource::subscribe()
{
    m_idle = static_cast<org_kde_kwin_idle *>(connection().bind(&org_kde_kwin_idle_interface));
    if (!m_idle)
        return false;
    m_timeout = org_kde_kwin_idle_get_idle_timeout(
        m_idle, connection().seat(), uint32_t(notifyAfter.count()));
    static const org_kde_kwin_idle_timeout_listener listener = {
        [](void *data, org_kde_kwin_idle_timeout *) {
            static_cast<KdeIdleSource *>(data)->idled();
        },
        [](void *data, org_kde_kwin_idle_timeout *) {
            static_cast<KdeIdleSource *>(data)->resumed();
        },
    };
    org_kde_kwin_idle_timeout_add_listener(m_timeout, &listener, this);
    return true;
}
