#pragma once

#include <QColor>
#include <QIcon>
#include <QPixmap>
#include <QString>

#include <functional>

class QAbstractButton;
class QLabel;
class QPalette;

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

    // The colour a symbol takes from its widget's palette.
    using Tint = std::function<QColor(const QPalette &)>;
    // Shows the symbol on the label or button, tinted again whenever the palette
    // changes.
    static void show(QLabel *label, const QString &name, int size, Tint tint);
    static void show(QAbstractButton *button, const QString &name, int size, Tint tint);
    // The resources live in a static library: make sure they are registered before
    // anything reads ":/daystride/...".
    static void ensureResources();
};
