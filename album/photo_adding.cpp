#include "album/photo_adding.h"

#include <QFileInfo>
#include <QImageReader>

#include <algorithm>

#include "album/album.h"
#include "album/photo_list_texts.h"
#include "assignment/assignment_texts.h"
#include "photo/fitting_canvas.h"
#include "photo/photo_loader.h"

namespace vellumo {

namespace {

// The size of the pixel data as stored, before any EXIF turn.
QSize storedSize(const QString& path) {
    if (const std::optional<JpegHeader> header = readJpegHeader(path)) {
        return QSize(header->width, header->height);
    }
    // Another picture format under a .jpg name still has a size.
    QImageReader reader(path);
    reader.setAutoTransform(false);
    return reader.size();
}

}  // namespace

std::optional<PhotoRecord> measureShownPhoto(const QString& path, FittingCanvas& canvas) {
    const QSize stored = storedSize(path);
    if (!stored.isValid() || stored.isEmpty()) {
        return std::nullopt;
    }
    // The box is 300 wide and as high as the stored pixels say (at least 1, else the loader
    // would decode the whole photo).
    const int boxHeight = std::max(
        1, static_cast<int>(qint64{kShownPictureWidth} * stored.height() / stored.width()));
    canvas.hideBadge();
    canvas.clearPicture();
    canvas.setPictureBox(QRect(0, 0, kShownPictureWidth, boxHeight));
    if (!canvas.loadPhoto(path)) {
        return std::nullopt;
    }
    const QSize upright =
        uprightPhotoSize(stored.width(), stored.height(), canvas.picture().size());
    const QFileInfo info(path);
    PhotoRecord record;
    record.name = info.completeBaseName();
    record.format = info.suffix().isEmpty() ? QString() : u'.' + info.suffix();
    record.width = upright.width();
    record.height = upright.height();
    record.location = path;
    return record;
}

bool PhotoAdder::add(const QString& path) {
    std::optional<PhotoRecord> record = measureShownPhoto(path, canvas_);
    if (!record) {
        leftOut_.append(path);
        return false;
    }
    album_.addPhoto(std::move(*record));
    return true;
}

QString leftOutPhotosMessage(const QStringList& files) {
    if (files.isEmpty()) {
        return {};
    }
    return texts::kPhotosLeftOut + u'\n' + files.join(u'\n');
}

QString unplacedPhotosMessage(const PhotoList& photos, UnplacedReason reason) {
    QStringList lines;
    bool landscapeLeft = false;
    bool portraitLeft = false;
    for (int row = 0; row < photos.size(); ++row) {
        const PhotoRecord& photo = photos.at(row);
        if (photo.inTemplate) {
            continue;
        }
        (photo.isLandscape() ? landscapeLeft : portraitLeft) = true;
        lines << texts::kUnplacedPhotoLine.arg(row + 1).arg(
            photo.name, photo.isLandscape() ? texts::kLandscapePhoto : texts::kPortraitPhoto);
    }
    if (lines.isEmpty()) {
        return {};
    }
    const int count = static_cast<int>(lines.size());
    const bool catalogue = reason == UnplacedReason::Catalogue;
    if (landscapeLeft) {
        lines << (catalogue ? texts::kNoTemplateForLandscape : texts::kCombinationTakesNoLandscape);
    }
    if (portraitLeft) {
        lines << (catalogue ? texts::kNoTemplateForPortrait : texts::kCombinationTakesNoPortrait);
    }
    lines.prepend(texts::kPhotosLeftUnplaced.arg(count));
    return lines.join(u'\n');
}

}  // namespace vellumo
