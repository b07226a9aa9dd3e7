// The whole make-album command, from photos on disk to the finished file: vellumo-tool adds
// twelve-megapixel photos, places them, stages, draws and encodes them with the sample song and
// its lyrics at high quality. Beside each run, in the same benchmark run, the ffmpeg program
// encodes as many pictures it generates itself (lavfi testsrc2) with the same codec settings and
// the same song. Prints both rates, their ratio (the target), the processor time per frame and
// the peak memory of the command.
//
// Usage: bench_album [PHOTOS [CASE...]]   CASE: dvd (1280x720 MPEG-2), x264 (1920x1080),
// x265 (1920x1080, H.265), 4k (3840x2160 H.264, a quarter of the photos); default dvd x264 x265.

#include <QDir>
#include <QGuiApplication>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

#include "bench/bench_common.h"
#include "bench/bench_photos.h"

namespace {

struct Case {
    const char* name;
    const char* title;
    QStringList toolOptions;  // after make-album
    QString size;             // WxH
    QString extension;
    QStringList ffmpegCodec;  // the codec settings of our preset
    double target;
    double memoryLimitMiB;
    int photoDivisor;  // of the photos the case uses
};

QList<Case> cases() {
    const QStringList mpeg2 = vellumo::bench::ffmpegDvdCodec();
    const QStringList mp4Rate = {"-b:v", "8000k", "-maxrate", "12000k", "-bufsize", "12000k",
                                 "-g",   "50",    "-bf",      "2",      "-c:a",     "aac",
                                 "-ar",  "48000", "-b:a",     "160k",   "-f",       "mp4"};
    const QStringList x264 = QStringList{"-c:v", "libx264", "-preset", "veryfast"} + mp4Rate;
    const QStringList x265 = QStringList{"-c:v", "libx265", "-preset", "ultrafast"} + mp4Rate;
    return {
        {"dvd",
         "DVD 1280x720 MPEG-2",
         {"--type", "DVD", "--size", "1280x720"},
         "1280x720",
         ".mpg",
         mpeg2,
         0.8,
         400,
         1},
        {"x264",
         "MP4 1920x1080 H.264",
         {"--type", "MP4", "--size", "1920x1080"},
         "1920x1080",
         ".mp4",
         x264,
         0.9,
         400,
         1},
        {"x265",
         "MP4 1920x1080 H.265",
         {"--type", "MP4", "--size", "1920x1080", "--codec", "h265"},
         "1920x1080",
         ".mp4",
         x265,
         0.9,
         400,
         1},
        {"4k",
         "MP4 3840x2160 H.264",
         {"--type", "MP4", "--size", "3840x2160"},
         "3840x2160",
         ".mp4",
         x264,
         0.9,
         1024,
         4},
    };
}

// The video frames of a file, as ffprobe counts its packets.
int countFrames(const QString& file) {
    QProcess probe;
    probe.start(QStringLiteral("ffprobe"),
                {"-v", "error", "-select_streams", "v:0", "-count_packets", "-show_entries",
                 "stream=nb_read_packets", "-of", "csv=p=0", file});
    probe.waitForFinished(120000);
    // "325," and an empty line for a program stream.
    return probe.readAllStandardOutput().trimmed().split(',').first().toInt();
}

}  // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const int photos = argc > 1 ? std::max(1, std::atoi(argv[1])) : 20;
    QStringList chosen;
    for (int i = 2; i < argc; ++i) {
        chosen << QString::fromLocal8Bit(argv[i]);
    }
    if (chosen.isEmpty()) {
        chosen = {"dvd", "x264", "x265"};
    }
    const QString tool = vellumo::bench::installedFolder() + QStringLiteral("vellumo-tool");
    vellumo::setProgramFolder(vellumo::bench::installedFolder());
    const QString music = vellumo::dataPath(vellumo::paths::kSampleMusic);
    const QString lyrics = vellumo::dataPath(vellumo::paths::kSampleLyrics);
    QTemporaryDir dir;
    const QStringList files =
        vellumo::bench::writePhotos(dir.path(), 0, photos, &vellumo::bench::cameraPhoto);
    std::printf(
        "bench_album: %d photos of 12 MP on disk, the sample song with its lyrics, high "
        "quality; ffmpeg encodes testsrc2 with the same settings\n",
        photos);
    std::fflush(stdout);
    for (const Case& c : cases()) {
        if (!chosen.contains(QString::fromLatin1(c.name))) {
            continue;
        }
        const QStringList used = files.mid(0, std::max<qsizetype>(1, photos / c.photoDivisor));
        const QString ours = dir.path() + QStringLiteral("/ours") + c.extension;
        QStringList words = {"make-album"};
        words << c.toolOptions << "--quality"
              << "high"
              << "--music" << music << "--lyrics" << lyrics << "--out" << ours << used;
        const vellumo::bench::ChildRun album = vellumo::bench::runChild(tool, words);
        const int frames = album.ok ? countFrames(ours) : 0;
        if (frames <= 0) {
            std::printf("  %s: make-album failed (vellumo-tool %s)\n", c.title,
                        qPrintable(words.join(u' ')));
            std::fflush(stdout);
            continue;
        }
        const QString theirs = dir.path() + QStringLiteral("/ffmpeg") + c.extension;
        const QStringList reference =
            vellumo::bench::ffmpegReference(c.size, music, frames, c.ffmpegCodec, theirs);
        const vellumo::bench::ChildRun encoder =
            vellumo::bench::runChild(QStringLiteral("ffmpeg"), reference);
        if (!encoder.ok) {
            std::printf("  %s: ffmpeg failed (ffmpeg %s)\n", c.title,
                        qPrintable(reference.join(u' ')));
            std::fflush(stdout);
            continue;
        }
        std::printf("  %s, %lld photos, %d frames:\n", c.title, static_cast<long long>(used.size()),
                    frames);
        std::printf(
            "    make-album: %7.2f s %6.1f frames/s, %6.2f ms processor per frame, peak "
            "%6.1f MiB (limit %.0f)\n",
            album.seconds, frames / album.seconds, album.cpuSeconds * 1000 / frames, album.peakMiB,
            c.memoryLimitMiB);
        std::printf(
            "    ffmpeg:     %7.2f s %6.1f frames/s, %6.2f ms processor per frame, peak "
            "%6.1f MiB\n",
            encoder.seconds, frames / encoder.seconds, encoder.cpuSeconds * 1000 / frames,
            encoder.peakMiB);
        std::printf("    ratio make-album/ffmpeg: %.2f (target >= %.1f), processor %.2f\n",
                    encoder.seconds / album.seconds, c.target,
                    encoder.cpuSeconds / album.cpuSeconds);
        std::fflush(stdout);
    }
    return 0;
}
