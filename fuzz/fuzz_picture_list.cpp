// Picture lists: the items and the "|" between them give back the text between the first and
// the last "|".

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "catalogue/picture_list.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString text =
        QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QStringList items = vellumo::splitPictureList(text);
    const qsizetype first = text.indexOf(u'|');
    const qsizetype last = text.lastIndexOf(u'|');
    if (first == last) {
        if (!items.isEmpty()) {
            std::abort();
        }
        return 0;
    }
    if (items.join(u'|') != text.mid(first + 1, last - first - 1)) {
        std::abort();
    }
    for (const QString& item : items) {
        (void)vellumo::isPhotoSlotName(item);
    }
    return 0;
}
