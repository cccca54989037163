#pragma once

#include <optional>

// How an idle-time source may answer. Cheap lets an event-driven source answer from
// what it last heard (its own clock since the last report); Fresh asks the display
// server again where that is possible, as is done before the screens are covered.
enum class IdleQuery { Cheap, Fresh };

// One way of learning how long the user has been away from keyboard and pointer.
class IdleSource
{
public:
    enum class Kind { XSync, ExtIdleNotify, KdeIdle, MutterIdleMonitor, ScreenSaver };

    virtual ~IdleSource() = default;

    virtual Kind kind() const = 0;
    // Seconds since the last input, or nothing when this source cannot tell now.
    virtual std::optional<double> idleSeconds(IdleQuery query) = 0;
};
