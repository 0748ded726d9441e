// libFuzzer target: any page must read without a crash, and the reading must agree with itself.
#include "presence/pagedecoder.h"
#include "presence/presencereader.h"
#include "presence/splitbydelimiter.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QString page = decodePage(bytes, QByteArray());
    const PresenceReading reading = readPresence(page);
    if (reading.count != (reading.found ? reading.entries.size() : 0) && reading.count != 0)
        std::abort();
    for (const QString& entry : reading.entries)
        if (entry.isEmpty() || entry.contains(QLatin1Char('|')))
            std::abort();

    const int limit = size > 0 ? data[0] % 8 : 1;
    const QStringList pieces = SplitByDelimiter(QLatin1Char('|'), page, limit);
    if (pieces.size() > limit + 1)
        std::abort();
    return 0;
}
