#include "TestEnvironment.h"
#include "platform/LinuxPlatform.h"
#include "platform/LoginItem.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryFile>
#include <QTest>

#include <unistd.h>

namespace {
// What `action` printed on standard output.
QByteArray capturedStdout(const std::function<void()> &action)
{
    QTemporaryFile capture;
    capture.open();
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

void writeFile(const QString &path, const QByteArray &contents)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(contents) == contents.size());
}
} // namespace

// The autostart entry in a temporary XDG_CONFIG_HOME.
class TestLoginItem : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestEnvironment> m_env;

private slots:
    void init() { m_env = std::make_unique<TestEnvironment>(); }
    void cleanup() { m_env.reset(); } // restores the variable before the next sets it

    void enableWritesAValidEntry_data()
    {
        QTest::addColumn<QString>("executable");
        QTest::addColumn<QString>("exec");
        QTest::newRow("the running program")
            << QString() << QCoreApplication::applicationFilePath();
        QTest::newRow("space") << "/opt/Day Stride/daystride"
                               << "\"/opt/Day Stride/daystride\"";
        QTest::newRow("quote, dollar, backquote, backslash")
            << "/home/a\"b/$x/`c`/d\\e/daystride"
            << "\"/home/a\\\\\"b/\\\\$x/\\\\`c\\\\`/d\\\\\\\\e/daystride\"";
        QTest::newRow("percent is no field code") << "/srv/100%/daystride"
                                                  << "/srv/100%%/daystride";
    }

    void enableWritesAValidEntry()
    {
        QFETCH(QString, executable);
        QFETCH(QString, exec);
        LoginItem item(executable);
        bool enabled = false;
        QCOMPARE(capturedStdout([&] { enabled = item.setEnabled(true); }), QByteArray());
        QVERIFY(enabled && item.isEnabled());
        // Written aside and renamed: nothing else is left in the folder.
        const QString path = LoginItem::entryPath();
        QCOMPARE(path, m_env->configHome() + "/autostart/daystride.desktop");
        QCOMPARE(QFileInfo(path).dir().entryList(QDir::Files | QDir::Hidden),
            QStringList {"daystride.desktop"});
        QProcess validator;
        validator.setProcessChannelMode(QProcess::MergedChannels);
        validator.start(QStringLiteral("desktop-file-validate"), {path});
        QVERIFY(validator.waitForFinished(10000));
        QVERIFY2(validator.exitStatus() == QProcess::NormalExit && validator.exitCode() == 0,
            validator.readAll().constData());

        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QList<QByteArray> lines = file.readAll().split('\n');
        QCOMPARE(lines.first(), QByteArray("[Desktop Entry]"));
        for (const QByteArray &line : {QByteArray("Type=Application"), QByteArray("Name=Daystride"),
                 QByteArray("X-GNOME-Autostart-enabled=true"), "Exec=" + exec.toUtf8()})
            QVERIFY2(lines.contains(line), line);

        // Off removes the entry; off again stays off and says nothing.
        QVERIFY(!item.setEnabled(false));
        QVERIFY(!QFile::exists(path));
        QCOMPARE(capturedStdout([&] { QVERIFY(!item.setEnabled(false)); }), QByteArray());
    }

    void hiddenCountsAsDisabled_data()
    {
        QTest::addColumn<QByteArray>("contents");
        QTest::addColumn<bool>("enabled");
        const QByteArray head
            = "[Desktop Entry]\nType=Application\nName=Daystride\nExec=daystride\n";
        QTest::newRow("no Hidden key") << head << true;
        QTest::newRow("Hidden = true") << head + "Hidden = true\n" << false;
    }

    void hiddenCountsAsDisabled()
    {
        QFETCH(QByteArray, contents);
        writeFile(LoginItem::entryPath(), contents);
        LinuxPlatform platform;
        QTEST(platform.launchAtLogin(), "enabled");
        // Enabling a hidden entry makes it a visible one again.
        QVERIFY(platform.setLaunchAtLogin(true) && platform.launchAtLogin());
    }

    void failureIsOneLine()
    {
        writeFile(m_env->configHome() + "/autostart", "not a folder");
        bool enabled = true;
        const QByteArray printed = capturedStdout(
            [&] { enabled = LoginItem(QStringLiteral("/usr/bin/d")).setEnabled(true); });
        QVERIFY(!enabled);
        QVERIFY2(printed.startsWith("Launch at login failed: ") && printed.endsWith('\n')
                && printed.count('\n') == 1
                && printed.contains(QFile::encodeName(m_env->configHome() + "/autostart")),
            printed.constData());
    }
};

QTEST_MAIN(TestLoginItem)
#include "tst_loginitem.moc"
