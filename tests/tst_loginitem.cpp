#include "TestEnvironment.h"
#include "platform/LinuxPlatform.h"
#include "platform/LoginItem.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryFile>
#include <QTest>

#include <cstdio>
#include <unistd.h>

// The autostart entry in a temporary XDG_CONFIG_HOME.
class TestLoginItem : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void enableWritesAValidEntry_data();
    void enableWritesAValidEntry();
    void disableRemovesTheEntry();
    void hiddenCountsAsDisabled_data();
    void hiddenCountsAsDisabled();
    void failureIsOneLineAndTheRealState_data();
    void failureIsOneLineAndTheRealState();

private:
    QString autostartDir() const { return m_env->configHome() + QStringLiteral("/autostart"); }
    std::unique_ptr<TestEnvironment> m_env;
};

namespace {
// Runs `action` with standard output going to a file, and returns what it printed.
QByteArray capturedStdout(const std::function<void()> &action)
{
    QTemporaryFile capture;
    if (!capture.open())
        qFatal("no temporary file");
    std::fflush(stdout);
    const int saved = ::dup(STDOUT_FILENO);
    ::dup2(capture.handle(), STDOUT_FILENO);
    action();
    std::fflush(stdout);
    ::dup2(saved, STDOUT_FILENO);
    ::close(saved);
    capture.seek(0);
    return capture.readAll();
}

QString validate(const QString &path)
{
    QProcess validator;
    validator.setProcessChannelMode(QProcess::MergedChannels);
    validator.start(QStringLiteral("desktop-file-validate"), {path});
    validator.waitForFinished(10000);
    if (validator.exitStatus() != QProcess::NormalExit || validator.exitCode() != 0)
        return QString::fromUtf8(validator.readAll());
    return {};
}

void writeFile(const QString &path, const QByteArray &contents)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(contents);
}
} // namespace

void TestLoginItem::init()
{
    m_env = std::make_unique<TestEnvironment>();
}

