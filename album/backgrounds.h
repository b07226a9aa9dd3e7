#pragma once

// The background list: one row per used template, at the same position, naming the landscape
// picture drawn behind the template; and the background landscape list, the album's landscape
// photos from which default backgrounds are picked at random.

#include <QString>
#include <QVector>
#include <functional>

#include "album/photo_list.h"

namespace vellumo {

struct BackgroundRow {
    QString pictureName;  // empty when the row has no picture; then all picture fields are empty
    QString format;
    int width = 0;
    int height = 0;
    QString location;

    bool hasPicture() const { return !pictureName.isEmpty(); }
};

struct BackgroundCandidate {
    int photoRow = 0;  // the photo's number is photoRow + 1
    PhotoRecord photo;
};

// Gives a uniformly random index below bound (bound > 0).
using RandomIndex = std::function<int(int bound)>;
// Picks from the program's one generator, seeded once from the clock when it is first used, so
// that picks made within the same millisecond still differ.
RandomIndex programRandom();

class Backgrounds {
public:
    explicit Backgrounds(RandomIndex random = programRandom());

    const QVector<BackgroundRow>& rows() const { return rows_; }
    const BackgroundRow& row(int t) const { return rows_.at(t); }
    const QVector<BackgroundCandidate>& landscapeList() const { return landscape_; }

    void appendRow() { rows_.append(BackgroundRow{}); }
    void removeRow(int t) { rows_.removeAt(t); }
    void clear();
    void setRow(int t, BackgroundRow row) { rows_[t] = std::move(row); }

    // Rebuilds the landscape list from the photos and gives every row without a picture one.
    void refreshDefaults(const PhotoList& photos);
    // Gives one row a random landscape photo, or leaves it empty when there is none.
    void pickDefault(int t);

    // Puts rows and landscape list back as they were (a failed command is undone).
    void restore(QVector<BackgroundRow> rows, QVector<BackgroundCandidate> landscape) {
        rows_ = std::move(rows);
        landscape_ = std::move(landscape);
    }

private:
    RandomIndex random_;
    QVector<BackgroundRow> rows_;
    QVector<BackgroundCandidate> landscape_;
};

// The row for a photo record used as a background.
BackgroundRow backgroundFromPhoto(const PhotoRecord& photo);

}  // namespace vellumo
