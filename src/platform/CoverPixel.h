#pragma once

#include <QRasterWindow>

// One black pixel in the top-left corner of a covering window on Wayland, a surface
// of its own above the cover's, that takes no input.
// sway shows a full-screen window made of a single surface by handing its buffer
// straight to an output the pointer is not on, and meanwhile stops composing that
// output; when something composes it again (a screen capture, a remote desktop), it
// starts from the image it had before the window, so the desktop shows where the
// cover is. A window of two surfaces is always composed.
class CoverPixel : public QRasterWindow
{
public:
    explicit CoverPixel(QWindow *cover);

protected:
    void paintEvent(QPaintEvent *event) override;
};
