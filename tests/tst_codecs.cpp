#include "model/QuoteList.h"
#include "model/Todo.h"
#include "model/Whitespace.h"

#include <QTest>

class TestCodecs : public QObject
{
    Q_OBJECT

private slots:
    void encodesTasksCompactlyInMemberOrder();
    void decodesTasks_data();
    void decodesTasks();
    void roundTripsAwkwardText();
    void decodesQuotes_data();
    void decodesQuotes();
    void trimsOnlySpacesAndTabs_data();
    void trimsOnlySpacesAndTabs();
};

namespace {
const char *const kId = "0F8FAD5B-D9CB-469F-A165-70867728950E";
}

void TestCodecs::encodesTasksCompactlyInMemberOrder()
{
    const Todo fresh = Todo::create(QStringLiteral("Send the \"kit\""));
    QVERIFY(!fresh.isCompleted);

    const QByteArray json = encodeTodos({fresh});
    const QString id = fresh.id.toString(QUuid::WithoutBraces).toUpper();
    QCOMPARE(json,
        QStringLiteral(R"([{"id":"%1","text":"Send the \"kit\"","isCompleted":false}])")
            .arg(id)
            .toUtf8());
    QCOMPARE(encodeTodos({}), QByteArray("[]"));
}

void TestCodecs::decodesTasks_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<bool>("readable");
    QTest::addColumn<int>("count");

    const QByteArray one = QByteArray(R"({"id":")") + kId + R"(","text":"A","isCompleted":true})";
    QTest::newRow("one task") << "[" + one + "]" << true << 1;
    QTest::newRow("empty list") << QByteArray("[]") << true << 0;
    QTest::newRow("extra member") << QByteArray(R"([{"id":")") + kId
            + R"(","text":"A","isCompleted":false,"due":3}])"
                                  << true << 1;
    QTest::newRow("lower-case id") << QByteArray(R"([{"id":")") + QByteArray(kId).toLower()
            + R"(","text":"A","isCompleted":false}])"
                                   << true << 1;
    QTest::newRow("white space between tokens") << "[ \n" + one + " ,\t" + one + " ]" << true << 2;

    QTest::newRow("missing isCompleted")
        << "[" + one + R"(,{"id":")" + kId + R"(","text":"B"}])" << false << 0;
    QTest::newRow("missing id") << QByteArray(R"([{"text":"A","isCompleted":true}])") << false << 0;
    QTest::newRow("isCompleted as number")
        << QByteArray(R"([{"id":")") + kId + R"(","text":"A","isCompleted":0}])" << false << 0;
    QTest::newRow("id not a uuid")
        << QByteArray(R"([{"id":"task-1","text":"A","isCompleted":false}])") << false << 0;
    QTest::newRow("id with braces")
        << QByteArray(R"([{"id":"{)") + kId + R"(}","text":"A","isCompleted":false}])" << false
        << 0;
    QTest::newRow("object, not array") << one << false << 0;
    QTest::newRow("truncated") << "[" + one.left(20) << false << 0;
    QTest::newRow("empty document") << QByteArray() << false << 0;
    QTest::newRow("not json") << QByteArray("\xff\xfe\x00garbage", 10) << false << 0;
    QTest::newRow("deep nesting") << QByteArray(100000, '[') << false << 0;
}

void TestCodecs::decodesTasks()
{
    QFETCH(QByteArray, json);
    QFETCH(bool, readable);
    QFETCH(int, count);

    const std::optional<TodoList> todos = decodeTodos(json);
    QCOMPARE(todos.has_value(), readable);
    if (readable) {
        QCOMPARE(todos->size(), count);
        for (const Todo &todo : *todos)
            QCOMPARE(todo.id, QUuid::fromString(QLatin1StringView(kId)));
    }
}

void TestCodecs::roundTripsAwkwardText()
{
    const TodoList todos = {
        Todo::create(QString()),
        Todo::create(QStringLiteral("Ünïcode 🚀 \\ \" / \n\t line")),
        Todo {QUuid::createUuid(), QStringLiteral("done"), true},
    };
    QCOMPARE(decodeTodos(encodeTodos(todos)), std::optional<TodoList>(todos));

    const QStringList quotes = {QString(), QStringLiteral("I'm \"quoted\""), QStringLiteral("\n")};
    QCOMPARE(decodeQuotes(encodeQuotes(quotes)), std::optional<QStringList>(quotes));
}

void TestCodecs::decodesQuotes_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<bool>("readable");
    QTest::addColumn<QStringList>("quotes");

    QTest::newRow("two") << QByteArray(R"(["Today I choose to be happy","I'm open"])") << true
                         << QStringList {"Today I choose to be happy", "I'm open"};
    QTest::newRow("empty list") << QByteArray("[]") << true << QStringList();
    QTest::newRow("empty entries") << QByteArray(R"(["",""])") << true << QStringList {"", ""};
    QTest::newRow("a number among strings") << QByteArray(R"(["a",1])") << false << QStringList();
    QTest::newRow("object") << QByteArray(R"({"quotes":[]})") << false << QStringList();
    QTest::newRow("garbage") << QByteArray("[\"a\"") << false << QStringList();
}

void TestCodecs::decodesQuotes()
{
    QFETCH(QByteArray, json);
    QFETCH(bool, readable);
    QFETCH(QStringList, quotes);

    const std::optional<QStringList> decoded = decodeQuotes(json);
    QCOMPARE(decoded.has_value(), readable);
    if (readable)
        QCOMPARE(*decoded, quotes);
}

void TestCodecs::trimsOnlySpacesAndTabs_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("trimmed");

    QTest::newRow("spaces and tabs") << QStringLiteral(" \t a b \t ") << QStringLiteral("a b");
    QTest::newRow("no-break and ideographic spaces")
        << QStringLiteral("\u00a0\u3000x\u2009") << QStringLiteral("x");
    QTest::newRow("line breaks stay") << QStringLiteral(" \n ") << QStringLiteral("\n");
    QTest::newRow("carriage return stays") << QStringLiteral("a\r") << QStringLiteral("a\r");
    QTest::newRow("only spaces") << QStringLiteral("   ") << QString();
    QTest::newRow("empty") << QString() << QString();
}

void TestCodecs::trimsOnlySpacesAndTabs()
{
    QFETCH(QString, text);
    QFETCH(QString, trimmed);
    QCOMPARE(trimmedWhitespace(text), trimmed);
    QCOMPARE(isBlank(text), trimmed.isEmpty());
}

QTEST_GUILESS_MAIN(TestCodecs)
#include "tst_codecs.moc"
