#include "timeline/album_clock.h"

#include "project/album.h"
#include "timeline/album_sequence.h"

namespace vellumo {

QString clockText(qint64 seconds) {
    const auto twoDigits = [](qint64 n) { return QString::number(n).rightJustified(2, u'0'); };
    return twoDigits(seconds / 3600) + u':' + twoDigits((seconds / 60) % 60) + u':' +
           twoDigits(seconds % 60);
}

QString clockTextOfFrames(qint64 frames) {
    return clockText(frames / 25);
}

qint64 albumTotalFrames(const Album& album) {
    qint64 total = kClosingMovieFrames;
    for (const UsedTemplate& t : album.templates().templates()) {
        if (t.complete) {
            total += album.catalogue().record(t.info->catalogueIndex).frames;
        }
    }
    return total;
}

}  // namespace vellumo
