#include "FakePlatform.h"
#include "TestEnvironment.h"
#include "model/QuoteList.h"
#include "model/TimerViewModel.h"
#include "platform/SettingsStore.h"
#include "screensaver/ScreensaverController.h"

#include <QFile>
#include <QProcess>
#include <QSettings>
#include <QSignalSpy>
#include <QTest>

#include <cstdio>
#include <memory>

// Runs with TZ=America/New_York, through the real settings file in a temporary
// XDG_CONFIG_HOME.
class TestTimerViewModel : public QObject
{
    Q_OBJECT

    // Writes the stored values the way another run of the program would have.
    void store(const QVariantMap &values)
    {
        QSettings settings(QSettings::NativeFormat, QSettings::UserScope, "Daystride", "Daystride");
        settings.clear();
        for (auto it = values.begin(); it != values.end(); ++it)
            settings.setValue(it.key(), it.value());
        settings.sync();
        QCOMPARE(settings.status(), QSettings::NoError);
    }

    std::unique_ptr<TimerViewModel> start()
    {
        m_platform->restart();
        return std::make_unique<TimerViewModel>(*m_platform);
    }

    std::unique_ptr<TestEnvironment> m_env;
    std::unique_ptr<FakePlatform> m_platform;
    const QDateTime m_now = QDateTime(QDate(2026, 1, 20), QTime(9, 15, 30, 250));

private slots:
    void initTestCase() { m_env = std::make_unique<TestEnvironment>(); }

    void init()
    {
        m_env->writeSettingsFile(QByteArray());
        QFile::remove(m_env->settingsPath() + ".damaged");
        m_platform = std::make_unique<FakePlatform>();
        m_platform->setNow(m_now);
    }

    void loadsStoredValues_data()
    {
        QTest::addColumn<QVariantMap>("stored");
        QTest::addColumn<bool>("onboarded");
        QTest::addColumn<bool>("defaultDate");
        QTest::addColumn<bool>("defaultTodos");
        QTest::addColumn<int>("quoteCount");
        QTest::addColumn<bool>("idleEnabled");
        QTest::addColumn<qint64>("idleMinutes");

        const QDateTime date(QDate(2027, 2, 1), QTime(18, 0));
        const auto tasks = [](int count) {
            TodoList todos;
            for (int i = 0; i < count; ++i)
                todos.append(Todo::create(QString::number(i)));
            return encodeTodos(todos);
        };

        QTest::newRow("empty store")
            << QVariantMap() << false << true << true << 14 << false << qint64(5);
        QTest::newRow("savedDate without onboarded") << QVariantMap {{"savedDate", date}} << true
                                                     << false << true << 14 << false << qint64(5);
        QTest::newRow("onboarded false wins over savedDate")
            << QVariantMap {{"savedDate", date}, {"onboarded", false}} << false << false << true
            << 14 << false << qint64(5);
        QTest::newRow("savedDate holding text")
            << QVariantMap {{"savedDate", "2027-02-01T18:00:00"}} << true << true << true << 14
            << false << qint64(5);
        QTest::newRow("six tasks") << QVariantMap {{"todos", tasks(6)}} << false << true << false
                                   << 14 << false << qint64(5);
        QTest::newRow("five tasks") << QVariantMap {{"todos", tasks(5)}} << false << true << true
                                    << 14 << false << qint64(5);
        QTest::newRow("seven tasks") << QVariantMap {{"todos", tasks(7)}} << false << true << true
                                     << 14 << false << qint64(5);
        QTest::newRow("tasks stored as text")
            << QVariantMap {{"todos", QString::fromUtf8(tasks(6))}} << false << true << true << 14
            << false << qint64(5);
        QTest::newRow("no quotes") << QVariantMap {{"quotes", QByteArray("[]")}} << false << true
                                   << true << 0 << false << qint64(5);
        QTest::newRow("damaged quotes") << QVariantMap {{"quotes", QByteArray("[\"a\",")}} << false
                                        << true << true << 14 << false << qint64(5);
        QTest::newRow("idle on, 12 minutes")
            << QVariantMap {{"idleEnabled", true}, {"idleMinutes", 12}} << false << true << true
            << 14 << true << qint64(12);
        QTest::newRow("idleMinutes 0") << QVariantMap {{"idleMinutes", 0}} << false << true << true
                                       << 14 << false << qint64(1);
        QTest::newRow("idleMinutes not a number")
            << QVariantMap {{"idleMinutes", "soon"}, {"idleEnabled", "maybe"}} << false << true
            << true << 14 << false << qint64(1);
    }

