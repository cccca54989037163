#include "FakePlatform.h"
#include "TestEnvironment.h"
#include "model/TimerViewModel.h"

#include <QFile>
#include <QSettings>
#include <QTemporaryFile>

#include <cstddef>
#include <cstdint>
#include <memory>

namespace {

// What Qt reads from the bytes, key by key, through a file of their own.
QVariantMap readable(const QByteArray &bytes)
{
    QTemporaryFile file;
    if (!file.open() || file.write(bytes) != bytes.size() || !file.flush())
        __builtin_trap();
    const QSettings ini(file.fileName(), QSettings::IniFormat);
    QVariantMap values;
    for (const QString &key : ini.allKeys())
        values.insert(key, ini.value(key));
    return values;
}

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

// A settings file of arbitrary bytes: loading never crashes and always ends with
// six tasks and an idle delay of at least one minute; a save then either keeps
// every value the file held that it does not write itself, or keeps a copy of
// the original bytes beside it.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static TestEnvironment env;
    const QByteArray original(reinterpret_cast<const char *>(data), qsizetype(size));
    const QString copy = env.settingsPath() + QStringLiteral(".damaged");
    QFile::remove(copy);
    env.writeSettingsFile(original);

    FakePlatform platform;
    TimerViewModel model(platform);
    if (model.todos().size() != 6 || model.idleMinutes() < 1)
        __builtin_trap();
    model.setSubtitle(QStringLiteral("fuzz"));
    model.save();
    if (!model.saveProblem().isEmpty())
        __builtin_trap();
    // What the model read comes back as it was, the edit included.
    platform.restart();
    const TimerViewModel reloaded(platform);
    if (reloaded.timerDate() != model.timerDate() || reloaded.eventName() != model.eventName()
        || reloaded.subtitle() != model.subtitle() || reloaded.todos() != model.todos()
        || reloaded.quotes() != model.quotes() || reloaded.idleEnabled() != model.idleEnabled()
        || reloaded.idleMinutes() != model.idleMinutes())
        __builtin_trap();

    if (QFile::exists(copy)) {
        if (contents(copy) != original)
            __builtin_trap();
        return 0;
    }
    const QStringList written = {QStringLiteral("savedDate"), QStringLiteral("savedEventName"),
        QStringLiteral("subtitle"), QStringLiteral("todos"), QStringLiteral("quotes"),
        QStringLiteral("idleEnabled"), QStringLiteral("idleMinutes")};
    const QVariantMap before = readable(original);
    const QVariantMap after = readable(env.readSettingsFile());
    for (auto it = before.begin(); it != before.end(); ++it) {
        if (!written.contains(it.key()) && after.value(it.key()) != it.value())
            __builtin_trap();
    }
    return 0;
}
