// Packed files: any bytes either unpack to exactly the length they announce or raise an error.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "workspace/errors.h"
#include "workspace/packed_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    qint32 announced = 0;
    if (size >= 4) {
        std::memcpy(&announced, data, 4);
    }
    try {
        vellumo::unpack(bytes);
    } catch (const vellumo::Error&) {
        return 0;
    }
    if (size > 0 && bytes.size() != announced) {
        std::abort();
    }
    return 0;
}
