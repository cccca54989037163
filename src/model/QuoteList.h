#pragma once

#include <QByteArray>
#include <QStringList>

#include <optional>

// The stored quote-list document: a JSON array of strings.
QByteArray encodeQuotes(const QStringList &quotes);
// Anything but an array of strings gives no value; never throws.
std::optional<QStringList> decodeQuotes(const QByteArray &document);
