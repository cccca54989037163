#pragma once

#include <QObject>

#include <functional>

class QWidget;

// Return and Enter in a window: they press the focused button, as Space does;
// with the focus anywhere else they run the window's default action, if it has one.
class ReturnKey : public QObject
{
    Q_OBJECT

public:
    static void install(QWidget *window, std::function<void()> defaultAction = {});

private:
    ReturnKey(QWidget *window, std::function<void()> defaultAction);
    void pressed();

    QWidget *m_window;
    std::function<void()> m_defaultAction;
};
