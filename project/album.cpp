#include "project/album.h"

namespace vellumo {

Album::Album(const Catalogue& catalogue, RandomIndex random)
    : catalogue_(catalogue),
      backgrounds_(std::move(random)),
      templates_(catalogue_, photos_, backgrounds_) {}

void Album::addPhoto(PhotoRecord record) {
    photos_.append(std::move(record));
}

void Album::deletePhoto(int row) {
    if (!photos_.isValidRow(row)) {
        return;
    }
    templates_.photoRemoved(row);
    photos_.remove(row);
    refreshDefaultBackgrounds();
}

void Album::deleteAllPhotos() {
    photos_.clear();
    templates_.clearAll();
}

Album::Snapshot Album::snapshot() const {
    return {photos_,
            backgrounds_.rows(),
            backgrounds_.landscapeList(),
            templates_.templates(),
            templates_.slotTable(),
            music_,
            lyrics_,
            lyricTable_,
            outputOptions_,
            placementMode_,
            wrapCursors_};
}

void Album::restore(const Snapshot& snapshot) {
    photos_ = snapshot.photos;
    backgrounds_.restore(snapshot.backgroundRows, snapshot.landscapeList);
    templates_.restore(snapshot.templates, snapshot.slotTable);
    music_ = snapshot.music;
    lyrics_ = snapshot.lyrics;
    lyricTable_ = snapshot.lyricTable;
    outputOptions_ = snapshot.outputOptions;
    placementMode_ = snapshot.placementMode;
    wrapCursors_ = snapshot.wrapCursors;
}

}  // namespace vellumo
