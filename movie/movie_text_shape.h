#pragma once

// A text laid out as outlines, for texts drawn with an outline, in a changing colour or one
// character after another.

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainterPath>
#include <QRectF>
#include <QSizeF>

#include <vector>

#include "movie/movie_model.h"

namespace vellumo::movie {

struct TextShape {
    QPainterPath letters;            // the glyphs, in the text's own units from its box's corner
    std::vector<QRectF> characters;  // where each character lies, in reading order
    QSizeF size;                     // the text's box, room for the outline included
};

// Lays the layer's text out in the font, with room round it of pad units.
TextShape shapeText(const Layer& layer, const QFont& font, double pad);

// The letters and their outline drawn in white, scale pixels per unit.
QImage textFillMask(const TextShape& shape, double scale);
QImage textStrokeMask(const TextShape& shape, double width, double scale);

// The text in its colours from its masks; a null stroke mask draws no outline.
QImage colouredText(const QImage& fill, const QImage& stroke, const QColor& fillColor,
                    const QColor& strokeColor);

}  // namespace vellumo::movie
