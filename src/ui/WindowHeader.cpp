#include "ui/WindowHeader.h"

#include "ui/Look.h"
#include "ui/SymbolIcon.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QToolButton>
#include <QWindow>

WindowHeader::WindowHeader(QWidget *parent)
    : QWidget(parent)
    , m_title(new QLabel(this))
    , m_close(new QToolButton(this))
{
    setFixedHeight(height);
    m_title->setAlignment(Qt::AlignCenter);
    QFont bold = m_title->font();
    bold.setBold(true);
    m_title->setFont(bold);
    m_close->setAutoRaise(true);
    m_close->setFocusPolicy(Qt::NoFocus); // Escape closes the window from the keyboard
    m_close->setToolTip(tr("Close"));
    m_close->setAccessibleName(tr("Close"));
    SymbolIcon::show(m_close, QStringLiteral("xmark"), 14, &Look::secondary);
    connect(m_close, &QToolButton::clicked, this, [this] { window()->close(); });

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(8, 0, 8, 0);
    // As wide as the button, so the title stays centred on the window.
    layout->addSpacing(m_close->sizeHint().width());
    layout->addWidget(m_title, 1);
    layout->addWidget(m_close);

    if (parent) {
        m_title->setText(parent->window()->windowTitle());
        parent->window()->installEventFilter(this);
    }
}

bool WindowHeader::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == window() && event->type() == QEvent::WindowTitleChange)
        m_title->setText(window()->windowTitle());
    return QWidget::eventFilter(watched, event);
}

void WindowHeader::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && window()->windowHandle()
        && window()->windowHandle()->startSystemMove()) {
        event->accept();
        return;
    }
    QWidget::mousePressEvent(event);
}

void WindowHeader::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    QColor line = palette().color(QPalette::WindowText);
    line.setAlphaF(0.12f);
    painter.fillRect(QRect(0, height - 1, width(), 1), line);
}
