#include "production/album_frames.h"

#include <QFileInfo>

#include <algorithm>
#include <chrono>

#include "movie/movie_player.h"
#include "movie/movie_renderer.h"
#include "photo/fitting_canvas.h"
#include "production/production_run_texts.h"
#include "workspace/data_paths.h"
#include "workspace/errors.h"
#include "workspace/program_folder.h"

namespace vellumo {

namespace {

// How often a wait for the next picture asks whether the production was stopped.
constexpr auto kStopPoll = std::chrono::milliseconds(20);

QString stagedFolder(int usedTemplate) {
    return dataPath(paths::kTemplateStagingFolder) +
           paths::templateStagingSubfolder(usedTemplate + 1);
}

QString closingMoviePath() {
    const QString folder =
        dataPath(paths::kTemplateStagingFolder) + paths::kClosingStagingSubfolder;
    const QString first = folder + paths::kStagedClosingMovie;
    return QFileInfo::exists(first) ? first : folder + paths::kStagedClosingMovieForProduction;
}

}  // namespace

AlbumFrames::AlbumFrames(const Album& album, const AlbumSequence& sequence, QSize size,
                         bool writeLeadInFiles)
    : sequence_(sequence),
      size_(size),
      writeLeadInFiles_(writeLeadInFiles),
      lyrics_(album, sequence) {}

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
        leadIn = renderer_->render(shownFrame_);
    }
    movie::PicturesInMemory pictures;
    if (!leadIn.isNull()) {
        pictures.insert(movie::pictureKey(dataPath(paths::kLeadInPicture)), leadIn);
        if (writeLeadInFiles_) {
            try {
                writeBitmap(leadIn, dataPath(paths::kLeadInBitmap));
                writeJpeg(leadIn, dataPath(paths::kLeadInPicture));
            } catch (const Error& e) {
                errorList_.append(e.message());
            }
        }
    }
    loadedMovie_ = movieIndex;
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
        notices_.append(texts::kMovieNotProduced.arg(path, e.message()));
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
    if (renderer_ && !renderer_->isNull()) {
        shownFrame_ = std::clamp(f.movieFrame, 0, std::max(0, renderer_->movie().frames - 1));
        renderer_->render(shownFrame_, picture);
    } else {
        picture = kept_;
    }
    if (picture.isNull()) {
        picture = blackPicture();
    }
    overlay_.draw(picture, lyrics_.lineAt(n, size_));
    return picture;
}

FramesAhead::FramesAhead(AlbumFrames& frames, int count, int depth)
    : depth_(static_cast<size_t>(std::max(1, depth))) {
    thread_ = std::thread([this, &frames, count] { draw(frames, count); });
}

FramesAhead::~FramesAhead() {
    {
        std::lock_guard lock(mutex_);
        cancelled_ = true;
    }
    changed_.notify_all();
    thread_.join();
}

void FramesAhead::draw(AlbumFrames& frames, int count) {
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
            QImage picture = frames.frame(n);
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
