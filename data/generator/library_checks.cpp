#include "data/generator/library_checks.h"

#include <QSet>

#include <cmath>

#include "catalogue/picture_list.h"
#include "workspace/errors.h"

namespace vellumo::datagen {

namespace {

using movie::Layer;
using movie::LayerKind;
using movie::Property;

[[noreturn]] void fault(const movie::Movie& movie, const QString& problem) {
    throw Error(QStringLiteral("%1: %2").arg(movie.file, problem));
}

double valueAt(const Layer& layer, Property property, double frame) {
    const double fallback = property == Property::Opacity || property == Property::Reveal ||
                                    property == Property::Scale || property == Property::ScaleX ||
                                    property == Property::ScaleY
                                ? 1.0
                                : 0.0;
    return layer.track(property).valueAt(frame, fallback);
}

QSet<QString> imagePictures(const movie::Movie& movie) {
    QSet<QString> pictures;
    for (const Layer& layer : movie.layers) {
        if (layer.kind == LayerKind::Image) {
            pictures.insert(layer.picture);
        }
    }
    return pictures;
}

// Some layer shows the lead-in, wholly opaque, at frame 0.
void checkStartsFromLeadIn(const movie::Movie& movie) {
    for (const Layer& layer : movie.layers) {
        if (layer.kind == LayerKind::Image && layer.picture == kLeadInPicture &&
            layer.visibleAt(0) && valueAt(layer, Property::Opacity, 0) > 0.99) {
            return;
        }
    }
    fault(movie, QStringLiteral("does not start from the lead-in \"%1\"").arg(kLeadInPicture));
}

// Nothing changes in the last frames: every property keeps its value, no layer comes or goes.
void checkStillEnd(const movie::Movie& movie) {
    const int first = movie.frames - kStillEndFrames;
    for (const Layer& layer : movie.layers) {
        for (int f = first + 1; f < movie.frames; ++f) {
            if (layer.visibleAt(f) != layer.visibleAt(first)) {
                fault(movie, QStringLiteral("layer \"%1\" appears or disappears at frame %2; the "
                                            "last %3 frames must be still")
                                 .arg(layer.name)
                                 .arg(f)
                                 .arg(kStillEndFrames));
            }
            for (int p = 0; p < movie::kPropertyCount; ++p) {
                const auto property = static_cast<Property>(p);
                if (std::abs(valueAt(layer, property, f) - valueAt(layer, property, first)) >
                    1e-6) {
                    fault(movie, QStringLiteral("layer \"%1\" changes its %2 at frame %3; the "
                                                "last %4 frames must be still")
                                     .arg(layer.name, movie::propertyName(property))
                                     .arg(f)
                                     .arg(kStillEndFrames));
                }
            }
        }
    }
}

// Singles are sized by staging (0 in both lists); every picture of an advanced template has
// its size, and a decoration repeats a slot of the same shape, since staging stretches the
// slot's photo over it.
void checkSizes(const movie::Movie& movie, const CatalogueRecord& record,
                const QStringList& names) {
    const bool single = record.orientations.size() == 1;
    for (qsizetype k = 0; k < names.size(); ++k) {
        const int w = record.pictureWidths.value(k);
        const int h = record.pictureHeights.value(k);
        if (single && (w != 0 || h != 0)) {
            fault(movie, QStringLiteral("a single-photo template gives \"%1\" no size (0), not "
                                        "%2 x %3")
                             .arg(names[k])
                             .arg(w)
                             .arg(h));
        }
        if (!single && (w <= 0 || h <= 0)) {
            fault(movie, QStringLiteral("\"%1\" needs its size in xpkd and xpgd").arg(names[k]));
        }
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
            fault(movie, QStringLiteral("decoration \"%1\" contains the name of no photo slot")
                             .arg(names[k]));
        }
        const qint64 sw = record.pictureWidths.value(slot);
        const qint64 sh = record.pictureHeights.value(slot);
        if (!single && std::llabs(sw * h - sh * w) * 100 > sw * h) {
            fault(movie, QStringLiteral("decoration \"%1\" (%2 x %3) has not the shape of its "
                                        "slot \"%4\" (%5 x %6)")
                             .arg(names[k])
                             .arg(w)
                             .arg(h)
                             .arg(names[slot])
                             .arg(sw)
                             .arg(sh));
        }
    }
}

// Staging draws picture k from the last slot, in slot order, whose name picture k's name
// holds; each slot's picture must come from its own slot. Advanced templates fill their
// landscape slots first, then their portrait slots, and give a "shuheng" picture no slot.
void checkSlotOrder(const movie::Movie& movie, const CatalogueRecord& record,
                    const QStringList& names) {
    const QStringList& orientations = record.orientations;
    const bool single = orientations.size() == 1;
    QList<qsizetype> order;
    for (const QString& pass : {QStringLiteral("heng"), QStringLiteral("shu")}) {
        for (qsizetype k = 0; k < names.size(); ++k) {
            if (!isPhotoSlotName(names[k]) || k >= orientations.size()) {
                continue;
            }
            if (!single && orientations[k] == QStringLiteral("shuheng")) {
                fault(movie, QStringLiteral("\"%1\" is \"shuheng\", which gets no photo in a "
                                            "template of several pictures")
                                 .arg(names[k]));
            }
            if (single || orientations[k] == pass) {
                if (!order.contains(k)) {
                    order.append(k);
                }
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
            fault(movie, QStringLiteral("\"%1\" would show the photo of \"%2\": a slot whose "
                                        "name holds another's must come after it")
                             .arg(names[k], names[source]));
        }
    }
}

}  // namespace

movie::Movie checkedMovie(const QByteArray& text, const QString& file) {
    return movie::parseMovie(text, file);
}

void checkTemplateMovie(const movie::Movie& movie, const CatalogueRecord& record) {
    if (movie.frames != record.frames) {
        fault(movie, QStringLiteral("runs %1 frames but its mbdx is %2")
                         .arg(movie.frames)
                         .arg(record.frames));
    }
    if (movie.frames < kMinTemplateFrames || movie.frames > kMaxTemplateFrames) {
        fault(movie, QStringLiteral("runs %1 frames; a template runs %2 to %3")
                         .arg(movie.frames)
                         .arg(kMinTemplateFrames)
                         .arg(kMaxTemplateFrames));
    }
    const QStringList& names = record.pictureNames;
    const QSet<QString> shown = imagePictures(movie);
    QSet<QString> staged{kBackgroundPicture, kLeadInPicture};
    for (const QString& name : names) {
        const QString file = name + QStringLiteral(".jpg");
        staged.insert(file);
        if (isPhotoSlotName(name) && !shown.contains(file)) {
            fault(movie, QStringLiteral("no image layer shows the photo slot \"%1\"").arg(file));
        }
    }
    for (const QString& picture : shown) {
        if (!staged.contains(picture)) {
            fault(
                movie,
                QStringLiteral("shows \"%1\", which is not staged for this template").arg(picture));
        }
    }
    checkSizes(movie, record, names);
    checkSlotOrder(movie, record, names);
    checkStartsFromLeadIn(movie);
    checkStillEnd(movie);
}

void checkClosingMovie(const movie::Movie& movie) {
    if (movie.frames != kClosingFrames) {
        fault(movie, QStringLiteral("runs %1 frames; the closing movie runs %2")
                         .arg(movie.frames)
                         .arg(kClosingFrames));
    }
    for (const QString& picture : imagePictures(movie)) {
        if (picture != kLeadInPicture) {
            fault(movie, QStringLiteral("shows \"%1\"; the closing movie has only the lead-in")
                             .arg(picture));
        }
    }
    checkStartsFromLeadIn(movie);
}

void checkStartupAnimation(const movie::Movie& movie) {
    if (!movie.loop) {
        fault(movie, QStringLiteral("the start-up animation needs \"loop yes\""));
    }
    if (!imagePictures(movie).isEmpty()) {
        fault(movie, QStringLiteral("the start-up animation shows no pictures"));
    }
}

}  // namespace vellumo::datagen
