#include "platform/Timers.h"

#include <QElapsedTimer>
#include <QPointer>
#include <QTest>
#include <QTimer>

// The platform's timers: first tick one interval after the start, nothing once
// their owner is gone.
class TestTimers : public QObject
{
    Q_OBJECT

private slots:
    void firstTickAfterOneInterval_data();
    void firstTickAfterOneInterval();
    void goneWithTheOwner();
};

void TestTimers::firstTickAfterOneInterval_data()
{
    QTest::addColumn<bool>("secondTicker");
    QTest::newRow("repeating") << false;
    QTest::newRow("one-second ticker") << true;
}

void TestTimers::firstTickAfterOneInterval()
{
    QFETCH(bool, secondTicker);
    QObject owner;
    int ticks = 0;
    QElapsedTimer clock;
    clock.start();
    qint64 firstTickAt = -1;
    auto action = [&] {
        if (++ticks == 1)
            firstTickAt = clock.elapsed();
    };
    QTimer *timer = secondTicker
        ? Timers::secondTicker(&owner, action)
        : Timers::repeating(&owner, std::chrono::milliseconds(300), action);
    QVERIFY(timer && timer->isActive());
    QCOMPARE(timer->timerType(), secondTicker ? Qt::PreciseTimer : Qt::CoarseTimer);
    QCoreApplication::processEvents();
    QCOMPARE(ticks, 0);
    QTRY_VERIFY_WITH_TIMEOUT(ticks >= 2, 5000);
    // Not before one interval (coarse timers may come 5 % early).
    QVERIFY2(firstTickAt >= timer->interval() * 95 / 100, qPrintable(QString::number(firstTickAt)));
}

void TestTimers::goneWithTheOwner()
{
    int ticks = 0;
    QPointer<QTimer> timer;
    {
        QObject owner;
        timer = Timers::repeating(&owner, std::chrono::milliseconds(10), [&] { ++ticks; });
    }
    QVERIFY(!timer);
    QTest::qWait(100);
    QCOMPARE(ticks, 0);
    QVERIFY(!Timers::repeating(nullptr, std::chrono::milliseconds(10), [] {}));
}

QTEST_GUILESS_MAIN(TestTimers)
#include "tst_timers.moc"
