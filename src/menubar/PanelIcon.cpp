#include "menubar/PanelIcon.h"

#include <QPainter>
#include <QPainterPath>

namespace PanelIcon {

QImage image(int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal unit = size / 16.0;
    const QRectF disc = QRectF(1, 1, 14, 14).adjusted(0.5, 0.5, -0.5, -0.5);
    painter.scale(unit, unit);

    painter.setPen(QPen(QColor(0, 0, 0, 160), 1.0));
    painter.setBrush(QColor(0xf2, 0xf2, 0xf2));
    painter.drawEllipse(disc);

    QPen hand(QColor(0x26, 0x26, 0x26), 1.6, Qt::SolidLine, Qt::RoundCap);
    painter.setPen(hand);
    const QPointF centre = disc.center();
    painter.drawLine(centre, centre + QPointF(0, -4.4));
    painter.drawLine(centre, centre + QPointF(3.2, 1.6));
    return image;
}

QIcon icon()
{
    QIcon icon;
    for (int size : {16, 22, 24, 32, 44, 48})
        icon.addPixmap(QPixmap::fromImage(image(size)));
    return icon;
}

} // namespace PanelIcon
