#include "FakePlatform.h"
#include "TestEnvironment.h"
#include "menubar/Popover.h"
#include "model/QuoteList.h"
#include "model/TimerViewModel.h"
#include "platform/SettingsStore.h"
#include "screensaver/ScreensaverController.h"
#include "settings/SettingsView.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QSettings>
#include <QSignalSpy>
#include <QTest>

#include <cstdio>
#include <cstring>
#include <memory>
#include <sys/mount.h>
#include <sys/stat.h>

// Runs with TZ=America/New_York, through the real settings file in a temporary
// XDG_CONFIG_HOME.
class TestTimerViewModel : public QObject
{
    Q_OBJECT

    std::unique_ptr<TimerViewModel> start()
    {
        m_platform->restart();
        return std::make_unique<TimerViewModel>(*m_platform);
    }

    static QByteArray read(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    std::unique_ptr<TestEnvironment> m_env;
    std::unique_ptr<FakePlatform> m_platform;
    const QDateTime m_now = QDateTime(QDate(2026, 1, 20), QTime(9, 15, 30, 250));

    QString m_mounted;

public:
    static inline QStringList m_warnings; // what the program said on stderr

private slots:
    void initTestCase()
    {
        m_env = std::make_unique<TestEnvironment>();
        static const QtMessageHandler previous = qInstallMessageHandler(
            [](QtMsgType type, const QMessageLogContext &context, const QString &message) {
                if (type == QtWarningMsg)
                    m_warnings << message;
                previous(type, context, message);
            });
    }

    void init()
    {
        m_env->writeSettingsFile(QByteArray());
        for (const QString &copy : QDir(QFileInfo(m_env->settingsPath()).path())
                                       .entryList({"Daystride.conf.damaged*"}, QDir::Files))
            QFile::remove(QFileInfo(m_env->settingsPath()).path() + '/' + copy);
        m_warnings.clear();
        m_platform = std::make_unique<FakePlatform>();
        m_platform->setNow(m_now);
    }

    void cleanup()
    {
        m_platform.reset();
        if (!m_mounted.isEmpty())
            ::umount2(QFile::encodeName(m_mounted).constData(), MNT_DETACH);
        m_mounted.clear();
        const QString folder = QFileInfo(m_env->settingsPath()).path();
        if (!QFileInfo(folder).isDir() || !QFileInfo(m_env->settingsPath()).isFile()) {
            QFile::remove(folder);
            QDir(folder).removeRecursively();
        }
        QFile::remove(m_env->settingsPath());
    }

    // What differs from a first start is in `loaded`; the file is only read.
    void loadsStoredValues_data()
    {
        QTest::addColumn<QVariantMap>("stored");
        QTest::addColumn<QVariantMap>("loaded");
        const QDateTime date(QDate(2027, 2, 1), QTime(18, 0));
        const auto tasks = [](int count) {
            TodoList todos;
            for (int i = 0; i < count; ++i)
                todos.append(Todo::create(QString::number(i)));
            return encodeTodos(todos);
        };
        const QVariantMap none;
        const QVariantMap dated = {{"onboarded", true}, {"savedDate", date}};
        QTest::newRow("empty store") << none << none;
        QTest::newRow("savedDate without onboarded") << QVariantMap {{"savedDate", date}} << dated;
        QTest::newRow("onboarded false wins over savedDate") << QVariantMap {
            {"savedDate", date}, {"onboarded", false}} << QVariantMap {{"savedDate", date}};
        QTest::newRow("savedDate holding text")
            << QVariantMap {{"savedDate", "2027-02-01T18:00:00"}}
            << QVariantMap {{"onboarded", true}};
        QTest::newRow("six tasks")
            << QVariantMap {{"todos", tasks(6)}} << QVariantMap {{"todos", 0}};
        QTest::newRow("five tasks") << QVariantMap {{"todos", tasks(5)}} << none;
        QTest::newRow("seven tasks") << QVariantMap {{"todos", tasks(7)}} << none;
        QTest::newRow("tasks stored as text")
            << QVariantMap {{"todos", QString::fromUtf8(tasks(6))}} << none;
        QTest::newRow("no quotes")
            << QVariantMap {{"quotes", QByteArray("[]")}} << QVariantMap {{"quotes", 0}};
        QTest::newRow("damaged quotes") << QVariantMap {{"quotes", QByteArray("[\"a\",")}} << none;
        QTest::newRow("idle on, 12 minutes") << QVariantMap {{"idleEnabled", true},
            {"idleMinutes", 12}} << QVariantMap {{"idleEnabled", true}, {"idleMinutes", 12}};
        QTest::newRow("idleMinutes 0")
            << QVariantMap {{"idleMinutes", 0}} << QVariantMap {{"idleMinutes", 1}};
        QTest::newRow("idleMinutes not a number") << QVariantMap {{"idleMinutes", "soon"},
            {"idleEnabled", "maybe"}} << QVariantMap {{"idleMinutes", 1}};
    }

    void loadsStoredValues()
    {
        QFETCH(QVariantMap, stored);
        QFETCH(QVariantMap, loaded);
        m_env->writeSettings(stored);
        const QByteArray before = m_env->readSettingsFile();
        const auto model = start();

        QCOMPARE(model->hasCompletedOnboarding(), loaded.value("onboarded", false).toBool());
        QCOMPARE(model->timerDate(), loaded.value("savedDate", m_now.addDays(84)).toDateTime());
        QCOMPARE(model->todos().size(), 6);
        QSet<QUuid> ids;
        for (const Todo &todo : model->todos())
            ids.insert(todo.id);
        QCOMPARE(ids.size(), 6);
        // "todos" and "quotes" in `loaded`: the stored ones, not the defaults.
        QCOMPARE(model->todos().first().text == TimerViewModel::defaultTaskTitles().first(),
            !loaded.contains("todos"));
        QCOMPARE(model->quotes().size(), loaded.value("quotes", 14).toInt());
        QCOMPARE(model->idleEnabled(), loaded.value("idleEnabled", false).toBool());
        QCOMPARE(model->idleMinutes(), loaded.value("idleMinutes", 5).toLongLong());
        QCOMPARE(m_env->readSettingsFile(), before);
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

        // Another reader of the file sees every key with its kind right after the
        // save.
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
    // Files written before dates were kept in UTC still read as the local time
    // they hold.
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
            m_env->writeSettings({{"savedDate", date}});
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

    // Every field announces the write before its own signal, also when the value
    // is written again unchanged; the plain field announces nothing.
    void everyWriteAnnouncesBeforeTheChange()
    {
        const auto model = start();
        const std::pair<std::function<void()>, const char *> fields[] = {
            {[&] { model->setQuotes(model->quotes()); }, SIGNAL(quotesChanged())},
            {[&] { model->setTimerDate(model->timerDate()); }, SIGNAL(timerDateChanged())},
            {[&] { model->setEventName(model->eventName()); }, SIGNAL(eventNameChanged())},
            {[&] { model->setSubtitle(model->subtitle()); }, SIGNAL(subtitleChanged())},
            {[&] { model->setTodos(model->todos()); }, SIGNAL(todosChanged())},
            {[&] { model->setIdleEnabled(model->idleEnabled()); }, SIGNAL(idleEnabledChanged())},
            {[&] { model->setIdleMinutes(model->idleMinutes()); }, SIGNAL(idleMinutesChanged())},
        };
        for (const auto &[rewrite, changed] : fields) {
            QSignalSpy fieldSpy(model.get(), changed);
            QList<qsizetype> seen; // the field's signals so far, at each announcement
            const auto announced = connect(model.get(), &TimerViewModel::objectWillChange, this,
                [&] { seen << fieldSpy.count(); });
            rewrite();
            QVERIFY2(seen == QList<qsizetype> {0} && fieldSpy.count() == 1, changed);
            disconnect(announced);
        }

        // The announcement comes while the old value is still in place.
        bool oldValueSeen = false;
        connect(model.get(), &TimerViewModel::objectWillChange, this,
            [&] { oldValueSeen = model->idleMinutes() == 5; });
        model->setIdleMinutes(99);
        QVERIFY(oldValueSeen);
        QSignalSpy announcements(model.get(), &TimerViewModel::objectWillChange);
        model->setHasCompletedOnboarding(true);
        QCOMPARE(announcements.count(), 0);
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

    // Files users end up with by accident or by hand. What cannot be read takes
    // its fall-back, the first save keeps the original bytes in a copy, and
    // everything readable survives that save.
    void unreadableSettingsAreCopiedBeforeTheFirstSave_data()
    {
        QTest::addColumn<QByteArray>("contents");
        QTest::addColumn<QString>("eventName"); // as loaded, and after the save
        QTest::addColumn<bool>("tasksKept");
        QTest::addColumn<bool>("copyKept");

        TodoList six;
        for (int i = 1; i <= 6; ++i)
            six.append(Todo::create(QStringLiteral("Task %1").arg(i)));
        const QVariantMap values = {{"savedEventName", "Launch"}, {"todos", encodeTodos(six)},
            {"quotes", QByteArray(R"(["Q"])")}, {"idleMinutes", 9},
            {"savedDate", QDateTime(QDate(2027, 2, 1), QTime(18, 0))}};
        const auto written = [&](const QVariantMap &changes) {
            QVariantMap all = values;
            all.insert(changes);
            m_env->writeSettings(all);
            return m_env->readSettingsFile();
        };
        const QByteArray good = written({});
        const auto replaced = [&](const char *from, const QByteArray &to) {
            QByteArray bytes = good;
            return bytes.replace(from, to);
        };

        QTest::newRow("written by the previous version") << good << "Launch" << true << false;
        QTest::newRow("five tasks")
            << written({{"todos", encodeTodos(six.mid(1))}}) << "Launch" << false << true;
        // Read as Qt makes them out, with the original kept.
        QTest::newRow("invalid UTF-8 in a task")
            << replaced("Task 3", "Ta\xffsk 3") << "Launch" << true << true;
        QTest::newRow("stray escape in the tasks")
            << replaced("Task 3", "Ta\\qsk 3") << "Launch" << true << true;
        QTest::newRow("quotes not a list")
            << written({{"quotes", QByteArray(R"({"a":1})")}}) << "Launch" << true << true;
        QTest::newRow("date holding text")
            << written({{"savedDate", "2027-02-01T18:00"}}) << "Launch" << true << true;
        QTest::newRow("name in invalid UTF-8")
            << replaced("Launch", "La\xe9unch") << "La\ufffdunch" << true << true;
        QTest::newRow("hand-edited, with a comment") << good + "; remember the cake\n"
                                                     << "Launch" << true << true;
        QTest::newRow("keys Qt cannot read back")
            << good + "trailing/=kept\ndouble//slash=kept\nnothing=@Invalid()\n"
            << "Launch" << true << true;
        QTest::newRow("truncated value")
            << QByteArray("[General]\nsavedEventName=Launch\ntodos=\"[{\\\"id\\\":\\\"12")
            << "Launch" << false << true;
        QTest::newRow("wrong kinds")
            << QByteArray("[General]\nonboarded=maybe\nsavedDate=@ByteArray(xyz)\n"
                          "savedEventName=@DateTime(garbage)\nsubtitle=@Variant("
                          "\\0\\0\\0\\x7f)\n"
                          "todos=12\nquotes=true\nidleEnabled=@ByteArray(\\0)\n"
                          "idleMinutes=@Rect(1 2 3 4)\n")
            << "" << false << true;
        QTest::newRow("binary garbage")
            << QByteArray("\x00\xff\xfe[\x01\x02\n\x7f=\x80", 10) << "" << false << true;
        QTest::newRow("NUL bytes after the values")
            << good + QByteArray(16, '\0') << "" << false << true;
        QTest::newRow("only NUL bytes") << QByteArray(4096, '\0') << "" << false << true;
        QTest::newRow("base64 text") << good.toBase64() + "\n"
                                     << "" << false << true;
        QTest::newRow("broken section header")
            << QByteArray("[General\nsavedEventName=Launch\nidleMinutes=9\n") << "" << false
            << true;
    }

    void unreadableSettingsAreCopiedBeforeTheFirstSave()
    {
        QFETCH(QByteArray, contents);
        QFETCH(QString, eventName);
        QFETCH(bool, tasksKept);
        QFETCH(bool, copyKept);

        m_env->writeSettingsFile(contents);
        const auto model = start();
        QCOMPARE(model->eventName(), eventName);
        QCOMPARE(model->todos().first().text == "Task 1", tasksKept);
        QCOMPARE(m_env->readSettingsFile(), contents);

        model->setSubtitle(QStringLiteral("An unrelated edit"));
        model->save();
        model->save();
        QCOMPARE(model->saveProblem(), QString());
        const QString copy = m_env->settingsPath() + ".damaged";
        QCOMPARE(QFile::exists(copy), copyKept);
        if (copyKept) {
            QCOMPARE(read(copy), contents);
            QVERIFY(model->damagedFileNotice().contains(copy));
            // Said once, though saved twice.
            QCOMPARE(m_warnings.count(model->damagedFileNotice()), 1);
        } else {
            QCOMPARE(model->damagedFileNotice(), QString());
            QCOMPARE(m_warnings.filter("kept as"), QStringList());
        }

        const auto reloaded = start();
        QCOMPARE(reloaded->eventName(), eventName);
        QCOMPARE(reloaded->subtitle(), QStringLiteral("An unrelated edit"));
        QCOMPARE(reloaded->todos(), model->todos());
        // The file is this program's own now: no more copies.
        reloaded->setSubtitle(QStringLiteral("Another edit"));
        reloaded->save();
        QVERIFY(!QFile::exists(copy + ".2"));
    }

    void anOlderCopyIsNeverOverwritten()
    {
        const QString copy = m_env->settingsPath() + ".damaged";
        const auto editAndSave = [this] {
            const auto model = start();
            model->setSubtitle(QStringLiteral("An edit"));
            model->save();
        };
        m_env->writeSettingsFile("[General\nsavedEventName=First\n");
        editAndSave();
        m_env->writeSettingsFile("[General\nsavedEventName=Second\n");
        editAndSave();
        QCOMPARE(read(copy), QByteArray("[General\nsavedEventName=First\n"));
        QCOMPARE(read(copy + ".2"), QByteArray("[General\nsavedEventName=Second\n"));
    }

    // A save that cannot reach the disk says why in one line, on stderr, in the
    // popover and in the Settings window; the edits stay and the next save
    // retries.
    void failedSaveIsReportedAndRetried_data()
    {
        QTest::addColumn<QString>("obstacle");
        QTest::addColumn<QString>("reason");
        QTest::newRow("full disk") << "full disk"
                                   << "No space left on device";
        QTest::newRow("file in place of the folder") << "file for folder"
                                                     << "Not a directory";
        QTest::newRow("folder at the settings path") << "folder"
                                                     << "is not a regular file";
        QTest::newRow("FIFO at the settings path") << "fifo"
                                                   << "is not a regular file";
    }

    void failedSaveIsReportedAndRetried()
    {
        QFETCH(QString, obstacle);
        QFETCH(QString, reason);

        const QString folder = QFileInfo(m_env->settingsPath()).path();
        const QString filler = folder + "/filler";
        const QByteArray before = "[General]\nsavedEventName=Before\n";
        if (obstacle == "full disk") {
            QVERIFY(QDir().mkpath(folder));
            if (::mount("tmpfs", QFile::encodeName(folder).constData(), "tmpfs", 0, "size=16k")
                != 0) {
                qWarning("cannot mount a small tmpfs: %s", std::strerror(errno));
                // Without the right to mount: a folder no one may write to.
                reason = QStringLiteral("Permission denied");
                m_env->writeSettingsFile(before);
                QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner);
            } else {
                m_mounted = folder;
                m_env->writeSettingsFile(before);
                QFile fill(filler);
                QVERIFY(fill.open(QIODevice::WriteOnly));
                while (fill.write(QByteArray(512, 'x')) == 512 && fill.flush()) { }
            }
        } else if (obstacle == "file for folder") {
            QDir(folder).removeRecursively();
            QVERIFY(QFile(folder).open(QIODevice::WriteOnly));
        } else if (obstacle == "folder") {
            QVERIFY(QDir().mkpath(m_env->settingsPath()));
        } else {
            QVERIFY(QDir().mkpath(folder));
            QCOMPARE(::mkfifo(QFile::encodeName(m_env->settingsPath()).constData(), 0600), 0);
        }

        // A FIFO at the path would block a reader for ever: it is never opened.
        const auto model = start();
        Popover popover(*model);
        SettingsView settings(*model, {});
        model->setEventName(QStringLiteral("Kept in memory"));
        model->save();
        const QString problem = model->saveProblem();
        QVERIFY2(problem.startsWith("Settings could not be saved: ") && problem.contains(reason),
            qPrintable(problem));
        QVERIFY(!problem.contains('\n'));
        for (QWidget *view : QList<QWidget *> {&popover, &settings}) {
            const auto *notice = view->findChild<QLabel *>("storageNotice");
            QVERIFY(notice && !notice->isHidden());
            QCOMPARE(notice->text(), problem);
        }
        model->setSubtitle(QStringLiteral("and this"));
        model->save();
        QCOMPARE(m_warnings.count(problem), 1);
        QCOMPARE(model->eventName(), QStringLiteral("Kept in memory"));

        // What was there is left as it was.
        if (obstacle == "full disk")
            QCOMPARE(m_env->readSettingsFile(), before);
        else if (obstacle == "fifo")
            QVERIFY(QFileInfo(m_env->settingsPath()).exists()
                && !QFileInfo(m_env->settingsPath()).isFile());

        // The obstacle gone (the read-only folder too), the next save goes through.
        QFile::remove(filler);
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        if (obstacle == "folder")
            QDir().rmdir(m_env->settingsPath());
        else if (obstacle != "full disk")
            QFile::remove(obstacle == "fifo" ? m_env->settingsPath() : folder);
        model->save();
        QCOMPARE(model->saveProblem(), QString());
        QVERIFY(popover.findChild<QLabel *>("storageNotice")->isHidden());

        const auto reloaded = start();
        QCOMPARE(reloaded->eventName(), QStringLiteral("Kept in memory"));
        QCOMPARE(reloaded->subtitle(), QStringLiteral("and this"));
    }
};

// With --print-timer-date: loads the stored settings and prints the event's
// instant and its local wall-clock time, for the time-zone cases that run in a
// child.
int main(int argc, char **argv)
{
    QApplication app(argc, argv);
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
