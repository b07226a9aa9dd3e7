#include "app/preview_controller.h"

#include "album/photo_list_texts.h"
#include "app/main_display.h"
#include "app/main_window.h"
#include "app/photo_pages.h"
#include "app/staging_window.h"
#include "assignment/photo_adding.h"
#include "assignment/placement.h"
#include "dialogs/message_dialog.h"
#include "dialogs/progress_window.h"
#include "movie/movie_player.h"
#include "preview/preview_music.h"
#include "project/album.h"
#include "timeline/play_check.h"
#include "timeline/stager.h"
#include "timeline/timeline_texts.h"
#include "workspace/errors.h"

namespace vellumo {

namespace {

constexpr int kFrameMs = 40;       // 25 frames a second
constexpr int kTimerMs = 5;        // the pacing timer looks this often whether a frame is due
constexpr int kMaxCatchUp = 4;     // frames shown at most in one tick when late
constexpr int kMusicTimerMs = 20;  // often enough for the lyric of each second

}  // namespace

PreviewController::PreviewController(MainWindow& window, Album& album, MusicPlayer& player,
                                     QObject* parent)
    : QObject(parent),
      window_(window),
      album_(album),
      stage_(std::make_unique<MoviePlayer>()),
      timeline_(std::make_unique<PreviewTimeline>(album, *stage_)),
      music_(std::make_unique<PreviewMusic>(album, player)) {
    stage_->setSize(MainDisplay::kSize);
    window_.setPlaybackSource([this] { return timeline_->state(); });
    window_.setCommandHandler(Command::Play, [this] { play(); });
    window_.setCommandHandler(Command::Stop, [this] { stop(); });
    staging_ = new StagingWindow(&window_);
    frameTimer_.setInterval(kTimerMs);
    connect(&frameTimer_, &QTimer::timeout, this, &PreviewController::tick);
    connect(timeline_.get(), &PreviewTimeline::stateChanged, this,
            &PreviewController::onStateChanged);
    connect(timeline_.get(), &PreviewTimeline::clockChanged, this, &PreviewController::showClock);
    // The total time follows the album while nothing plays.
    connect(&album_, &Album::changed, this, &PreviewController::showClock);
    // Music and lyrics start and stop with the timeline; the music timer follows the player.
    musicTimer_.setInterval(kMusicTimerMs);
    connect(&musicTimer_, &QTimer::timeout, this, &PreviewController::musicTick);
    timeline_->setSoundHooks(
        [this] {
            music_->start(album_.outputOptions().sync);
            showLyric(music_->lyricLine());
            if (music_->isRunning()) {
                musicTimer_.start();
            }
            const QStringList messages = music_->takeMessages();
            if (!messages.isEmpty()) {
                showMessage(messages.join(u'\n'));
            }
        },
        [this] {
            musicTimer_.stop();
            music_->stop();
            showLyric(music_->lyricLine());
        });
}

void PreviewController::musicTick() {
    if (!music_->isRunning()) {
        musicTimer_.stop();
        return;
    }
    const PreviewMusic::Tick tick = music_->tick();
    if (tick.lyricChanged) {
        showLyric(music_->lyricLine());
    }
    const QStringList messages = music_->takeMessages();
    if (!messages.isEmpty()) {
        showMessage(messages.join(u'\n'));
    }
}

void PreviewController::showLyric(const LyricLine& line) {
    window_.showLyric(line);
}

PreviewController::~PreviewController() {
    frameTimer_.stop();
    window_.setPlaybackSource({});
    window_.setCommandHandler(Command::Play, {});
    window_.setCommandHandler(Command::Stop, {});
}

void PreviewController::showStartPicture() {
    window_.showStartPicture();
}

void PreviewController::showClock() {
    // Stopped, the total is the album's as it stands (the timeline's is of its last run).
    window_.showClock(timeline_->currentTime(), timeline_->state() == PlaybackState::Playing
                                                    ? timeline_->totalTime()
                                                    : idleTotalTime(album_));
}

void PreviewController::clearPhotoSelection() {
    window_.dropPhotoSelection();
}

void PreviewController::onStateChanged(PlaybackState state) {
    if (state == PlaybackState::Stopped) {
        frameTimer_.stop();
        clearPhotoSelection();
        showStartPicture();
        window_.setTransport(Transport::Ready);
    }
}

std::optional<QVector<int>> PreviewController::prepare() {
    std::optional<QVector<int>> playList;
    Stager stager(album_);
    QString failure;
    staging_->run([&](const std::function<void(int, int)>& progress) {
        try {
            playList = stager.prepare(MainDisplay::kSize, progress);
        } catch (const Error& e) {
            failure = e.message();
        }
    });
    if (!failure.isEmpty()) {
        showMessage(failure);
        return std::nullopt;
    }
    if (!stager.missingPhotos().isEmpty()) {
        showMessage(texts::kPhotosMissing.arg(stager.missingPhotos().join(u'\n')));
    }
    return playList;
}

void PreviewController::play() {
    stop();
    const SyncMode sync = album_.outputOptions().sync;
    const PlayCheck check = checkPlayRequest(album_, sync);
    if (!check.refusal.isEmpty()) {
        showMessage(check.refusal);
        return;
    }
    clearPhotoSelection();
    showStartPicture();
    if (check.unplacedPhotos > 0) {
        if (!confirm(texts::kAutoCompleteCaption,
                     texts::kAutoCompleteQuestion.arg(check.unplacedPhotos))) {
            return;
        }
        runPlacement(check.unplacedPhotos);
        // Photos no template could take are named, as after adding photos.
        if (const QString unplaced =
                unplacedPhotosMessage(album_.photos(), UnplacedReason::Catalogue);
            !unplaced.isEmpty()) {
            showMessage(unplaced);
        }
        prepare();  // The album is staged; playback starts with the next " 播放".
        return;
    }
    const std::optional<QVector<int>> playList = prepare();
    if (!playList) {
        return;
    }
    window_.setTransport(Transport::Busy);
    if (!timeline_->start(*playList, sync)) {
        window_.setTransport(Transport::Ready);
        showMessage(timeline_->problems().isEmpty() ? texts::kNothingToPlay
                                                    : timeline_->problems().join(u'\n'));
        return;
    }
    framesShown_ = 0;
    clock_.start();
    frameTimer_.start();
    window_.setTransport(Transport::Playing);
}

void PreviewController::runPlacement(int waiting) {
    // The automatic placement in its progress window, as after adding photos: a large album
    // takes a while and the bar shows it going on.
    ProgressWindow& window = ProgressWindow::shared();
    try {
        window.run(texts::kAutoPlacementTitle, std::max(1, waiting), [&] {
            placeWaitingPhotos(album_, [&window](int placed) { window.advance(placed); });
        });
    } catch (const Error& e) {
        showMessage(e.message());
    }
}

void PreviewController::tick() {
    // Frames are due every 40 ms of real time; a late tick catches up a few frames.
    const qint64 due = clock_.isValid() ? clock_.elapsed() / kFrameMs + 1 : framesShown_ + 1;
    for (int i = 0; i < kMaxCatchUp && framesShown_ < due; ++i) {
        if (!timeline_->step()) {
            frameTimer_.stop();
            return;
        }
        ++framesShown_;
        // The last frame of the closing movie ends playback, which has put the start picture
        // back: it stays.
        if (timeline_->state() != PlaybackState::Playing) {
            return;
        }
        window_.showFrame(timeline_->frame());
    }
}

void PreviewController::stop() {
    frameTimer_.stop();
    window_.setTransport(Transport::Busy);
    timeline_->stop();
    clearPhotoSelection();
    showStartPicture();
    window_.setTransport(Transport::Ready);
}

}  // namespace vellumo
