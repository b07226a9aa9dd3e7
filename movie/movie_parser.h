#pragma once

// Reading the movie text format (docs/movie-format.md) into a Movie, and the names the format
// uses.

#include <QByteArray>
#include <QString>

#include "movie/movie_model.h"

namespace vellumo::movie {

// The first line of every movie file: the magic word and the format version. Version 2 adds
// cubic-bezier easings, content motion inside an image's box, image filters, groups, masks,
// blend modes, particles and text outlines; a version 1 file reads and renders as it always did.
inline constexpr char kMagic[] = "vellumo-movie";
inline constexpr int kFormatVersion = 2;  // the newest version read

// Bounds that keep a hand-written or damaged file from asking for absurd work or memory.
inline constexpr qsizetype kMaxFileBytes = 4 * 1024 * 1024;
inline constexpr int kMaxFrames = 90000;  // one hour
inline constexpr int kMaxLayers = 1000;
inline constexpr int kMaxKeysPerLayer = 20000;
inline constexpr int kMaxTextLength = 10000;
inline constexpr int kMaxGroupDepth = 8;

// The most particles a layer has at a time.
inline constexpr int kMaxParticles = 2000;

// The look a kind of particle has unless the movie says otherwise.
Emitter defaultEmitter(ParticleKind kind);

// Parses movie text. Throws FileError(file, "第 N 行：…") when the text is not a valid movie.
Movie parseMovie(const QByteArray& bytes, const QString& file);
// Reads and parses a movie file; pictures are found relative to its folder.
Movie readMovie(const QString& path);

// The names the format uses, for tools and messages.
QString easingName(Easing easing);
QString propertyName(Property property);
QString revealStyleName(RevealStyle style);
QString colorPropertyName(ColorProperty property);

}  // namespace vellumo::movie
