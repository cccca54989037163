#include "CoverPixel.h"

#include <QPainter>

CoverPixel::CoverPixel(QWindow *cover)
    : QRasterWindow(cover)
{
    setFlag(Qt::WindowTransparentForInput);
    setGeometry(0, 0, 1, 1);
}

void CoverPixel::paintEvent(QPaintEvent *)
{
    QPainter(this).fillRect(0, 0, 1, 1, Qt::black);
}
