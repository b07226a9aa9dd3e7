#include "assignment/photo_adding.h"

#include <QFileInfo>
#include <QImageReader>

#include <algorithm>

#include "album/photo_list_texts.h"
#include "assignment/assignment_texts.h"
#include "photo/fitting_canvas.h"
#include "photo/photo_loader.h"
#include "project/album.h"

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

QSize shownPictureBox(QSize stored) {
    if (stored.width() <= 0) {
        return QSize(kShownPictureWidth, 1);
    }
    return QSize(kShownPictureWidth,
                 std::max(1, static_cast<int>(qint64{kShownPictureWidth} * stored.height() /
                                              stored.width())));
}

std::optional<PhotoRecord> measureShownPhoto(const QString& path) {
    const QSize stored = storedSize(path);
    if (!stored.isValid() || stored.isEmpty()) {
        return std::nullopt;
    }
    const LoadedPhoto shown = loadPhoto(path, shownPictureBox(stored));
    if (shown.isIcon) {
        return std::nullopt;
    }
    const QSize upright = uprightPhotoSize(stored.width(), stored.height(), shown.image.size());
    const QFileInfo info(path);
    PhotoRecord record;
    record.name = info.completeBaseName();
    record.format = info.suffix().isEmpty() ? QString() : u'.' + info.suffix();
    record.width = upright.width();
    record.height = upright.height();
    record.location = path;
    return record;
}

void captureFramedPhotos(FittingCanvas& canvas, const QVector<PhotoRecord>& photos, QSize tile,
                         const std::function<void(int index, const QImage& capture)>& done) {
    // The workers get copies: the album is not read off this thread.
    QVector<Fit> fits;
    QStringList locations;
    for (const PhotoRecord& photo : photos) {
        fits << fitContainWithFrame(tile.width(), tile.height(), photo.width, photo.height);
        locations << photo.location;
    }
    canvas.hideBadge();
    runInOrder(
        static_cast<int>(photos.size()),
        [&fits, &locations](int i) {
            return loadPhoto(locations[i], fits[i].pictureBox.size()).image;
        },
        [&](int i, QImage picture) {
            canvas.apply(fits[i]);
            canvas.setPicture(std::move(picture), locations[i]);
            done(i, canvas.capture());
        });
}

void PhotoAdder::take(const QString& path, std::optional<PhotoRecord> record) {
    if (record) {
        album_.addPhoto(std::move(*record));
    } else {
        leftOut_.append(path);
    }
}

bool PhotoAdder::add(const QString& path) {
    const int before = album_.photos().size();
    take(path, measureShownPhoto(path));
    return album_.photos().size() > before;
}

void PhotoAdder::addAll(const QStringList& files, const std::function<void()>& tick) {
    runInOrder(
        static_cast<int>(files.size()), [&files](int i) { return measureShownPhoto(files[i]); },
        [&](int i, std::optional<PhotoRecord> record) {
            take(files[i], std::move(record));
            if (tick) {
                tick();
            }
        });
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
