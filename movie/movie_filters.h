#pragma once

// The filters of an image layer at a frame: a colour matrix (saturation, sepia, brightness) and
// a blur, applied to the part of the picture a frame shows.

#include <QImage>
#include <QRectF>

#include <array>

#include "movie/movie_animation.h"

namespace vellumo::movie {

// The deviation of a filter's Gaussian blur for each unit of its blur.
inline constexpr double kDeviationPerBlur = 0.5;

struct ImageFilter {
    // New red, green and blue from the old ones, row by row.
    std::array<double, 9> matrix{1.0, 0.0, 0.0, 0.0, 1.0, 0.0, 0.0, 0.0, 1.0};
    bool recolours = false;
    double blur = 0.0;  // reference units of the layer

    bool active() const { return recolours || blur > 0.0; }
};

// The filter of a layer's state: saturation first, then sepia, then the tint, then brightness,
// each computed on the picture's own (sRGB) values.
ImageFilter imageFilterAt(const LayerState& state);

// The part from (in the image's pixels) of image, filtered, in an image of its own; from is
// moved to where that part lies in it. unitsToPixels is the image's pixels per layer unit, for
// the blur, which reads the picture round the part as well and repeats its edge pixels past its
// edges, so that a blurred picture still fills its box. Null when the part is empty.
// Blurs a premultiplied or RGB32 image in place with a Gaussian of the deviation in pixels,
// edge pixels repeated past its edges.
void blurImage(QImage& image, double deviation);

QImage filterImage(const QImage& image, QRectF& from, const ImageFilter& filter,
                   double unitsToPixels);

}  // namespace vellumo::movie
