#include "model/Todo.h"

#include <cstddef>
#include <cstdint>

// Any bytes: decoding never crashes, and whatever decodes encodes back to a
// document that decodes to the same list.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray document(reinterpret_cast<const char *>(data), qsizetype(size));
    if (const auto todos = decodeTodos(document)) {
        const auto again = decodeTodos(encodeTodos(*todos));
        if (!again || again->size() != todos->size())
            __builtin_trap();
        for (qsizetype i = 0; i < todos->size(); ++i) {
            if (again->at(i).id != todos->at(i).id
                || again->at(i).isCompleted != todos->at(i).isCompleted)
                __builtin_trap();
        }
    }
    return 0;
}
