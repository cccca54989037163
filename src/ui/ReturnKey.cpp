#include "ui/ReturnKey.h"

#include <QAbstractButton>
#include <QApplication>
#include <QShortcut>
#include <QWidget>

ReturnKey::ReturnKey(QWidget *window, std::function<void()> defaultAction)
    : QObject(window)
    , m_window(window)
    , m_defaultAction(std::move(defaultAction))
{
    for (int key : {Qt::Key_Return, Qt::Key_Enter}) {
        auto *shortcut = new QShortcut(QKeySequence(key), window);
        shortcut->setContext(Qt::WindowShortcut);
        connect(shortcut, &QShortcut::activated, this, &ReturnKey::pressed);
    }
}

void ReturnKey::install(QWidget *window, std::function<void()> defaultAction)
{
    new ReturnKey(window, std::move(defaultAction));
}

void ReturnKey::pressed()
{
    auto *button = qobject_cast<QAbstractButton *>(QApplication::focusWidget());
    if (button && m_window->isAncestorOf(button) && button->isVisible()) {
        if (button->isEnabled())
            button->click();
        return;
    }
    if (m_defaultAction)
        m_defaultAction();
}
