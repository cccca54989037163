#pragma once

#include <QObject>

#include <functional>

// Runs a widget's colouring now and again whenever its palette changes (a light or
// dark switch of the desktop), so tinted symbols and style sheets built from
// palette colours never keep the old theme's colours. An object that is not a
// widget follows the application's palette.
class PaletteFollower : public QObject
{
    Q_OBJECT

public:
    static void follow(QObject *owner, std::function<void()> apply);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    PaletteFollower(QObject *owner, std::function<void()> apply);
    void schedule();

    std::function<void()> m_apply;
    bool m_pending = false;
    bool m_applying = false;
};
