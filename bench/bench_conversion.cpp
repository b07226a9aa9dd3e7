// The encoder path of a production: 2,500 generated 1280 × 720 pictures through the DVD preset
// at high quality with one MP3, against the ffmpeg program encoding the same raw pictures with
// the same codecs and rates. Both rates, their ratio and the peak memory.
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
    vellumo::ConversionDriver driver;
    QElapsedTimer clock;
    clock.start();
    if (!driver.convert(request)) {
        std::printf("conversion failed: %s\n", qPrintable(driver.errorText()));
        return 1;
    }
    const double ours = static_cast<double>(clock.nsecsElapsed()) / 1e9;
    const double oursPeak = peakMiB(RUSAGE_SELF);

    // The ffmpeg program: the same pictures as raw BGRA through a pipe, the same codecs, rates,
    // GOP and buffer, the sound cut at the pictures' end.
    const QByteArray command =
        "ffmpeg -v error -y -f rawvideo -pix_fmt bgra -s 1280x720 -r 25 -i - -i " + quoted(music) +
        " -map 0:v -map 1:a -c:v mpeg2video -b:v 8000k -maxrate 9000k -minrate 0 "
        "-bufsize 1835008 -g 15 -bf 2 -pix_fmt yuv420p -c:a ac3 -ar 48000 -ac 2 -b:a 192k "
        "-t " +
        QByteArray::number(seconds) + " -f dvd " + quoted(dir.path() + "/ffmpeg.mpg");
    clock.restart();
    FILE* pipe = popen(command.constData(), "w");
    if (pipe == nullptr) {
        std::printf("cannot run ffmpeg\n");
        return 1;
    }
    for (int n = 0; n < frames; ++n) {
        const QImage image = vellumo::testPattern(kSize, n);
        std::fwrite(image.constBits(), 1, static_cast<size_t>(image.sizeInBytes()), pipe);
    }
    const int status = pclose(pipe);
    const double theirs = static_cast<double>(clock.nsecsElapsed()) / 1e9;
    if (status != 0) {
        std::printf("ffmpeg failed (%d)\n", status);
        return 1;
    }

    const auto size = [&](const char* name) {
        return static_cast<double>(QFileInfo(dir.path() + name).size()) / (1024.0 * 1024.0);
    };
    std::printf("bench_conversion: %d pictures 1280x720, DVD preset, high quality, one MP3\n",
                frames);
    std::printf("  ours:   %7.2f s  %6.1f frames/s  file %6.1f MiB  peak memory %6.1f MiB\n", ours,
                frames / ours, size("/ours.mpg"), oursPeak);
    std::printf("  ffmpeg: %7.2f s  %6.1f frames/s  file %6.1f MiB  (ffmpeg's peak %6.1f MiB)\n",
                theirs, frames / theirs, size("/ffmpeg.mpg"), peakMiB(RUSAGE_CHILDREN));
    std::printf("  ratio ours/ffmpeg: %.2f (target >= 0.90), peak memory target < 200 MiB\n",
                theirs / ours);
    return 0;
}
