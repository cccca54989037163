#pragma once

#include "WaylandIdleSource.h"

struct org_kde_kwin_idle;
struct org_kde_kwin_idle_timeout;

// KDE's org_kde_kwin_idle protocol: sway 1.7 and other wlroots compositors before
// ext-idle-notify, older KDE Plasma.
class KdeIdleSource : public WaylandIdleSource
{
public:
    using WaylandIdleSource::WaylandIdleSource;
    ~KdeIdleSource() override;

    Kind kind() const override { return Kind::KdeIdle; }

protected:
    bool subscribe() override;

private:
    org_kde_kwin_idle *m_idle = nullptr;
    org_kde_kwin_idle_timeout *m_timeout = nullptr;
};
