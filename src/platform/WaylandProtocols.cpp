// The interface tables wayland-scanner generates for the idle protocols and viewports,
// compiled as C++ with C linkage, as their headers declare them. Their hidden visibility is
// given after the headers' declarations, which C++ compilers note and ignore.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wattributes"
extern "C" {
#include "ext-idle-notify-v1-client-protocol.h"
#include "ext-idle-notify-v1-protocol.c"
#include "idle-client-protocol.h"
#include "idle-protocol.c"
#include "viewporter-client-protocol.h"
#include "viewporter-protocol.c"
}
#pragma GCC diagnostic pop
