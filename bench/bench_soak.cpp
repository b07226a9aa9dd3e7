// Long runs and memory: an album of 200 photos previewed for an hour of album time (frames
// stepped as fast as they render, the album started again whenever it ends), then a DVD album
// of about thirty minutes at 1280 × 720 made by the production run. Prints the resident memory
// at every minute of album time and, for each part, the growth after the first five minutes
// (which must stay under 20 MiB).
// Usage: bench_soak [PREVIEW_MINUTES [PRODUCTION_MINUTES]]   (defaults 60 and 30)

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include <malloc.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "bench/bench_common.h"
#include "bench/bench_photos.h"
#include "media/audio_decoder.h"
#include "media/music_player.h"
#include "movie/movie_player.h"
#include "photo/fitting_canvas.h"
#include "preview/preview_timeline.h"
#include "production/production_run.h"
#include "project/album.h"
#include "skin/fonts.h"
#include "timeline/album_sequence.h"
#include "timeline/stager.h"
#include "workspace/data_paths.h"
#include "workspace/memory.h"
#include "workspace/program_folder.h"

namespace {

constexpr int kFramesPerMinute = 25 * 60;
constexpr int kSettleMinutes = 5;
constexpr double kAllowedGrowthMiB = 20.0;

// A resident memory figure of this process now ("VmRSS", "RssAnon", "RssFile"), in MiB.
double residentMiB(const char* field = "VmRSS") {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) {
        return 0;
    }
    const QByteArray key = QByteArray(field) + ':';
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(key)) {
            return line.mid(key.size()).trimmed().split(' ').first().toDouble() / 1024.0;
        }
    }
    return 0;
}

// Bytes the program holds from the allocator now (small blocks and mapped ones), in MiB: growing
// resident memory with a flat figure here is the allocator keeping freed pages, not memory the
// program holds on to.
double heapInUseMiB() {
    const struct mallinfo2 info = mallinfo2();
    return static_cast<double>(info.uordblks + info.hblkhd) / (1024.0 * 1024.0);
}

// Photos of a modest size: the runs are about memory over time, not about decoding.
QImage photo(int i) {
    return vellumo::bench::madeUpPhoto(i, QSize(1600, 1200), 60, QSize(40, 30));
}

// Frames of the album's complete templates among the first `count` (all when -1).
qint64 albumFrames(const vellumo::Album& album, int count = -1) {
    vellumo::AlbumSequence::Input input;
    input.playList = vellumo::AlbumSequence::completeTemplates(album);
    if (count >= 0) {
        input.playList = input.playList.mid(0, count);
    }
    input.musicLength = [](const QString&) { return qint64{0}; };
    return vellumo::AlbumSequence::build(album, input).totalFrames();
}

// Memory at each minute of album time, and the verdict on its growth after the first minutes.
// The verdict is on the anonymous resident memory, the memory the program owns: the pages of
// mapped files (libraries, and the CJK fonts as more of their glyphs are drawn) are shared and
// the system can take them back. The total is judged beside it.
class MemoryLog {
public:
    explicit MemoryLog(const char* part) : part_(part) {}

    void minute(int m, double fps) {
        const double total = residentMiB();
        const double owned = residentMiB("RssAnon");
        std::printf(
            "  %s minute %3d: resident %7.1f MiB (anonymous %7.1f, files %6.1f), heap in use "
            "%6.1f MiB  (%.0f frames/s)\n",
            part_, m, total, owned, residentMiB("RssFile"), heapInUseMiB(), fps);
        std::fflush(stdout);
        if (m == kSettleMinutes) {
            settled_ = owned;
            settledTotal_ = total;
        }
        if (m >= kSettleMinutes) {
            highest_ = std::max(highest_, owned);
            highestTotal_ = std::max(highestTotal_, total);
        }
    }

    void verdict() const {
        if (settled_ == 0) {
            std::printf("  %s: too short to judge (fewer than %d minutes)\n", part_,
                        kSettleMinutes);
            return;
        }
        const double growth = highest_ - settled_;
        std::printf(
            "  %s: after minute %d anonymous resident memory grew by %.1f MiB (limit %.0f): %s; "
            "all resident memory by %.1f MiB\n",
            part_, kSettleMinutes, growth, kAllowedGrowthMiB,
            growth < kAllowedGrowthMiB ? "flat" : "GROWING", highestTotal_ - settledTotal_);
    }

private:
    const char* part_;
    double settled_ = 0;
    double highest_ = 0;
    double settledTotal_ = 0;
    double highestTotal_ = 0;
};

