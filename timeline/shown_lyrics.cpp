#include "timeline/shown_lyrics.h"

#include "album/lyrics.h"
#include "timeline/timeline_texts.h"
#include "workspace/errors.h"

namespace vellumo {

QString readShownLyrics(const QString& location, LyricTable& table) {
    try {
        table = LyricTable::read(location);
    } catch (const Error&) {
        table.clear();
        return texts::kLyricsUnreadable.arg(location);
    }
    return table.hasLines() ? QString() : texts::kLyricsWithoutLines.arg(location);
}

}  // namespace vellumo
