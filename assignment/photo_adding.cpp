#include "assignment/photo_adding.h"

#include "album/photo_list_texts.h"
#include "assignment/assignment_texts.h"
#include "assignment/placement.h"
#include "photo/fitting_canvas.h"
#include "photo/photo_loader.h"
#include "project/album.h"

namespace vellumo {

void captureFramedPhotos(FittingCanvas& canvas, const QVector<PhotoRecord>& photos, QSize tile,
                         const std::function<void(int index, const QImage& capture)>& done,
                         int firstBadgeNumber) {
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
            if (firstBadgeNumber > 0) {
                canvas.showBadge(firstBadgeNumber + i);
            }
            done(i, canvas.capture());
        });
}

int placeWaitingPhotos(Album& album, const std::function<void(int placed)>& placed) {
    PlacementRun run = placementRun(album);
    run.start();
    int before = run.waitingCount();
    while (!run.finished() && run.pass()) {
        if (placed) {
            placed(before - run.waitingCount());
        }
        before = run.waitingCount();
    }
    return run.waitingCount();
}

void PhotoAdder::step() {
    if (progress_.advance) {
        progress_.advance(1);
    }
}

void PhotoAdder::take(const QString& path, MeasuredPhoto measured) {
    if (measured.record) {
        album_.addPhoto(std::move(*measured.record));
        ++added_;
        if (measured.incomplete) {
            incomplete_.append(path);
        }
    } else {
        leftOut_.append(path);
    }
}

bool PhotoAdder::add(const QString& path) {
    const int before = added_;
    take(path, measurePhotoFile(path));
    return added_ > before;
}

void PhotoAdder::addAll(const QStringList& files) {
    if (order_ == PhotoOrder::Added) {
        runInOrder(
            static_cast<int>(files.size()), [&files](int i) { return measurePhotoFile(files[i]); },
            [&](int i, MeasuredPhoto measured) {
                take(files[i], std::move(measured));
                step();
            });
        album_.refreshDefaultBackgrounds();
        return;
    }
    // The whole batch is measured before any of it is appended, in the order asked.
    QVector<PhotoRecord> batch;
    QStringList incomplete;
    runInOrder(
        static_cast<int>(files.size()), [&files](int i) { return measurePhotoFile(files[i]); },
        [&](int i, MeasuredPhoto measured) {
            if (!measured.record) {
                leftOut_.append(files[i]);
            } else {
                if (measured.incomplete) {
                    incomplete.append(files[i]);
                }
                batch.append(std::move(*measured.record));
            }
            step();
        });
    sortPhotos(batch, order_);
    for (PhotoRecord& record : batch) {
        const QString path = record.location;
        take(path, MeasuredPhoto{std::move(record), incomplete.contains(path)});
    }
    album_.refreshDefaultBackgrounds();
}

void PhotoAdder::addMeasured(const QVector<PhotoRecord>& photos) {
    for (const PhotoRecord& photo : photos) {
        take(photo.location, MeasuredPhoto{photo, false});
        step();
    }
    album_.refreshDefaultBackgrounds();
}

int PhotoAdder::placeAll() {
    if (progress_.setMaximum) {
        progress_.setMaximum(album_.photos().size());
    }
    return placeWaitingPhotos(album_, [this](int) { step(); });
}

QString leftOutPhotosMessage(const QStringList& files) {
    if (files.isEmpty()) {
        return {};
    }
    return texts::kPhotosLeftOut + u'\n' + files.join(u'\n');
}

QString incompletePhotosMessage(const QStringList& files) {
    if (files.isEmpty()) {
        return {};
    }
    return texts::kPhotosIncomplete + u'\n' + files.join(u'\n');
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
