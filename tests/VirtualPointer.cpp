#include "VirtualPointer.h"

// The generated tables give their visibility after the header's declarations, which
// C++ compilers note and ignore.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wattributes"
extern "C" {
#include "wlr-virtual-pointer-unstable-v1-client-protocol.h"
#include "wlr-virtual-pointer-unstable-v1-protocol.c"
}
#pragma GCC diagnostic pop

#include <QDateTime>

#include <cstring>
#include <wayland-client.h>

VirtualPointer::VirtualPointer()
{
    m_display = wl_display_connect(nullptr);
    if (!m_display)
        return;
    wl_registry *registry = wl_display_get_registry(m_display);
    static const wl_registry_listener listener = {
        [](void *data, wl_registry *registry, uint32_t name, const char *interface, uint32_t) {
            auto *self = static_cast<VirtualPointer *>(data);
            if (!std::strcmp(interface, wl_seat_interface.name) && !self->m_seat)
                self->m_seat = static_cast<wl_seat *>(
                    wl_registry_bind(registry, name, &wl_seat_interface, 1));
            else if (!std::strcmp(interface, zwlr_virtual_pointer_manager_v1_interface.name))
                self->m_manager = static_cast<zwlr_virtual_pointer_manager_v1 *>(wl_registry_bind(
                    registry, name, &zwlr_virtual_pointer_manager_v1_interface, 1));
        },
        [](void *, wl_registry *, uint32_t) {
        }};
    wl_registry_add_listener(registry, &listener, this);
    wl_display_roundtrip(m_display);
    wl_registry_destroy(registry);
    if (m_manager && m_seat)
        m_pointer = zwlr_virtual_pointer_manager_v1_create_virtual_pointer(m_manager, m_seat);
    wl_display_roundtrip(m_display);
}

VirtualPointer::~VirtualPointer()
{
    if (m_pointer)
        zwlr_virtual_pointer_v1_destroy(m_pointer);
    if (m_manager)
        zwlr_virtual_pointer_manager_v1_destroy(m_manager);
    if (m_seat)
        wl_seat_destroy(m_seat);
    if (m_display)
        wl_display_disconnect(m_display);
}

void VirtualPointer::move(double dx, double dy)
{
    const auto time = uint32_t(QDateTime::currentMSecsSinceEpoch());
    zwlr_virtual_pointer_v1_motion(
        m_pointer, time, wl_fixed_from_double(dx), wl_fixed_from_double(dy));
    zwlr_virtual_pointer_v1_frame(m_pointer);
    wl_display_roundtrip(m_display);
}
