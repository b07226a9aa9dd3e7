#include "album/lyrics_list.h"

#include <QFileInfo>

namespace vellumo {

void LyricsList::add(const QString& path) {
    const QFileInfo info(path);
    LyricFileRecord record;
    record.name = info.completeBaseName();
    record.format = info.suffix().isEmpty() ? QString() : u'.' + info.suffix();
    record.location = path;
    records_.append(record);
}

}  // namespace vellumo
