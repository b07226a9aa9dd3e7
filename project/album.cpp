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

}  // namespace vellumo
