#include "lists/background_window.h"

#include <QPushButton>
#include <QTreeWidget>

#include "album/photo_list_texts.h"
#include "dialogs/message_dialog.h"
#include "lists/album_rows.h"
#include "project/album.h"

namespace vellumo {

BackgroundWindow::BackgroundWindow(Album& album, QWidget* parent)
    : RecordListWindow(
          QSize(980, 500), texts::kBackgroundCaption, std::make_unique<BackgroundRows>(album),
          {texts::kNoBackgrounds, texts::kNoBackgroundSelected, {}, {}, {}, {}, {}}, parent),
      album_(album) {
    using namespace texts;
    buildBesidePreview({QSize(700, 384),
                        {40, 96, 66, 66, 96, 60, 48, 48, 200},
                        true,
                        QSize(201, 151),
                        QStringLiteral("backgroundPreview")},
                       {kBackgroundColumnNumber, kBackgroundColumnName, kBackgroundColumnKind,
                        kBackgroundColumnClass, kBackgroundColumnPicture, kBackgroundColumnFormat,
                        kBackgroundColumnWidth, kBackgroundColumnHeight, kBackgroundColumnLocation},
                       {kBackgroundFieldNumber, kBackgroundFieldName, kBackgroundFieldFormat,
                        kBackgroundFieldWidth, kBackgroundFieldHeight, kBackgroundFieldLocation});
    change_ = makeButton(kChangeBackgroundButton, 120);
    change_->setProperty("accent", true);
    followAlbum(album, AlbumPart::Templates | AlbumPart::Backgrounds);
    connect(change_, &QPushButton::clicked, this, &BackgroundWindow::changeSelected);
    makeReturnButton(kBackgroundClose, true);
}

bool BackgroundWindow::showRecord(int row) {
    const BackgroundRow& background = album_.backgrounds().row(row);
    if (!background.hasPicture()) {
        showMessage(texts::kRowHasNoBackground);
        return false;
    }
    showPicture(QSize(background.width, background.height), background.location,
                texts::kBackgroundPreviewHint.arg(row + 1).arg(background.pictureName));
    return true;
}

void BackgroundWindow::changeSelected() {
    const int k = selectedRecord();
    if (k < 0) {
        return;
    }
    const QStringList files = chooseFilesToAdd(texts::kPhotoFileFilter, false);
    if (files.isEmpty()) {
        return;
    }
    const QString& file = files.first();
    // Measured as photos are: the shown picture's shape decides, so a file whose EXIF turns it
    // upright as portrait is refused, and the size recorded is the upright one.
    const std::optional<PhotoRecord> picture = measurePhoto(file);
    if (!picture) {
        showMessage(texts::kBackgroundUnreadable.arg(file));
        return;
    }
    if (!picture->isLandscape()) {
        showMessage(texts::kBackgroundNotLandscape);
        return;
    }
    album_.setBackground(k, backgroundFromPhoto(*picture));
    refreshList();
    list()->setCurrentItem(list()->topLevelItem(k));
}

}  // namespace vellumo
