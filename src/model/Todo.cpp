#include "Todo.h"

#include <nlohmann/json.hpp>

using Json = nlohmann::ordered_json;

Todo Todo::create(const QString &text)
{
    return Todo {QUuid::createUuid(), text, false};
}

QByteArray encodeTodos(const TodoList &todos)
{
    Json array = Json::array();
    for (const Todo &todo : todos) {
        Json object;
        object["id"] = todo.id.toString(QUuid::WithoutBraces).toUpper().toStdString();
        object["text"] = todo.text.toStdString();
        object["isCompleted"] = todo.isCompleted;
        array.push_back(std::move(object));
    }
    // Replace rather than throw on text that is not valid UTF-8 (lone surrogates).
    return QByteArray::fromStdString(array.dump(-1, ' ', false, Json::error_handler_t::replace));
}

namespace {

// The 36-character 8-4-4-4-12 form, either letter case; QUuid alone also takes braces.
std::optional<QUuid> parseUuid(const std::string &text)
{
    if (text.size() != 36)
        return std::nullopt;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        const bool hyphenPosition = i == 8 || i == 13 || i == 18 || i == 23;
        if (hyphenPosition ? c != '-' : !std::isxdigit(static_cast<unsigned char>(c)))
            return std::nullopt;
    }
    return QUuid::fromString(QLatin1StringView(text.data(), qsizetype(text.size())));
}

} // namespace

std::optional<TodoList> decodeTodos(const QByteArray &document)
{
    const Json root = Json::parse(document.begin(), document.end(), nullptr, false);
    if (!root.is_array())
        return std::nullopt;
    TodoList todos;
    todos.reserve(qsizetype(root.size()));
    for (const Json &entry : root) {
        if (!entry.is_object())
            return std::nullopt;
        const auto id = entry.find("id");
        const auto text = entry.find("text");
        const auto done = entry.find("isCompleted");
        if (id == entry.end() || !id->is_string() || text == entry.end() || !text->is_string()
            || done == entry.end() || !done->is_boolean())
            return std::nullopt;
        const std::optional<QUuid> uuid = parseUuid(id->get_ref<const std::string &>());
        if (!uuid)
            return std::nullopt;
        todos.append(Todo {*uuid, QString::fromStdString(text->get_ref<const std::string &>()),
            done->get<bool>()});
    }
    return todos;
}
