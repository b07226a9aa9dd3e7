#pragma once

// Slot geometry, in the 1920 × 1080 reference frame: where a slot's photo is drawn, and the size
// at which a template movie shows each of its pictures.

#include <QRect>
#include <QSize>
#include <optional>

namespace vellumo {

enum class TemplateClass;

// Where the scaled photo lies in the slot's frame; left and top may be negative.
struct Placement {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    friend bool operator==(const Placement&, const Placement&) = default;
};

// How a landscape single shows its photo: filling the frame, or whole in its own shape.
enum class LandscapeMode { FullScreen, Medium };

// Where a slot's photo is drawn at reference size: the frame and the photo's box inside it.
struct SlotGeometry {
    QSize frame;
    QRect photo;
};
SlotGeometry slotGeometry(TemplateClass templateClass, QSize slotFrame, const Placement& fullScreen,
                          const Placement& medium, int photoWidth, int photoHeight,
                          LandscapeMode mode);

// A landscape photo's medium fit in the reference frame; nothing for a portrait photo.
std::optional<QSize> mediumFit(int w, int h);

// The size of a picture on a W × H stage, for the template's class, the size the template gives
// the picture (CatalogueRecord::pictureSize) and its slot's frame.
QSize stagePictureSize(TemplateClass templateClass, QSize listedSize, QSize frame, QSize stage);

}  // namespace vellumo