    void loadsStoredValues()
    {
        QFETCH(QVariantMap, stored);
        QFETCH(bool, onboarded);
        QFETCH(bool, defaultDate);
        QFETCH(bool, defaultTodos);
        QFETCH(int, quoteCount);
        QFETCH(bool, idleEnabled);
        QFETCH(qint64, idleMinutes);

        store(stored);
        const QByteArray before = m_env->readSettingsFile();
        const auto model = start();

        QCOMPARE(model->hasCompletedOnboarding(), onboarded);
        if (defaultDate)
            QCOMPARE(model->timerDate(), m_now.addDays(84));
        else
            QCOMPARE(model->timerDate(), stored.value("savedDate").toDateTime());
        QCOMPARE(model->todos().size(), 6);
        QSet<QUuid> ids;
        for (const Todo &todo : model->todos())
            ids.insert(todo.id);
        QCOMPARE(ids.size(), 6);
        QCOMPARE(
            model->todos().first().text == TimerViewModel::defaultTaskTitles.first(), defaultTodos);
        QCOMPARE(model->quotes().size(), quoteCount);
        QCOMPARE(model->idleEnabled(), idleEnabled);
        QCOMPARE(model->idleMinutes(), idleMinutes);
        QCOMPARE(m_env->readSettingsFile(), before);
    }

    void wrongTaskCountIsReplacedOnlyAtTheNextSave()
    {
        TodoList seven;
        for (int i = 0; i < 7; ++i)
            seven.append(Todo::create(QString::number(i)));
        store({{"todos", encodeTodos(seven)}});

        const auto model = start();
        QCOMPARE(*decodeTodos(*m_platform->settings().data("todos")), seven);
        model->save();
        m_platform->restart();
        QCOMPARE(*decodeTodos(*m_platform->settings().data("todos")), model->todos());
    }

    void saveWritesTheSevenKeysWithTheirKinds()
    {
        const QDateTime date(QDate(2026, 11, 1), QTime(1, 30, 5, 987)); // the repeated hour
        const auto model = start();
        model->setTimerDate(date);
        model->setEventName(QString());
        model->setSubtitle(QStringLiteral("Ship it"));
        model->setQuotes({});
        model->setIdleEnabled(true);
        model->setIdleMinutes(42);
        model->save();

        // Another reader of the file sees every key with its kind right after the save.
        QSettings settings(m_env->settingsPath(), QSettings::IniFormat);
        QStringList keys = settings.allKeys();
        keys.sort();
        QCOMPARE(keys,
            QStringList({"idleEnabled", "idleMinutes", "quotes", "savedDate", "savedEventName",
                "subtitle", "todos"}));
        QCOMPARE(settings.value("savedDate").typeId(), QMetaType::QDateTime);
        QCOMPARE(settings.value("savedEventName").typeId(), QMetaType::QString);
        QCOMPARE(settings.value("savedEventName").toString(), QString());
        QCOMPARE(settings.value("subtitle").toString(), QStringLiteral("Ship it"));
        QCOMPARE(settings.value("todos").typeId(), QMetaType::QByteArray);
        QCOMPARE(settings.value("quotes"), QVariant(QByteArray("[]")));
        QCOMPARE(settings.value("idleEnabled").toString(), QStringLiteral("true"));
        QCOMPARE(settings.value("idleMinutes").toString(), QStringLiteral("42"));

        const auto reloaded = start();
        QCOMPARE(reloaded->timerDate().toMSecsSinceEpoch(), date.toMSecsSinceEpoch());
        QCOMPARE(reloaded->eventName(), QString());
        QCOMPARE(reloaded->quotes(), QStringList());
        QCOMPARE(reloaded->todos(), model->todos());
        QCOMPARE(reloaded->idleMinutes(), 42);
        QVERIFY(reloaded->idleEnabled());
        // Saving never marks the guide as finished.
        QVERIFY(!settings.contains("onboarded"));
    }

