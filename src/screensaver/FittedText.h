#pragma once

#include <QFont>
#include <QString>

// One line of text fitted to a width: first shrunk, down to half its size, then
// truncated with an ellipsis. Only the first line of a multi-line text is shown.
struct FittedText
{
    QFont font;
    QString text;
    qreal width = 0;
    bool shrunk = false;
    bool truncated = false;

    // `font` must have a pixel size.
    static FittedText fit(const QFont &font, const QString &text, qreal maxWidth);
    // The text up to its first line break, with an ellipsis if more text follows.
    static QString firstLine(const QString &text);
    static constexpr qreal minimumScale = 0.5;
};
