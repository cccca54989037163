// The interface tables wayland-scanner generates for the idle protocols, compiled
// as C++ with C linkage, as their headers declare them.
extern "C" {
#include "ext-idle-notify-v1-client-protocol.h"
#include "ext-idle-notify-v1-protocol.c"
#include "idle-client-protocol.h"
#include "idle-protocol.c"
}
