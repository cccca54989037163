#pragma once

#include <QPointer>
#include <QWindow>

class QBackingStore;
class QWidget;
struct wp_viewport;

// A window that the compositor fits to the work area of the monitor it chooses, and
// that holds one widget's window, aligned within it. GNOME places every window itself:
// a maximised host is how a card gets under the top bar's indicators.
// It shows nothing itself, at the cost of one transparent pixel: the compositor
// stretches that buffer over the work area (wp_viewporter), and the widget's window is
// a subsurface. Only the widget takes input, so a click beside it reaches the window
// below. The compositor gives the keyboard to this window, which hands keys, input
// method events and its focus on to the widget; screen readers see the widget.
class WorkAreaWindow : public QWindow
{
    Q_OBJECT

public:
    WorkAreaWindow(QWidget *content, Qt::Alignment alignment, int margin);
    ~WorkAreaWindow() override;

    // Makes the widget's window a child of this one; call before each showing, as
    // the widget's window may have been destroyed since.
    void holdContent();

    QObject *focusObject() const override;
    QAccessibleInterface *accessibleRoot() const override;

protected:
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void exposeEvent(QExposeEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    QWindow *contentWindow() const;
    void placeContent();
    void stretchOverSurface();
    void activeWindowChanged(QWindow *focus);

    QPointer<QWidget> m_content;
    Qt::Alignment m_alignment;
    int m_margin;
    QBackingStore *m_store;
    wp_viewport *m_viewport = nullptr;
};
