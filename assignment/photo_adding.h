#pragma once

// Adding chosen photo files to the album: the one path that "添加照片", the combined add, the
// tools and the benchmarks take. Each file is measured (its upright size from the picture loaded
// for it, album/photo_list.h); a file that yields no picture is left out and named at the end.
// The records are appended in order, the default backgrounds refreshed, and the photos placed.
// Decoding a detailed photo takes tens of milliseconds even for a small picture, so files are
// measured on worker threads, a few ahead, and taken in the order asked on the calling thread.

#include <QImage>
#include <QString>
#include <QStringList>
#include <QThread>
#include <algorithm>
#include <deque>
#include <functional>
#include <future>
#include <optional>

#include "album/photo_list.h"

namespace vellumo {

class Album;
class FittingCanvas;

// Runs work(0 … count − 1) on worker threads, a few ahead of the one awaited, and hands each
// result to use(index, result) in index order on the calling thread.
template <typename Work, typename Use>
void runInOrder(int count, Work work, Use use) {
    using Result = decltype(work(0));
    const int ahead = std::max(2, QThread::idealThreadCount());
    std::deque<std::future<Result>> running;
    int next = 0;
    for (int i = 0; i < count; ++i) {
        while (next < count && next < i + ahead) {
            running.push_back(std::async(std::launch::async, work, next++));
        }
        Result result = running.front().get();
        running.pop_front();
        use(i, std::move(result));
    }
}

// The tiles of photos: each fitted "contain with a frame" into tile, decoded on worker threads
// and captured on the canvas in order; done gets each capture. A photo that cannot be loaded
// shows the icon picture. With a first number, capture i carries the number badge first + i.
void captureFramedPhotos(FittingCanvas& canvas, const QVector<PhotoRecord>& photos, QSize tile,
                         const std::function<void(int index, const QImage& capture)>& done,
                         int firstBadgeNumber = 0);

// How an add shows its progress; either part may be empty.
struct AddProgress {
    std::function<void(int maximum)> setMaximum;  // the bar starts again from 0
    std::function<void(int steps)> advance;
};

// Runs the automatic placement in the album's mode until every photo is in a template or a pass
// places none; placed(n) follows each pass with the photos it placed. Returns the photos left.
int placeWaitingPhotos(Album& album, const std::function<void(int placed)>& placed = {});

// One add of photos.
class PhotoAdder {
public:
    explicit PhotoAdder(Album& album, AddProgress progress = {})
        : album_(album), progress_(std::move(progress)) {}

    // The order addAll appends a batch in; as chosen unless set.
    void setOrder(PhotoOrder order) { order_ = order; }

    // Measures the files and appends them in order, a step each; the files without a picture
    // are left out. Then the default backgrounds are refreshed.
    void addAll(const QStringList& files);
    // The same for photos measured already, appended in the order given.
    void addMeasured(const QVector<PhotoRecord>& photos);
    // One file; true when it was added. The backgrounds are the caller's.
    bool add(const QString& path);
    // The automatic placement after "添加照片": the bar counts the photos, a step a pass.
    // Returns the photos left without a template.
    int placeAll();

    int addedCount() const { return added_; }
    const QStringList& leftOut() const { return leftOut_; }
    // The files added whose data ends early or is damaged part way.
    const QStringList& incomplete() const { return incomplete_; }
    void leaveOut(const QStringList& files) { leftOut_ += files; }

private:
    void take(const QString& path, MeasuredPhoto measured);
    void step();

    Album& album_;
    PhotoOrder order_ = PhotoOrder::Added;
    AddProgress progress_;
    QStringList leftOut_;
    QStringList incomplete_;
    int added_ = 0;
};

// The one message naming the files of an add that were left out; empty when none were.
QString leftOutPhotosMessage(const QStringList& files);
// The one message naming the photos of an add that are incomplete; empty when none are.
QString incompletePhotosMessage(const QStringList& files);

// Why photos stayed out of templates: the catalogue offers none for them (automatic placement),
// or the chosen combination has none (combined add).
enum class UnplacedReason { Catalogue, Combination };

// The message for the photos that are still in no template after a placement: how many, which,
// and why; empty when every photo is in a template.
QString unplacedPhotosMessage(const PhotoList& photos, UnplacedReason reason);

}  // namespace vellumo
