// Combined-template files: any bytes give members or a clear error.

#include <cstddef>
#include <cstdint>

#include "catalogue/combined_template.h"
#include "workspace/errors.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    try {
        const vellumo::CombinedTemplate t = vellumo::parseCombinedTemplate(bytes);
        (void)t.landscapeTotal();
        (void)t.portraitTotal();
    } catch (const vellumo::Error&) {
    }
    return 0;
}
