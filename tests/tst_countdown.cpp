#include "model/Countdown.h"
#include "model/LocalDateTime.h"

#include <QTest>
#include <QTimeZone>

namespace {

QDateTime local(int y, int mo, int d, int h, int mi, int s = 0, int ms = 0)
{
    return QDateTime(QDate(y, mo, d), QTime(h, mi, s, ms));
}

const QDateTime kNow = local(2026, 6, 10, 9, 30, 15);

} // namespace

// Runs with TZ=America/New_York: spring forward on 2026-03-08 and 2027-03-14 at
// 02:00, fall back on 2026-11-01 and 2027-11-07 at 02:00.
class TestCountdown : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QCOMPARE(QTimeZone::systemTimeZoneId(), QByteArray("America/New_York")); }

    void componentsAndText_data()
    {
        QTest::addColumn<QDateTime>("now");
        QTest::addColumn<QDateTime>("target");
        QTest::addColumn<TimeRemaining>("left");
        QTest::addColumn<QString>("text");

        QTest::newRow("12d 4h 5m 30s") << kNow << kNow.addDays(12).addSecs(4 * 3600 + 5 * 60 + 30)
                                       << TimeRemaining {12, 4, 5, 30} << "12d 4h 5m";
        QTest::newRow("zero hours leave no part")
            << kNow << kNow.addDays(2).addSecs(15 * 60) << TimeRemaining {2, 0, 15, 0} << "2d 15m";
        QTest::newRow("trailing space after hours")
            << kNow << kNow.addSecs(3 * 3600 + 59) << TimeRemaining {0, 3, 0, 59} << "3h ";
        QTest::newRow("equal") << kNow << kNow << TimeRemaining {} << "";
        QTest::newRow("one second past") << kNow << kNow.addSecs(-1) << TimeRemaining {} << "";
        QTest::newRow("59 seconds")
            << kNow << kNow.addSecs(59) << TimeRemaining {0, 0, 0, 59} << "";
        QTest::newRow("61 seconds")
            << kNow << kNow.addSecs(61) << TimeRemaining {0, 0, 1, 1} << "1m";
        QTest::newRow("1000 days")
            << kNow << kNow.addDays(1000) << TimeRemaining {1000, 0, 0, 0} << "1000d ";
        QTest::newRow("milliseconds are dropped")
            << kNow << kNow.addMSecs(60999) << TimeRemaining {0, 0, 1, 0} << "1m";
        const QDate farDay(2000000, 1, 1);
        QTest::newRow("year 2,000,000") << kNow << QDateTime(farDay, QTime(12, 0))
                                        << TimeRemaining {kNow.date().daysTo(farDay), 2, 29, 45}
                                        << QString::number(kNow.date().daysTo(farDay)) + "d 2h 29m";
        QTest::newRow("target in another zone")
            << kNow << kNow.addSecs(3600).toTimeZone(QTimeZone("Asia/Tokyo"))
            << TimeRemaining {0, 1, 0, 0} << "1h ";

        // A spring-forward day is 23 hours long.
        const QDateTime beforeSpring = local(2026, 3, 7, 12, 0);
        QTest::newRow("24 h across spring forward")
            << beforeSpring << beforeSpring.addSecs(24 * 3600) << TimeRemaining {1, 1, 0, 0}
            << "1d 1h ";
        QTest::newRow("one calendar day across spring forward")
            << beforeSpring << local(2026, 3, 8, 12, 0) << TimeRemaining {1, 0, 0, 0} << "1d ";
        // A fall-back day is 25 hours long: 24 elapsed hours are not yet a day.
        const QDateTime beforeFall = local(2026, 10, 31, 12, 0);
        QTest::newRow("24 h across fall back")
            << beforeFall << beforeFall.addSecs(24 * 3600) << TimeRemaining {0, 24, 0, 0} << "24h ";
        QTest::newRow("one calendar day across fall back")
            << beforeFall << local(2026, 11, 1, 12, 0) << TimeRemaining {1, 0, 0, 0} << "1d ";
        // 02:30 does not exist on 2026-03-08; adding a day to 02:30 the day before
        // would land in the gap.
        const QDateTime halfPastTwo = local(2026, 3, 7, 2, 30);
        QTest::newRow("target just after the skipped hour")
            << halfPastTwo << local(2026, 3, 8, 3, 10) << TimeRemaining {0, 23, 40, 0} << "23h 40m";
        QTest::newRow("target well after the skipped hour")
            << halfPastTwo << local(2026, 3, 8, 4, 0) << TimeRemaining {1, 0, 30, 0} << "1d 30m";
    }

    void componentsAndText()
    {
        QFETCH(QDateTime, now);
        QFETCH(QDateTime, target);
        QFETCH(TimeRemaining, left);
        QFETCH(QString, text);
        QCOMPARE(timeRemainingBetween(now, target), left);
        QCOMPARE(menuBarTextBetween(now, target), text);
    }

    // A picked day and time as one moment: a time the clock skips moves on by the
    // gap, a time it shows twice is the first of the two (still in EDT).
    void dayAndTimeMakeOneMoment_data()
    {
        QTest::addColumn<QDate>("day");
        QTest::addColumn<QTime>("time");
        QTest::addColumn<QString>("utc");
        const QDate spring(2027, 3, 14), fall(2027, 11, 7);
        QTest::newRow("ordinary") << QDate(2027, 6, 1) << QTime(12, 0)
                                  << "2027-06-01T16:00:00.000Z";
        QTest::newRow("before the skipped hour")
            << spring << QTime(1, 59) << "2027-03-14T06:59:00.000Z";
        QTest::newRow("skipped hour starts") << spring << QTime(2, 0) << "2027-03-14T07:00:00.000Z";
        QTest::newRow("in the skipped hour")
            << spring << QTime(2, 30) << "2027-03-14T07:30:00.000Z";
        QTest::newRow("skipped hour ends")
            << spring << QTime(2, 59, 59, 999) << "2027-03-14T07:59:59.999Z";
        QTest::newRow("after the skipped hour")
            << spring << QTime(3, 0) << "2027-03-14T07:00:00.000Z";
        // Latest first: which of the two the C library picks follows what it
        // converted last.
        QTest::newRow("after the repeated hour")
            << fall << QTime(2, 0) << "2027-11-07T07:00:00.000Z";
        QTest::newRow("in the repeated hour") << fall << QTime(1, 30) << "2027-11-07T05:30:00.000Z";
        QTest::newRow("repeated hour starts") << fall << QTime(1, 0) << "2027-11-07T05:00:00.000Z";
        QTest::newRow("before the repeated hour")
            << fall << QTime(0, 59) << "2027-11-07T04:59:00.000Z";
    }

    void dayAndTimeMakeOneMoment()
    {
        QFETCH(QDate, day);
        QFETCH(QTime, time);
        const QDateTime moment = localDateTime(day, time);
        QVERIFY(moment.isValid());
        QTEST(moment.toUTC().toString(Qt::ISODateWithMs), "utc");
    }

    // Every minute across both changes of 2026: adding the days back to now never
    // passes the target, and no unit goes negative.
    void neverPassesTheTarget_data()
    {
        QTest::addColumn<QDateTime>("now");
        QTest::newRow("spring") << local(2026, 3, 6, 23, 45);
        QTest::newRow("fall") << local(2026, 10, 30, 23, 45);
    }

    void neverPassesTheTarget()
    {
        QFETCH(QDateTime, now);
        for (qint64 minute = 0; minute < 3 * 24 * 60; minute += 7) {
            const QDateTime target = now.addSecs(minute * 60 + 13);
            const TimeRemaining left = timeRemainingBetween(now, target);
            QVERIFY(left.days >= 0 && left.hours >= 0 && left.minutes >= 0 && left.seconds >= 0);
            QVERIFY(left.minutes < 60 && left.seconds < 60 && left.hours < 26);
            QVERIFY2(now.addDays(left.days) <= target, qPrintable(target.toString(Qt::ISODate)));
            QCOMPARE(now.addDays(left.days).secsTo(target),
                left.hours * 3600 + left.minutes * 60 + left.seconds);
        }
    }

    // The panel's tick comes just after the text turns, and only then: one wake-up a
    // minute, whatever the seconds of the event; with no event ahead, on the clock's
    // minute.
    void tickComesWhenTheTextTurns_data()
    {
        QTest::addColumn<QDateTime>("now");
        QTest::addColumn<QDateTime>("target");
        QTest::addColumn<qint64>("delay");
        const QDateTime now = local(2026, 3, 8, 1, 58).addMSecs(10500);
        QTest::newRow("event on a whole minute") << now << local(2026, 3, 9, 9, 0) << 49520LL;
        QTest::newRow("event at 5 s past") << now << local(2026, 3, 9, 9, 0).addSecs(5) << 54520LL;
        QTest::newRow("across the spring change") << now << now.addSecs(3 * 3600 + 45) << 45020LL;
        QTest::newRow("passed") << now << now.addSecs(-600) << 49520LL;
        QTest::newRow("no event") << now << QDateTime() << 49520LL;
    }

    void tickComesWhenTheTextTurns()
    {
        QFETCH(QDateTime, now);
        QFETCH(QDateTime, target);
        QFETCH(qint64, delay);
        QCOMPARE(msecsToNextTextChange(now, target), delay);
        if (target > now) {
            const auto text = [&](qint64 msecs) {
                return menuBarTextBetween(now.addMSecs(msecs), target);
            };
            QCOMPARE(text(delay - 21), text(0));
            QVERIFY(text(delay) != text(0));
        }
    }
};

QTEST_GUILESS_MAIN(TestCountdown)
#include "tst_countdown.moc"
