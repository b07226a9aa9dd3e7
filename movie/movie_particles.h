#pragma once

// Particles of a particle layer at a frame: petals, snow, bokeh dots or sparkles. Each one is
// computed from the layer's seed, its own number and the frame alone, so that a frame is always
// the same picture whichever frames were drawn before it.

#include <QImage>
#include <QSizeF>

#include <vector>

#include "movie/movie_model.h"

namespace vellumo::movie {

struct Particle {
    double x = 0.0;  // centre, in the layer's units from the middle of its box
    double y = 0.0;
    double size = 0.0;      // reference units across
    double rotation = 0.0;  // degrees
    double opacity = 0.0;   // 0 to 1
    int color = 0;          // index into the emitter's colours
};

// The particles alive at frame in an emitter box of the given size; those fully faded are left
// out.
std::vector<Particle> particlesAt(const Emitter& emitter, double frame, QSizeF box);

// The look of one particle of the kind in the colour, side pixels square, drawn once and then
// placed for each particle.
QImage particleSprite(ParticleKind kind, const QColor& color, int side);

}  // namespace vellumo::movie
