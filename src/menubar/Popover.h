#pragma once

#include <QPoint>
#include <QWidget>

#include <memory>

class TimerView;
class TimerViewModel;
class WorkAreaWindow;

// The frameless pop-up window that opens from the panel item, placed next to the
// click and kept inside that screen. Escape, a click elsewhere and the content's
// own actions close it.
// Where the compositor places windows itself (Wayland) and the panel is known to be a
// top bar with its indicators at the right (GNOME Shell), the card is held by a
// transparent window over the work area of the monitor under the pointer
// (WorkAreaWindow), at its top-right corner, under the indicators.
class Popover : public QWidget
{
    Q_OBJECT

public:
    static constexpr int contentWidth = 320;

    explicit Popover(TimerViewModel &viewModel, QWidget *parent = nullptr);
    ~Popover() override;

    TimerView *timerView() const { return m_view; }
    // Opens next to `anchor` (screen coordinates), or closes when already open.
    // `activationToken`, when given, lets it take the focus on Wayland.
    void toggleAt(const QPoint &anchor, const QString &activationToken = {});
    void showAt(const QPoint &anchor, const QString &activationToken = {});

    // Where a window of `size` opens for a click at `anchor` within `area`: centred
    // under the click, or above it in the lower half, and never outside `area`.
    static QPoint placement(const QPoint &anchor, const QSize &size, const QRect &area);
    // Whether it opens in the work-area window described above, for the Qt platform and
    // the XDG_CURRENT_DESKTOP list.
    static bool opensOnWorkArea(const QString &platform, const QString &desktops);

signals:
    void settingsRequested();

protected:
    bool event(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    // A reported position (0, 0) or on no screen, or farther from the pointer than the
    // panel item reaches, is not the item's: MATE sends (0, 25) wherever the item is.
    static constexpr int farFromPointer = 256;
    // Where the popover opens for a click the host reported at `reported`, with the
    // pointer at `pointer`: the reported place where it can be the item's, else the
    // pointer, which is on the item when it is clicked.
    static QPoint anchorFor(const QPoint &reported, const QPoint &pointer);
    // Sizes the card's width to its content, as it changes.
    void fitWidth();

    bool m_onWorkArea;
    std::unique_ptr<WorkAreaWindow> m_host;
    TimerView *m_view;
};
