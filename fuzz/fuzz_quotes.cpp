#include "model/QuoteList.h"

#include <cstddef>
#include <cstdint>

// Any bytes: decoding never crashes, and a decoded list survives a round trip in length.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray document(reinterpret_cast<const char *>(data), qsizetype(size));
    if (const auto quotes = decodeQuotes(document)) {
        const auto again = decodeQuotes(encodeQuotes(*quotes));
        if (!again || again->size() != quotes->size())
            __builtin_trap();
    }
    return 0;
}
