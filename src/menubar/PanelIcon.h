#pragma once

#include <QIcon>
#include <QImage>

// The panel's "clock.fill" symbol: a filled disc with its hands and an outline in the
// other tone. The disc takes the tone that stands out from the panel (dark on a light
// panel, light on a dark one); the outline and the hands still show where the panel
// is not in the desktop's colours. Drawn on the pixel grid at each size, so that it
// stays sharp at the 16, 22 and 24 px panels ask for most.
namespace PanelIcon {
enum class Disc { dark, light };

QImage image(int size, Disc disc);
// The disc that stands out from a panel in the colours of `palette`.
Disc discFor(const QPalette &palette);
// The sizes panels ask for, up to twice the usual for high-density screens.
QList<int> sizes();
QIcon icon(Disc disc);
} // namespace PanelIcon
