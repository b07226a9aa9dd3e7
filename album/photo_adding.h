#pragma once

// Adding chosen photo files to the album as the add task does, and what the user is told
// afterwards. Each file is decoded for its pixel size, then its picture is loaded on the fitting
// canvas for a box 300 wide in the photo's shape; the picture's own shape tells whether the
// photo stands upright as portrait. A file that yields no picture is left out.

#include <QString>
#include <QStringList>
#include <optional>

#include "album/photo_list.h"

namespace vellumo {

class Album;
class FittingCanvas;

// The width of the box the shown picture of a photo is asked for.
inline constexpr int kShownPictureWidth = 300;

// The record of a file measured through the picture the canvas loads for it; nothing when the
// file holds no picture (missing, empty, not a picture, undecodable).
std::optional<PhotoRecord> measureShownPhoto(const QString& path, FittingCanvas& canvas);

// Adds files one at a time; the files that hold no picture are kept for the message at the end.
class PhotoAdder {
public:
    PhotoAdder(Album& album, FittingCanvas& canvas) : album_(album), canvas_(canvas) {}

    // True when the file was added.
    bool add(const QString& path);
    const QStringList& leftOut() const { return leftOut_; }
    void leaveOut(const QStringList& files) { leftOut_ += files; }

private:
    Album& album_;
    FittingCanvas& canvas_;
    QStringList leftOut_;
};

// The one message naming the files of an add that were left out; empty when none were.
QString leftOutPhotosMessage(const QStringList& files);

// Why photos stayed out of templates: the catalogue offers none for them (automatic placement),
// or the chosen combination has none (combined add).
enum class UnplacedReason { Catalogue, Combination };

// The message for the photos that are still in no template after a placement: how many, which,
// and why; empty when every photo is in a template.
QString unplacedPhotosMessage(const PhotoList& photos, UnplacedReason reason);

}  // namespace vellumo
