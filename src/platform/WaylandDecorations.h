#pragma once

// Who draws the window frames on Wayland. Qt 6.4 asks, for every window it shows,
// whether it may draw frames of its own, and that question loads the whole GL stack
// (EGL, Mesa, LLVM) for the life of the process, though a widgets program never draws
// with it. So Qt's own frames are turned off before the first window, always. Where
// the compositor offers to draw frames (zxdg_decoration_manager_v1: sway, KDE and
// other wlroots desktops) it draws them; where it does not (GNOME, weston), the windows
// that need a title bar draw one of their own (WindowHeader).
class WaylandDecorations
{
public:
    // Call before the application object: asks the compositor named by WAYLAND_DISPLAY,
    // and leaves a choice the user made in the environment alone.
    static void preferCompositorFrames();
    // Whether the compositor at WAYLAND_DISPLAY offers server-side frames.
    static bool compositorDrawsFrames();
    // After preferCompositorFrames(): whether windows get no frame from anyone but
    // themselves.
    static bool windowsDrawOwnTitleBar();

private:
    static bool s_ownTitleBar;
};
