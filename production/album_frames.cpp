#include "production/album_frames.h"

#include <QFileInfo>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <vector>

#include "movie/movie_player.h"
#include "movie/movie_renderer.h"
#include "photo/fitting_canvas.h"
#include "production/production_run_texts.h"
#include "project/album.h"
#include "workspace/data_paths.h"
#include "workspace/errors.h"
#include "workspace/program_folder.h"

namespace vellumo {

namespace {

// How often a wait for the next picture asks whether the production was stopped.
constexpr auto kStopPoll = std::chrono::milliseconds(20);

QString stagedFolder(int usedTemplate) {
    return workingPath(paths::kTemplateStagingFolder) +
           paths::templateStagingSubfolder(usedTemplate + 1);
}

QString closingMoviePath() {
    const QString folder =
        workingPath(paths::kTemplateStagingFolder) + paths::kClosingStagingSubfolder;
    const QString first = folder + paths::kStagedClosingMovie;
    return QFileInfo::exists(first) ? first : folder + paths::kStagedClosingMovieForProduction;
}

}  // namespace

// Memory of pictures handed out again once everyone is done with them. A new picture of the
// output size each frame would cost the system more to map and clear than drawing it costs.
class AlbumFrames::Buffers : public std::enable_shared_from_this<Buffers> {
public:
    explicit Buffers(QSize size)
        : size_(size), bytesPerLine_(static_cast<qsizetype>(size.width()) * 4) {}

    // A picture of the size, its pixels undefined.
    QImage take() {
        std::unique_ptr<uchar[]> data;
        {
            std::lock_guard lock(mutex_);
            if (!free_.empty()) {
                data = std::move(free_.back());
                free_.pop_back();
            }
        }
        if (!data) {
            data = std::make_unique_for_overwrite<uchar[]>(
                static_cast<size_t>(bytesPerLine_ * size_.height()));
        }
        auto* handle = new Handle{shared_from_this(), data.release()};
        QImage picture(handle->data, size_.width(), size_.height(), bytesPerLine_,
                       QImage::Format_RGB32, &Buffers::release, handle);
        if (picture.isNull()) {
            release(handle);
        }
        return picture;
    }

private:
    struct Handle {
        std::shared_ptr<Buffers> owner;
        uchar* data;
    };

    // Called by the last copy of a picture, on whichever thread drops it.
    static void release(void* info) {
        std::unique_ptr<Handle> handle(static_cast<Handle*>(info));
        std::unique_ptr<uchar[]> data(handle->data);
        Buffers& owner = *handle->owner;
        std::lock_guard lock(owner.mutex_);
        if (owner.free_.size() < kKept) {
            owner.free_.push_back(std::move(data));
        }
    }

