#pragma once

#include "WaylandIdleSource.h"

struct ext_idle_notification_v1;
struct ext_idle_notifier_v1;

// The ext-idle-notify-v1 protocol: KDE Plasma 5.27 and later, sway 1.8 and later,
// other wlroots compositors. The compositor holds it back while an idle inhibitor
// is active.
class ExtIdleNotifySource : public WaylandIdleSource
{
public:
    using WaylandIdleSource::WaylandIdleSource;
    ~ExtIdleNotifySource() override;

    Kind kind() const override { return Kind::ExtIdleNotify; }

protected:
    bool subscribe() override;

private:
    ext_idle_notifier_v1 *m_notifier = nullptr;
    ext_idle_notification_v1 *m_notification = nullptr;
};
