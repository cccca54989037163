#pragma once

struct wl_display;
struct wl_seat;
struct zwlr_virtual_pointer_manager_v1;
struct zwlr_virtual_pointer_v1;

// A mouse on sway's seat, through wlroots' virtual pointer protocol: the headless
// backend has no input device of its own. Connects to WAYLAND_DISPLAY.
class VirtualPointer
{
public:
    VirtualPointer();
    ~VirtualPointer();
    VirtualPointer(const VirtualPointer &) = delete;
    VirtualPointer &operator=(const VirtualPointer &) = delete;

    bool isValid() const { return m_pointer; }
    void move(double dx, double dy);

private:
    wl_display *m_display = nullptr;
    wl_seat *m_seat = nullptr;
    zwlr_virtual_pointer_manager_v1 *m_manager = nullptr;
    zwlr_virtual_pointer_v1 *m_pointer = nullptr;
};
