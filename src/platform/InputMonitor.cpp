#include "InputMonitor.h"

#include <QCoreApplication>
#include <QEvent>

InputMonitor::InputMonitor(QObject *parent)
    : QObject(parent)
{
}

InputMonitor::~InputMonitor()
{
    if (m_filtering && QCoreApplication::instance())
        QCoreApplication::instance()->removeEventFilter(this);
}

InputMonitor::Token InputMonitor::install(Handler handler)
{
    QCoreApplication *app = QCoreApplication::instance();
    if (!app || !handler)
        return 0;
    if (!m_filtering) {
        app->installEventFilter(this);
        m_filtering = true;
    }
    const Token token = m_nextToken++;
    m_handlers.insert(token, std::move(handler));
    return token;
}

void InputMonitor::remove(Token token)
{
    m_handlers.remove(token);
    if (m_handlers.isEmpty() && m_filtering && QCoreApplication::instance()) {
        QCoreApplication::instance()->removeEventFilter(this);
        m_filtering = false;
    }
}

bool InputMonitor::isMonitoredInput(const QEvent *event)
{
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::MouseMove:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: // the second press of a double click
    case QEvent::Wheel:
        return true;
    default:
        return false;
    }
}

bool InputMonitor::eventFilter(QObject *watched, QEvent *event)
{
    // Widgets get these events again from their window; seeing them there would
    // call the handlers twice for one press.
    if (!watched->isWindowType() || !isMonitoredInput(event))
        return false;
    bool swallowed = false;
    // A copy: a handler may remove its own monitor, or all of them.
    const QList<Token> tokens = m_handlers.keys();
    for (const Token token : tokens) {
        const auto it = m_handlers.constFind(token);
        if (it == m_handlers.constEnd())
            continue;
        const Handler handler = it.value();
        swallowed = handler(event) || swallowed;
    }
    return swallowed;
}
