#pragma once

// Staging: everything a template movie shows is written next to it as a JPEG of the size at
// which the movie shows it. Slot geometry is computed in the 1920 × 1080 reference frame, each
// photo drawn once there with its crop, then scaled down to the stage.

#include <QImage>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QVector>
#include <functional>

#include "photo/fitting_canvas.h"

namespace vellumo {

class Album;
class Catalogue;
struct PhotoSlot;

// How a landscape single shows its photo: filling the frame, or whole in its own shape.
enum class LandscapeMode { FullScreen, Medium };

// The width and height lists of a catalogue record as integers (0 for an unreadable item).
struct SizeLists {
    QVector<int> widths;
    QVector<int> heights;
};
SizeLists sizeLists(const Catalogue& catalogue, int catalogueIndex);
QStringList pictureNames(const Catalogue& catalogue, int catalogueIndex);

// Where a slot's photo is drawn at reference size: the frame and the photo's box inside it.
struct SlotGeometry {
    QSize frame;
    QRect photo;
};
SlotGeometry slotGeometry(const PhotoSlot& slot, int photoWidth, int photoHeight,
                          LandscapeMode mode);

// A landscape photo's medium fit in the reference frame; nothing for a portrait photo.
std::optional<QSize> mediumFit(int w, int h);

// The size of picture k on a W × H stage, for the template's class and its slot's frame.
QSize stagePictureSize(const PhotoSlot& slot, const SizeLists& sizes, int k, QSize frame,
                       QSize stage);

class Stager {
public:
    explicit Stager(const Album& album);

    // Writes "wj_y_l_b_j.jpg" for template t into folder: its background covering the stage,
    // or black when the row has no picture or its file cannot be read; nothing when the
    // background list is empty.
    void stageBackground(int t, QSize stage, const QString& folder);
    // Writes one JPEG per picture name of template t into folder.
    void stagePictures(int t, QSize stage, LandscapeMode mode, const QString& folder);

    // The preparation for the preview: rebuilds the template staging folder and the picture
    // folder, unpacks every complete template's movie and the closing movie, stages every
    // complete template at the stage size. progress(done, total) runs after each step. Returns
    // the play list. Throws Error (with the file) when a package cannot be unpacked.
    QVector<int> prepare(QSize stage, const std::function<void(int, int)>& progress = {});

    FittingCanvas& canvas() { return canvas_; }
    // The photo and background files that could not be read by the last staging, each once
    // (photos are shown neutral grey, backgrounds black).
    const QStringList& missingPhotos() const { return missingPhotos_; }

private:
    void noteMissing(const QString& file);

    const Album& album_;
    FittingCanvas canvas_;
    QStringList missingPhotos_;
    int unpackCounter_ = 0;
};

}  // namespace vellumo
