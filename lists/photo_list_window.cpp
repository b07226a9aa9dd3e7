#include "lists/photo_list_window.h"

#include <QPushButton>

#include "album/album_texts.h"
#include "album/photo_list_texts.h"
#include "assignment/photo_adding.h"
#include "assignment/template_options_window.h"
#include "dialogs/message_dialog.h"
#include "dialogs/progress_window.h"
#include "lists/album_rows.h"
#include "project/album.h"
#include "settings/system_settings.h"
#include "workspace/errors.h"

namespace vellumo {

PhotoListWindow::PhotoListWindow(Album& album, const SystemSettings& settings, QWidget* parent)
    : RecordListWindow(QSize(880, 520), texts::kPhotoListCaption,
                       std::make_unique<PhotoRows>(album),
                       {texts::kNoPhotos, texts::kNoPhotoSelected, texts::kDeletePhotoCaption,
                        texts::kDeletePhotoQuestion, texts::kPhotoDeleted,
                        texts::kDeleteAllQuestion, texts::kAllPhotosDeleted},
                       parent),
      album_(album),
      settings_(settings) {
    using namespace texts;
    buildBesidePreview({QSize(600, 404),
                        {44, 130, 48, 56, 56, 212, 48},
                        false,
                        QSize(201, 169),
                        QStringLiteral("photoPreview")},
                       {kPhotoColumnNumber, kPhotoColumnName, kPhotoColumnFormat, kPhotoColumnWidth,
                        kPhotoColumnHeight, kPhotoColumnLocation, kPhotoColumnInTemplate},
                       {kPhotoFieldNumber, kPhotoFieldName, kPhotoFieldFormat, kPhotoFieldWidth,
                        kPhotoFieldHeight, kPhotoFieldLocation});
    makeRecordButtons(kAddPhotoButton, kDeletePhotoButton, kDeleteAllButton,
                      [this] { addPhotos(); });
    autoPlace_ = makeButton(kAutoPlaceButton);
    connect(autoPlace_, &QPushButton::clicked, this, &PhotoListWindow::placeUnassigned);
    makeReturnButton(kPhotoListClose, true);
    followAlbum(album, AlbumPart::Photos);
}

ProgressWindow& PhotoListWindow::progress() const {
    return progress_ ? *progress_ : ProgressWindow::shared();
}

bool PhotoListWindow::showRecord(int row) {
    const PhotoRecord& photo = album_.photos().at(row);
    showPicture(QSize(photo.width, photo.height), photo.location,
                texts::kPhotoPreviewHint.arg(row + 1).arg(photo.name));
    return true;
}

void PhotoListWindow::recordsRemoved() {
    if (album_.photos().isEmpty()) {
        emit photosCleared();
    }
}

void PhotoListWindow::addPhotos() {
    // The photos, their placement and the mode they were added in change as one.
    Album::Edit edit(album_);
    if (settings_.useTemplateCombination() && options_) {
        if (options_->chooseAssignmentWay() == PlacementMode::Combined) {
            album_.setPlacementMode(PlacementMode::Combined);
            addWithCombination();
            return;
        }
    }
    album_.setPlacementMode(PlacementMode::Random);
    addWithRotation();
}

void PhotoListWindow::addWithRotation() {
    const QStringList files = chooseFilesToAdd(texts::kPhotoFileFilter);
    if (files.isEmpty()) {
        return;
    }
    lastChosen_ = static_cast<int>(files.size());
    ProgressWindow& window = progress();
    PhotoAdder adder(album_, {[&window](int maximum) { window.setRange(0, maximum); },
                              [&window](int steps) { window.advance(steps); }});
    adder.setOrder(addOrder());
    try {
        window.run(texts::kAddPhotosTitle, lastChosen_, [&] {
            adder.addAll(files);
            adder.placeAll();
        });
    } catch (const Error& error) {
        showMessage(error.message());
    }
    refreshList();
    if (const QString leftOut = leftOutPhotosMessage(adder.leftOut()); !leftOut.isEmpty()) {
        showMessage(leftOut);
    }
    if (const QString incomplete = incompletePhotosMessage(adder.incomplete());
        !incomplete.isEmpty()) {
        showMessage(incomplete);
    }
    if (const QString unplaced = unplacedPhotosMessage(album_.photos(), UnplacedReason::Catalogue);
        !unplaced.isEmpty()) {
        showMessage(unplaced);
    }
}

void PhotoListWindow::addWithCombination() {
    const std::optional<Combination> combination = options_->selectedCombination();
    if (!combination) {
        return;
    }
    const bool added = runCombinedAdd(
        album_, *combination, options_->selectedPackage(),
        [this] { return chooseFilesToAdd(texts::kPhotoFileFilter); }, progress(), addOrder());
    if (added) {
        refreshList();
    }
}

PhotoOrder PhotoListWindow::addOrder() const {
    return settings_.orderByTimeTaken() ? PhotoOrder::TimeTaken : PhotoOrder::Added;
}

QString PhotoListWindow::deleteQuestion(int row) const {
    const int used = row >= 0 ? album_.templates().slotsUsingPhoto(row) : 0;
    return used == 0 ? texts::kDeletePhotoQuestion : texts::kDeleteUsedPhotoQuestion.arg(used);
}

void PhotoListWindow::placeUnassigned() {
    const PhotoList& photos = album_.photos();
    if (photos.isEmpty()) {
        showMessage(texts::kNoPhotos);
        return;
    }
    const bool waiting = std::any_of(photos.records().begin(), photos.records().end(),
                                     [](const PhotoRecord& p) { return !p.inTemplate; });
    if (!waiting) {
        showMessage(texts::kAutoPlacementDone);
        return;
    }
    {
        Album::Edit edit(album_);
        runPlacement();
    }
    refreshList();
    // Photos no template could take are named instead of a "completed" that would not be true.
    const QString unplaced = unplacedPhotosMessage(photos, UnplacedReason::Catalogue);
    showMessage(unplaced.isEmpty() ? texts::kAutoPlacementDone : unplaced);
}

void PhotoListWindow::runPlacement() {
    ProgressWindow& window = progress();
    try {
        window.run(texts::kAutoPlacementTitle, std::max(1, 2 * lastChosen_),
                   [&] { placeWaitingPhotos(album_, [&window](int) { window.advance(); }); });
    } catch (const Error& error) {
        showMessage(error.message());
    }
}

}  // namespace vellumo
