#include "FakePlatform.h"
#include "TestEnvironment.h"
#include "model/TimerViewModel.h"
#include "screensaver/CountdownView.h"
#include "screensaver/FittedText.h"

#include <QFontInfo>
#include <QImage>
#include <QTest>

#include <memory>

namespace {

// The smallest rectangle of non-black pixels inside `area`.
QRect inkIn(const QImage &image, const QRect &area)
{
    QRect ink;
    const QRect clipped = area.intersected(image.rect());
    for (int y = clipped.top(); y <= clipped.bottom(); ++y) {
        for (int x = clipped.left(); x <= clipped.right(); ++x) {
            if (qGray(image.pixel(x, y)) > 64)
                ink |= QRect(x, y, 1, 1);
        }
    }
    return ink;
}

} // namespace

class TestCountdownView : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void scalesFromTheReferenceDesign_data();
    void scalesFromTheReferenceDesign();
    void columnStacksItsLines_data();
    void columnStacksItsLines();
    void quoteComesFromTheValidQuotes_data();
    void quoteComesFromTheValidQuotes();
    void quoteIsRechosenEvery90Ticks();
    void everyQuoteCanBeChosen();
    void taskGridFillsRowByRow_data();
    void taskGridFillsRowByRow();
    void wideNumberShrinksInsideItsBox_data();
    void wideNumberShrinksInsideItsBox();
    void longTextShrinksToHalfThenTruncates_data();
    void longTextShrinksToHalfThenTruncates();
    void firstLineOnly_data();
    void firstLineOnly();
    void ticksOnlyWhileShownAndReadsTheModel();
    void modelChangesAreLaidOutOnceDeferred();
    void typefaceIsRoundedAndLight();
    void paintsWhiteTextOnBlack();

private:
    std::unique_ptr<CountdownView> makeView(QSize size = QSize(1920, 1080));

    std::unique_ptr<TestEnvironment> m_env;
    std::unique_ptr<FakePlatform> m_platform;
    std::unique_ptr<TimerViewModel> m_model;
    const QDateTime m_now = QDateTime(QDate(2026, 5, 4), QTime(10, 0));
};

void TestCountdownView::initTestCase()
{
    m_env = std::make_unique<TestEnvironment>();
}

void TestCountdownView::init()
{
    m_platform = std::make_unique<FakePlatform>();
    m_platform->setNow(m_now);
    m_model = std::make_unique<TimerViewModel>(*m_platform);
    m_model->setEventName(QStringLiteral("Launch"));
    m_model->setTimerDate(m_now.addDays(12).addSecs(3 * 3600 + 4 * 60 + 5));
}

void TestCountdownView::cleanup()
{
    m_model.reset();
    m_platform.reset();
}

std::unique_ptr<CountdownView> TestCountdownView::makeView(QSize size)
{
    auto view = std::make_unique<CountdownView>(m_model.get());
    view->resize(size);
    return view;
}

void TestCountdownView::scalesFromTheReferenceDesign_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<qreal>("scale");
    QTest::newRow("reference") << QSize(1920, 1080) << 1.0;
    QTest::newRow("width is the smaller ratio") << QSize(1440, 900) << 0.75;
    QTest::newRow("ultra-wide") << QSize(3840, 1080) << 1.0;
    QTest::newRow("5:4") << QSize(1280, 1024) << 2.0 / 3;
    QTest::newRow("4K") << QSize(3840, 2160) << 2.0;
}

