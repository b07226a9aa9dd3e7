#include "project/album.h"

#include <exception>

namespace vellumo {

namespace {

constexpr AlbumParts kPlacementParts =
    AlbumPart::Photos | AlbumPart::Templates | AlbumPart::Slots | AlbumPart::Backgrounds;

}  // namespace

Album::Album(const Catalogue& catalogue, RandomIndex random)
    : catalogue_(catalogue),
      backgrounds_(std::move(random)),
      templates_(catalogue_, photos_, backgrounds_) {}

Album::Edit::Edit(Album& album, AlbumParts parts)
    : album_(album), unwinding_(std::uncaught_exceptions()) {
    album_.opened();
    album_.pending_ |= parts;
}

Album::Edit::~Edit() noexcept(false) {
    album_.closed(std::uncaught_exceptions() > unwinding_);
}

PlacementRecords Album::Edit::placement() {
    mark(kPlacementParts | AlbumPart::Options);
    return {album_.templates_, album_.photos_, album_.backgrounds_, album_.wrapCursors_,
            album_.placementMode_};
}

void Album::opened() {
    if (depth_++ == 0) {
        // The state before the first change of every action under way that has none yet.
        for (auto point = undoPoints_.rbegin(); point != undoPoints_.rend() && !*point; ++point) {
            *point = snapshot();
        }
    }
}

void Album::closed(bool unwinding) {
    if (--depth_ > 0 || unwinding || !pending_) {
        return;
    }
    const AlbumParts parts = pending_;
    pending_ = {};
    emit changed(parts);
}

Album::UndoPoint::UndoPoint(Album& album) : album_(album), level_(album.undoPoints_.size()) {
    // A point set inside an open scope starts after that scope's first change: the state now is
    // the state before this action.
    album_.undoPoints_.emplace_back();
    if (album_.depth_ > 0) {
        album_.undoPoints_.back() = album_.snapshot();
    }
}

Album::UndoPoint::~UndoPoint() {
    album_.undoPoints_.resize(level_);
}

bool Album::UndoPoint::restore() {
    const std::optional<Snapshot> before = album_.undoPoints_.at(level_);
    if (!before) {
        return false;
    }
    album_.restore(*before);
    return true;
}

void Album::addPhoto(PhotoRecord record) {
    Edit edit(*this, AlbumPart::Photos);
    photos_.append(std::move(record));
}

void Album::deletePhoto(int row) {
    if (!photos_.isValidRow(row)) {
        return;
    }
    Edit edit(*this, kPlacementParts);
    templates_.photoRemoved(row);
    photos_.remove(row);
    backgrounds_.refreshDefaults(photos_);
}

void Album::deleteAllPhotos() {
    Edit edit(*this, kPlacementParts);
    photos_.clear();
    templates_.clearAll();
}

void Album::refreshDefaultBackgrounds() {
    Edit edit(*this, AlbumPart::Backgrounds);
    backgrounds_.refreshDefaults(photos_);
}

void Album::setInTemplate(int row, bool inTemplate) {
    Edit edit(*this, AlbumPart::Photos);
    photos_.setInTemplate(row, inTemplate);
}

void Album::setPlacementMode(PlacementMode mode) {
    Edit edit(*this, AlbumPart::Options);
    placementMode_ = mode;
}

void Album::setWrapCursors(WrapCursors cursors) {
    Edit edit(*this, AlbumPart::Options);
    wrapCursors_ = cursors;
}

int Album::addTemplate(const CatalogueEntry& entry, bool complete) {
    Edit edit(*this, AlbumPart::Templates | AlbumPart::Slots | AlbumPart::Backgrounds);
    return templates_.addTemplate(entry, complete);
}

void Album::deleteTemplate(int t) {
    Edit edit(*this, kPlacementParts);
    templates_.deleteTemplate(t);
}

void Album::deleteAllTemplates() {
    Edit edit(*this, kPlacementParts);
    templates_.deleteAllTemplates();
}

PlaceResult Album::placePhoto(int photoRow, int t, int slotIndex) {
    Edit edit(*this);
    const PlaceResult result = templates_.placePhoto(photoRow, t, slotIndex);
    if (result == PlaceResult::Placed) {
        edit.mark(AlbumPart::Photos | AlbumPart::Templates | AlbumPart::Slots);
    }
    return result;
}

void Album::fillSlot(int slotRow, int photoRow) {
    Edit edit(*this, AlbumPart::Photos | AlbumPart::Slots);
    templates_.fillSlot(slotRow, photoRow);
}

void Album::updateMatch(int t) {
    Edit edit(*this, AlbumPart::Templates);
    templates_.updateMatch(t);
}

void Album::setPlacements(int slotRow, const Placement& fullScreen, const Placement& medium,
                          CropMark mark) {
    Edit edit(*this, AlbumPart::Slots);
    templates_.setPlacements(slotRow, fullScreen, medium, mark);
}

void Album::setBackground(int t, BackgroundRow row) {
    Edit edit(*this, AlbumPart::Backgrounds);
    backgrounds_.setRow(t, std::move(row));
}

QString Album::addMusic(const QString& path, MusicPlayer& player,
                        const std::function<void()>& pump) {
    Edit edit(*this);
    const int before = music_.size();
    QString problem = music_.add(path, player, pump);
    if (music_.size() != before) {
        edit.mark(AlbumPart::Music);
    }
    return problem;
}

void Album::removeMusic(int row) {
    Edit edit(*this, AlbumPart::Music);
    music_.remove(row);
}

void Album::clearMusic() {
    Edit edit(*this, AlbumPart::Music);
    music_.clear();
}

void Album::addLyrics(const QString& path) {
    Edit edit(*this, AlbumPart::Lyrics);
    lyrics_.add(path);
}

void Album::removeLyrics(int row) {
    Edit edit(*this, AlbumPart::Lyrics);
    lyrics_.remove(row);
}

void Album::clearLyrics() {
    Edit edit(*this, AlbumPart::Lyrics);
    lyrics_.clear();
}

void Album::setLyricSettings(int row, const LyricSettings& settings) {
    Edit edit(*this, AlbumPart::Lyrics);
    lyrics_.setSettings(row, settings);
}

void Album::setOutputOptions(const OutputOptions& options) {
    Edit edit(*this, AlbumPart::Options);
    outputOptions_ = options;
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
    Edit edit(*this, kAllAlbumParts);
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
