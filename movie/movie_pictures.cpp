#include "movie/movie_pictures.h"

#include <QDir>
#include <QFileInfo>
#include <QImageReader>

#include <algorithm>
#include <cmath>

namespace vellumo::movie {

namespace {

// A movie naming very many large pictures gets them decoded smaller once this is used up.
constexpr qint64 kMaxMoviePicturePixels = 96LL * 1024 * 1024;
constexpr qint64 kMinPicturePixels = 512LL * 512;

// Reads one picture, decoding it at most kMaxPictureSide on a side and within what is left of
// budget (pixels), which it reduces.
MoviePicture readPicture(const QString& path, qint64& budget) {
    MoviePicture picture;
    if (!QFileInfo(path).isFile()) {
        return picture;
    }
    QImageReader reader(path);
    reader.setAutoTransform(true);
    QSize size = reader.size();
    if (reader.transformation() & QImageIOHandler::TransformationRotate90) {
        size.transpose();
    }
    if (size.isValid()) {
        picture.pixelSize = size;
        QSize decoded = size;
        if (size.width() > kMaxPictureSide || size.height() > kMaxPictureSide) {
            decoded = size.scaled(kMaxPictureSide, kMaxPictureSide, Qt::KeepAspectRatio);
        }
        const qint64 allowed = std::max(budget, kMinPicturePixels);
        const qint64 area = static_cast<qint64>(decoded.width()) * decoded.height();
        if (area > allowed) {
            const double shrink =
                std::sqrt(static_cast<double>(allowed) / static_cast<double>(area));
            decoded = QSize(std::max(1, static_cast<int>(decoded.width() * shrink)),
                            std::max(1, static_cast<int>(decoded.height() * shrink)));
        }
        if (decoded != size) {
            reader.setScaledSize(decoded);
        }
        budget -= static_cast<qint64>(decoded.width()) * decoded.height();
    }
    QImage image = reader.read();
    if (image.isNull()) {
        return {};
    }
    if (!picture.pixelSize.isValid()) {
        picture.pixelSize = image.size();
    }
    picture.image = image.hasAlphaChannel()
                        ? image.convertToFormat(QImage::Format_ARGB32_Premultiplied)
                        : image.convertToFormat(QImage::Format_RGB32);
    return picture;
}

// One box pass of the radius over n values spaced step apart, reading src and writing dst.
void boxPass(const uint8_t* src, uint8_t* dst, int n, qsizetype step, int radius) {
    const int width = 2 * radius + 1;
    int sum = 0;
    for (int i = 0; i <= std::min(radius, n - 1); ++i) {
        sum += src[i * step];
    }
    for (int i = 0; i < n; ++i) {
        dst[i * step] = static_cast<uint8_t>((sum + width / 2) / width);
        const int add = i + radius + 1;
        const int drop = i - radius;
        if (add < n) {
            sum += src[add * step];
        }
        if (drop >= 0) {
            sum -= src[drop * step];
        }
    }
}

}  // namespace

QString pictureKey(const QString& path) {
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

MoviePictures readMoviePictures(const Movie& movie, const PicturesInMemory& inMemory) {
    MoviePictures pictures;
    qint64 budget = kMaxMoviePicturePixels;
    for (const QString& name : movie.pictures()) {
        const QString path = movie.picturePath(name);
        if (!inMemory.isEmpty()) {
            if (const auto given = inMemory.constFind(pictureKey(path)); given != inMemory.cend()) {
                const QImage& image = given.value();
                budget -= static_cast<qint64>(image.width()) * image.height();
                pictures.insert(
                    name, image.isNull()
                              ? MoviePicture{}
                              : MoviePicture{
                                    image.hasAlphaChannel()
                                        ? image.convertToFormat(QImage::Format_ARGB32_Premultiplied)
                                        : image.convertToFormat(QImage::Format_RGB32),
                                    image.size()});
                continue;
            }
        }
        pictures.insert(name, readPicture(path, budget));
    }
    return pictures;
}

MipChain::MipChain(const QImage& source, double scale) {
    if (source.isNull()) {
        return;
    }
    sourceSize_ = source.size();
    scale = std::clamp(scale, 0.0, 1.0);
    const QSize first(std::max(1, static_cast<int>(std::lround(source.width() * scale))),
                      std::max(1, static_cast<int>(std::lround(source.height() * scale))));
    levels_.push_back(first == source.size()
                          ? source
                          : source.scaled(first, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    while (levels_.size() < 12) {
        const QImage& last = levels_.back();
        if (last.width() < 16 || last.height() < 16) {
            break;
        }
        levels_.push_back(last.scaled((last.width() + 1) / 2, (last.height() + 1) / 2,
                                      Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    }
}

const QImage& MipChain::level(double drawScale, double* levelScaleX, double* levelScaleY) const {
    size_t chosen = 0;
    for (size_t i = 1; i < levels_.size(); ++i) {
        const double sx = static_cast<double>(levels_[i].width()) / sourceSize_.width();
        const double sy = static_cast<double>(levels_[i].height()) / sourceSize_.height();
        if (std::min(sx, sy) < drawScale * 0.999) {
            break;
        }
        chosen = i;
    }
    const QImage& image = levels_[chosen];
    *levelScaleX = static_cast<double>(image.width()) / sourceSize_.width();
    *levelScaleY = static_cast<double>(image.height()) / sourceSize_.height();
    return image;
}

QImage shadowFromAlpha(const QImage& silhouette, int radius, const QColor& color) {
    const int w = silhouette.width();
    const int h = silhouette.height();
    if (w <= 0 || h <= 0) {
        return {};
    }
    const QImage source = silhouette.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    std::vector<uint8_t> a(static_cast<size_t>(w) * static_cast<size_t>(h));
    for (int y = 0; y < h; ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(source.constScanLine(y));
        for (int x = 0; x < w; ++x) {
            a[static_cast<size_t>(y) * static_cast<size_t>(w) + static_cast<size_t>(x)] =
                static_cast<uint8_t>(qAlpha(line[x]));
        }
    }
    if (radius > 0) {
        std::vector<uint8_t> b(a.size());
        for (int pass = 0; pass < 3; ++pass) {
            for (int y = 0; y < h; ++y) {
                const size_t row = static_cast<size_t>(y) * static_cast<size_t>(w);
                boxPass(a.data() + row, b.data() + row, w, 1, radius);
            }
            for (int x = 0; x < w; ++x) {
                boxPass(b.data() + x, a.data() + x, h, w, radius);
            }
        }
    }
    QImage result(w, h, QImage::Format_ARGB32_Premultiplied);
    const int cr = color.red(), cg = color.green(), cb = color.blue(), ca = color.alpha();
    for (int y = 0; y < h; ++y) {
        auto* line = reinterpret_cast<QRgb*>(result.scanLine(y));
        for (int x = 0; x < w; ++x) {
            const int alpha =
                a[static_cast<size_t>(y) * static_cast<size_t>(w) + static_cast<size_t>(x)] * ca /
                255;
            line[x] = qRgba(cr * alpha / 255, cg * alpha / 255, cb * alpha / 255, alpha);
        }
    }
    return result;
}

}  // namespace vellumo::movie
