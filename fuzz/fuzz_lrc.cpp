// LRC lyric files: any bytes give a lyric table that starts with the empty 00:00 entry.

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "album/lyrics.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const vellumo::LyricTable table = vellumo::LyricTable::fromBytes(bytes);
    if (table.entries().isEmpty() || table.entries().first().tag != QLatin1String("00:00")) {
        std::abort();
    }
    (void)table.find(u"00:01");
    return 0;
}
