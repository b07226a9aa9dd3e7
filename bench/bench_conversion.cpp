// The encoder path of a production: 2,500 generated 1280 × 720 pictures through the DVD preset
// at high quality with one MP3, against the ffmpeg program encoding the same raw pictures with
// the same codecs and rates. Both rates, their ratio, the CPU time per picture and the peak
// memory.
// Usage: bench_conversion [FRAMES]

#include <QElapsedTimer>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QTemporaryDir>

#include <sys/resource.h>

#include <cstdio>
#include <cstdlib>

#include "media/test_pattern.h"
#include "production/conversion_driver.h"

namespace {

constexpr QSize kSize(1280, 720);

double peakMiB(int who) {
    rusage usage{};
    getrusage(who, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;  // kB on Linux
}

double cpuSeconds(int who) {
    rusage usage{};
    getrusage(who, &usage);
    const auto seconds = [](timeval t) {
        return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
    };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

struct Run {
    double wall = 0;
    double cpu = 0;
};

QByteArray quoted(const QString& path) {
    return "'" + path.toUtf8().replace("'", "'\\''") + "'";
}

}  // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const int frames = argc > 1 ? std::max(1, std::atoi(argv[1])) : 2500;
    const double seconds = frames / 25.0;
    QTemporaryDir dir;
    const QString music = dir.path() + "/music.mp3";
    const QByteArray makeMusic = "ffmpeg -v error -y -f lavfi -i sine=frequency=440:duration=" +
                                 QByteArray::number(seconds + 10) +
                                 " -ac 2 -c:a libmp3lame -b:a 192k " + quoted(music);
    if (std::system(makeMusic.constData()) != 0) {
        std::printf("the ffmpeg program is needed (scripts/install-deps.sh installs it)\n");
        return 1;
    }

    // Ours: the driver pulls each picture on this thread and encodes on its own.
    vellumo::ConversionRequest request;
    request.albumType = vellumo::AlbumType::Dvd;
    request.outputSize = kSize;
    request.quality = vellumo::PictureQuality::High;
    request.frameCount = frames;
    request.soundFiles = {music};
    request.outputFile = dir.path() + "/ours.mpg";
    request.frame = [](int n) { return vellumo::testPattern(kSize, n); };
    const auto runOurs = [&]() -> Run {
        vellumo::ConversionDriver driver;
        const double cpu = cpuSeconds(RUSAGE_SELF);
        QElapsedTimer clock;
        clock.start();
        if (!driver.convert(request)) {
            std::printf("conversion failed: %s\n", qPrintable(driver.errorText()));
            std::exit(1);
        }
        return {static_cast<double>(clock.nsecsElapsed()) / 1e9, cpuSeconds(RUSAGE_SELF) - cpu};
    };

    // The ffmpeg program: the same pictures as raw BGRA through a pipe, the same codecs, rates,
    // GOP and buffer, the sound cut at the pictures' end.
    const QByteArray command =
        "ffmpeg -v error -y -f rawvideo -pix_fmt bgra -s 1280x720 -r 25 -i - -i " + quoted(music) +
        " -map 0:v -map 1:a -c:v mpeg2video -b:v 8000k -maxrate 9000k -minrate 0 "
        "-bufsize 1835008 -g 15 -bf 2 -pix_fmt yuv420p -c:a ac3 -ar 48000 -ac 2 -b:a 192k "
        "-t " +
        QByteArray::number(seconds) + " -f dvd " + quoted(dir.path() + "/ffmpeg.mpg");
    const auto runFfmpeg = [&]() -> Run {
        const double cpu = cpuSeconds(RUSAGE_SELF) + cpuSeconds(RUSAGE_CHILDREN);
        QElapsedTimer clock;
        clock.start();
        FILE* pipe = popen(command.constData(), "w");
        if (pipe == nullptr) {
            std::printf("cannot run ffmpeg\n");
            std::exit(1);
        }
        for (int n = 0; n < frames; ++n) {
            const QImage image = vellumo::testPattern(kSize, n);
            std::fwrite(image.constBits(), 1, static_cast<size_t>(image.sizeInBytes()), pipe);
        }
        const int status = pclose(pipe);
        if (status != 0) {
            std::printf("ffmpeg failed (%d)\n", status);
            std::exit(1);
        }
        return {static_cast<double>(clock.nsecsElapsed()) / 1e9,
                cpuSeconds(RUSAGE_SELF) + cpuSeconds(RUSAGE_CHILDREN) - cpu};
    };

    // Two rounds, alternating, so that a busy machine weighs on both alike; the faster of each.
    Run ours = runOurs();
    const double oursPeak = peakMiB(RUSAGE_SELF);
    Run theirs = runFfmpeg();
    const Run ours2 = runOurs();
    const Run theirs2 = runFfmpeg();
    ours = ours2.wall < ours.wall ? ours2 : ours;
    theirs = theirs2.wall < theirs.wall ? theirs2 : theirs;

    const auto size = [&](const char* name) {
        return static_cast<double>(QFileInfo(dir.path() + name).size()) / (1024.0 * 1024.0);
    };
    std::printf(
        "bench_conversion: %d pictures 1280x720, DVD preset, high quality, one MP3 "
        "(faster of two rounds)\n",
        frames);
    std::printf(
        "  ours:   %7.2f s  %6.1f frames/s  CPU %6.2f ms/frame  file %6.1f MiB  "
        "peak memory %6.1f MiB\n",
        ours.wall, frames / ours.wall, ours.cpu * 1000 / frames, size("/ours.mpg"), oursPeak);
    std::printf(
        "  ffmpeg: %7.2f s  %6.1f frames/s  CPU %6.2f ms/frame  file %6.1f MiB  "
        "(its peak %6.1f MiB)\n",
        theirs.wall, frames / theirs.wall, theirs.cpu * 1000 / frames, size("/ffmpeg.mpg"),
        peakMiB(RUSAGE_CHILDREN));
    std::printf("  ratio ours/ffmpeg: %.2f (target >= 0.90), peak memory target < 200 MiB\n",
                theirs.wall / ours.wall);
    return 0;
}