void TestCountdownView::scalesFromTheReferenceDesign()
{
    QFETCH(QSize, size);
    QFETCH(qreal, scale);
    const auto view = makeView(size);
    QCOMPARE(view->scale(), scale);
    QCOMPARE(view->eventNameLine().nominalPixelSize, qRound(60 * scale));

    const auto &groups = view->unitGroups();
    const QStringList labels = {"days", "hours", "mins", "secs"};
    const QList<qreal> boxes = {250, 200, 200, 200};
    for (int i = 0; i < 4; ++i) {
        QCOMPARE(groups[i].number.nominalPixelSize, qRound(150 * scale));
        QCOMPARE(groups[i].label.nominalPixelSize, qRound(20 * scale));
        QCOMPARE(groups[i].label.text, labels[i]);
        QCOMPARE(groups[i].box.width(), boxes[i] * scale);
        // The number sits at the trailing edge of its box, the label 20 behind it.
        QCOMPARE(groups[i].number.rect.right(), groups[i].box.right());
        QCOMPARE(groups[i].label.rect.left() - groups[i].box.right(), 20 * scale);
        QCOMPARE(groups[i].number.baseline, groups[i].label.baseline);
        if (i > 0)
            QCOMPARE(groups[i].box.left() - groups[i - 1].label.rect.right(), 20 * scale);
    }
    // Centred on the screen both ways.
    const QPointF centre = QRectF(QPointF(), QSizeF(size)).center();
    QCOMPARE(view->columnRect().center(), centre);
    QCOMPARE(view->countdownRowRect().center().x(), centre.x());
    QCOMPARE(view->gridRect().center().x(), centre.x());
    QCOMPARE(view->gridRect().width(), 1100 * scale);
}

void TestCountdownView::columnStacksItsLines_data()
{
    QTest::addColumn<QString>("subtitle");
    QTest::addColumn<bool>("withQuote");
    QTest::newRow("no subtitle, no quote") << QString() << false;
    QTest::newRow("spaces are a blank subtitle") << QStringLiteral("   ") << false;
    QTest::newRow("subtitle and quote") << QStringLiteral("Ship it") << true;
}

void TestCountdownView::columnStacksItsLines()
{
    QFETCH(QString, subtitle);
    QFETCH(bool, withQuote);
    m_model->setSubtitle(subtitle);
    m_model->setQuotes(withQuote ? QStringList {QStringLiteral("Keep going")} : QStringList());
    const auto view = makeView(QSize(1440, 900));
    view->refresh();
    const qreal s = 0.75;

    const CountdownView::Line &name = view->eventNameLine();
    QCOMPARE(name.rect.top(), view->columnRect().top());
    qreal y = name.rect.bottom();
    const CountdownView::Line &sub = view->subtitleLine();
    QCOMPARE(sub.present, !subtitle.isEmpty());
    if (sub.present) {
        QCOMPARE(sub.text, subtitle); // as stored, not trimmed
        QCOMPARE(sub.nominalPixelSize, qRound(30 * s));
        QCOMPARE(sub.rect.top() - y, 10 * s);
        y = sub.rect.bottom();
    }
    QCOMPARE(view->countdownRowRect().top() - y, 50 * s);
    y = view->countdownRowRect().bottom();

    const CountdownView::Line &quote = view->quoteLine();
    QCOMPARE(quote.present, withQuote);
    if (withQuote) {
        QCOMPARE(quote.rect.top() - y, 100 * s);
        QCOMPARE(quote.nominalPixelSize, qRound(50 * s));
        QCOMPARE(view->gridRect().top() - quote.rect.bottom(), 80 * s);
    } else {
        QCOMPARE(view->gridRect().top() - y, 100 * s);
    }
    QCOMPARE(view->gridRect().bottom(), view->columnRect().bottom());
}

void TestCountdownView::quoteComesFromTheValidQuotes_data()
{
    QTest::addColumn<QStringList>("quotes");
    QTest::addColumn<QString>("expected");
    QTest::newRow("none") << QStringList() << QString();
    QTest::newRow("only blanks") << QStringList {"", "   ", "\t", QStringLiteral("\u00a0\u2003")}
                                 << QString();
    QTest::newRow("a line break is not blank") << QStringList {"  ", "\n"} << QStringLiteral("\n");
    QTest::newRow("kept untrimmed")
        << QStringList {"", QStringLiteral("  Be kind ")} << QStringLiteral("  Be kind ");
}

void TestCountdownView::quoteComesFromTheValidQuotes()
{
    QFETCH(QStringList, quotes);
    QFETCH(QString, expected);
    m_model->setQuotes(quotes);
    const auto view = makeView();
    for (int tick = 0; tick < 3; ++tick) {
        view->refresh();
        QCOMPARE(view->quote(), expected);
        // Without a quote every tick tries again; a shown one stays and counts.
        QCOMPARE(view->quoteInterval(), expected.isEmpty() ? 0 : tick);
    }
    QCOMPARE(view->quoteLine().present, !expected.isEmpty());
    if (expected == u"\n") // shown as an empty-looking line
        QCOMPARE(view->quoteLine().text, QString());
}

