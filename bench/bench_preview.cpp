// The album preview: the preparation step for twenty complete templates with 12-megapixel
// photos at 800 × 450, then the timeline's frames (render and lead-in) against the 40 ms a frame
// has at 25 frames a second, and then playback paced as the main window paces it: how late frames
// are shown across template changes. Runs on the installed library of the program folder
// (build/bin). "bench_preview N" paces N template changes (default 6; 0 for all).

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <thread>
#include <vector>

#include "assignment/photo_adding.h"
#include "assignment/placement.h"
#include "bench/bench_photos.h"
#include "catalogue/catalogue.h"
#include "movie/movie_player.h"
#include "photo/fitting_canvas.h"
#include "preview/preview_timeline.h"
#include "project/album.h"
#include "timeline/stager.h"
#include "workspace/data_paths.h"
#include "workspace/program_folder.h"

namespace {

double cpuMs() {
    return static_cast<double>(std::clock()) * 1000.0 / CLOCKS_PER_SEC;
}

QImage photo(int i) {
    return vellumo::bench::cameraPhoto(i);
}

// Plays the album in real time, one frame due every 40 ms, and reports how late frames were shown
// (the time after their due time, and the interval since the frame before) around each template
// change: the last frame of a template and the first five of the next.
void pacedPlayback(vellumo::PreviewTimeline& timeline, const QVector<int>& playList,
                   int maxChanges) {
    using Clock = std::chrono::steady_clock;
    constexpr double kFrameMs = 40.0;
    constexpr int kFramesAfterChange = 5;
    timeline.start(playList, vellumo::SyncMode::WithTemplate);
    const Clock::time_point begin = Clock::now();
    const auto msSince = [&] {
        return std::chrono::duration<double, std::milli>(Clock::now() - begin).count();
    };
    std::vector<double> intervals;
    std::vector<double> steps;  // the work of an ordinary frame
    double worstChangeStep = 0;
    double worstChangeLate = 0;
    double worstChangeInterval = 0;
    double worstOtherInterval = 0;
    double previousShown = 0;
    int changes = 0;
    int sinceChange = kFramesAfterChange + 1;
    qint64 frame = 0;
    int counter = timeline.templateCounter();
    auto phase = timeline.phase();
    while (timeline.state() == vellumo::PlaybackState::Playing) {
        const double due = static_cast<double>(frame) * kFrameMs;
        if (msSince() < due) {
            std::this_thread::sleep_until(
                begin + std::chrono::microseconds(static_cast<qint64>(due * 1000.0)));
        }
        const double stepStart = msSince();
        if (!timeline.step()) {
            break;
        }
        const double shown = msSince();
        const double stepMs = shown - stepStart;
        // The step that shows a template's last frame also loads the next movie.
        const bool changed = timeline.templateCounter() != counter || timeline.phase() != phase;
        counter = timeline.templateCounter();
        phase = timeline.phase();
        if (changed) {
            sinceChange = 0;
            ++changes;
            worstChangeStep = std::max(worstChangeStep, stepMs);
        } else {
            steps.push_back(stepMs);
        }
        if (frame > 0) {
            const double interval = shown - previousShown;
            intervals.push_back(interval);
            if (sinceChange <= kFramesAfterChange) {
                worstChangeInterval = std::max(worstChangeInterval, interval);
                worstChangeLate = std::max(worstChangeLate, shown - due);
            } else {
                worstOtherInterval = std::max(worstOtherInterval, interval);
            }
        }
        previousShown = shown;
        ++sinceChange;
        ++frame;
        if (maxChanges > 0 && changes >= maxChanges && sinceChange > kFramesAfterChange) {
            break;
        }
    }
    timeline.stop();
    std::sort(intervals.begin(), intervals.end());
    std::sort(steps.begin(), steps.end());
    const double median = intervals.empty() ? 0.0 : intervals[intervals.size() / 2];
    const double medianStep = steps.empty() ? 0.0 : steps[steps.size() / 2];
    const double worstStep = steps.empty() ? 0.0 : steps.back();
    std::printf(
        "paced playback, %lld frames, %d template changes: median frame interval %.1f ms; "
        "across template changes worst interval %.1f ms and worst frame %.1f ms after its time; "
        "elsewhere worst interval %.1f ms\n",
        static_cast<long long>(frame), changes, median, worstChangeInterval, worstChangeLate,
        worstOtherInterval);
    std::printf(
        "frame work: the step that changes template worst %.1f ms; an ordinary frame median "
        "%.1f ms, worst %.1f ms\n",
        worstChangeStep, medianStep, worstStep);
}

}  // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QString installed = QCoreApplication::applicationDirPath() + QStringLiteral("/../bin/");
    vellumo::setProgramFolder(installed);
    vellumo::Catalogue catalogue;
    if (!catalogue.build()) {
        std::printf("no installed templates below %s\n", qPrintable(installed));
        return 1;
    }
    QTemporaryDir dir;
    vellumo::Album album(catalogue);
    QStringList files;
    for (int i = 0; i < 40; ++i) {
        files << dir.path() + QStringLiteral("/p%1.jpg").arg(i);
        vellumo::writeJpeg(photo(i), files.last());
    }
    vellumo::PhotoAdder adder(album);
    adder.addAll(files);
    adder.placeAll();
    // Keep the first twenty templates.
    while (album.templates().size() > 20) {
        album.deleteTemplate(album.templates().size() - 1);
    }
    const QString closing = vellumo::dataPath(vellumo::paths::kClosingMovie);
    vellumo::setProgramFolder(dir.path());
    QDir().mkpath(QFileInfo(vellumo::dataPath(vellumo::paths::kClosingMovie)).absolutePath());
    QFile::copy(closing, vellumo::dataPath(vellumo::paths::kClosingMovie));

    QElapsedTimer timer;
    timer.start();
    vellumo::Stager stager(album);
    const QVector<int> playList = stager.prepare(QSize(800, 450));
    std::printf("preparation step, %lld complete templates, 12 MP photos: %.0f ms\n",
                static_cast<long long>(playList.size()), static_cast<double>(timer.elapsed()));

    vellumo::MoviePlayer stage;
    stage.setSize(QSize(800, 450));
    vellumo::PreviewTimeline timeline(album, stage);
    timeline.start(playList, vellumo::SyncMode::WithTemplate);
    const double cpuStart = cpuMs();
    timer.restart();
    qint64 frames = 0;
    while (timeline.step()) {
        ++frames;
    }
    const double wall = static_cast<double>(timer.elapsed());
    const double cpu = cpuMs() - cpuStart;
    std::printf(
        "preview: %lld frames, %.2f ms wall and %.2f ms CPU a frame; at 25 frames/s "
        "that is %.0f %% of one core, %.0f %% to spare\n",
        static_cast<long long>(frames), wall / static_cast<double>(frames),
        cpu / static_cast<double>(frames), cpu / static_cast<double>(frames) / 40.0 * 100,
        100.0 - cpu / static_cast<double>(frames) / 40.0 * 100);

    const int maxChanges = argc > 1 ? std::atoi(argv[1]) : 6;
    vellumo::Stager again(album);
    pacedPlayback(timeline, again.prepare(QSize(800, 450)), maxChanges);
    return 0;
}
