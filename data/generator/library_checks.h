#pragma once

// The rules every movie of the installed library keeps. The generator checks them while it
// builds the data tree, so that a broken movie fails the build naming its file (and the line,
// for a movie that does not parse); the data-tree test checks the installed packages again.

#include <QByteArray>
#include <QString>

#include "catalogue/catalogue.h"
#include "movie/movie.h"

namespace vellumo::datagen {

// A library template runs 5 to 12 seconds.
inline constexpr int kMinTemplateFrames = 125;
inline constexpr int kMaxTemplateFrames = 300;
// The system counts 150 frames for the closing movie in every album.
inline constexpr int kClosingFrames = 150;
// A template ends on a still picture, which the next one starts from: nothing moves, appears
// or disappears in its last frames.
inline constexpr int kStillEndFrames = 10;

// The pictures staging writes next to every template movie.
inline const QString kBackgroundPicture = QStringLiteral("wj_y_l_b_j.jpg");
inline const QString kLeadInPicture = QStringLiteral("../../pic/picture_0.jpg");

// Parses movie text; throws FileError naming the file, with the line for a fault in the text.
movie::Movie checkedMovie(const QByteArray& text, const QString& file);

// A template movie against its parameters: frames = mbdx within the library's range; every
// photo slot's picture shown by an image layer; every picture it names one that staging writes
// (the background, the lead-in, a picture of xpjpgmc); the lead-in shown at frame 0; a still end.
// Also the parameters themselves: singles give no sizes, advanced templates size every picture,
// a decoration (a picture that is no slot) repeats a slot of the same shape, and every slot's
// picture is staged from its own slot (picture_10 after picture_1). Throws Error naming the
// movie's file.
void checkTemplateMovie(const movie::Movie& movie, const CatalogueRecord& record);

// The closing movie: 150 frames, the lead-in at frame 0 and no other picture.
void checkClosingMovie(const movie::Movie& movie);
// The start-up animation: it loops and shows no pictures (nothing is staged for it).
void checkStartupAnimation(const movie::Movie& movie);

}  // namespace vellumo::datagen
