// Measuring a song's loudness as adding it does: a four-minute stereo MP3 (made by the ffmpeg
// program: a chord whose level moves between verse and chorus, with a noisy beat), decoded and
// measured for integrated loudness and true peak on one thread. Wall and CPU seconds per run.
// Usage: bench_loudness [RUNS]

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>

#include <ctime>

#include <cstdio>
#include <cstdlib>

#include "media/loudness.h"

namespace {

double threadCpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    QTemporaryDir dir;
    const QString song = dir.filePath(QStringLiteral("song.mp3"));
    // Verse and chorus alternate every 20 s, 8 dB apart; a beat of noise twice a second.
    const QString expression = QStringLiteral(
        "(0.25+0.35*gt(mod(t\\,40)\\,20))*(sin(2*PI*220*t)+0.6*sin(2*PI*277*t)+0.4*sin(2*PI*330*t)"
        "+0.5*(random(0)-0.5)*exp(-12*mod(t\\,0.5)))/2.5");
    QProcess ffmpeg;
    ffmpeg.start(QStringLiteral("ffmpeg"),
                 {QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-y"),
                  QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"),
                  QStringLiteral("aevalsrc=%1|%1:s=44100:d=240").arg(expression),
                  QStringLiteral("-b:a"), QStringLiteral("192k"), song});
    if (!ffmpeg.waitForFinished(120000) || ffmpeg.exitCode() != 0) {
        std::fprintf(stderr, "bench_loudness: the ffmpeg program could not make the song\n");
        return 1;
    }
    for (int run = 0; run < runs; ++run) {
        QElapsedTimer wall;
        wall.start();
        const double cpu = threadCpuSeconds();
        vellumo::Loudness loudness;
        vellumo::measureLoudness(song, loudness);
        std::printf("4-minute MP3: %.3f s wall, %.3f s CPU  (%.1f LUFS, %.1f dBTP)\n",
                    static_cast<double>(wall.nsecsElapsed()) / 1e9, threadCpuSeconds() - cpu,
                    loudness.integratedLufs, loudness.truePeakDbtp);
    }
    return 0;
}
