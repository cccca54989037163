#include "QuoteList.h"

#include <nlohmann/json.hpp>

using Json = nlohmann::ordered_json;

QByteArray encodeQuotes(const QStringList &quotes)
{
    Json array = Json::array();
    for (const QString &quote : quotes)
        array.push_back(quote.toStdString());
    return QByteArray::fromStdString(array.dump(-1, ' ', false, Json::error_handler_t::replace));
}

std::optional<QStringList> decodeQuotes(const QByteArray &document)
{
    const Json root = Json::parse(document.begin(), document.end(), nullptr, false);
    if (!root.is_array())
        return std::nullopt;
    QStringList quotes;
    quotes.reserve(qsizetype(root.size()));
    for (const Json &entry : root) {
        if (!entry.is_string())
            return std::nullopt;
        quotes.append(QString::fromStdString(entry.get_ref<const std::string &>()));
    }
    return quotes;
}
