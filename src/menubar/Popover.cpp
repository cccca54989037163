#include "menubar/Popover.h"

#include "menubar/FocusOnShow.h"
#include "menubar/SwayPlacement.h"
#include "menubar/TimerView.h"
#include "platform/WorkAreaWindow.h"
#include "ui/Accessibility.h"
#include "ui/StorageNotice.h"

#include <QCursor>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>
#include <QWindow>

namespace {
constexpr int gapToAnchor = 6;
// Between the card and the work area's top and right edges, as GNOME Shell's own
// menus leave under the top bar.
constexpr int gapToWorkArea = 4;
} // namespace

Popover::Popover(TimerViewModel &viewModel, QWidget *parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
    , m_onWorkArea(opensOnWorkArea(
          QGuiApplication::platformName(), qEnvironmentVariable("XDG_CURRENT_DESKTOP")))
{
    // Translated like every text; scripts and window rules find it by its class.
    setWindowTitle(tr("Daystride"));
    Accessibility::setRole(this, QAccessible::Dialog);
    setAttribute(Qt::WA_ShowWithoutActivating, false);
    m_view = new TimerView(viewModel, this);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_view);
    layout->addWidget(new StorageNotice(viewModel, StorageNotice::Shows::saveProblem, this));
    fitWidth();
    connect(m_view, &TimerView::closeRequested, this, &QWidget::close);
    connect(m_view, &TimerView::settingsRequested, this, &Popover::settingsRequested);
}

Popover::~Popover() = default;

void Popover::toggleAt(const QPoint &anchor, const QString &activationToken)
{
    if (isVisible())
        close();
    else
        showAt(anchor, activationToken);
}

void Popover::showAt(const QPoint &anchor, const QString &activationToken)
{
    const QPoint at = anchorFor(anchor, QCursor::pos());
    QScreen *screen = QGuiApplication::screenAt(at);
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!isVisible())
        m_view->appear();
    adjustSize();
    if (m_onWorkArea) {
        if (!m_host)
            m_host = std::make_unique<WorkAreaWindow>(
                this, Qt::AlignTop | Qt::AlignRight, gapToWorkArea);
        m_host->holdContent();
        // The compositor sizes it to the work area of the monitor it chooses.
        if (screen)
            m_host->resize(screen->availableGeometry().size());
        m_host->setWindowStates(Qt::WindowMaximized);
        m_host->show();
        show();
        FocusOnShow::request(m_host.get(), activationToken);
        return;
    }
    if (screen)
        move(placement(at, size(), screen->availableGeometry()));
    show();
    // sway centres it: moved to the panel's corner once sway has it.
    if (QGuiApplication::platformName() == QLatin1String("wayland") && windowHandle()
        && SwayPlacement::isAvailable())
        windowHandle()->installEventFilter(this);
    FocusOnShow::request(this, activationToken);
}

void Popover::fitWidth()
{
    // 320 wide, or wider where the content needs it (a large system font, a long
    // translation or task), within the screen. Fixed: tiling compositors (sway) float
    // a window of a fixed size rather than tile it.
    int width = std::max(contentWidth, sizeHint().width());
    if (const QScreen *shown = screen())
        width = std::min(width, shown->availableGeometry().width() - 2 * gapToWorkArea);
    if (minimumWidth() != width || maximumWidth() != width)
        setFixedWidth(width);
}

QPoint Popover::anchorFor(const QPoint &reported, const QPoint &pointer)
{
    // An item with its label is up to about 150 px wide and a panel up to about 100 px
    // thick: a place a host took from the item, or the click itself, lies well within
    // `farFromPointer` of the pointer.
    if (reported.isNull() || !QGuiApplication::screenAt(reported)
        || (reported - pointer).manhattanLength() > farFromPointer)
        return pointer;
    return reported;
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

bool Popover::opensOnWorkArea(const QString &platform, const QString &desktops)
{
    if (platform != QLatin1String("wayland"))
        return false;
    const QStringList names = desktops.split(QLatin1Char(':'), Qt::SkipEmptyParts);
    return std::any_of(names.begin(), names.end(), [](const QString &name) {
        return name.compare(QLatin1String("GNOME"), Qt::CaseInsensitive) == 0;
    });
}

bool Popover::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == windowHandle() && event->type() == QEvent::Expose
        && windowHandle()->isExposed()) {
        windowHandle()->removeEventFilter(this);
        QTimer::singleShot(0, this, [this] {
            if (isVisible())
                SwayPlacement::moveToPanelCorner(windowTitle(), size());
        });
    }
    return QWidget::eventFilter(watched, event);
}

bool Popover::event(QEvent *event)
{
    // A click elsewhere takes the activation away: close, discarding the drafts.
    if (event->type() == QEvent::WindowDeactivate && isVisible())
        close();
    if (event->type() == QEvent::LayoutRequest)
        fitWidth();
    return QWidget::event(event);
}

void Popover::hideEvent(QHideEvent *event)
{
    QWidget::hideEvent(event);
    if (m_host)
        m_host->hide();
    // On Wayland a hidden window keeps its buffers: the native window goes with them,
    // and the next opening makes a new one. Later, so nothing still on the stack uses
    // the window.
    if (QGuiApplication::platformName() == QLatin1String("wayland")) {
        QTimer::singleShot(0, this, [this] {
            if (isVisible())
                return;
            destroy();
            m_host.reset();
        });
    }
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
