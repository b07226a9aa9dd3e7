#include "timeline/play_check.h"

#include "album/album_texts.h"
#include "assignment/assignment_texts.h"
#include "project/album.h"
#include "timeline/timeline_texts.h"

namespace vellumo {

PlayCheck checkPlayRequest(const Album& album, SyncMode sync) {
    PlayCheck check;
    if (album.photos().isEmpty()) {
        check.refusal = texts::kNoPhotos;
    } else if (sync == SyncMode::WithMusic && album.music().isEmpty()) {
        check.refusal = texts::kNoMusicForSync;
    } else if (album.templates().size() == 0) {
        check.refusal = texts::kNoTemplates;
    } else {
        for (const PhotoRecord& photo : album.photos().records()) {
            check.unplacedPhotos += photo.inTemplate ? 0 : 1;
        }
    }
    return check;
}

}  // namespace vellumo
