#include "preview/preview_timeline.h"

#include <QFile>

#include "album/album_texts.h"
#include "assignment/assignment_texts.h"
#include "movie/movie_player.h"
#include "photo/fitting_canvas.h"
#include "preview/timeline_texts.h"
#include "project/album.h"
#include "workspace/data_paths.h"
#include "workspace/errors.h"
#include "workspace/folders.h"
#include "workspace/program_folder.h"

namespace vellumo {

namespace {

QString stagedMoviePath(int usedTemplate) {
    return dataPath(paths::kTemplateStagingFolder) +
           paths::templateStagingSubfolder(usedTemplate + 1) +
           paths::stagedTemplateMovie(usedTemplate + 1);
}

QString stagedBackgroundPath(int usedTemplate) {
    return dataPath(paths::kTemplateStagingFolder) +
           paths::templateStagingSubfolder(usedTemplate + 1) + paths::kStagedBackground;
}

QString closingMoviePath() {
    return dataPath(paths::kTemplateStagingFolder) + paths::kClosingStagingSubfolder +
           paths::kStagedClosingMovie;
}

}  // namespace

QString playbackStateWord(PlaybackState state) {
    return state == PlaybackState::Playing ? QStringLiteral("bofang_kaishi")
                                           : QStringLiteral("bofang_tingzhi");
}

QString clockText(qint64 seconds) {
    const auto twoDigits = [](qint64 n) { return QString::number(n).rightJustified(2, u'0'); };
    return twoDigits(seconds / 3600) + u':' + twoDigits((seconds / 60) % 60) + u':' +
           twoDigits(seconds % 60);
}

QString clockTextOfFrames(qint64 frames) {
    return clockText(frames / 25);
}

qint64 albumTotalFrames(const Album& album) {
    qint64 total = kClosingMovieFrames;
    for (const UsedTemplate& t : album.templates().templates()) {
        if (t.complete) {
            total += album.catalogue().record(t.catalogueIndex).frames;
        }
    }
    return total;
}

PlayCheck checkPlayRequest(const Album& album, SyncMode sync) {
    PlayCheck check;
    if (album.photos().isEmpty()) {
        check.refusal = texts::kNoPhotos;
    } else if (sync == SyncMode::WithMusic && album.music().isEmpty()) {
        check.refusal = texts::kNoMusicForSync;
    } else if (album.templates().size() == 0) {
        check.refusal = texts::kNoTemplates;
    } else {
        for (const PhotoRecord& photo : album.photos().records()) {
            check.unplacedPhotos += photo.inTemplate ? 0 : 1;
        }
    }
    return check;
}

PreviewTimeline::PreviewTimeline(const Album& album, MoviePlayer& stage, QObject* parent)
    : QObject(parent),
      album_(album),
      stage_(stage),
      currentTime_(texts::kClockZero),
      totalTime_(texts::kClockZero) {}

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
            texts::kTemplateMovieUnplayable.arg(stagedMoviePath(usedTemplate), e.message()));
        return false;
    }
}

void PreviewTimeline::writeLeadIn() {
    try {
        const QImage picture = stage_.currentImage();
        writeBitmap(picture, dataPath(paths::kLeadInBitmap));
        writeJpeg(picture, dataPath(paths::kLeadInPicture));
    } catch (const Error& e) {
        problems_.append(e.message());
    }
}

bool PreviewTimeline::start(QVector<int> playList, SyncMode sync) {
    problems_.clear();
    playList_ = std::move(playList);
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
    if (sync_ == SyncMode::WithTemplate) {
        totalTime_ = clockTextOfFrames(albumTotalFrames(album_));
    }
    // The first template starts from its own background.
    QFile::remove(dataPath(paths::kLeadInPicture));
    QFile::copy(stagedBackgroundPath(playList_.first()), dataPath(paths::kLeadInPicture));
    while (!loadTemplate(playList_.at(templateCounter_))) {
        if (++templateCounter_ >= playList_.size()) {
            finish();
            return false;
        }
    }
    emit stateChanged(state_);
    emit clockChanged();
    if (soundStart_) {
        soundStart_();
    }
    return true;
}

bool PreviewTimeline::step() {
    if (state_ != PlaybackState::Playing || phase_ == Phase::Held || phase_ == Phase::Idle) {
        return false;
    }
    ++frameCounter_;
    stage_.setFrameNum(frameCounter_);
    frame_ = stage_.currentImage();
    ++totalFrameCounter_;
    if (sync_ == SyncMode::WithTemplate) {
        currentTime_ = clockTextOfFrames(totalFrameCounter_);
        emit clockChanged();
    }
    if (stage_.frameNum() + 1 != stage_.totalFrames()) {
        return true;
    }
    frameCounter_ = -1;
    if (phase_ == Phase::Closing) {
        finish();
        return true;
    }
    // The last frame of a template: the next one starts from it.
    writeLeadIn();
    while (++templateCounter_ < playList_.size()) {
        if (loadTemplate(playList_.at(templateCounter_))) {
            return true;
        }
    }
    if (sync_ == SyncMode::WithMusic) {
        phase_ = Phase::Held;  // The last frame stays while the music goes on.
        return true;
    }
    try {
        stage_.setMovie(closingMoviePath());
        stage_.setFrameNum(0);
        phase_ = Phase::Closing;
    } catch (const Error& e) {
        problems_.append(e.message());
        finish();
    }
    return true;
}

void PreviewTimeline::finish() {
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
    const bool wasPlaying = state_ == PlaybackState::Playing;
    state_ = PlaybackState::Stopped;
    phase_ = Phase::Idle;
    frameCounter_ = -1;
    if (soundStop_) {
        soundStop_();
    }
    const QString staging = dataPath(paths::kStagingFolder);
    removeFolderTree(staging);
    waitUntilGone(staging, kFolderRemovalWait);
    currentTime_ = texts::kClockZero;
    if (wasPlaying) {
        emit stateChanged(state_);
    }
    emit clockChanged();
}

}  // namespace vellumo
