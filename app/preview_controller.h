#pragma once

// The album preview in the main window: " 播放" runs the play request (its checks, the
// "自动完成" question, the preparation step in the staging window) and starts the timeline;
// a paced timer steps it at 25 frames a second of real time and the main display, clock labels
// and buttons follow it. " 停止" ends it. The controller registers both commands and holds the
// playing state the main window asks for.

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <functional>
#include <memory>
#include <optional>

#include "preview/preview_timeline.h"

namespace vellumo {

class Album;
class MainWindow;
class MoviePlayer;
class MusicPlayer;
class PreviewMusic;
struct LyricLine;
class StagingWindow;

class PreviewController : public QObject {
    Q_OBJECT
public:
    PreviewController(MainWindow& window, Album& album, MusicPlayer& player,
                      QObject* parent = nullptr);
    ~PreviewController() override;

    // " 播放": Stop, then the play request.
    void play();
    // " 停止".
    void stop();

    PreviewTimeline& timeline() { return *timeline_; }
    StagingWindow* stagingWindow() const { return staging_; }
    // Runs one timer tick at once (tests).
    void tick();
    PreviewMusic& music() { return *music_; }
    // Runs one music timer tick at once (tests).
    void musicTick();

private:
    void showStartPicture();
    // The photo pages' selection back to "wu": playback starts, stops and ends with it.
    void clearPhotoSelection();
    // "自动完成": the automatic placement in the "自动匹配模板" progress window.
    void runPlacement(int waiting);
    void showClock();
    // The preparation step in the staging window; the play list, or nothing when it failed.
    std::optional<QVector<int>> prepare();
    void onStateChanged(PlaybackState state);
    void showLyric(const LyricLine& line);

    MainWindow& window_;
    Album& album_;
    std::unique_ptr<MoviePlayer> stage_;
    std::unique_ptr<PreviewTimeline> timeline_;
    std::unique_ptr<PreviewMusic> music_;
    QTimer musicTimer_;
    StagingWindow* staging_ = nullptr;
    QTimer frameTimer_;
    QElapsedTimer clock_;
    qint64 framesShown_ = 0;
};

}  // namespace vellumo