void previewSoak(vellumo::Album& album, int minutes) {
    std::printf("preview, %d minutes of album time at 800x450:\n", minutes);
    vellumo::MoviePlayer stage;
    stage.setSize(QSize(800, 450));
    vellumo::PreviewTimeline timeline(album, stage);
    MemoryLog log("preview");
    const qint64 target = static_cast<qint64>(minutes) * kFramesPerMinute;
    qint64 frames = 0;
    int rounds = 0;
    QElapsedTimer clock;
    clock.start();
    qint64 minuteStartedAt = 0;
    while (frames < target) {
        // Each round stages the album afresh, as pressing "播放" again does.
        vellumo::Stager stager(album);
        if (!timeline.start(stager.prepare(QSize(800, 450)), vellumo::SyncMode::WithTemplate)) {
            std::printf("  nothing to play\n");
            return;
        }
        ++rounds;
        while (frames < target && timeline.step()) {
            ++frames;
            if (frames % kFramesPerMinute == 0) {
                const qint64 now = clock.elapsed();
                log.minute(static_cast<int>(frames / kFramesPerMinute),
                           kFramesPerMinute * 1000.0 /
                               static_cast<double>(std::max<qint64>(1, now - minuteStartedAt)));
                minuteStartedAt = now;
            }
        }
        timeline.stop();
    }
    std::printf("  %lld frames in %d rounds of the album, %.0f s\n", static_cast<long long>(frames),
                rounds, static_cast<double>(clock.elapsed()) / 1000.0);
    log.verdict();
}

bool productionSoak(vellumo::Album& album, const QString& output) {
    vellumo::OutputOptions options = album.outputOptions();
    options.beginProduction(vellumo::AlbumType::Dvd);
    options.quality = vellumo::PictureQuality::High;
    album.setOutputOptions(options);
    vellumo::ProductionRun run(album);
    MemoryLog log("production");
    int lastMinute = 0;
    QElapsedTimer clock;
    clock.start();
    qint64 minuteStartedAt = 0;
    run.onProgress = [&](const vellumo::ProductionProgress& p) {
        if (p.phase != vellumo::ProductionProgress::Phase::Conversion) {
            return;
        }
        const int minute = p.framesDone / kFramesPerMinute;
        if (minute > lastMinute) {
            lastMinute = minute;
            const qint64 now = clock.elapsed();
            log.minute(minute, kFramesPerMinute * 1000.0 /
                                   static_cast<double>(std::max<qint64>(1, now - minuteStartedAt)));
            minuteStartedAt = now;
        }
    };
    const vellumo::ProductionResult result = run.run(output);
    if (result.outcome != vellumo::ProductionOutcome::Complete) {
        std::printf("  production failed: %s\n", qPrintable(result.error));
        return false;
    }
    std::printf("  %lld frames (%.1f minutes), %.0f s, file %.0f MiB\n",
                static_cast<long long>(run.sequence().totalFrames()),
                static_cast<double>(run.sequence().totalFrames()) / kFramesPerMinute,
                static_cast<double>(clock.elapsed()) / 1000.0,
                static_cast<double>(QFileInfo(output).size()) / (1024.0 * 1024.0));
    log.verdict();
    return true;
}

}  // namespace

int main(int argc, char* argv[]) {
    vellumo::keepLargeBlocksMapped();  // as the program does
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const int previewMinutes = argc > 1 ? std::max(0, std::atoi(argv[1])) : 60;
    const int productionMinutes = argc > 2 ? std::max(0, std::atoi(argv[2])) : 30;
    vellumo::silenceFfmpegLog();
    vellumo::installFontSubstitutions();
    vellumo::Catalogue catalogue;
    if (!vellumo::bench::readInstalledCatalogue(catalogue)) {
        return 1;
    }
    QTemporaryDir dir;
    const QString music = vellumo::dataPath(vellumo::paths::kSampleMusic);
    const QString lyrics = vellumo::dataPath(vellumo::paths::kSampleLyrics);

    // The preview album: 200 photos on the library with the sample song and its lyrics.
    const auto makeAlbum = [&](vellumo::Album& album, int photos, int firstPhoto) {
        vellumo::bench::addAndPlace(
            album, vellumo::bench::writePhotos(dir.path(), firstPhoto, photos, &photo));
    };
    vellumo::MusicPlayer player;
    player.setSoundOutput(false);
    std::printf("bench_soak: resident memory at start %.1f MiB\n", residentMiB());

    // The working folders go below the temporary folder.
    vellumo::bench::workBelow(dir.path());

    if (previewMinutes > 0) {
        vellumo::Album album(catalogue);
        makeAlbum(album, 200, 0);
        album.addMusic(music, player);
        album.addLyrics(lyrics);
        std::printf("album of 200 photos: %d used templates, %.1f minutes\n",
                    album.templates().size(),
                    static_cast<double>(albumFrames(album)) / kFramesPerMinute);
        previewSoak(album, previewMinutes);
    }
    if (productionMinutes > 0) {
        // Enough photos for the minutes asked for; templates past them are left out.
        vellumo::Album album(catalogue);
        const qint64 target = static_cast<qint64>(productionMinutes) * kFramesPerMinute;
        int photos = 0;
        while (albumFrames(album) < target && photos < 2000) {
            makeAlbum(album, 100, photos);
            photos += 100;
        }
        while (album.templates().size() > 1 &&
               albumFrames(album, album.templates().size() - 1) >= target) {
            album.deleteTemplate(album.templates().size() - 1);
        }
        album.addMusic(music, player);
        album.addLyrics(lyrics);
        std::printf("DVD production, 1280x720, high quality, %d used templates:\n",
                    album.templates().size());
        if (!productionSoak(album, dir.path() + QStringLiteral("/soak.mpg"))) {
            return 1;
        }
    }
    return 0;
}