void TestCountdownView::quoteIsRechosenEvery90Ticks()
{
    m_model->setQuotes({QStringLiteral("First")});
    const auto view = makeView();
    view->refresh();
    QCOMPARE(view->quote(), QStringLiteral("First"));

    m_model->setQuotes({QStringLiteral("Second")});
    for (int tick = 1; tick < 90; ++tick) {
        view->refresh();
        QCOMPARE(view->quoteInterval(), tick);
        QCOMPARE(view->quote(), QStringLiteral("First"));
    }
    view->refresh();
    QCOMPARE(view->quoteInterval(), 0);
    QCOMPARE(view->quote(), QStringLiteral("Second"));
    QCOMPARE(view->quoteLine().text, QStringLiteral("Second"));
}

void TestCountdownView::everyQuoteCanBeChosen()
{
    const QStringList quotes = {"A", "B", "C"};
    m_model->setQuotes(quotes);
    QSet<QString> seen;
    int differingPairs = 0;
    for (int i = 0; i < 200; ++i) {
        // Two windows, each with its own view and choice.
        CountdownView first(m_model.get()), second(m_model.get());
        first.refresh();
        second.refresh();
        seen << first.quote() << second.quote();
        differingPairs += first.quote() != second.quote();
    }
    QCOMPARE(seen, QSet<QString>(quotes.begin(), quotes.end()));
    QVERIFY(differingPairs > 0);
}

void TestCountdownView::taskGridFillsRowByRow_data()
{
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<QList<bool>>("completed");
    QTest::addColumn<QStringList>("shown");
    QTest::newRow("six") << QStringList {"a", "b", "c", "d", "e", "f"}
                         << QList<bool> {true, false, false, true, false, false}
                         << QStringList {"a", "b", "c", "d", "e", "f"};
    QTest::newRow("blank tasks hidden, completed kept")
        << QStringList {"a", "  ", "b", "\t", "c", ""}
        << QList<bool> {false, true, true, false, false, false} << QStringList {"a", "b", "c"};
    QTest::newRow("none visible") << QStringList {"", " ", "", "", "", ""} << QList<bool>(6, false)
                                  << QStringList();
}

void TestCountdownView::taskGridFillsRowByRow()
{
    QFETCH(QStringList, texts);
    QFETCH(QList<bool>, completed);
    QFETCH(QStringList, shown);
    TodoList todos = m_model->todos();
    for (int i = 0; i < 6; ++i) {
        todos[i].text = texts[i];
        todos[i].isCompleted = completed[i];
    }
    m_model->setTodos(todos);
    const auto view = makeView(QSize(3840, 2160));
    const qreal s = 2;

    const auto &cells = view->todoViews();
    QCOMPARE(qsizetype(cells.size()), shown.size());
    QCOMPARE(view->visibleTodos().size(), shown.size());
    const QRectF grid = view->gridRect();
    for (size_t i = 0; i < cells.size(); ++i) {
        const TodoView &cell = cells[i];
        QCOMPARE(cell.todoTitle(), shown[qsizetype(i)]);
        QCOMPARE(cell.symbolName(),
            cell.isCompleted() ? QStringLiteral("checkmark.circle") : QStringLiteral("circle"));
        QCOMPARE(cell.titleFont().strikeOut(), cell.isCompleted());
        QCOMPARE(cell.titleFont().pixelSize(), qRound(30 * s));
        QVERIFY(cell.symbolRect().right() < cell.titleRect().left());
        QVERIFY(grid.contains(cell.cell()));
        // Left column at the grid's leading edge, right one 60 after the left.
        if (i % 2 == 0)
            QCOMPARE(cell.cell().left(), grid.left());
        else
            QCOMPARE(cell.cell().left() - cells[i - 1].cell().right(), 60 * s);
        if (i >= 2)
            QCOMPARE(cell.cell().top() - cells[i - 2].cell().bottom(), 16 * s);
    }
    if (cells.size() == 3)
        QCOMPARE(cells[2].cell().top(), cells[1].cell().bottom() + 16 * s);
    QCOMPARE(grid.height() == 0, shown.isEmpty());
    for (qsizetype i = 0; i < qsizetype(shown.size()); ++i)
        QCOMPARE(cells[i].isCompleted(), view->visibleTodos()[i].isCompleted);
}

