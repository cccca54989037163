#pragma once

#include <QString>

// Removes leading and trailing tabs and Unicode space separators (category Zs).
// Line breaks are kept: a text of only a line break is not blank.
QString trimmedWhitespace(const QString &text);
bool isBlank(QStringView text);
