#include "preview/preview_timeline.h"

#include <QFile>
#include <QThreadPool>

#include "movie/movie_player.h"
#include "photo/fitting_canvas.h"
#include "project/album.h"
#include "timeline/album_clock.h"
#include "timeline/timeline_texts.h"
#include "workspace/data_paths.h"
#include "workspace/errors.h"
#include "workspace/folders.h"
#include "workspace/program_folder.h"
#include "workspace/thread_handover.h"

namespace vellumo {

namespace {

// Why a movie cannot be played, without the path of its working copy, which the user never saw.
QString reasonFor(const Error& e, const QString& moviePath) {
    const auto* fileError = dynamic_cast<const FileError*>(&e);
    return fileError != nullptr && fileError->file() == moviePath ? fileError->reason()
                                                                  : e.message();
}

QString stagedMoviePath(int usedTemplate) {
    return workingPath(paths::kTemplateStagingFolder) +
           paths::templateStagingSubfolder(usedTemplate + 1) +
           paths::stagedTemplateMovie(usedTemplate + 1);
}

QString stagedBackgroundPath(int usedTemplate) {
    return workingPath(paths::kTemplateStagingFolder) +
           paths::templateStagingSubfolder(usedTemplate + 1) + paths::kStagedBackground;
}

QString closingMoviePath() {
    return workingPath(paths::kTemplateStagingFolder) + paths::kClosingStagingSubfolder +
           paths::kStagedClosingMovie;
}

}  // namespace

QString playbackStateWord(PlaybackState state) {
    return state == PlaybackState::Playing ? QStringLiteral("bofang_kaishi")
                                           : QStringLiteral("bofang_tingzhi");
}

PreviewTimeline::PreviewTimeline(const Album& album, MoviePlayer& stage, QObject* parent)
    : QObject(parent),
      album_(album),
      stage_(stage),
      currentTime_(texts::kClockZero),
      totalTime_(texts::kClockZero) {}

PreviewTimeline::~PreviewTimeline() {
    dropNext();
}

void PreviewTimeline::setSoundHooks(std::function<void()> start, std::function<void()> stop) {
    soundStart_ = std::move(start);
    soundStop_ = std::move(stop);
}

void PreviewTimeline::setCurrentTime(const QString& text) {
    currentTime_ = text;
    emit clockChanged();
}

bool PreviewTimeline::loadTemplate(int usedTemplate) {
    try {
        stage_.setMovie(stagedMoviePath(usedTemplate));
        stage_.setFrameNum(0);
        return true;
    } catch (const Error& e) {
        problems_.append(
            texts::kTemplateMovieUnplayable.arg(album_.templates().at(usedTemplate).info->name,
                                                reasonFor(e, stagedMoviePath(usedTemplate))));
        return false;
    }
}

int PreviewTimeline::movieFrames() const {
    const QVector<SequenceMovie>& movies = sequence_.movies();
    if (movies.isEmpty()) {
        return 0;
    }
    return phase_ == Phase::Closing
               ? movies.last().frames
               : movies.at(std::min<qsizetype>(templateCounter_, movies.size() - 1)).frames;
}

PreviewTimeline::Next PreviewTimeline::prepareNext(const NextInput& input) {
    Next next;
    next.templateCounter = input.templateCounter;
    if (input.cancelled->load()) {
        return next;
    }
    // The last frame of the template is the lead-in of what follows: written as the lead-in
    // picture and its bitmap, and handed to the next movie in memory.
    const QImage leadIn = input.renderer ? input.renderer->render(input.lastFrame) : QImage();
    try {
        writeBitmap(leadIn, input.leadInBitmap);
        writeJpeg(leadIn, input.leadInPicture);
    } catch (const Error& e) {
        next.problems.append(e.message());
    }
    movie::PicturesInMemory pictures;
    pictures.insert(movie::pictureKey(input.leadInPicture), leadIn);
    while (++next.templateCounter < input.moviePaths.size()) {
        if (input.cancelled->load()) {
            return next;
        }
        const QString& path = input.moviePaths.at(next.templateCounter);
        try {
            next.movie = prepareMovie(path, input.size, pictures);
            next.phase = Phase::Template;
            return next;
        } catch (const Error& e) {
            next.problems.append(texts::kTemplateMovieUnplayable.arg(
                input.movieNames.value(next.templateCounter), reasonFor(e, path)));
        }
    }
    try {
        next.movie = prepareMovie(input.closingMovie, input.size, pictures);
        next.phase = Phase::Closing;
    } catch (const Error& e) {
        next.problems.append(e.message());
    }
    return next;
}

void PreviewTimeline::prepareNextAhead() {
    dropNext();
    NextInput input;
    input.renderer = stage_.renderer();
    // The frame the movie ends on, held when the movie is shorter than its time.
    input.lastFrame = std::clamp(movieFrames() - 1, 0, std::max(0, stage_.totalFrames() - 1));
    for (int usedTemplate : playList_) {
        input.moviePaths.append(stagedMoviePath(usedTemplate));
        input.movieNames.append(album_.templates().at(usedTemplate).info->name);
    }
    input.templateCounter = templateCounter_;
    input.closingMovie = closingMoviePath();
    input.leadInPicture = workingPath(paths::kLeadInPicture);
    input.leadInBitmap = workingPath(paths::kLeadInBitmap);
    input.sync = sync_;
    input.size = stage_.size();
    input.cancelled = nextCancelled_ = std::make_shared<std::atomic<bool>>(false);
    // On a thread of the global pool: the pictures it scales and the frame it draws then keep to
    // that one thread, and the pool's other thread stays free for the frames being shown.
    auto promise = std::make_shared<std::promise<Next>>();
    next_ = promise->get_future();
    // The hand-over's token is an address known to both threads without reading the job.
    static const char handOverToken = 0;
    QRunnable* job = QRunnable::create([promise, input = std::move(input)] {
        takeOver(&handOverToken);
        try {
            promise->set_value(prepareNext(input));
        } catch (...) {
            promise->set_exception(std::current_exception());
        }
    });
    handOver(&handOverToken);
    QThreadPool::globalInstance()->start(job);
}

PreviewTimeline::Next PreviewTimeline::takeNext() {
    if (!next_.valid()) {
        prepareNextAhead();
    }
    Next next = next_.get();
    nextCancelled_.reset();
    return next;
}

void PreviewTimeline::dropNext() {
    if (!next_.valid()) {
        return;
    }
    nextCancelled_->store(true);
    // It ends after the movie it is preparing: bounded by one movie's loading.
    next_.wait();
    try {
        next_.get();
    } catch (...) {
        // What was being prepared is not wanted any more.
    }
    nextCancelled_.reset();
}

bool PreviewTimeline::start(QVector<int> playList, SyncMode sync) {
    dropNext();
    problems_.clear();
    AlbumSequence::Input sequenceInput;
    sequenceInput.playList = std::move(playList);
    sequenceInput.sync = sync;
    sequence_ = AlbumSequence::build(album_, sequenceInput);
    playList_ = sequence_.playList();
    sync_ = sync;
    templateCounter_ = 0;
    frameCounter_ = -1;
    totalFrameCounter_ = 0;
    currentTime_ = texts::kClockZero;
    totalTime_ = texts::kClockZero;
    if (playList_.isEmpty()) {
        return false;
    }
    state_ = PlaybackState::Playing;
    phase_ = Phase::Template;
    totalTime_ = clockTextOfFrames(sequence_.totalFrames());
    // The first template starts from its own background.
    QFile::remove(workingPath(paths::kLeadInPicture));
    QFile::copy(stagedBackgroundPath(playList_.first()), workingPath(paths::kLeadInPicture));
    while (!loadTemplate(playList_.at(templateCounter_))) {
        if (++templateCounter_ >= playList_.size()) {
            finish();
            return false;
        }
    }
    prepareNextAhead();
    emit stateChanged(state_);
    emit clockChanged();
    if (soundStart_) {
        soundStart_();
    }
    return true;
}

bool PreviewTimeline::step() {
    if (state_ != PlaybackState::Playing || phase_ == Phase::Idle) {
        return false;
    }
    ++frameCounter_;
    stage_.setFrameNum(frameCounter_);
    frame_ = stage_.currentImage();
    ++totalFrameCounter_;
    currentTime_ = clockTextOfFrames(totalFrameCounter_);
    emit clockChanged();
    if (frameCounter_ + 1 < movieFrames()) {
        return true;
    }
    frameCounter_ = -1;
    if (phase_ == Phase::Closing) {
        finish();
        return true;
    }
    // The last frame of a template: what follows starts from it, prepared while it played.
    Next next = takeNext();
    problems_.append(next.problems);
    templateCounter_ = next.templateCounter;
    switch (next.phase) {
        case Phase::Template:
            stage_.setMovie(std::move(*next.movie));
            prepareNextAhead();
            break;
        case Phase::Closing:
            stage_.setMovie(std::move(*next.movie));
            phase_ = Phase::Closing;
            break;
        case Phase::Idle:
            finish();
            break;
    }
    return true;
}

void PreviewTimeline::finish() {
    dropNext();
    state_ = PlaybackState::Stopped;
    phase_ = Phase::Idle;
    frameCounter_ = -1;
    if (soundStop_) {
        soundStop_();
    }
    currentTime_ = texts::kClockZero;
    emit stateChanged(state_);
    emit clockChanged();
    emit finished();
}

void PreviewTimeline::stop() {
    dropNext();  // before the staging folder goes
    const bool wasPlaying = state_ == PlaybackState::Playing;
    state_ = PlaybackState::Stopped;
    phase_ = Phase::Idle;
    frameCounter_ = -1;
    if (soundStop_) {
        soundStop_();
    }
    const QString staging = workingPath(paths::kStagingFolder);
    removeFolderTree(staging);
    waitUntilGone(staging, kFolderRemovalWait);
    currentTime_ = texts::kClockZero;
    if (wasPlaying) {
        emit stateChanged(state_);
    }
    emit clockChanged();
}

}  // namespace vellumo