void TestCountdownView::wideNumberShrinksInsideItsBox_data()
{
    QTest::addColumn<qint64>("days");
    QTest::addColumn<bool>("shrunk");
    QTest::addColumn<bool>("truncated");
    QTest::newRow("two digits fit") << 42LL << false << false;
    QTest::newRow("four digits shrink") << 1234LL << true << false;
    QTest::newRow("nine digits are truncated at half size") << 123456789LL << true << true;
}

void TestCountdownView::wideNumberShrinksInsideItsBox()
{
    QFETCH(qint64, days);
    QFETCH(bool, shrunk);
    QFETCH(bool, truncated);
    const auto view = makeView();
    // The first tick brings the quote line, which moves the row; compare after it.
    view->refresh();
    const QRectF rowBefore = view->countdownRowRect();
    m_model->setTimerDate(m_now.addDays(days));
    view->refresh();
    QCOMPARE(view->timeRemaining().days, days);

    const CountdownView::UnitGroup &group = view->unitGroups()[0];
    QCOMPARE(view->countdownRowRect(), rowBefore); // the row never widens
    QVERIFY(group.number.rect.width() <= group.box.width());
    QCOMPARE(group.number.rect.right(), group.box.right());
    QCOMPARE(group.number.font.pixelSize() < 150, shrunk);
    QVERIFY(group.number.font.pixelSize() >= 75);
    QCOMPARE(group.number.text.endsWith(QChar(0x2026)), truncated);
    if (!truncated)
        QCOMPARE(group.number.text, QString::number(days));
    // The other numbers keep their size.
    QCOMPARE(view->unitGroups()[1].number.font.pixelSize(), 150);
}

void TestCountdownView::longTextShrinksToHalfThenTruncates_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("shrunk");
    QTest::addColumn<bool>("truncated");
    QTest::newRow("fits") << QStringLiteral("Launch") << false << false;
    QTest::newRow("shrinks") << QString(40, u'W') << true << false;
    QTest::newRow("truncates") << QString(200, u'W') << true << true;
}

void TestCountdownView::longTextShrinksToHalfThenTruncates()
{
    QFETCH(QString, name);
    QFETCH(bool, shrunk);
    QFETCH(bool, truncated);
    m_model->setEventName(name);
    const auto view = makeView(QSize(1440, 900));
    const CountdownView::Line &line = view->eventNameLine();
    QVERIFY(line.rect.width() <= 1440);
    QCOMPARE(line.font.pixelSize() < 45, shrunk);
    QVERIFY(line.font.pixelSize() >= 23);
    QCOMPARE(line.text.endsWith(QChar(0x2026)), truncated);
    QCOMPARE(line.rect.height(), view->eventNameLine().rect.height());
}

void TestCountdownView::firstLineOnly_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("line");
    QTest::newRow("one line") << QStringLiteral("Be kind") << QStringLiteral("Be kind");
    QTest::newRow("only a break") << QStringLiteral("\n") << QString();
    QTest::newRow("trailing breaks")
        << QStringLiteral("Be kind\r\n\n") << QStringLiteral("Be kind");
    QTest::newRow("more lines") << QStringLiteral("Be\nkind") << QStringLiteral("Be\u2026");
    QTest::newRow("leading break") << QStringLiteral("\nkind") << QStringLiteral("\u2026");
}

void TestCountdownView::firstLineOnly()
{
    QFETCH(QString, text);
    QTEST(FittedText::firstLine(text), "line");
}

