#pragma once

// Whether a Wayland compositor draws window frames itself. Qt 6.4 asks, for every
// window it shows, whether it may draw frames of its own, and that question loads the
// whole GL stack (EGL, Mesa, LLVM) for the life of the process, though a widgets
// program never draws with it. Where the compositor offers to draw the frames
// (zxdg_decoration_manager_v1: sway, KDE and other wlroots desktops), Qt's own frames
// are turned off before the first window, so the question is never asked.
class WaylandDecorations
{
public:
    // Call before the application object: asks the compositor named by WAYLAND_DISPLAY,
    // and leaves a choice the user made in the environment alone.
    static void preferCompositorFrames();
    // Whether the compositor at WAYLAND_DISPLAY offers server-side frames.
    static bool compositorDrawsFrames();
};
