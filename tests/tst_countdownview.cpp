#include "FakePlatform.h"
#include "TestEnvironment.h"
#include "model/TimerViewModel.h"
#include "screensaver/CountdownView.h"

#include <QTest>

#include <memory>

class TestCountdownView : public QObject
{
    Q_OBJECT

    std::unique_ptr<CountdownView> makeView(QSize size = QSize(1920, 1080))
    {
        auto view = std::make_unique<CountdownView>(m_model.get());
        view->resize(size);
        return view;
    }

    std::unique_ptr<TestEnvironment> m_env = std::make_unique<TestEnvironment>();
    std::unique_ptr<FakePlatform> m_platform;
    std::unique_ptr<TimerViewModel> m_model;
    const QDateTime m_now = QDateTime(QDate(2026, 5, 4), QTime(10, 0));

private slots:
    void init()
    {
        m_model.reset(); // before the platform it uses
        m_platform = std::make_unique<FakePlatform>();
        m_platform->setNow(m_now);
        m_model = std::make_unique<TimerViewModel>(*m_platform);
        m_model->setEventName(QStringLiteral("Launch"));
        m_model->setTimerDate(m_now.addDays(12).addSecs(3 * 3600 + 4 * 60 + 5));
    }

    void scalesFromTheReferenceDesign_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<qreal>("scale");
        QTest::newRow("reference") << QSize(1920, 1080) << 1.0;
        QTest::newRow("width is the smaller ratio") << QSize(1440, 900) << 0.75;
        QTest::newRow("ultra-wide") << QSize(3840, 1080) << 1.0;
    }

    void scalesFromTheReferenceDesign()
    {
        QFETCH(QSize, size);
        QFETCH(qreal, scale);
        const auto view = makeView(size);
        QCOMPARE(view->scale(), scale);
        QCOMPARE(view->eventNameLine().nominalPixelSize, qRound(60 * scale));

        const auto &groups = view->unitGroups();
        const QList<qreal> boxes = {250, 200, 200, 200};
        for (int i = 0; i < 4; ++i) {
            QCOMPARE(groups[i].number.nominalPixelSize, qRound(150 * scale));
            QCOMPARE(groups[i].label.nominalPixelSize, qRound(20 * scale));
            QCOMPARE(groups[i].box.width(), boxes[i] * scale);
            // The number sits at the trailing edge of its box, the label 20 behind it.
            QCOMPARE(groups[i].number.rect.right(), groups[i].box.right());
            QCOMPARE(groups[i].label.rect.left() - groups[i].box.right(), 20 * scale);
            QCOMPARE(groups[i].number.baseline, groups[i].label.baseline);
            if (i > 0)
                QCOMPARE(groups[i].box.left() - groups[i - 1].label.rect.right(), 20 * scale);
        }
        const QPointF centre = QRectF(QPointF(), QSizeF(size)).center();
        QCOMPARE(view->columnRect().center(), centre);
        QCOMPARE(view->gridRect().center().x(), centre.x());
        QCOMPARE(view->gridRect().width(), 1100 * scale);
    }

    void columnStacksItsLines_data()
    {
        QTest::addColumn<QString>("subtitle");
        QTest::addColumn<QStringList>("quotes");
        QTest::addColumn<QString>("quote"); // the one chosen, or none
        QTest::newRow("no subtitle, no quote") << QString() << QStringList() << QString();
        QTest::newRow("a subtitle of spaces keeps its line; blank quotes skipped")
            << QStringLiteral("   ") << QStringList {"", "   ", "\t", "\u00a0\u2003"} << QString();
        QTest::newRow("subtitle and quote, kept untrimmed") << QStringLiteral(
            "Ship it") << QStringList {"", "  Be kind "} << QStringLiteral("  Be kind ");
    }

    void columnStacksItsLines()
    {
        QFETCH(QString, subtitle);
        QFETCH(QStringList, quotes);
        QFETCH(QString, quote);
        m_model->setSubtitle(subtitle);
        m_model->setQuotes(quotes);
        const auto view = makeView(QSize(1440, 900));
        const qreal s = 0.75;
        view->refresh();
        QCOMPARE(view->quote(), quote);

        QCOMPARE(view->eventNameLine().rect.top(), view->columnRect().top());
        const CountdownView::Line &sub = view->subtitleLine();
        QCOMPARE(sub.present, !subtitle.isEmpty());
        if (sub.present)
            QCOMPARE(sub.text, subtitle);
        // Absent lines take no room: the quote sits 100 below the row either way.
        const qreal above = sub.present ? sub.rect.bottom() : view->eventNameLine().rect.bottom();
        QCOMPARE(view->countdownRowRect().top() - above, 50 * s);
        const CountdownView::Line &line = view->quoteLine();
        QCOMPARE(line.present, !quote.isEmpty());
        const qreal below = line.present ? line.rect.top() : view->gridRect().top();
        QCOMPARE(below - view->countdownRowRect().bottom(), 100 * s);
        QCOMPARE(view->gridRect().bottom(), view->columnRect().bottom());
    }

    void quoteStaysNinetyTicksAndIsRetriedWhileNoneIsValid()
    {
        m_model->setQuotes({QStringLiteral("One")});
        const auto view = makeView();
        view->refresh();
        QCOMPARE(view->quote(), QStringLiteral("One"));
        m_model->setQuotes({QStringLiteral("Two")});
        for (int tick = 1; tick < 90; ++tick)
            view->refresh();
        QCOMPARE(view->quote(), QStringLiteral("One"));
        QCOMPARE(view->quoteInterval(), 89);
        view->refresh();
        QCOMPARE(view->quote(), QStringLiteral("Two"));
        QCOMPARE(view->quoteInterval(), 0);

        // Only blank quotes: no line, and every tick looks again.
        m_model->setQuotes({QString(), QStringLiteral(" \t ")});
        for (int tick = 0; tick < 90; ++tick)
            view->refresh();
        QCOMPARE(view->quote(), QString());
        QVERIFY(!view->quoteLine().present);
        m_model->setQuotes({QStringLiteral("  "), QStringLiteral("Late")});
        view->refresh();
        QCOMPARE(view->quote(), QStringLiteral("Late"));
        QVERIFY(view->quoteLine().present);
    }

    void taskGridShowsNonBlankTasksRowByRow_data()
    {
        QTest::addColumn<QStringList>("texts");
        QTest::addColumn<QList<bool>>("completed");
        QTest::addColumn<QStringList>("shown");
        QTest::newRow("blank tasks left out, completed kept")
            << QStringList {"Write", "   ", "Ship", "\t", "Test", "Party"}
            << QList<bool> {false, true, true, false, false, true}
            << QStringList {"Write", "Ship", "Test", "Party"};
        QTest::newRow("the third starts the second row on the left")
            << QStringList {"A", "B", "C", " ", "\u2003", ""}
            << QList<bool> {false, false, true, false, false, false} << QStringList {"A", "B", "C"};
        QTest::newRow("none visible: an empty grid")
            << QStringList {"", " ", "\t", "", " ", ""} << QList<bool>(6, true) << QStringList();
    }

    void taskGridShowsNonBlankTasksRowByRow()
    {
        QFETCH(QStringList, texts);
        QFETCH(QList<bool>, completed);
        QFETCH(QStringList, shown);
        TodoList todos = m_model->todos();
        QMap<QString, bool> done;
        for (qsizetype i = 0; i < todos.size(); ++i) {
            todos[i].text = texts[i];
            todos[i].isCompleted = completed[i];
            done[texts[i]] = completed[i];
        }
        m_model->setTodos(todos);
        const auto view = makeView();
        const std::vector<TodoView> &cells = view->todoViews();
        QCOMPARE(qsizetype(cells.size()), shown.size());
        QCOMPARE(view->gridRect().height() == 0, shown.isEmpty());
        const QRectF grid = view->gridRect();
        for (qsizetype i = 0; i < shown.size(); ++i) {
            const TodoView &cell = cells[size_t(i)];
            QCOMPARE(cell.shownTitle(), shown[i]);
            const bool isDone = done.value(shown[i]);
            QCOMPARE(cell.symbolName(),
                isDone ? QStringLiteral("checkmark.circle") : QStringLiteral("circle"));
            QCOMPARE(cell.titleFont().strikeOut(), isDone);
            // Row by row: first cell at the left edge, the second in the right column.
            QCOMPARE(cell.cell().top(), cells[size_t(i - i % 2)].cell().top());
            if (i % 2 == 0)
                QCOMPARE(cell.cell().left(), grid.left());
            else
                QCOMPARE(cell.cell().left() - cells[size_t(i - 1)].cell().right(), 60.0);
            if (i >= 2)
                QCOMPARE(cell.cell().top() - cells[size_t(i - 2)].cell().bottom(), 16.0);
            QVERIFY(cell.symbolRect().left() >= cell.cell().left());
            QVERIFY(cell.titleRect().left() > cell.symbolRect().right());
        }
    }

    void wideNumberShrinksInsideItsBox_data()
    {
        QTest::addColumn<qint64>("days");
        QTest::addColumn<bool>("shrunk");
        QTest::addColumn<bool>("truncated");
        QTest::newRow("four digits shrink") << 1234LL << true << false;
        QTest::newRow("nine digits are truncated at half size") << 123456789LL << true << true;
    }

    void wideNumberShrinksInsideItsBox()
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
};

QTEST_MAIN(TestCountdownView)
#include "tst_countdownview.moc"
