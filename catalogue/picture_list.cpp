#include "catalogue/picture_list.h"

namespace vellumo {

QStringList splitPictureList(QStringView text) {
    QStringList items;
    qsizetype previous = text.indexOf(u'|');
    while (previous >= 0) {
        const qsizetype next = text.indexOf(u'|', previous + 1);
        if (next < 0) {
            break;
        }
        items.append(text.mid(previous + 1, next - previous - 1).toString());
        previous = next;
    }
    return items;
}

bool isPhotoSlotName(QStringView name) {
    return name.count(u'_') == 1;
}

}  // namespace vellumo
