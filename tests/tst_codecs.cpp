#include "model/QuoteList.h"
#include "model/Todo.h"
#include "model/Whitespace.h"

#include <QTest>

namespace {
const QByteArray kId = "0F8FAD5B-D9CB-469F-A165-70867728950E";

// A stored task: its id, then the other members written with ' for ".
QByteArray task(const QByteArray &id, const char *rest = "'text':'A','isCompleted':true")
{
    return "{\"id\":\"" + id + "\"," + QByteArray(rest).replace('\'', '"') + "}";
}
} // namespace

class TestCodecs : public QObject
{
    Q_OBJECT

private slots:
    void encodesTasksCompactlyInMemberOrder()
    {
        const Todo fresh = Todo::create(QStringLiteral("Send the \"kit\""));
        QVERIFY(!fresh.isCompleted);
        const QByteArray id = fresh.id.toString(QUuid::WithoutBraces).toUpper().toLatin1();
        QCOMPARE(encodeTodos({fresh}),
            "[" + task(id, "'text':'Send the \\'kit\\'','isCompleted':false") + "]");
        QCOMPARE(encodeTodos({}), QByteArray("[]"));
        QCOMPARE(encodeQuotes({}), QByteArray("[]"));
    }

    // Each document through both decoders: a count of tasks (-1: unreadable as
    // tasks) and the quotes (null: unreadable as quotes).
    void decodes_data()
    {
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<int>("tasks");
        QTest::addColumn<QVariant>("quotes");

        const QByteArray one = task(kId);
        const QVariant none;
        QTest::newRow("one task") << "[" + one + "]" << 1 << none;
        QTest::newRow("empty list") << QByteArray("[]") << 0 << QVariant(QStringList());
        QTest::newRow("extra member")
            << "[" + task(kId, "'text':'A','isCompleted':false,'due':3") + "]" << 1 << none;
        QTest::newRow("lower-case id") << "[" + task(kId.toLower()) + "]" << 1 << none;
        QTest::newRow("white space between tokens")
            << "[ \n" + one + " ,\t" + one + " ]" << 2 << none;
        QTest::newRow("missing isCompleted")
            << "[" + one + "," + task(kId, "'text':'B'") + "]" << -1 << none;
        QTest::newRow("missing id")
            << QByteArray(R"([{"text":"A","isCompleted":true}])") << -1 << none;
        QTest::newRow("isCompleted as number")
            << "[" + task(kId, "'text':'A','isCompleted':0") + "]" << -1 << none;
        QTest::newRow("id not a uuid") << "[" + task("task-1") + "]" << -1 << none;
        QTest::newRow("id with braces") << "[" + task("{" + kId + "}") + "]" << -1 << none;
        QTest::newRow("object, not array") << one << -1 << none;
        QTest::newRow("truncated") << "[" + one.left(20) << -1 << none;
        QTest::newRow("empty document") << QByteArray() << -1 << none;
        QTest::newRow("not json") << QByteArray("\xff\xfe\x00garbage", 10) << -1 << none;
        QTest::newRow("deep nesting") << QByteArray(100000, '[') << -1 << none;
        QTest::newRow("two quotes")
            << QByteArray("[\"Today I choose to be happy\",\"I'm open\"]") << -1
            << QVariant(QStringList {"Today I choose to be happy", "I'm open"});
        QTest::newRow("empty quotes")
            << QByteArray(R"(["",""])") << -1 << QVariant(QStringList {"", ""});
        QTest::newRow("a number among strings") << QByteArray(R"(["a",1])") << -1 << none;
    }

    void decodes()
    {
        QFETCH(QByteArray, json);
        QFETCH(int, tasks);
        QFETCH(QVariant, quotes);
        const std::optional<TodoList> todos = decodeTodos(json);
        QCOMPARE(todos ? int(todos->size()) : -1, tasks);
        for (const Todo &todo : todos.value_or(TodoList()))
            QCOMPARE(todo.id, QUuid::fromString(QLatin1StringView(kId)));
        const std::optional<QStringList> decoded = decodeQuotes(json);
        QCOMPARE(decoded ? QVariant(*decoded) : QVariant(), quotes);
    }

    void roundTripsAwkwardText()
    {
        const TodoList todos
            = {Todo::create(QString()), Todo::create(QStringLiteral("Ünïcode 🚀 \\ \" / \n\t line")),
                Todo {QUuid::createUuid(), QStringLiteral("done"), true}};
        QCOMPARE(decodeTodos(encodeTodos(todos)), std::optional<TodoList>(todos));
        const QStringList quotes = {QString(), QStringLiteral("I'm \"quoted\""), "\n"};
        QCOMPARE(decodeQuotes(encodeQuotes(quotes)), std::optional<QStringList>(quotes));
    }

    void trimsOnlySpacesAndTabs_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("trimmed");
        QTest::newRow("spaces and tabs") << " \t a b \t "
                                         << "a b";
        QTest::newRow("no-break and ideographic spaces") << "\u00a0\u3000x\u2009"
                                                         << "x";
        QTest::newRow("line breaks stay") << " \n "
                                          << "\n";
        QTest::newRow("carriage return stays") << "a\r"
                                               << "a\r";
        QTest::newRow("only spaces") << "   " << QString();
        QTest::newRow("empty") << QString() << QString();
    }

    void trimsOnlySpacesAndTabs()
    {
        QFETCH(QString, text);
        QFETCH(QString, trimmed);
        QCOMPARE(trimmedWhitespace(text), trimmed);
        QCOMPARE(isBlank(text), trimmed.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestCodecs)
#include "tst_codecs.moc"