void TestLoginItem::cleanup()
{
    QFile::setPermissions(autostartDir(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    m_env.reset();
}

void TestLoginItem::enableWritesAValidEntry_data()
{
    QTest::addColumn<QString>("executable"); // empty: this very program, through the platform
    QTest::addColumn<QString>("exec");

    QTest::newRow("the running program") << QString() << QString();
    QTest::newRow("plain path") << "/usr/bin/daystride"
                                << "/usr/bin/daystride";
    QTest::newRow("space") << "/opt/Day Stride/daystride"
                           << "\"/opt/Day Stride/daystride\"";
    QTest::newRow("quote, dollar, backquote, backslash")
        << "/home/a\"b/$x/`c`/d\\e/daystride"
        << "\"/home/a\\\\\"b/\\\\$x/\\\\`c\\\\`/d\\\\\\\\e/daystride\"";
    QTest::newRow("percent is no field code") << "/srv/100%/daystride"
                                              << "/srv/100%%/daystride";
}

void TestLoginItem::enableWritesAValidEntry()
{
    QFETCH(QString, executable);
    QFETCH(QString, exec);

    QByteArray printed;
    bool enabled = false;
    if (executable.isEmpty()) {
        LinuxPlatform platform;
        printed = capturedStdout([&] { enabled = platform.setLaunchAtLogin(true); });
        QVERIFY(platform.launchAtLogin());
        exec = QCoreApplication::applicationFilePath();
    } else {
        printed = capturedStdout([&] { enabled = LoginItem(executable).setEnabled(true); });
    }
    QVERIFY(enabled);
    QCOMPARE(printed, QByteArray());
    const QString path = autostartDir() + QStringLiteral("/daystride.desktop");
    QCOMPARE(LoginItem::entryPath(), path);
    // Written aside and renamed: nothing else is left in the folder.
    QCOMPARE(QDir(autostartDir()).entryList(QDir::Files | QDir::Hidden),
        QStringList {"daystride.desktop"});
    const QString problems = validate(path);
    QVERIFY2(problems.isEmpty(), qPrintable(problems));

    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = file.readAll().split('\n');
    QCOMPARE(lines.first(), QByteArray("[Desktop Entry]"));
    for (const char *line :
        {"Type=Application", "Name=Daystride", "X-GNOME-Autostart-enabled=true"})
        QVERIFY2(lines.contains(line), line);
    QVERIFY(lines.contains("Exec=" + exec.toUtf8()));
}

void TestLoginItem::disableRemovesTheEntry()
{
    LoginItem item(QStringLiteral("/usr/bin/daystride"));
    QVERIFY(!item.isEnabled());
    QVERIFY(item.setEnabled(true));
    QVERIFY(QFile::exists(LoginItem::entryPath()));
    QVERIFY(!item.setEnabled(false));
    QVERIFY(!QFile::exists(LoginItem::entryPath()));
    // Already off: stays off, says nothing.
    QCOMPARE(capturedStdout([&] { QVERIFY(!item.setEnabled(false)); }), QByteArray());
}

void TestLoginItem::hiddenCountsAsDisabled_data()
{
    QTest::addColumn<QByteArray>("contents");
    QTest::addColumn<bool>("enabled");

    const QByteArray head = "[Desktop Entry]\nType=Application\nName=Daystride\nExec=daystride\n";
    QTest::newRow("no Hidden key") << head << true;
    QTest::newRow("Hidden=true") << head + "Hidden=true\n" << false;
    QTest::newRow("Hidden = true, spaced") << head + "Hidden = true\n" << false;
    QTest::newRow("Hidden=false") << head + "Hidden=false\n" << true;
    QTest::newRow("Hidden=true in another group")
        << head + "[Desktop Action quit]\nName=Quit\nHidden=true\n"
        << true;
}

void TestLoginItem::hiddenCountsAsDisabled()
{
    QFETCH(QByteArray, contents);
    QFETCH(bool, enabled);
    writeFile(LoginItem::entryPath(), contents);
    QCOMPARE(LoginItem().isEnabled(), enabled);
    LinuxPlatform platform;
    QCOMPARE(platform.launchAtLogin(), enabled);
    // Enabling a hidden entry makes it a visible one again.
    QVERIFY(platform.setLaunchAtLogin(true));
}

void TestLoginItem::failureIsOneLineAndTheRealState_data()
{
    QTest::addColumn<QString>("blocker");
    QTest::newRow("autostart is a file") << "autostart";
    QTest::newRow("the entry's name is a folder") << "autostart/daystride.desktop/";
    QTest::newRow("read-only autostart folder") << "autostart/";
}

void TestLoginItem::failureIsOneLineAndTheRealState()
{
    QFETCH(QString, blocker);
    const QString blocked = m_env->configHome() + QLatin1Char('/') + blocker;
    if (blocker == u"autostart/") {
        if (::geteuid() == 0)
            QSKIP("root writes into read-only folders");
        QDir().mkpath(blocked);
        QFile::setPermissions(blocked, QFile::ReadOwner | QFile::ExeOwner);
    } else if (blocker.endsWith(QLatin1Char('/'))) {
        QDir().mkpath(blocked + QStringLiteral("keep"));
    } else {
        writeFile(blocked, "not a folder");
    }

    bool enabled = true;
    const QByteArray printed = capturedStdout(
        [&] { enabled = LoginItem(QStringLiteral("/usr/bin/d")).setEnabled(true); });
    QVERIFY(!enabled);
    QVERIFY2(printed.startsWith("Launch at login failed: "), printed.constData());
    QVERIFY2(printed.endsWith('\n') && printed.count('\n') == 1, printed.constData());
    QVERIFY2(
        printed.contains(QFile::encodeName(m_env->configHome() + QStringLiteral("/autostart"))),
        printed.constData());
    std::printf("  %s", printed.constData());
}

QTEST_MAIN(TestLoginItem)
#include "tst_loginitem.moc"
