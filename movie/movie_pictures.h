#pragma once

// The pictures a movie shows, decoded once when it is loaded, and the prepared forms the
// renderer draws from.

#include <QColor>
#include <QHash>
#include <QImage>
#include <QSize>
#include <QString>

#include <vector>

#include "movie/movie_model.h"

namespace vellumo::movie {

struct MoviePicture {
    QImage image;     // null when the file is missing or holds no picture
    QSize pixelSize;  // the file's own size; image may be decoded smaller
};

// By picture name as the movie writes it.
using MoviePictures = QHash<QString, MoviePicture>;

// Pictures already in memory, by the key of the file they stand for; the file is not read.
using PicturesInMemory = QHash<QString, QImage>;
// The key of a picture file: its absolute path with "." and ".." resolved.
QString pictureKey(const QString& path);

// Pictures larger than this on either side are decoded scaled down.
inline constexpr int kMaxPictureSide = 4096;

// Reads every picture the movie names, or takes it from inMemory. A missing or unreadable
// picture is recorded as null; it is not an error.
MoviePictures readMoviePictures(const Movie& movie, const PicturesInMemory& inMemory = {});

// A picture at a few resolutions, each about half the one before, so that it can be drawn at
// any scale with bilinear filtering and without aliasing.
class MipChain {
public:
    MipChain() = default;
    // Level 0 is source scaled by scale (at most 1).
    MipChain(const QImage& source, double scale);
    bool isNull() const { return levels_.empty(); }
    QSize sourceSize() const { return sourceSize_; }
    // The smallest level that still has at least drawScale device pixels per source pixel,
    // with its own pixels per source pixel in levelScaleX/Y.
    const QImage& level(double drawScale, double* levelScaleX, double* levelScaleY) const;
    const QImage& largest() const { return levels_.front(); }

private:
    QSize sourceSize_;
    std::vector<QImage> levels_;
};

// Blurs the alpha of a premultiplied image with three box passes of the radius (close to a
// Gaussian with a reach of three radii) and colours it: the result is color where the alpha
// was full.
QImage shadowFromAlpha(const QImage& silhouette, int radius, const QColor& color);

}  // namespace vellumo::movie
