#pragma once

// Staging: everything a template movie shows is written next to it as a JPEG of the size at
// which the movie shows it. Each photo is drawn once in the 1920 × 1080 reference frame with its
// crop (catalogue/slot_geometry.h), then scaled down to the stage.

#include <QImage>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QVector>
#include <functional>

#include "catalogue/slot_geometry.h"
#include "photo/fitting_canvas.h"

namespace vellumo {

class Album;
struct PhotoSlot;

// The slot geometry of a slot record.
SlotGeometry slotGeometry(const PhotoSlot& slot, int photoWidth, int photoHeight,
                          LandscapeMode mode);
QSize stagePictureSize(const PhotoSlot& slot, QSize listedSize, QSize frame, QSize stage);

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

    // The same preparation with the production's differences: the stage is the output size,
    // intermediate files carry the prefix "25_", the closing movie gets a second copy
    // "wj_y_l_z_h_2.rar", and stopRequested is asked before every template and step; when it
    // answers true the preparation ends at once and returns nothing. staged(t) runs when
    // template t's files are all written (the closing movie's before the first), in order of t,
    // for every template.
    struct Production {
        QSize stage;
        std::function<bool()> stopRequested;
        std::function<void(int)> staged;
    };
    QVector<int> prepare(const Production& production,
                         const std::function<void(int, int)>& progress = {});

    FittingCanvas& canvas() { return canvas_; }
    // The photo and background files that could not be read by the last staging, each once
    // (photos are shown neutral grey, backgrounds black).
    const QStringList& missingPhotos() const { return missingPhotos_; }

private:
    void noteMissing(const QString& file);
    QVector<int> run(QSize stage, bool production, const std::function<bool()>& stopRequested,
                     const std::function<void(int, int)>& progress,
                     const std::function<void(int)>& staged = {});

    const Album& album_;
    FittingCanvas canvas_;
    QStringList missingPhotos_;
    int unpackCounter_ = 0;
};

}  // namespace vellumo
