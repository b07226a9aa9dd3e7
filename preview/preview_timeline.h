#pragma once

// The album preview's timeline: the complete used templates play one after another on a hidden
// stage, each starting from the last frame of the one before (the lead-in picture), then the
// closing movie. The host's timer calls step() once per frame and shows frame(); the clock
// counts 0.04 s per frame shown. While a template plays, a worker thread already draws its last
// frame, writes the lead-in picture and prepares what comes next, so that a template change
// costs the frame no more than an ordinary one.

#include <QImage>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVector>
#include <atomic>
#include <functional>
#include <future>
#include <memory>
#include <optional>

#include "album/output_options.h"
#include "movie/movie_player.h"
#include "timeline/album_sequence.h"

namespace vellumo {

class Album;

// "bofang_kaishi" while the album plays, "bofang_tingzhi" otherwise.
enum class PlaybackState { Stopped, Playing };
QString playbackStateWord(PlaybackState state);

class PreviewTimeline : public QObject {
    Q_OBJECT
public:
    enum class Phase { Idle, Template, Closing };

    // The stage draws the movies; the preview shows them at its size (800 × 450).
    PreviewTimeline(const Album& album, MoviePlayer& stage, QObject* parent = nullptr);
    ~PreviewTimeline() override;

    PlaybackState state() const { return state_; }
    Phase phase() const { return phase_; }
    const QVector<int>& playList() const { return playList_; }
    int templateCounter() const { return templateCounter_; }
    int frameCounter() const { return frameCounter_; }
    qint64 totalFrameCounter() const { return totalFrameCounter_; }
    const QString& currentTime() const { return currentTime_; }
    const QString& totalTime() const { return totalTime_; }
    const QImage& frame() const { return frame_; }
    // Templates that could not be played, one message each, since the last start.
    const QStringList& problems() const { return problems_; }

    // Called when playback starts and ends, for the music and lyrics.
    void setSoundHooks(std::function<void()> start, std::function<void()> stop);

    // Starts playing the staged play list. False (and idle) when the list is empty.
    bool start(QVector<int> playList, SyncMode sync);
    // One frame: the next frame of the template or closing movie. Each movie lasts the frames
    // the sequence gives it (its catalogue frame count), as in the production: a movie shorter
    // than that holds its last frame, a longer one is cut. Returns false when idle.
    bool step();
    // Ends playback at once and removes the staging folder (bounded).
    void stop();

    // With sync with music, the music sets the current-time label.
    void setCurrentTime(const QString& text);
    // The frame sequence being played: with sync with music the templates come round until
    // the music is covered, then the closing movie.
    const AlbumSequence& sequence() const { return sequence_; }

signals:
    void stateChanged(PlaybackState state);
    void clockChanged();
    // Playback ended by itself at the end of the closing movie.
    void finished();

private:
    // What follows the last frame of the template on the stage.
    struct Next {
        int templateCounter = 0;
        Phase phase = Phase::Idle;  // Template or Closing: movie is loaded next; Idle: the end
        std::optional<PreparedMovie> movie;
        QStringList problems;
    };
    struct NextInput {
        std::shared_ptr<const movie::MovieRenderer> renderer;
        int lastFrame = 0;
        QStringList moviePaths;  // of the play list
        QStringList movieNames;  // the templates' names, for messages
        int templateCounter = 0;
        QString closingMovie;
        QString leadInPicture;
        QString leadInBitmap;
        SyncMode sync = SyncMode::WithTemplate;
        QSize size;
        std::shared_ptr<std::atomic<bool>> cancelled;
    };
    static Next prepareNext(const NextInput& input);

    bool loadTemplate(int usedTemplate);
    // The album frames the movie on the stage lasts, by the sequence.
    int movieFrames() const;
    // Starts preparing what follows the movie now on the stage.
    void prepareNextAhead();
    // The prepared next step, waiting for the worker when it has not finished yet.
    Next takeNext();
    // Stops the worker, if any, and waits for it.
    void dropNext();
    void finish();

    const Album& album_;
    MoviePlayer& stage_;
    std::function<void()> soundStart_;
    std::function<void()> soundStop_;
    PlaybackState state_ = PlaybackState::Stopped;
    Phase phase_ = Phase::Idle;
    SyncMode sync_ = SyncMode::WithTemplate;
    AlbumSequence sequence_;
    QVector<int> playList_;
    int templateCounter_ = 0;
    int frameCounter_ = -1;
    qint64 totalFrameCounter_ = 0;
    QString currentTime_;
    QString totalTime_;
    QImage frame_;
    QStringList problems_;
    std::future<Next> next_;
    std::shared_ptr<std::atomic<bool>> nextCancelled_;
};

}  // namespace vellumo
