#include "FakePlatform.h"
#include "TestEnvironment.h"
#include "model/TimerViewModel.h"

#include <cstddef>
#include <cstdint>
#include <memory>

// A settings file of arbitrary bytes: loading never crashes and always ends with
// six tasks and an idle delay of at least one minute; saving afterwards works.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static TestEnvironment env;
    env.writeSettingsFile(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));

    FakePlatform platform;
    TimerViewModel model(platform);
    if (model.todos().size() != 6 || model.idleMinutes() < 1)
        __builtin_trap();
    model.save();
    return 0;
}
