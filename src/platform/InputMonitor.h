#pragma once

#include <QMap>
#include <QObject>

#include <functional>

class QEvent;

// Handlers that see the user's key presses, mouse moves, button presses and wheel
// turns before any widget does, and may swallow them. Input arrives at a window
// first and only then goes to its widgets, so the handlers look at it there: once
// per event, before any widget.
class InputMonitor : public QObject
{
    Q_OBJECT

public:
    using Handler = std::function<bool(QEvent *)>; // true swallows the event
    using Token = quint64;

    explicit InputMonitor(QObject *parent = nullptr);
    ~InputMonitor() override;

    // 0 when there is no application to watch.
    Token install(Handler handler);
    void remove(Token token);
    bool isEmpty() const { return m_handlers.isEmpty(); }

    static bool isMonitoredInput(const QEvent *event);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QMap<Token, Handler> m_handlers;
    Token m_nextToken = 1;
    bool m_filtering = false;
};
