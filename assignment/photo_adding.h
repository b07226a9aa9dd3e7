#pragma once

// Adding chosen photo files to the album as the add task does, and what the user is told
// afterwards. Each file is decoded for its pixel size, then its picture is loaded for a box 300
// wide in the photo's shape; the picture's own shape tells whether the photo stands upright as
// portrait. A file that yields no picture is left out. Decoding a detailed photo takes tens of
// milliseconds even for a small picture, so pictures are loaded on worker threads, a few ahead,
// and taken in the order asked on the calling thread.

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

// The width of the box the shown picture of a photo is asked for.
inline constexpr int kShownPictureWidth = 300;

// The box the shown picture of a photo stored w × h is asked for: 300 wide, 300 × h ÷ w high
// (at least 1: an empty box would load the whole photo).
QSize shownPictureBox(QSize stored);

// The record of a file measured through the picture loaded for it; nothing when the file holds
// no picture (missing, empty, not a picture, undecodable). Safe on any thread.
std::optional<PhotoRecord> measureShownPhoto(const QString& path);

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
// shows the icon picture.
void captureFramedPhotos(FittingCanvas& canvas, const QVector<PhotoRecord>& photos, QSize tile,
                         const std::function<void(int index, const QImage& capture)>& done);

// Adds files in order; the files that hold no picture are kept for the message at the end.
class PhotoAdder {
public:
    explicit PhotoAdder(Album& album) : album_(album) {}

    // True when the file was added.
    bool add(const QString& path);
    // Adds every file, measuring them on worker threads; tick runs after each file.
    void addAll(const QStringList& files, const std::function<void()>& tick = {});
    const QStringList& leftOut() const { return leftOut_; }
    void leaveOut(const QStringList& files) { leftOut_ += files; }

private:
    void take(const QString& path, std::optional<PhotoRecord> record);

    Album& album_;
    QStringList leftOut_;
};

// The one message naming the files of an add that were left out; empty when none were.
QString leftOutPhotosMessage(const QStringList& files);

// Why photos stayed out of templates: the catalogue offers none for them (automatic placement),
// or the chosen combination has none (combined add).
enum class UnplacedReason { Catalogue, Combination };

// The message for the photos that are still in no template after a placement: how many, which,
// and why; empty when every photo is in a template.
QString unplacedPhotosMessage(const PhotoList& photos, UnplacedReason reason);

}  // namespace vellumo
