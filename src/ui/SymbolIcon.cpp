#include "ui/SymbolIcon.h"

#include "ui/PaletteFollower.h"

#include <QAbstractButton>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QPixmapCache>
#include <QSvgRenderer>

namespace {
QString resourcePath(const QString &name)
{
    SymbolIcon::ensureResources();
    return QStringLiteral(":/daystride/symbols/%1.svg").arg(name);
}
} // namespace

// Outside any namespace, as the resource initialiser must be.
static void initDaystrideResources()
{
    Q_INIT_RESOURCE(daystride);
}

void SymbolIcon::ensureResources()
{
    static const bool done = [] {
        initDaystrideResources();
        return true;
    }();
    Q_UNUSED(done);
}

QPixmap SymbolIcon::pixmap(
    const QString &name, const QColor &color, int size, qreal devicePixelRatio)
{
    // The same symbol in the same colour appears many times (a check per task), and
    // themes switch back and forth: draw each once.
    const QString key = QStringLiteral("daystride-symbol/%1/%2/%3/%4")
                            .arg(name, color.name(QColor::HexArgb))
                            .arg(size)
                            .arg(devicePixelRatio);
    QPixmap pixmap;
    if (QPixmapCache::find(key, &pixmap))
        return pixmap;
    const int pixels = qRound(size * devicePixelRatio);
    QImage image(pixels, pixels, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QSvgRenderer renderer(resourcePath(name));
    if (renderer.isValid()) {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        renderer.render(&painter, QRectF(0, 0, pixels, pixels));
        // Keep the shape, take the colour.
        painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
        painter.fillRect(image.rect(), color);
    }
    // A copy, so that the paint engine the image keeps for its next painter (some
    // kilobytes with its rasterizer's buffers) goes with it.
    pixmap = QPixmap::fromImage(image.copy());
    pixmap.setDevicePixelRatio(devicePixelRatio);
    QPixmapCache::insert(key, pixmap);
    return pixmap;
}

QIcon SymbolIcon::icon(const QString &name, const QColor &color, int size)
{
    QIcon icon;
    for (qreal ratio : {1.0, 2.0}) {
        icon.addPixmap(pixmap(name, color, size, ratio), QIcon::Normal);
        QColor faded = color;
        faded.setAlphaF(color.alphaF() * 0.4f);
        icon.addPixmap(pixmap(name, faded, size, ratio), QIcon::Disabled);
    }
    return icon;
}

bool SymbolIcon::exists(const QString &name)
{
    return QFile::exists(resourcePath(name));
}

namespace {
// The enabled colours: a disabled label or button dims its symbol itself.
QPalette activeColours(const QWidget *widget)
{
    QPalette palette = widget->palette();
    palette.setCurrentColorGroup(QPalette::Active);
    return palette;
}
} // namespace

void SymbolIcon::show(QLabel *label, const QString &name, int size, Tint tint)
{
    PaletteFollower::follow(label, [label, name, size, tint] {
        label->setPixmap(
            pixmap(name, tint(activeColours(label)), size, label->devicePixelRatioF()));
    });
}

void SymbolIcon::show(QAbstractButton *button, const QString &name, int size, Tint tint)
{
    PaletteFollower::follow(button, [button, name, size, tint] {
        button->setIcon(icon(name, tint(activeColours(button)), size));
    });
}
