#include "menubar/Popover.h"

#include "menubar/FocusOnShow.h"
#include "menubar/TimerView.h"
#include "ui/StorageNotice.h"

#include <QCursor>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QScreen>
#include <QVBoxLayout>

namespace {
constexpr int gapToAnchor = 6;
}

Popover::Popover(TimerViewModel &viewModel, QWidget *parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
    , m_view(new TimerView(viewModel, this))
{
    setWindowTitle(tr("Daystride"));
    setAttribute(Qt::WA_ShowWithoutActivating, false);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_view);
    layout->addWidget(new StorageNotice(viewModel, StorageNotice::Shows::saveProblem, this));
    setFixedWidth(contentWidth);
    connect(m_view, &TimerView::closeRequested, this, &QWidget::close);
    connect(m_view, &TimerView::settingsRequested, this, &Popover::settingsRequested);
}

void Popover::toggleAt(const QPoint &anchor, const QString &activationToken)
{
    if (isVisible())
        close();
    else
        showAt(anchor, activationToken);
}

void Popover::showAt(const QPoint &anchor, const QString &activationToken)
{
    // Hosts that do not know where the click was send 0, 0.
    const QPoint at = anchor.isNull() ? QCursor::pos() : anchor;
    QScreen *screen = QGuiApplication::screenAt(at);
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!isVisible())
        m_view->appear();
    adjustSize();
    if (screen)
        move(placement(at, size(), screen->availableGeometry()));
    show();
    FocusOnShow::request(this, activationToken);
}

QPoint Popover::placement(const QPoint &anchor, const QSize &size, const QRect &area)
{
    QPoint topLeft(anchor.x() - size.width() / 2, anchor.y() + gapToAnchor);
    // A panel at the bottom of the screen: open upwards.
    if (anchor.y() > area.center().y())
        topLeft.setY(anchor.y() - gapToAnchor - size.height());
    topLeft.setX(std::clamp(
        topLeft.x(), area.left(), std::max(area.left(), area.right() + 1 - size.width())));
    topLeft.setY(std::clamp(
        topLeft.y(), area.top(), std::max(area.top(), area.bottom() + 1 - size.height())));
    return topLeft;
}

bool Popover::event(QEvent *event)
{
    // A click elsewhere takes the activation away: close, discarding the drafts.
    if (event->type() == QEvent::WindowDeactivate && isVisible())
        close();
    return QWidget::event(event);
}

void Popover::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

void Popover::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().window());
    QColor edge = palette().color(QPalette::WindowText);
    edge.setAlphaF(0.2f);
    painter.setPen(edge);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}
