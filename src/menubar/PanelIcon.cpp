#include "menubar/PanelIcon.h"

#include "ui/Appearance.h"

#include <QPainter>

namespace PanelIcon {

QImage image(int size, Disc disc)
{
    const QColor dark(0x23, 0x26, 0x29);
    const QColor light(0xfc, 0xfc, 0xfc);
    const QColor fill = disc == Disc::dark ? dark : light;
    const QColor contrast = disc == Disc::dark ? light : dark;

    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    // Whole pixels for the outline and the hands, so that their edges fall on the grid.
    const int outline = std::max(1, qRound(size / 12.0));
    const int hand = 2 * std::max(1, size / 16);
    const QRectF whole(0, 0, size, size);
    painter.setBrush(contrast);
    painter.drawEllipse(whole);
    painter.setBrush(fill);
    painter.drawEllipse(whole.adjusted(outline, outline, -outline, -outline));

    // Ten past ten would be drawn at an angle, blurred at these sizes: the hands point
    // to twelve and three, along the pixel grid from the centre.
    painter.setRenderHint(QPainter::Antialiasing, false);
    const int centre = size / 2;
    const int radius = size / 2 - outline;
    const int minute = radius * 7 / 10;
    const int hour = radius / 2;
    painter.setBrush(contrast);
    painter.drawRect(centre - hand / 2, centre - minute, hand, minute + hand / 2);
    painter.drawRect(centre - hand / 2, centre - hand / 2, hour + hand / 2, hand);
    return image;
}

Disc discFor(const QPalette &palette)
{
    return Appearance::isDark(palette) ? Disc::light : Disc::dark;
}

QList<int> sizes()
{
    return {16, 22, 24, 32, 44, 48};
}

QIcon icon(Disc disc)
{
    QIcon icon;
    for (int size : sizes())
        icon.addPixmap(QPixmap::fromImage(image(size, disc)));
    return icon;
}

} // namespace PanelIcon
