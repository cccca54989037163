#pragma once

#include <QPointer>
#include <QRect>
#include <QWidget>

class QObject;

// One covering window: the platform's frameless, always-on-top window for a screen,
// black, tracking the mouse, able to take the keyboard focus, with one content widget
// filling it. Owns the platform window and deletes it when destroyed.
class ScreensaverWindow
{
public:
    // Takes ownership of `platformWindow`.
    explicit ScreensaverWindow(QWidget *platformWindow);
    ~ScreensaverWindow();

    ScreensaverWindow(const ScreensaverWindow &) = delete;
    ScreensaverWindow &operator=(const ScreensaverWindow &) = delete;

    QWidget *window() const { return m_window; }
    QWidget *content() const { return m_content; }
    // The window's own answers: a covering window may become key and main.
    static constexpr bool canBecomeKeyWindow() { return true; }
    static constexpr bool canBecomeMainWindow() { return true; }

    // Replaces the content; the window takes ownership.
    void setContent(QWidget *content);
    void setFrame(const QRect &frame);
    QRect frame() const { return m_frame; }
    // Shows the window above the others and gives it the keyboard focus.
    void makeKeyAndOrderFront();
    void close();

private:
    QPointer<QWidget> m_window;
    QPointer<QWidget> m_content;
    QRect m_frame;
};
