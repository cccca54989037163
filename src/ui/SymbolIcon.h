#pragma once

#include <QColor>
#include <QIcon>
#include <QPixmap>
#include <QString>

// The program's symbols ("clock.fill", "pencil", ...): small SVGs in the resources,
// drawn in one colour at the screen's pixel density.
class SymbolIcon
{
public:
    static QPixmap pixmap(
        const QString &name, const QColor &color, int size, qreal devicePixelRatio = 1);
    // For buttons: crisp at 1x and 2x.
    static QIcon icon(const QString &name, const QColor &color, int size = 16);
    static bool exists(const QString &name);
    // The resources live in a static library: make sure they are registered before
    // anything reads ":/daystride/...".
    static void ensureResources();
};
