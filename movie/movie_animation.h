#pragma once

// Where a layer is, how big and how visible at a given frame.

#include <QColor>
#include <QSizeF>
#include <QTransform>

#include "movie/movie_model.h"

namespace vellumo::movie {

struct LayerState {
    double x = kStageWidth / 2.0;  // centre, reference units
    double y = kStageHeight / 2.0;
    double width = 0.0;  // box, reference units
    double height = 0.0;
    double scaleX = 1.0;    // scale x scale-x
    double scaleY = 1.0;    // scale x scale-y
    double rotation = 0.0;  // degrees clockwise
    double opacity = 1.0;   // 0 to 1
    double reveal = 1.0;    // 0 to 1
    // An image's content inside its box: the zoom, and the point of the picture (fractions of
    // its size) at the box's middle.
    double contentScale = 1.0;
    double contentX = 0.5;
    double contentY = 0.5;
    // An image's filters.
    double blur = 0.0;  // reference units
    double brightness = 1.0;
    double saturation = 1.0;
    double sepia = 0.0;
    double tint = 0.0;
    // The mask: its centre, box and turn (in the units the layer's position is written in) and
    // the width of its soft edge.
    double maskX = 0.0;
    double maskY = 0.0;
    double maskWidth = 0.0;
    double maskHeight = 0.0;
    double maskRotation = 0.0;
    double maskSoft = 0.0;
    // Colours: a text's and its outline's, and an image's tint.
    QColor textColor;
    QColor strokeColor;
    QColor tintColor;
};

inline constexpr double kMinContentScale = 0.01;

// The layer's state at frame (which may fall between frames). natural is the box the layer has
// where the movie sets no width or height: a picture's own size, a text's measured size, the
// stage for a shape. A picture given only a width or only a height keeps its aspect.
LayerState layerStateAt(const Layer& layer, double frame, QSizeF natural);

// Where a group takes its layers at frame: from their own units to its parent's. The group's
// opacity goes to opacity when it is given.
QTransform groupTransformAt(const Layer& group, double frame, double* opacity = nullptr);

}  // namespace vellumo::movie
