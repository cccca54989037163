#pragma once

#include <QIcon>
#include <QImage>

// The panel's "clock.fill" symbol: a light disc with a dark rim and dark hands, so
// that it reads on light and on dark panels alike.
namespace PanelIcon {
QImage image(int size);
// The sizes panels ask for, up to twice the usual for high-density screens.
QIcon icon();
} // namespace PanelIcon
