// A whole production: twenty 12-megapixel photos placed on the installed library (build/bin),
// the sample song and its lyrics, DVD at 1280 × 720 and high quality, through the production
// run (staging, rendering, lyric lines, encoding). Beside it in the same run, the ffmpeg
// program encodes the same number of raw 1280 × 720 pictures with the same codecs and rates.
// Prints both rates, their ratio and the peak memory.
// Usage: bench_production [PHOTOS]

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include <sys/resource.h>

#include <cstdio>
#include <cstdlib>

#include "assignment/placement.h"
#include "bench/bench_photos.h"
#include "catalogue/catalogue.h"
#include "media/audio_decoder.h"
#include "media/music_player.h"
#include "media/test_pattern.h"
#include "photo/fitting_canvas.h"
#include "production/production_run.h"
#include "project/album.h"
#include "skin/fonts.h"
#include "workspace/data_paths.h"
#include "workspace/program_folder.h"

namespace {

constexpr QSize kSize(1280, 720);

double peakMiB(int who) {
    rusage usage{};
    getrusage(who, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;  // kB on Linux
}

// Processor time of the process (all its threads) or of its waited-for children, in seconds.
double cpuSeconds(int who) {
    rusage usage{};
    getrusage(who, &usage);
    const auto seconds = [](const timeval& t) {
        return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
    };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

QByteArray quoted(const QString& path) {
    return "'" + path.toUtf8().replace("'", "'\\''") + "'";
}

QImage photo(int i) {
    return vellumo::bench::cameraPhoto(i);
}

}  // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const int photos = argc > 1 ? std::max(1, std::atoi(argv[1])) : 20;
    vellumo::silenceFfmpegLog();
    vellumo::installFontSubstitutions();
    const QString installed = QCoreApplication::applicationDirPath() + QStringLiteral("/../bin/");
    vellumo::setProgramFolder(installed);
    vellumo::Catalogue catalogue;
    if (!catalogue.build()) {
        std::printf("no installed templates below %s\n", qPrintable(installed));
        return 1;
    }
    QTemporaryDir dir;
    vellumo::Album album(catalogue);
    for (int i = 0; i < photos; ++i) {
        const QString file = dir.path() + QStringLiteral("/p%1.jpg").arg(i);
        vellumo::writeJpeg(photo(i), file);
        album.addPhoto(*vellumo::measurePhoto(file));
    }
    vellumo::PlacementRun placement = vellumo::placementRun(album);
    placement.start();
    placement.runToEnd();
    vellumo::MusicPlayer player;
    player.setSoundOutput(false);
    const QString music = vellumo::dataPath(vellumo::paths::kSampleMusic);
    if (const QString problem = album.addMusic(music, player); !problem.isEmpty()) {
        std::printf("%s\n", qPrintable(problem));
        return 1;
    }
    album.addLyrics(vellumo::dataPath(vellumo::paths::kSampleLyrics));
    vellumo::OutputOptions options = album.outputOptions();
    options.beginProduction(vellumo::AlbumType::Dvd);
    options.quality = vellumo::PictureQuality::High;
    album.setOutputOptions(options);

    // The working folders go below the temporary folder.
    const QString closing = vellumo::dataPath(vellumo::paths::kClosingMovie);
    vellumo::setProgramFolder(dir.path() + u'/');
    QDir().mkpath(QFileInfo(vellumo::dataPath(vellumo::paths::kClosingMovie)).absolutePath());
    QFile::copy(closing, vellumo::dataPath(vellumo::paths::kClosingMovie));

    vellumo::ProductionRun run(album);
    double preparedAt = 0;
    double cpuAtPrepared = 0;
    QElapsedTimer clock;
    run.onProgress = [&](const vellumo::ProductionProgress& p) {
        if (preparedAt == 0 && p.phase == vellumo::ProductionProgress::Phase::Conversion) {
            preparedAt = static_cast<double>(clock.nsecsElapsed()) / 1e9;
            cpuAtPrepared = cpuSeconds(RUSAGE_SELF);
        }
    };
    clock.start();
    const vellumo::ProductionResult result = run.run(dir.path() + "/ours.mpg");
    const double ours = static_cast<double>(clock.nsecsElapsed()) / 1e9;
    if (result.outcome != vellumo::ProductionOutcome::Complete) {
        std::printf("production failed: %s\n", qPrintable(result.error));
        return 1;
    }
    const double oursPeak = peakMiB(RUSAGE_SELF);
    const double oursCpu = cpuSeconds(RUSAGE_SELF) - cpuAtPrepared;
    const int frames = static_cast<int>(run.sequence().totalFrames());
    const double framesTime = ours - preparedAt;

    // The ffmpeg program: as many raw BGRA pictures through a pipe, the same codecs, rates, GOP
    // and buffer, the sound cut at the pictures' end.
    const QByteArray command =
        "ffmpeg -v error -y -f rawvideo -pix_fmt bgra -s 1280x720 -r 25 -i - -i " + quoted(music) +
        " -map 0:v -map 1:a -c:v mpeg2video -b:v 8000k -maxrate 9000k -minrate 0 "
        "-bufsize 1835008 -g 15 -bf 2 -pix_fmt yuv420p -c:a ac3 -ar 48000 -ac 2 -b:a 192k "
        "-t " +
        QByteArray::number(frames / 25.0) + " -f dvd " + quoted(dir.path() + "/ffmpeg.mpg");
    QImage pattern = vellumo::testPattern(kSize, 0);
    const double writerCpuBefore = cpuSeconds(RUSAGE_SELF);
    clock.restart();
    FILE* pipe = popen(command.constData(), "w");
    if (pipe == nullptr) {
        std::printf("cannot run ffmpeg (scripts/install-deps.sh installs it)\n");
        return 1;
    }
    for (int n = 0; n < frames; ++n) {
        if (n % 25 == 0) {
            pattern = vellumo::testPattern(kSize, n);
        }
        std::fwrite(pattern.constBits(), 1, static_cast<size_t>(pattern.sizeInBytes()), pipe);
    }
    const int status = pclose(pipe);
    const double theirs = static_cast<double>(clock.nsecsElapsed()) / 1e9;
    // The pictures' writing into the pipe counts with ffmpeg.
    const double theirsCpu =
        cpuSeconds(RUSAGE_CHILDREN) + cpuSeconds(RUSAGE_SELF) - writerCpuBefore;
    if (status != 0) {
        std::printf("ffmpeg failed (%d)\n", status);
        return 1;
    }

    std::printf(
        "bench_production: %d photos of 12 MP, %d used templates, %d frames 1280x720, "
        "DVD, high quality, one MP3 with lyrics\n",
        photos, album.templates().size(), frames);
    std::printf(
        "  production: %7.2f s in all (lists and staging %.2f s), frames %6.1f frames/s "
        "(%.1f with staging), peak memory %6.1f MiB\n",
        ours, preparedAt, frames / framesTime, frames / ours, oursPeak);
    std::printf("  ffmpeg:     %7.2f s  %6.1f frames/s  (ffmpeg's peak %6.1f MiB)\n", theirs,
                frames / theirs, peakMiB(RUSAGE_CHILDREN));
    std::printf(
        "  ratio production/ffmpeg: %.2f frames, %.2f with staging (target >= 0.5); "
        "peak memory target < 400 MiB\n",
        theirs / framesTime, theirs / ours);
    // Processor time per frame does not depend on what else the machine runs meanwhile.
    std::printf("  processor time per frame: production %.2f ms, ffmpeg %.2f ms, ratio %.2f\n",
                oursCpu * 1000 / frames, theirsCpu * 1000 / frames, theirsCpu / oursCpu);
    return 0;
}