    // The event is an instant: saved here, it is the same moment in another zone.
    // Files written before dates were kept in UTC still read as the local time they hold.
    void dateKeepsItsInstantInAnotherZone_data()
    {
        QTest::addColumn<QDateTime>("date");
        QTest::addColumn<bool>("savedByModel");
        QTest::addColumn<QByteArray>("zone");
        QTest::addColumn<QString>("shownThere");

        const QDateTime evening(QDate(2027, 2, 1), QTime(18, 0));
        // 01:30 on 2026-11-01 comes twice in New York; this is the second, in EST.
        const QDateTime repeated = QDateTime(QDate(2026, 11, 1), QTime(6, 30), Qt::UTC);
        QTest::newRow("saved in New York, read in Berlin")
            << evening << true << QByteArray("Europe/Berlin") << "2027-02-02 00:00";
        QTest::newRow("repeated hour, read in New York")
            << repeated << true << QByteArray("America/New_York") << "2026-11-01 01:30";
        QTest::newRow("repeated hour, read in Berlin")
            << repeated << true << QByteArray("Europe/Berlin") << "2026-11-01 07:30";
        QTest::newRow("file from before, read in Berlin")
            << evening << false << QByteArray("Europe/Berlin") << "2027-02-01 18:00";
    }

    void dateKeepsItsInstantInAnotherZone()
    {
        QFETCH(QDateTime, date);
        QFETCH(bool, savedByModel);
        QFETCH(QByteArray, zone);
        QFETCH(QString, shownThere);

        if (savedByModel) {
            const auto model = start();
            model->setTimerDate(date);
            model->save();
        } else {
            store({{"savedDate", date}});
        }

        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("TZ"), QString::fromLatin1(zone));
        child.setProcessEnvironment(env);
        child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        child.start(QCoreApplication::applicationFilePath(), {"--print-timer-date"});
        QVERIFY(child.waitForFinished(30000));
        QCOMPARE(child.exitCode(), 0);
        const QStringList printed
            = QString::fromUtf8(child.readAllStandardOutput()).trimmed().split(' ');
        QCOMPARE(printed.size(), 3);
        QCOMPARE(printed.mid(1).join(' '), shownThere);
        if (savedByModel)
            QCOMPARE(printed.first().toLongLong(), date.toMSecsSinceEpoch());
    }

    void everyWriteAnnouncesBeforeTheChange_data()
    {
        QTest::addColumn<int>("field");
        QTest::newRow("quotes") << 0;
        QTest::newRow("timerDate") << 1;
        QTest::newRow("eventName") << 2;
        QTest::newRow("subtitle") << 3;
        QTest::newRow("todos") << 4;
        QTest::newRow("idleEnabled") << 5;
        QTest::newRow("idleMinutes") << 6;
    }

    void everyWriteAnnouncesBeforeTheChange()
    {
        QFETCH(int, field);
        const auto model = start();
        // Each field: a way to write its current value again, and its change signal.
        const std::function<void()> rewrite[] = {
            [&] { model->setQuotes(model->quotes()); },
            [&] { model->setTimerDate(model->timerDate()); },
            [&] { model->setEventName(model->eventName()); },
            [&] { model->setSubtitle(model->subtitle()); },
            [&] { model->setTodos(model->todos()); },
            [&] { model->setIdleEnabled(model->idleEnabled()); },
            [&] { model->setIdleMinutes(model->idleMinutes()); },
        };
        const char *const changed[] = {
            SIGNAL(quotesChanged()),
            SIGNAL(timerDateChanged()),
            SIGNAL(eventNameChanged()),
            SIGNAL(subtitleChanged()),
            SIGNAL(todosChanged()),
            SIGNAL(idleEnabledChanged()),
            SIGNAL(idleMinutesChanged()),
        };

        QSignalSpy fieldSpy(model.get(), changed[field]);
        QList<qsizetype> fieldSignalsAtAnnouncement;
        connect(model.get(), &TimerViewModel::objectWillChange, this,
            [&] { fieldSignalsAtAnnouncement << fieldSpy.count(); });

        rewrite[field]();
        QCOMPARE(fieldSignalsAtAnnouncement, QList<qsizetype> {0});
        QCOMPARE(fieldSpy.count(), 1);

        // The announcement comes while the old value is still in place.
        bool oldValueSeen = false;
        connect(model.get(), &TimerViewModel::objectWillChange, this,
            [&] { oldValueSeen = model->idleMinutes() == 5; });
        model->setIdleMinutes(99);
        QVERIFY(oldValueSeen);

        // The plain field announces nothing.
        fieldSignalsAtAnnouncement.clear();
        model->setHasCompletedOnboarding(true);
        QVERIFY(fieldSignalsAtAnnouncement.isEmpty());
    }

    void defaultDateKeepsTheTimeOfDayAcrossDaylightSaving_data()
    {
        QTest::addColumn<QDateTime>("now");
        QTest::addColumn<QDateTime>("expected");
        QTest::newRow("across spring forward") << QDateTime(QDate(2026, 1, 20), QTime(9, 15))
                                               << QDateTime(QDate(2026, 4, 14), QTime(9, 15));
        QTest::newRow("across fall back") << QDateTime(QDate(2026, 9, 1), QTime(23, 59, 59))
                                          << QDateTime(QDate(2026, 11, 24), QTime(23, 59, 59));
        QTest::newRow("into the skipped hour") << QDateTime(QDate(2025, 12, 14), QTime(2, 30))
                                               << QDateTime(QDate(2026, 3, 8), QTime(3, 30));
    }

    void defaultDateKeepsTheTimeOfDayAcrossDaylightSaving()
    {
        QFETCH(QDateTime, now);
        QFETCH(QDateTime, expected);
        const QDateTime date = TimerViewModel::defaultEventDate(now);
        QCOMPARE(date, expected);
        QVERIFY(date > now);
    }

    void damagedFileIsKeptAsideAtTheNextSave()
    {
        const QByteArray damaged = "[General\nsavedEventName=Launch\nidleMinutes=9\n";
        m_env->writeSettingsFile(damaged);

        auto model = start();
        QVERIFY(m_platform->settings().wasDamaged());
        QCOMPARE(model->eventName(), QString());
        QCOMPARE(model->idleMinutes(), 5);
        QCOMPARE(m_env->readSettingsFile(), damaged);

        model->setEventName(QStringLiteral("Launch day"));
        model->save();
        QFile copy(m_env->settingsPath() + ".damaged");
        QVERIFY(copy.open(QIODevice::ReadOnly));
        QCOMPARE(copy.readAll(), damaged);

        const auto reloaded = start();
        QVERIFY(!m_platform->settings().wasDamaged());
        QCOMPARE(reloaded->eventName(), QStringLiteral("Launch day"));
        QCOMPARE(reloaded->idleMinutes(), 5);
    }
};

// With --print-timer-date: loads the stored settings and prints the event's instant
// and its local wall-clock time, for the time-zone cases that run in a child.
int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc == 2 && qstrcmp(argv[1], "--print-timer-date") == 0) {
        FakePlatform platform;
        const TimerViewModel model(platform);
        std::printf("%lld %s\n", model.timerDate().toMSecsSinceEpoch(),
            qPrintable(model.timerDate().toString(QStringLiteral("yyyy-MM-dd HH:mm"))));
        return 0;
    }
    TestTimerViewModel test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_timerviewmodel.moc"
