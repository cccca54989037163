#include "WorkAreaWindow.h"

#include "viewporter-client-protocol.h"

#include <QAccessible>
#include <QApplication>
#include <QBackingStore>
#include <QKeyEvent>
#include <QPainter>
#include <QStyle>
#include <QWidget>
#include <qpa/qplatformnativeinterface.h>

#include <cstring>
#include <wayland-client.h>

namespace {

void *nativeResource(const char *name, QWindow *window = nullptr)
{
    QPlatformNativeInterface *native = QGuiApplication::platformNativeInterface();
    if (!native || QGuiApplication::platformName() != QLatin1String("wayland"))
        return nullptr;
    if (!window)
        return native->nativeResourceForIntegration(name);
    return window->handle() ? native->nativeResourceForWindow(name, window) : nullptr;
}

// Bound once on Qt's own connection, through a queue of its own, so that Qt's event
// handling never sees the registry's events.
wp_viewporter *viewporter()
{
    static wp_viewporter *bound = [] {
        auto *display = static_cast<wl_display *>(nativeResource("wl_display"));
        if (!display)
            return static_cast<wp_viewporter *>(nullptr);
        wl_event_queue *queue = wl_display_create_queue(display);
        auto *wrapped = static_cast<wl_display *>(wl_proxy_create_wrapper(display));
        wl_proxy_set_queue(reinterpret_cast<wl_proxy *>(wrapped), queue);
        wl_registry *registry = wl_display_get_registry(wrapped);
        wl_proxy_wrapper_destroy(wrapped);
        wp_viewporter *found = nullptr;
        static const wl_registry_listener listener = {
            [](void *data, wl_registry *registry, uint32_t name, const char *interface, uint32_t) {
                if (std::strcmp(interface, wp_viewporter_interface.name) == 0)
                    *static_cast<wp_viewporter **>(data) = static_cast<wp_viewporter *>(
                        wl_registry_bind(registry, name, &wp_viewporter_interface, 1));
            },
            [](void *, wl_registry *, uint32_t) {},
        };
        wl_registry_add_listener(registry, &listener, &found);
        wl_display_roundtrip_queue(display, queue);
        wl_registry_destroy(registry);
        return found;
    }();
    return bound;
}

} // namespace

WorkAreaWindow::WorkAreaWindow(QWidget *content, Qt::Alignment alignment, int margin)
    : m_content(content)
    , m_alignment(alignment)
    , m_margin(margin)
    , m_store(new QBackingStore(this))
{
    setFlags(Qt::Tool | Qt::FramelessWindowHint);
    setSurfaceType(QSurface::RasterSurface);
    QSurfaceFormat transparent = format();
    transparent.setAlphaBufferSize(8);
    setFormat(transparent);
    setTitle(content->windowTitle());
    content->installEventFilter(this);
    // Qt Widgets quits only once it could close every window, and it cannot close a
    // window that has a parent: the widget is closed first.
    qApp->installEventFilter(this);
    connect(qApp, &QGuiApplication::focusWindowChanged, this, &WorkAreaWindow::activeWindowChanged);
}

WorkAreaWindow::~WorkAreaWindow()
{
    if (m_viewport)
        wp_viewport_destroy(m_viewport);
    // The widget keeps its window: it is not this one's to delete.
    if (QWindow *held = contentWindow())
        held->setParent(nullptr);
    delete m_store;
}

void WorkAreaWindow::holdContent()
{
    if (!m_content)
        return;
    m_content->winId();
    QWindow *held = m_content->windowHandle();
    if (held->parent() != this) {
        held->setParent(this);
        // Qt's input context and accessibility follow the focus window's focus object.
        connect(held, &QWindow::focusObjectChanged, this, &QWindow::focusObjectChanged,
            Qt::UniqueConnection);
    }
    placeContent();
}

QWindow *WorkAreaWindow::contentWindow() const
{
    QWindow *held = m_content ? m_content->windowHandle() : nullptr;
    return held && held->parent() == this ? held : nullptr;
}

QObject *WorkAreaWindow::focusObject() const
{
    if (QWindow *held = contentWindow())
        return held->focusObject();
    return QWindow::focusObject();
}

QAccessibleInterface *WorkAreaWindow::accessibleRoot() const
{
    return m_content ? QAccessible::queryAccessibleInterface(m_content) : nullptr;
}

void WorkAreaWindow::activeWindowChanged(QWindow *focus)
{
    // Qt Widgets knows no active window in a window that is not a widget's: the
    // widget is made the active one, so its focus, shortcuts and looks work as in any
    // window. A focus moving elsewhere deactivates it as usual.
    if (focus == this && m_content && contentWindow())
        QApplication::setActiveWindow(m_content);
}

bool WorkAreaWindow::event(QEvent *event)
{
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
        if (QWindow *held = contentWindow())
            return QCoreApplication::sendEvent(held, event);
        break;
    case QEvent::Close:
        // The compositor's close (a shortcut, the overview) closes the widget, whose
        // owner then hides this window.
        if (m_content)
            m_content->close();
        event->ignore();
        return true;
    case QEvent::Hide:
        // Qt makes a new surface at the next showing.
        if (m_viewport) {
            wp_viewport_destroy(m_viewport);
            m_viewport = nullptr;
        }
        break;
    default:
        break;
    }
    return QWindow::event(event);
}

bool WorkAreaWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_content && event->type() == QEvent::Resize)
        placeContent();
    if (watched == qApp && event->type() == QEvent::Quit && m_content && m_content->isVisible())
        m_content->close();
    return QWindow::eventFilter(watched, event);
}

void WorkAreaWindow::resizeEvent(QResizeEvent *)
{
    placeContent();
    stretchOverSurface();
}

void WorkAreaWindow::placeContent()
{
    if (!m_content)
        return;
    const QRect area = QRect(QPoint(), size()).adjusted(m_margin, m_margin, -m_margin, -m_margin);
    const QRect placed = QStyle::alignedRect(
        QGuiApplication::layoutDirection(), m_alignment, m_content->size(), area);
    if (m_content->pos() != placed.topLeft())
        m_content->move(placed.topLeft());
    // Input beside the widget goes through to whatever is below.
    setMask(QRegion(placed));
}

void WorkAreaWindow::stretchOverSurface()
{
    if (!m_viewport && viewporter()) {
        if (auto *surface = static_cast<wl_surface *>(nativeResource("surface", this)))
            m_viewport = wp_viewporter_get_viewport(viewporter(), surface);
    }
    if (m_viewport && !size().isEmpty())
        wp_viewport_set_destination(m_viewport, width(), height());
}

void WorkAreaWindow::exposeEvent(QExposeEvent *)
{
    if (!isExposed())
        return;
    stretchOverSurface();
    // Without the compositor's viewports, a transparent buffer of the whole size.
    const QRect buffer(QPoint(), m_viewport ? QSize(1, 1) : size());
    m_store->resize(buffer.size());
    m_store->beginPaint(buffer);
    QPainter painter(m_store->paintDevice());
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.fillRect(buffer, Qt::transparent);
    painter.end();
    m_store->endPaint();
    m_store->flush(buffer);
}
