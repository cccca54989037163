#include "FittedText.h"

#include "model/Whitespace.h"

#include <QFontMetricsF>

#include <cmath>

namespace {

bool isLineBreak(QChar c)
{
    return c == u'\n' || c == u'\r' || c == QChar::LineSeparator || c == QChar::ParagraphSeparator
        || c == u'\v' || c == u'\f' || c == QChar(0x85);
}

} // namespace

QString FittedText::firstLine(const QString &text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (!isLineBreak(text.at(i)))
            continue;
        QString rest = text.mid(i + 1);
        rest.removeIf(isLineBreak);
        return isBlank(rest) ? text.left(i) : text.left(i) + QChar(0x2026);
    }
    return text;
}

FittedText FittedText::fit(const QFont &font, const QString &text, qreal maxWidth)
{
    FittedText result;
    result.font = font;
    result.text = firstLine(text);
    qreal width = QFontMetricsF(font).horizontalAdvance(result.text);
    if (width <= maxWidth) {
        result.width = width;
        return result;
    }

    const int nominal = font.pixelSize();
    const int smallest = std::max(1, int(std::ceil(nominal * minimumScale)));
    // Advances grow almost linearly with the size: start from the proportional
    // guess and step down until it fits (hinting may round a size up).
    int size = std::max(smallest, int(std::floor(nominal * maxWidth / width)));
    for (;; --size) {
        result.font.setPixelSize(size);
        width = QFontMetricsF(result.font).horizontalAdvance(result.text);
        if (width <= maxWidth || size <= smallest)
            break;
    }
    result.shrunk = size < nominal;
    if (width > maxWidth) {
        const QFontMetricsF metrics(result.font);
        result.text = metrics.elidedText(result.text, Qt::ElideRight, maxWidth);
        width = metrics.horizontalAdvance(result.text);
        result.truncated = true;
    }
    result.width = width;
    return result;
}
