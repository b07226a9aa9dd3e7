#include "media/chinese_script.h"

#include <QByteArray>

#include <opencc/opencc.h>

#include <mutex>

namespace vellumo {

namespace {

const opencc_t kNoConverter = reinterpret_cast<opencc_t>(-1);

// The installed configuration first, then the library's own search.
opencc_t openConverter(const char* config) {
    const QByteArray path = QByteArray("/usr/share/opencc/") + config;
    opencc_t converter = opencc_open(path.constData());
    if (converter == kNoConverter) {
        converter = opencc_open(config);
    }
    return converter;
}

enum class Direction { ToSimplified, ToTraditional };

QString convert(Direction direction, const QString& text) {
    static std::mutex mutex;
    static opencc_t toSimple = kNoConverter;
    static opencc_t toTraditional = kNoConverter;
    static bool opened = false;
    const std::lock_guard lock(mutex);
    if (!opened) {
        toSimple = openConverter("t2s.json");
        toTraditional = openConverter("s2t.json");
        opened = true;
    }
    const opencc_t converter = direction == Direction::ToSimplified ? toSimple : toTraditional;
    if (converter == kNoConverter || text.isEmpty()) {
        return text;
    }
    const QByteArray utf8 = text.toUtf8();
    char* out = opencc_convert_utf8(converter, utf8.constData(), static_cast<size_t>(utf8.size()));
    if (out == nullptr) {
        return text;
    }
    const QString result = QString::fromUtf8(out);
    opencc_convert_utf8_free(out);
    return result;
}

}  // namespace

QString toSimplified(const QString& text) {
    return convert(Direction::ToSimplified, text);
}

QString toTraditional(const QString& text) {
    return convert(Direction::ToTraditional, text);
}

}  // namespace vellumo
