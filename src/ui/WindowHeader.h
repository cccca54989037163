#pragma once

#include <QWidget>

class QLabel;
class QToolButton;

// A title bar of the window's own, for desktops that draw none for it (GNOME on
// Wayland, where Qt's frames would load the GL stack): the window's title, a close
// button, and a press anywhere else moves the window through the compositor.
class WindowHeader : public QWidget
{
    Q_OBJECT

public:
    explicit WindowHeader(QWidget *parent = nullptr);

    static constexpr int height = 38;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    QLabel *m_title;
    QToolButton *m_close;
};
