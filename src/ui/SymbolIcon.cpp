#include "ui/SymbolIcon.h"

#include "ui/PaletteFollower.h"

#include <QAbstractButton>
#include <QFile>
#include <QLabel>
#include <QPainter>
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
    const int pixels = qRound(size * devicePixelRatio);
    QPixmap pixmap(pixels, pixels);
    pixmap.fill(Qt::transparent);
    QSvgRenderer renderer(resourcePath(name));
    if (renderer.isValid()) {
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        renderer.render(&painter, QRectF(0, 0, pixels, pixels));
        // Keep the shape, take the colour.
        painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
        painter.fillRect(pixmap.rect(), color);
    }
    pixmap.setDevicePixelRatio(devicePixelRatio);
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