    // More than the pictures on their way to the encoder at any time.
    static constexpr size_t kKept = 16;
    const QSize size_;
    const qsizetype bytesPerLine_;
    std::mutex mutex_;
    std::vector<std::unique_ptr<uchar[]>> free_;
};

AlbumFrames::AlbumFrames(const Album& album, const AlbumSequence& sequence, QSize size,
                         bool writeLeadInFiles)
    : album_(album),
      sequence_(sequence),
      size_(size),
      writeLeadInFiles_(writeLeadInFiles),
      lyrics_(album, sequence),
      buffers_(std::make_shared<Buffers>(size)) {}

AlbumFrames::~AlbumFrames() = default;

QImage AlbumFrames::blackPicture() const {
    QImage picture(size_, QImage::Format_RGB32);
    picture.fill(Qt::black);
    return picture;
}

void AlbumFrames::loadMovie(int movieIndex) {
    const SequenceMovie& movie = sequence_.movies().at(movieIndex);
    // What was shown last, without the lyric line, is where the next movie starts: it is
    // handed over in memory, and written to the lead-in files.
    QImage leadIn = kept_;
    if (renderer_ && shownFrame_ >= 0) {
        leadIn = !still_.isNull() && renderer_->sameFrames(stillFrame_, shownFrame_)
                     ? still_
                     : renderer_->render(shownFrame_);
    }
    still_ = QImage();
    stillFrame_ = -1;
    // The movie before lets go of its pictures before the next one prepares its own.
    renderer_.reset();
    movie::PicturesInMemory pictures;
    if (!leadIn.isNull()) {
        pictures.insert(movie::pictureKey(workingPath(paths::kLeadInPicture)), leadIn);
        if (writeLeadInFiles_) {
            try {
                writeBitmap(leadIn, workingPath(paths::kLeadInBitmap));
                writeJpeg(leadIn, workingPath(paths::kLeadInPicture));
            } catch (const Error& e) {
                errorList_.append(e.message());
            }
        }
    }
    loadedMovie_ = movieIndex;
    if (beforeLoading) {
        beforeLoading(movie.isClosing() ? -1 : movie.usedTemplate);
    }
    const QString path = movie.isClosing() ? closingMoviePath()
                                           : stagedFolder(movie.usedTemplate) +
                                                 paths::stagedTemplateMovie(movie.usedTemplate + 1);
    stageLog_.append(texts::kStageUnloaded);
    try {
        PreparedMovie prepared = prepareMovie(path, size_, pictures);
        renderer_ = std::move(prepared.renderer);
        shownFrame_ = 0;
        kept_ = QImage();
        stageLog_.append(texts::kStageCreated);
        lastHealth_ = texts::kHealthFirst + QString::number(prepared.movie->frames);
    } catch (const Error& e) {
        // What was shown stays on screen; frames go on from it.
        renderer_.reset();
        shownFrame_ = -1;
        kept_ = leadIn;
        stageLog_.append(texts::kStageError);
        errorList_.append(lastHealth_ + texts::kHealthError);
        errorList_.append(e.message());
        // The user knows the template by its name; the working copy's path means nothing.
        const auto* fileError = dynamic_cast<const FileError*>(&e);
        const QString reason =
            fileError != nullptr && fileError->file() == path ? fileError->reason() : e.message();
        const QString name = movie.isClosing()
                                 ? texts::kClosingMovieName
                                 : album_.templates().at(movie.usedTemplate).info->name;
        notices_.append(texts::kMovieNotProduced.arg(name, reason));
    }
}

QImage AlbumFrames::frame(int n) {
    if (n == 0 || sequence_.movies().isEmpty()) {
        return blackPicture();
    }
    const AlbumFrame f = sequence_.at(n);
    if (f.movie != loadedMovie_) {
        loadMovie(f.movie);
    }
    QImage picture;
    const LyricLine line = lyrics_.lineAt(n, size_);
    if (renderer_ && !renderer_->isNull()) {
        picture = moviePicture(n, f);
        if (picture.cacheKey() == still_.cacheKey() && !line.text.isEmpty()) {
            // The kept picture stays without the line: the line goes on a copy.
            QImage copy = buffers_->take();
            std::memcpy(copy.bits(), still_.constBits(),
                        static_cast<size_t>(std::min(copy.sizeInBytes(), still_.sizeInBytes())));
            picture = copy;
        }
    } else {
        picture = kept_;
    }
    if (picture.isNull()) {
        picture = blackPicture();
    }
    overlay_.draw(picture, line);
    return picture;
}

QImage AlbumFrames::moviePicture(int n, const AlbumFrame& f) {
    const int last = std::max(0, renderer_->movie().frames - 1);
    shownFrame_ = std::clamp(f.movieFrame, 0, last);
    QImage picture;
    if (repeatStills && !still_.isNull() && renderer_->sameFrames(stillFrame_, shownFrame_)) {
        picture = still_;
    } else {
        still_ = QImage();
        picture = buffers_->take();
        renderer_->render(shownFrame_, picture);
    }
    // Kept while the next frame draws alike, or when the next movie starts from it.
    bool keep = false;
    if (repeatStills && n + 1 < sequence_.totalFrames()) {
        const AlbumFrame next = sequence_.at(n + 1);
        keep = next.movie != f.movie ||
               renderer_->sameFrames(shownFrame_, std::clamp(next.movieFrame, 0, last));
    }
    if (keep && still_.isNull()) {
        still_ = picture;
        stillFrame_ = shownFrame_;
    } else if (!keep) {
        still_ = QImage();
        stillFrame_ = -1;
    }
    return picture;
}

FramesAhead::FramesAhead(AlbumFrames& frames, int count, int depth)
    : FramesAhead([&frames](int n) { return frames.frame(n); }, count, depth) {}

FramesAhead::FramesAhead(Draw draw, int count, int depth)
    : depth_(static_cast<size_t>(std::max(1, depth))) {
    thread_ = std::thread([this, draw = std::move(draw), count] { drawAll(draw, count); });
}

FramesAhead::~FramesAhead() {
    cancel();
    thread_.join();
}

void FramesAhead::cancel() {
    {
        std::lock_guard lock(mutex_);
        cancelled_ = true;
    }
    changed_.notify_all();
}

bool FramesAhead::waitForEnd(std::chrono::milliseconds timeout) {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, timeout, [this] { return ended_; });
}

void FramesAhead::drawAll(const Draw& draw, int count) {
    try {
        for (int n = 0; n < count; ++n) {
            {
                std::unique_lock lock(mutex_);
                // Woken by take() and by the destructor.
                changed_.wait(lock, [this] { return cancelled_ || ready_.size() < depth_; });
                if (cancelled_) {
                    break;
                }
            }
            QImage picture = draw(n);
            {
                std::lock_guard lock(mutex_);
                if (cancelled_) {
                    break;
                }
                ready_.push_back(std::move(picture));
            }
            changed_.notify_all();
        }
    } catch (...) {
        std::lock_guard lock(mutex_);
        failure_ = std::current_exception();
    }
    {
        std::lock_guard lock(mutex_);
        ended_ = true;
    }
    changed_.notify_all();
}

QImage FramesAhead::take(const std::function<bool()>& stopRequested) {
    std::unique_lock lock(mutex_);
    for (;;) {
        if (!ready_.empty()) {
            QImage picture = std::move(ready_.front());
            ready_.pop_front();
            lock.unlock();
            changed_.notify_all();
            return picture;
        }
        if (failure_) {
            std::rethrow_exception(failure_);
        }
        if (ended_) {
            return {};
        }
        lock.unlock();
        if (stopRequested && stopRequested()) {
            return {};
        }
        lock.lock();
        changed_.wait_for(lock, kStopPoll,
                          [this] { return !ready_.empty() || failure_ || ended_; });
    }
}

}  // namespace vellumo
