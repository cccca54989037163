#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QUuid>

#include <optional>

// One task of the event's checklist.
struct Todo
{
    QUuid id;
    QString text;
    bool isCompleted = false;

    // A new task: fresh random id, not completed.
    static Todo create(const QString &text);

    friend bool operator==(const Todo &, const Todo &) = default;
};

using TodoList = QList<Todo>;

// The stored task-list document: a compact JSON array of {"id","text","isCompleted"}.
QByteArray encodeTodos(const TodoList &todos);
// Fails as a whole (no value) on any malformed entry; never throws.
std::optional<TodoList> decodeTodos(const QByteArray &document);
