#include "FittedText.h"

#include "model/Whitespace.h"

#include <QFontMetricsF>

#include <cmath>

namespace {

const QChar kEllipsis(0x2026);

bool isLineBreak(QChar c)
{
    return c == u'\n' || c == u'\r' || c == QChar::LineSeparator || c == QChar::ParagraphSeparator
        || c == u'\v' || c == u'\f' || c == QChar(0x85);
}

// The text up to its first line break, and whether anything but white space and
// breaks follows it. Reads no further than it must: stored texts can be huge.
QStringView firstLineOf(QStringView text, bool *more)
{
    *more = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (!isLineBreak(text.at(i)))
            continue;
        for (qsizetype j = i + 1; j < text.size() && !*more; ++j)
            *more = !isLineBreak(text.at(j)) && !isBlank(text.sliced(j, 1));
        return text.left(i);
    }
    return text;
}

// More characters than one line of `maxWidth` can show at the smallest size, even if
// every one were as narrow as a thin space: the rest is never measured.
qsizetype visibleLimit(int smallestPixelSize, qreal maxWidth)
{
    const qreal narrowest = std::max(1.0, 0.1 * smallestPixelSize);
    return qsizetype(std::ceil(std::max<qreal>(0, maxWidth) / narrowest)) + 2;
}

} // namespace

QString FittedText::firstLine(const QString &text)
{
    bool more = false;
    const QStringView line = firstLineOf(text, &more);
    return more ? line.toString() + kEllipsis : line.toString();
}

FittedText FittedText::fit(const QFont &font, const QString &text, qreal maxWidth)
{
    FittedText result;
    result.font = font;
    const int nominal = font.pixelSize();
    const int smallest = std::max(1, int(std::ceil(nominal * minimumScale)));

    bool more = false;
    QStringView line = firstLineOf(text, &more);
    const qsizetype limit = visibleLimit(smallest, maxWidth);
    const bool cut = line.size() > limit;
    if (cut) {
        line = line.left(limit);
        // Never half a surrogate pair.
        if (line.back().isHighSurrogate())
            line.chop(1);
        more = true;
    }
    result.text = more ? line.toString() + kEllipsis : line.toString();

    qreal width = QFontMetricsF(font).horizontalAdvance(result.text);
    if (width <= maxWidth) {
        result.width = width;
        result.truncated = cut;
        return result;
    }

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
