#include "movie/template_rules.h"

#include <QLinearGradient>
#include <QPainter>
#include <QSet>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <memory>

#include "catalogue/picture_list.h"
#include "catalogue/slot_geometry.h"
#include "movie/movie_parser.h"
#include "movie/movie_pictures.h"
#include "movie/movie_renderer.h"

namespace vellumo::movie {

namespace {

double valueAt(const Layer& layer, Property property, double frame) {
    const double fallback =
        property == Property::Opacity || property == Property::Reveal ||
                property == Property::Scale || property == Property::ScaleX ||
                property == Property::ScaleY || property == Property::ContentScale ||
                property == Property::Brightness || property == Property::Saturation
            ? 1.0
        : property == Property::ContentX || property == Property::ContentY ? 0.5
                                                                           : 0.0;
    return layer.track(property).valueAt(frame, fallback);
}

QSet<QString> imagePictures(const Movie& movie) {
    QSet<QString> pictures;
    for (const Layer& layer : movie.layers) {
        if (layer.kind == LayerKind::Image) {
            pictures.insert(layer.picture);
        }
    }
    return pictures;
}

bool isSingle(const CatalogueRecord& record) {
    return record.orientations.size() == 1;
}

// Some layer shows the lead-in, wholly opaque, at frame 0.
QString leadInProblem(const Movie& movie) {
    for (const Layer& layer : movie.layers) {
        if (layer.kind == LayerKind::Image && layer.picture == kLeadInPicture &&
            layer.visibleAt(0) && valueAt(layer, Property::Opacity, 0) > 0.99) {
            return {};
        }
    }
    return QStringLiteral("does not start from the lead-in \"%1\"").arg(kLeadInPicture);
}

QString framesProblem(const Movie& movie, const CatalogueRecord& record) {
    if (movie.frames != record.frames) {
        return QStringLiteral("runs %1 frames but its mbdx is %2")
            .arg(movie.frames)
            .arg(record.frames);
    }
    if (movie.frames < kMinTemplateFrames || movie.frames > kMaxTemplateFrames) {
        return QStringLiteral("runs %1 frames; a template runs %2 to %3")
            .arg(movie.frames)
            .arg(kMinTemplateFrames)
            .arg(kMaxTemplateFrames);
    }
    return {};
}

// Every photo slot's picture is shown; every picture shown is one that staging writes.
QString pictureNamesProblem(const Movie& movie, const CatalogueRecord& record) {
    const QSet<QString> shown = imagePictures(movie);
    QSet<QString> staged{kBackgroundPicture, kLeadInPicture};
    for (const QString& name : record.pictureNames) {
        const QString file = name + QStringLiteral(".jpg");
        staged.insert(file);
        if (isPhotoSlotName(name) && !shown.contains(file)) {
            return QStringLiteral("no image layer shows the photo slot \"%1\"").arg(file);
        }
    }
    QStringList strays;
    for (const QString& picture : shown) {
        if (!staged.contains(picture)) {
            strays.append(picture);
        }
    }
    if (!strays.isEmpty()) {
        strays.sort();
        return QStringLiteral("shows \"%1\", which is not staged for this template")
            .arg(strays.first());
    }
    return {};
}

// Singles are sized by staging (0 in both lists); every picture of an advanced template has
// its size.
QString pictureSizesProblem(const CatalogueRecord& record) {
    const QStringList& names = record.pictureNames;
    for (qsizetype k = 0; k < names.size(); ++k) {
        const int w = record.pictureWidths.value(k);
        const int h = record.pictureHeights.value(k);
        if (isSingle(record) && (w != 0 || h != 0)) {
            return QStringLiteral("a single-photo template gives \"%1\" no size (0), not %2 x %3")
                .arg(names[k])
                .arg(w)
                .arg(h);
        }
        if (!isSingle(record) && (w <= 0 || h <= 0)) {
            return QStringLiteral("\"%1\" needs its size in xpkd and xpgd").arg(names[k]);
        }
    }
    return {};
}

// A decoration (a picture that is no slot) repeats a slot of the same shape, since staging
// stretches the slot's photo over it.
QString decorationNamesProblem(const CatalogueRecord& record) {
    const QStringList& names = record.pictureNames;
    for (qsizetype k = 0; k < names.size(); ++k) {
        if (isPhotoSlotName(names[k])) {
            continue;
        }
        // The slot that staging draws this picture from: the last whose name it contains.
        qsizetype slot = -1;
        for (qsizetype j = 0; j < names.size(); ++j) {
            if (isPhotoSlotName(names[j]) && names[k].contains(names[j])) {
                slot = j;
            }
        }
        if (slot < 0) {
            return QStringLiteral("decoration \"%1\" contains the name of no photo slot")
                .arg(names[k]);
        }
        const qint64 w = record.pictureWidths.value(k);
        const qint64 h = record.pictureHeights.value(k);
        const qint64 sw = record.pictureWidths.value(slot);
        const qint64 sh = record.pictureHeights.value(slot);
        if (!isSingle(record) && std::llabs(sw * h - sh * w) * 100 > sw * h) {
            return QStringLiteral(
                       "decoration \"%1\" (%2 x %3) has not the shape of its slot "
                       "\"%4\" (%5 x %6)")
                .arg(names[k])
                .arg(w)
                .arg(h)
                .arg(names[slot])
                .arg(sw)
                .arg(sh);
        }
    }
    return {};
}

// Staging draws picture k from the last slot, in slot order, whose name picture k's name
// holds; each slot's picture must come from its own slot. Advanced templates fill their
// landscape slots first, then their portrait slots, and give a "shuheng" picture no slot.
QString substringMatchingProblem(const CatalogueRecord& record) {
    const QStringList& names = record.pictureNames;
    const QStringList& orientations = record.orientations;
    const bool single = isSingle(record);
    QList<qsizetype> order;
    for (const QString& pass : {QStringLiteral("heng"), QStringLiteral("shu")}) {
        for (qsizetype k = 0; k < names.size(); ++k) {
            if (!isPhotoSlotName(names[k]) || k >= orientations.size()) {
                continue;
            }
            if (!single && orientations[k] == QStringLiteral("shuheng")) {
                return QStringLiteral(
                           "\"%1\" is \"shuheng\", which gets no photo in a template "
                           "of several pictures")
                    .arg(names[k]);
            }
            if ((single || orientations[k] == pass) && !order.contains(k)) {
                order.append(k);
            }
        }
    }
    for (const qsizetype k : order) {
        qsizetype source = -1;
        for (const qsizetype j : order) {
            if (names[k].contains(names[j])) {
                source = j;
            }
        }
        if (source != k) {
            return QStringLiteral(
                       "\"%1\" would show the photo of \"%2\": a slot whose name "
                       "holds another's must come after it")
                .arg(names[k], names[source]);
        }
    }
    return {};
}

// Nothing changes in the last frames: every property keeps its value, no layer comes or goes.
QString stillEndProblem(const Movie& movie) {
    const int first = std::max(0, movie.frames - kStillEndFrames);
    for (const Layer& layer : movie.layers) {
        for (int f = first + 1; f < movie.frames; ++f) {
            if (layer.visibleAt(f) != layer.visibleAt(first)) {
                return QStringLiteral(
                           "layer \"%1\" appears or disappears at frame %2; the last "
                           "%3 frames must be still")
                    .arg(layer.name)
                    .arg(f)
                    .arg(kStillEndFrames);
            }
            for (int p = 0; p < kPropertyCount; ++p) {
                const auto property = static_cast<Property>(p);
                if (std::abs(valueAt(layer, property, f) - valueAt(layer, property, first)) >
                    1e-6) {
                    return QStringLiteral(
                               "layer \"%1\" changes its %2 at frame %3; the last %4 "
                               "frames must be still")
                        .arg(layer.name, propertyName(property))
                        .arg(f)
                        .arg(kStillEndFrames);
                }
            }
        }
    }
    return {};
}

// A picture with detail everywhere, so that a slow pan or zoom shows: a diagonal gradient
// under rows of soft discs, different for every seed.
QImage samplePicture(QSize size, int seed) {
    QImage image(size, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const int hue = (seed * 67) % 360;
    QLinearGradient sky(0, 0, size.width(), size.height());
    sky.setColorAt(0, QColor::fromHsv(hue, 120, 230));
    sky.setColorAt(1, QColor::fromHsv((hue + 60) % 360, 200, 90));
    painter.fillRect(image.rect(), sky);
    painter.setPen(Qt::NoPen);
    const double step = std::max(4.0, std::min(size.width(), size.height()) / 6.0);
    int k = 0;
    for (double y = step / 2; y < size.height(); y += step) {
        for (double x = step / 2; x < size.width(); x += step, ++k) {
            painter.setBrush(QColor::fromHsv((hue + 37 * k) % 360, 160, (k % 3) * 60 + 90));
            const double r = step * (0.18 + 0.06 * ((k + seed) % 4));
            painter.drawEllipse(QPointF(x, y), r, r);
        }
    }
    return image;
}

bool visiblyDifferent(const QImage& a, const QImage& b) {
    for (int y = 0; y < a.height(); ++y) {
        const auto* pa = reinterpret_cast<const QRgb*>(a.constScanLine(y));
        const auto* pb = reinterpret_cast<const QRgb*>(b.constScanLine(y));
        for (int x = 0; x < a.width(); ++x) {
            if (std::abs(qRed(pa[x]) - qRed(pb[x])) > kVisibleChange ||
                std::abs(qGreen(pa[x]) - qGreen(pb[x])) > kVisibleChange ||
                std::abs(qBlue(pa[x]) - qBlue(pb[x])) > kVisibleChange) {
                return true;
            }
        }
    }
    return false;
}

}  // namespace

bool TemplateCheck::passed() const {
    return firstProblem().isEmpty();
}

QString TemplateCheck::firstProblem() const {
    for (const RuleResult& r : rules) {
        if (!r.passed()) {
            return r.problem;
        }
    }
    return {};
}

MoviePictures samplePictures(const Movie& movie, const CatalogueRecord& record, QSize size) {
    MoviePictures pictures;
    int seed = 1;
    for (const QString& name : movie.pictures()) {
        QSize pixels = size;
        const QString stem = name.endsWith(QStringLiteral(".jpg")) ? name.chopped(4) : name;
        const qsizetype k = record.pictureNames.indexOf(stem);
        if (k >= 0) {
            if (!isSingle(record)) {
                pixels = QSize(size.width() * record.pictureWidths.value(k) / 1920,
                               size.height() * record.pictureHeights.value(k) / 1080);
            } else {
                // A 3:2 (or for a portrait single 2:3) photo the height of the stage.
                const bool portrait = record.orientations.value(k) == QStringLiteral("shu");
                pixels = QSize(size.width() * (portrait ? 720 : 1620) / 1920, size.height());
            }
        }
        pixels = pixels.expandedTo(QSize(2, 2));
        const QImage image = samplePicture(pixels, seed++);
        pictures.insert(name, MoviePicture{image, image.size()});
    }
    return pictures;
}

StillRun longestStillRun(const Movie& movie, const MoviePictures& pictures, QSize size, int from,
                         int to) {
    StillRun longest;
    from = std::max(0, from);
    to = std::min(to, movie.frames);
    if (from >= to) {
        return longest;
    }
    const MovieRenderer renderer(std::make_shared<Movie>(movie), pictures, size);
    QImage runStart = renderer.render(from);
    int runFirst = from;
    QImage frame;
    for (int f = from + 1; f <= to; ++f) {
        bool changed = true;
        if (f < to) {
            renderer.render(f, frame);
            changed = visiblyDifferent(frame, runStart);
        }
        if (changed) {
            if (f - runFirst > longest.length) {
                longest = StillRun{runFirst, f - runFirst};
            }
            runFirst = f;
            if (f < to) {
                runStart = frame.copy();
            }
        }
    }
    return longest;
}

TemplateCheck checkTemplate(const Movie& movie, const CatalogueRecord& record, bool measureMotion) {
    TemplateCheck check;
    check.rules.push_back({QStringLiteral("lead-in"), leadInProblem(movie)});
    check.rules.push_back({QStringLiteral("frames"), framesProblem(movie, record)});
    check.rules.push_back({QStringLiteral("picture names"), pictureNamesProblem(movie, record)});
    check.rules.push_back({QStringLiteral("picture sizes"), pictureSizesProblem(record)});
    check.rules.push_back({QStringLiteral("decoration names"), decorationNamesProblem(record)});
    check.rules.push_back({QStringLiteral("substring matching"), substringMatchingProblem(record)});
    check.rules.push_back({QStringLiteral("still end"), stillEndProblem(movie)});
    if (measureMotion) {
        check.longestStill =
            longestStillRun(movie, samplePictures(movie, record, kStillnessSize), kStillnessSize,
                            kStillnessMarginFrames, movie.frames - kStillnessMarginFrames);
        QString problem;
        if (check.longestStill.length > kMaxStillFrames) {
            problem = QStringLiteral(
                          "stands still for %1 frames from frame %2; at most %3 "
                          "between the first and last %4 frames")
                          .arg(check.longestStill.length)
                          .arg(check.longestStill.first)
                          .arg(kMaxStillFrames)
                          .arg(kStillnessMarginFrames);
        }
        check.rules.push_back({QStringLiteral("motion"), problem});
    }
    return check;
}

QString closingMovieProblem(const Movie& movie) {
    if (movie.frames != kClosingFrames) {
        return QStringLiteral("runs %1 frames; the closing movie runs %2")
            .arg(movie.frames)
            .arg(kClosingFrames);
    }
    for (const QString& picture : imagePictures(movie)) {
        if (picture != kLeadInPicture) {
            return QStringLiteral("shows \"%1\"; the closing movie has only the lead-in")
                .arg(picture);
        }
    }
    return leadInProblem(movie);
}

QString startupAnimationProblem(const Movie& movie) {
    if (!movie.loop) {
        return QStringLiteral("the start-up animation needs \"loop yes\"");
    }
    if (!imagePictures(movie).isEmpty()) {
        return QStringLiteral("the start-up animation shows no pictures");
    }
    return {};
}

}  // namespace vellumo::movie