void TestCountdownView::ticksOnlyWhileShownAndReadsTheModel()
{
    m_model->setQuotes({QStringLiteral("Q")});
    const auto view = makeView(QSize(800, 600));
    QVERIFY(!view->isTicking());
    QCOMPARE(view->timeRemaining(), TimeRemaining());

    view->show();
    QVERIFY(QTest::qWaitForWindowExposed(view.get()));
    // The first refresh ran on appearing.
    QVERIFY(view->isTicking());
    QCOMPARE(view->timeRemaining(), (TimeRemaining {12, 3, 4, 5}));
    QCOMPARE(view->quote(), QStringLiteral("Q"));
    QCOMPARE(view->unitGroups()[3].number.text, QStringLiteral("5"));

    // After the event: zeros with the usual labels, still refreshing.
    m_platform->setNow(m_model->timerDate().addSecs(3600));
    view->refresh();
    QCOMPARE(view->timeRemaining(), TimeRemaining());
    for (const auto &group : view->unitGroups())
        QCOMPARE(group.number.text, QStringLiteral("0"));
    QCOMPARE(view->unitGroups()[0].label.text, QStringLiteral("days"));
    QVERIFY(view->isTicking());

    view->hide();
    QVERIFY(!view->isTicking());
}

void TestCountdownView::modelChangesAreLaidOutOnceDeferred()
{
    const auto view = makeView();
    QVERIFY(!view->subtitleLine().present);
    m_model->setSubtitle(QStringLiteral("Day one"));
    m_model->setEventName(QStringLiteral("Renamed"));
    QCOMPARE(view->subtitleLine().text, QStringLiteral("Day one"));
    QCOMPARE(view->eventNameLine().text, QStringLiteral("Renamed"));

    TodoList todos = m_model->todos();
    todos[0].text = QStringLiteral("  ");
    m_model->setTodos(todos);
    QCOMPARE(view->todoViews().size(), size_t(5));

    // The view model gone: nothing to show, nothing to crash on.
    m_model.reset();
    view->refresh();
    QVERIFY(view->validQuotes().isEmpty());
    QVERIFY(!view->grab().isNull());
}

void TestCountdownView::typefaceIsRoundedAndLight()
{
    const QFont thin = CountdownView::typeface(CountdownView::Weight::thin, 60);
    const QFont ultraLight = CountdownView::typeface(CountdownView::Weight::ultraLight, 60);
    QCOMPARE(thin.pixelSize(), 60);
    QVERIFY(QFontInfo(ultraLight).weight() <= QFontInfo(thin).weight());
    QVERIFY(QFontInfo(thin).weight() <= QFont::Light);
    if (!QFontInfo(thin).family().startsWith(QStringLiteral("Quicksand")))
        QSKIP("fonts-quicksand is not installed; the system font stands in");
}

void TestCountdownView::paintsWhiteTextOnBlack()
{
    m_model->setSubtitle(QString());
    m_model->setQuotes({});
    TodoList todos = m_model->todos();
    todos[0].isCompleted = true;
    m_model->setTodos(todos);
    const auto view = makeView();
    view->refresh();
    const QImage image = view->grab().toImage();
    QCOMPARE(image.size(), QSize(1920, 1080));

    // Ink stays inside the column; the corners are black.
    const QRect ink = inkIn(image, image.rect());
    QVERIFY(view->columnRect().adjusted(-2, -2, 2, 2).contains(QRectF(ink)));
    QCOMPARE(QColor(image.pixel(0, 0)), QColor(Qt::black));
    QCOMPARE(QColor(image.pixel(1919, 1079)), QColor(Qt::black));
    // Each number's ink is inside its box and right-aligned in it.
    for (const auto &group : view->unitGroups()) {
        const QRect digits = inkIn(image, group.box.toAlignedRect().adjusted(-20, 0, 20, 0));
        QVERIFY(!digits.isEmpty());
        QVERIFY(group.box.adjusted(-1, 0, 1, 0).contains(QRectF(digits)));
        QVERIFY(digits.right() > group.box.right() - 0.25 * group.box.width());
    }
    // The completed task's symbol has a mark inside its ring; the open one does not.
    const auto &cells = view->todoViews();
    auto centreInk = [&](const TodoView &cell) {
        const QRectF r = cell.symbolRect();
        return inkIn(image,
            QRectF(r.center() - QPointF(r.width() / 6, r.height() / 6),
                QSizeF(r.width() / 3, r.height() / 3))
                .toAlignedRect());
    };
    QVERIFY(!centreInk(cells[0]).isEmpty());
    QVERIFY(centreInk(cells[1]).isEmpty());
    QVERIFY(!inkIn(image, cells[1].symbolRect().toAlignedRect()).isEmpty());
}

QTEST_MAIN(TestCountdownView)
#include "tst_countdownview.moc"
