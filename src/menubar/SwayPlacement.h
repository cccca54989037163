#pragma once

#include <QByteArray>
#include <QPoint>
#include <QRect>
#include <QString>

// Moves a floating window of this process on sway, through its IPC socket ($SWAYSOCK).
// sway centres a new floating window and takes no position from a Wayland client, but
// moves one on a command: the popover goes to the corner of the focused output where
// the panel (waybar) is, at its right end, where the tray sits.
class SwayPlacement
{
public:
    // Whether this is a sway session with its IPC socket.
    static bool isAvailable();

    // Moves the window of this process titled `title`, of `size`, to that corner.
    static bool moveToPanelCorner(const QString &title, const QSize &size);

    // The top-left corner for a window of `size` at the right end of the panel: the
    // panel is the band of `output` outside the workspace's `area` (at the top
    // unless only the bottom is taken), the window just inside `area`.
    static QPoint corner(const QRect &area, const QRect &output, const QSize &size);
};
