#include "FakePlatform.h"
#include "TestEnvironment.h"
#include "menubar/Popover.h"
#include "model/TimerViewModel.h"
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

namespace {
QByteArray read(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Local wall-clock time with its zone's abbreviation: the repeated hour twice apart.
QString when(const QDateTime &date)
{
    return date.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz t"));
}

// What the views show of each stored setting, one "key=value" line each.
QStringList shown(const TimerViewModel &model)
{
    return {"onboarded=" + QVariant(model.hasCompletedOnboarding()).toString(),
        "idleEnabled=" + QVariant(model.idleEnabled()).toString(),
        "idleMinutes=" + QString::number(model.idleMinutes()),
        "quotes=" + QString::number(model.quotes().size()), "savedDate=" + when(model.timerDate()),
        "savedEventName=" + model.eventName(), "subtitle=" + model.subtitle(),
        "todos=" + model.todos().value(0).text};
}

TodoList tasks(int count)
{
    TodoList todos;
    for (int i = 1; i <= count; ++i)
        todos.append(Todo::create(QStringLiteral("Task %1").arg(i)));
    return todos;
}
} // namespace

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

    QString folder() const { return QFileInfo(m_env->settingsPath()).path(); }

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
        m_env->writeSettingsFile(QByteArray()); // the table's last row wrote one
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
        m_env.reset(); // a fresh folder for the next, without copies, FIFOs or files for folders
        m_env = std::make_unique<TestEnvironment>();
    }

    // Files users end up with, by earlier versions, by accident or by hand: what
    // loading shows (what differs from a first start in `changes`, the file only
    // read), and what one unrelated save keeps. What cannot be read takes its
    // fall-back, the first save then keeps the original bytes in a copy, and
    // everything readable survives that save.
    void loadsAndSaves_data()
    {
        QTest::addColumn<QByteArray>("contents");
        QTest::addColumn<QVariantMap>("changes");
        QTest::addColumn<bool>("copyKept");

        const QDateTime date(QDate(2027, 2, 1), QTime(18, 0));
        const QVariantMap values = {{"savedEventName", "Launch"}, {"todos", encodeTodos(tasks(6))},
            {"quotes", QByteArray(R"(["Q"])")}, {"idleMinutes", 9}, {"savedDate", date}};
        const auto file = [&](const QVariantMap &changes, const QVariantMap &base = {}) {
            QVariantMap all = base;
            all.insert(changes);
            m_env->writeSettings(all);
            return m_env->readSettingsFile();
        };
        const QByteArray good = file(values);
        const auto replaced = [&](const char *from, const QByteArray &to) {
            return QByteArray(good).replace(from, to);
        };
        const QVariantMap dated = {{"onboarded", true}, {"savedDate", when(date)}};
        const QVariantMap loaded = {{"onboarded", true}, {"savedDate", when(date)},
            {"savedEventName", "Launch"}, {"todos", "Task 1"}, {"quotes", 1}, {"idleMinutes", 9}};
        const auto but = [&](const QVariantMap &changes, const QStringList &defaulted = {}) {
            QVariantMap all = loaded;
            for (const QString &key : defaulted)
                all.remove(key);
            all.insert(changes);
            return all;
        };
        const QVariantMap none;

        QTest::newRow("first start") << QByteArray() << none << false;
        QTest::newRow("empty file") << QByteArray("") << none << false;
        QTest::newRow("savedDate without onboarded")
            << file({{"savedDate", date}}) << dated << false;
        QTest::newRow("onboarded false wins over savedDate")
            << file({{"savedDate", date}, {"onboarded", false}})
            << QVariantMap {{"savedDate", when(date)}} << false;
        QTest::newRow("no quotes")
            << file({{"quotes", QByteArray("[]")}}) << QVariantMap {{"quotes", 0}} << false;
        QTest::newRow("idle on, 12 minutes")
            << file({{"idleEnabled", true}, {"idleMinutes", 12}})
            << QVariantMap {{"idleEnabled", true}, {"idleMinutes", 12}} << false;
        QTest::newRow("idleMinutes 0")
            << file({{"idleMinutes", 0}}) << QVariantMap {{"idleMinutes", 1}} << false;
        QTest::newRow("written by the previous version") << good << loaded << false;

        QTest::newRow("idleMinutes not a number")
            << file({{"idleMinutes", "soon"}, {"idleEnabled", "maybe"}})
            << QVariantMap {{"idleMinutes", 1}} << true;
        QTest::newRow("five tasks")
            << file({{"todos", encodeTodos(tasks(5))}}, values) << but({}, {"todos"}) << true;
        QTest::newRow("seven tasks")
            << file({{"todos", encodeTodos(tasks(7))}}, values) << but({}, {"todos"}) << true;
        QTest::newRow("tasks stored as text")
            << file({{"todos", QString::fromUtf8(encodeTodos(tasks(6)))}}, values)
            << but({}, {"todos"}) << true;
        QTest::newRow("damaged quotes")
            << file({{"quotes", QByteArray("[\"a\",")}}, values) << but({}, {"quotes"}) << true;
        QTest::newRow("quotes not a list")
            << file({{"quotes", QByteArray(R"({"a":1})")}}, values) << but({}, {"quotes"}) << true;
        QTest::newRow("date holding text")
            << file({{"savedDate", "2027-02-01T18:00"}}, values) << but({}, {"savedDate"}) << true;
        // Read as Qt makes them out, with the original kept.
        QTest::newRow("invalid UTF-8 in a task")
            << replaced("Task 3", "Ta\xffsk 3") << loaded << true;
        QTest::newRow("stray escape in the tasks")
            << replaced("Task 3", "Ta\\qsk 3") << loaded << true;
        QTest::newRow("name in invalid UTF-8") << replaced("Launch", "La\xe9unch")
                                               << but({{"savedEventName", "La\ufffdunch"}}) << true;
        QTest::newRow("hand-edited, with a comment") << good + "; remember the cake\n"
                                                     << loaded << true;
        QTest::newRow("keys Qt cannot read back")
            << good + "trailing/=kept\ndouble//slash=kept\nnothing=@Invalid()\n"
            << loaded << true;
        QTest::newRow("a key beside its twin with a slash")
            << QByteArray("[General]\nsubtitle/=Twin\nsubtitle=Kept\n")
            << QVariantMap {{"subtitle", "Kept"}} << true;
        QTest::newRow("truncated value")
            << QByteArray("[General]\nsavedEventName=Launch\ntodos=\"[{\\\"id\\\":\\\"12")
            << QVariantMap {{"savedEventName", "Launch"}} << true;
        QTest::newRow("wrong kinds")
            << QByteArray("[General]\nonboarded=maybe\nsavedDate=@ByteArray(xyz)\n"
                          "savedEventName=@DateTime(garbage)\nsubtitle=@Variant(\\0\\0\\0\\x7f)\n"
                          "todos=12\nquotes=true\nidleEnabled=@ByteArray(\\0)\n"
                          "idleMinutes=@Rect(1 2 3 4)\n")
            << QVariantMap {{"idleMinutes", 1}} << true;
        QTest::newRow("binary garbage")
            << QByteArray("\x00\xff\xfe[\x01\x02\n\x7f=\x80", 10) << none << true;
        QTest::newRow("NUL bytes after the values") << good + QByteArray(16, '\0') << none << true;
        QTest::newRow("base64 text") << good.toBase64() + "\n" << none << true;
        QTest::newRow("broken section header")
            << QByteArray("[General\nsavedEventName=Launch\nidleMinutes=9\n") << none << true;
    }

    void loadsAndSaves()
    {
        QFETCH(QByteArray, contents);
        QFETCH(QVariantMap, changes);
        QFETCH(bool, copyKept);

        m_env->writeSettingsFile(contents);
        const auto model = start();
        QVariantMap expected = {{"idleEnabled", false}, {"idleMinutes", 5}, {"quotes", 14},
            {"savedDate", when(m_now.addDays(84))}, {"savedEventName", ""}, {"subtitle", ""},
            {"todos", TimerViewModel::defaultTaskTitles().first()}};
        expected.insert(changes);
        QStringList lines
            = {"onboarded=" + QVariant(expected.take("onboarded").toBool()).toString()};
        for (auto it = expected.cbegin(); it != expected.cend(); ++it)
            lines << it.key() + '=' + it.value().toString();
        QCOMPARE(shown(*model), lines);
        QSet<QUuid> ids;
        for (const Todo &todo : model->todos())
            ids.insert(todo.id);
        QCOMPARE(ids.size(), 6);
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

        // Another reader of the file sees every key with its kind, and the program
        // reads back what it wrote (a saved date alone counts as the guide done).
        QSettings settings(m_env->settingsPath(), QSettings::IniFormat);
        const std::pair<const char *, int> kinds[] = {{"savedDate", QMetaType::QDateTime},
            {"savedEventName", QMetaType::QString}, {"subtitle", QMetaType::QString},
            {"todos", QMetaType::QByteArray}, {"quotes", QMetaType::QByteArray},
            {"idleEnabled", QMetaType::QString}, {"idleMinutes", QMetaType::QString}};
        for (const auto &[key, kind] : kinds)
            QVERIFY2(settings.value(key).typeId() == kind, key);
        QCOMPARE(settings.value("idleEnabled").toString(),
            QString(model->idleEnabled() ? "true" : "false"));
        QCOMPARE(settings.value("idleMinutes").toString(), QString::number(model->idleMinutes()));
        if (contents.isNull())
            QCOMPARE(settings.allKeys().size(), 7);
        // Only the guide's end writes "onboarded": a save leaves a file without it so.
        QCOMPARE(settings.contains("onboarded"), contents.contains("onboarded="));
        const auto reloaded = start();
        QCOMPARE(shown(*reloaded).mid(1), shown(*model).mid(1));
        QCOMPARE(reloaded->todos(), model->todos());
        // The file is this program's own now: no more copies.
        reloaded->setSubtitle(QStringLiteral("Another edit"));
        reloaded->save();
        QVERIFY(!QFile::exists(copy + ".2"));
    }

    void anOlderCopyIsNeverOverwritten()
    {
        for (const char *name : {"First", "Second"}) {
            m_env->writeSettingsFile(QByteArray("[General\nsavedEventName=") + name + "\n");
            const auto model = start();
            model->setSubtitle(QStringLiteral("An edit"));
            model->save();
        }
        const QString copy = m_env->settingsPath() + ".damaged";
        QCOMPARE(read(copy), QByteArray("[General\nsavedEventName=First\n"));
        QCOMPARE(read(copy + ".2"), QByteArray("[General\nsavedEventName=Second\n"));
    }

    // The event is an instant: saved here, it is the same moment in another zone.
    // Files written before dates were kept in UTC still read as the local time
    // they hold.
    void dateKeepsItsInstantInAnotherZone_data()
    {
        QTest::addColumn<QDateTime>("date");
        QTest::addColumn<bool>("savedByModel");
        QTest::addColumn<QString>("zone");
        QTest::addColumn<QString>("shownThere");

        const QDateTime evening(QDate(2027, 2, 1), QTime(18, 0));
        // 01:30 on 2026-11-01 comes twice in New York; this is the second, in EST.
        const QDateTime repeated = QDateTime(QDate(2026, 11, 1), QTime(6, 30), Qt::UTC);
        QTest::newRow("saved in New York, read in Berlin") << evening << true << "Europe/Berlin"
                                                           << "2027-02-02 00:00";
        QTest::newRow("repeated hour, read in New York") << repeated << true << "America/New_York"
                                                         << "2026-11-01 01:30";
        QTest::newRow("repeated hour, read in Berlin") << repeated << true << "Europe/Berlin"
                                                       << "2026-11-01 07:30";
        QTest::newRow("file from before, read in Berlin") << evening << false << "Europe/Berlin"
                                                          << "2027-02-01 18:00";
    }

    void dateKeepsItsInstantInAnotherZone()
    {
        QFETCH(QDateTime, date);
        QFETCH(bool, savedByModel);
        QFETCH(QString, zone);
        if (savedByModel) {
            const auto model = start();
            model->setTimerDate(date);
            model->save();
        } else {
            m_env->writeSettings({{"savedDate", date}});
        }

        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("TZ"), zone);
        child.setProcessEnvironment(env);
        child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        child.start(QCoreApplication::applicationFilePath(), {"--print-timer-date"});
        QVERIFY(child.waitForFinished(30000) && child.exitCode() == 0);
        const QStringList printed
            = QString::fromUtf8(child.readAllStandardOutput()).trimmed().split(' ');
        QCOMPARE(printed.size(), 3);
        QTEST(printed.mid(1).join(' '), "shownThere");
        if (savedByModel)
            QCOMPARE(printed.first().toLongLong(), date.toMSecsSinceEpoch());
    }

    // Every field announces the write before its own signal, also when the value
    // is written again unchanged.
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
        const QDateTime date = TimerViewModel::defaultEventDate(now);
        QTEST(date, "expected");
        QVERIFY(date > now);
    }

    // A save that cannot reach the disk says why in one line, on stderr, in the
    // popover and in the Settings window; the edits stay and the next save
    // retries once the obstacle is gone.
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
        const QString path = m_env->settingsPath(), filler = folder() + "/filler";
        const QByteArray before = "[General]\nsavedEventName=Before\n";
        if (obstacle == "full disk") {
            QVERIFY(QDir().mkpath(folder()));
            const bool mounted
                = ::mount("tmpfs", QFile::encodeName(folder()).constData(), "tmpfs", 0, "size=16k")
                == 0;
            m_env->writeSettingsFile(before);
            if (mounted) {
                m_mounted = folder();
                QFile fill(filler);
                QVERIFY(fill.open(QIODevice::WriteOnly));
                while (fill.write(QByteArray(512, 'x')) == 512 && fill.flush()) { }
            } else {
                // Without the right to mount: a folder no one may write to.
                qWarning("cannot mount a small tmpfs: %s", std::strerror(errno));
                reason = QStringLiteral("Permission denied");
                QFile::setPermissions(folder(), QFile::ReadOwner | QFile::ExeOwner);
            }
        } else if (obstacle == "file for folder") {
            QDir(folder()).removeRecursively();
            QVERIFY(QFile(folder()).open(QIODevice::WriteOnly));
        } else if (obstacle == "folder") {
            QVERIFY(QDir().mkpath(path));
        } else {
            QVERIFY(QDir().mkpath(folder()));
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        }

        // A FIFO at the path would block a reader for ever: it is never opened.
        const auto model = start();
        Popover popover(*model);
        SettingsView settings(*model, {});
        model->setEventName(QStringLiteral("Kept in memory"));
        model->save();
        const QString problem = model->saveProblem();
        QVERIFY2(problem.startsWith("Settings could not be saved: ") && problem.contains(reason)
                && !problem.contains('\n'),
            qPrintable(problem));
        for (QWidget *view : QList<QWidget *> {&popover, &settings}) {
            const auto *notice = view->findChild<QLabel *>("storageNotice");
            QVERIFY(notice && !notice->isHidden());
            QCOMPARE(notice->text(), problem);
        }
        model->setSubtitle(QStringLiteral("and this"));
        model->save();
        QCOMPARE(m_warnings.count(problem), 1);
        // What was there is left as it was.
        if (obstacle == "full disk")
            QCOMPARE(m_env->readSettingsFile(), before);
        else if (obstacle == "fifo")
            QVERIFY(QFileInfo(path).exists() && !QFileInfo(path).isFile());

        QFile::remove(filler);
        QFile::setPermissions(folder(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        if (obstacle == "folder")
            QDir().rmdir(path);
        else if (obstacle != "full disk")
            QFile::remove(obstacle == "fifo" ? path : folder());
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
