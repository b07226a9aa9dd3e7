#include "album/backgrounds.h"

#include <QDateTime>
#include <QRandomGenerator>

namespace vellumo {

namespace {

QRandomGenerator& programGenerator() {
    static QRandomGenerator generator(static_cast<quint32>(QDateTime::currentMSecsSinceEpoch()));
    return generator;
}

}  // namespace

RandomIndex programRandom() {
    // Seeded here, at start-up, rather than at the first pick.
    programGenerator();
    return [](int bound) { return static_cast<int>(programGenerator().bounded(bound)); };
}

BackgroundRow backgroundFromPhoto(const PhotoRecord& photo) {
    return BackgroundRow{photo.name, photo.format, photo.width, photo.height, photo.location};
}

Backgrounds::Backgrounds(RandomIndex random) : random_(std::move(random)) {}

void Backgrounds::clear() {
    rows_.clear();
    landscape_.clear();
}

void Backgrounds::refreshDefaults(const PhotoList& photos) {
    landscape_.clear();
    for (int row = 0; row < photos.size(); ++row) {
        if (photos.at(row).isLandscape()) {
            landscape_.append(BackgroundCandidate{row, photos.at(row)});
        }
    }
    if (landscape_.isEmpty()) {
        return;
    }
    for (int t = 0; t < rows_.size(); ++t) {
        if (!rows_[t].hasPicture()) {
            pickDefault(t);
        }
    }
}

void Backgrounds::pickDefault(int t) {
    if (landscape_.isEmpty()) {
        return;
    }
    const int pick = random_(static_cast<int>(landscape_.size()));
    rows_[t] = backgroundFromPhoto(landscape_.at(pick).photo);
}

}  // namespace vellumo
