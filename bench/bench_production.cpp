// A whole production: twenty 12-megapixel photos placed on the installed library (build/bin),
// the sample song and its lyrics, DVD at 1280 × 720 and high quality, through the production
// run (staging, rendering, lyric lines, encoding). Beside it in the same run, the ffmpeg
// program encodes as many 1280 × 720 pictures it generates itself (lavfi testsrc2), with the
// same codecs and rates and the same song: the encoder's own rate. Prints both rates, their
// ratio and the peak memory.
// Usage: bench_production [PHOTOS]

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

#include "bench/bench_common.h"
#include "bench/bench_photos.h"
#include "media/audio_decoder.h"
#include "media/music_player.h"
#include "production/production_run.h"
#include "skin/fonts.h"

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const int photos = argc > 1 ? std::max(1, std::atoi(argv[1])) : 20;
    vellumo::silenceFfmpegLog();
    vellumo::installFontSubstitutions();
    vellumo::Catalogue catalogue;
    if (!vellumo::bench::readInstalledCatalogue(catalogue)) {
        return 1;
    }
    QTemporaryDir dir;
    vellumo::Album album(catalogue);
    vellumo::bench::addAndPlace(
        album, vellumo::bench::writePhotos(dir.path(), 0, photos, &vellumo::bench::cameraPhoto));
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
    vellumo::bench::workBelow(dir.path());

    vellumo::ProductionRun run(album);
    double preparedAt = 0;
    double cpuAtPrepared = 0;
    QElapsedTimer clock;
    run.onProgress = [&](const vellumo::ProductionProgress& p) {
        if (preparedAt == 0 && p.phase == vellumo::ProductionProgress::Phase::Conversion) {
            preparedAt = static_cast<double>(clock.nsecsElapsed()) / 1e9;
            cpuAtPrepared = vellumo::bench::cpuSeconds(RUSAGE_SELF);
        }
    };
    clock.start();
    const vellumo::ProductionResult result = run.run(dir.path() + "/ours.mpg");
    const double ours = static_cast<double>(clock.nsecsElapsed()) / 1e9;
    if (result.outcome != vellumo::ProductionOutcome::Complete) {
        std::printf("production failed: %s\n", qPrintable(result.error));
        return 1;
    }
    const double oursPeak = vellumo::bench::peakMiB(RUSAGE_SELF);
    const double oursCpu = vellumo::bench::cpuSeconds(RUSAGE_SELF) - cpuAtPrepared;
    const int frames = static_cast<int>(run.sequence().totalFrames());
    const double framesTime = ours - preparedAt;

    // The ffmpeg program: as many pictures of its own, the same codecs, rates, GOP and buffer,
    // the sound cut at the pictures' end.
    const QStringList reference = vellumo::bench::ffmpegReference(
        QStringLiteral("1280x720"), music, frames, vellumo::bench::ffmpegDvdCodec(),
        dir.path() + QStringLiteral("/ffmpeg.mpg"));
    const vellumo::bench::ChildRun encoder =
        vellumo::bench::runChild(QStringLiteral("ffmpeg"), reference);
    if (!encoder.ok) {
        std::printf("ffmpeg failed (scripts/install-deps.sh installs it)\n");
        return 1;
    }
    const double theirs = encoder.seconds;
    const double theirsCpu = encoder.cpuSeconds;

    std::printf(
        "bench_production: %d photos of 12 MP, %d used templates, %d frames 1280x720, "
        "DVD, high quality, one MP3 with lyrics\n",
        photos, album.templates().size(), frames);
    std::printf(
        "  production: %7.2f s in all (lists and staging %.2f s), frames %6.1f frames/s "
        "(%.1f with staging), peak memory %6.1f MiB\n",
        ours, preparedAt, frames / framesTime, frames / ours, oursPeak);
    std::printf("  ffmpeg:     %7.2f s  %6.1f frames/s  (ffmpeg's peak %6.1f MiB)\n", theirs,
                frames / theirs, encoder.peakMiB);
    std::printf(
        "  ratio production/ffmpeg: %.2f frames, %.2f with staging (target >= 0.8); "
        "peak memory target < 400 MiB\n",
        theirs / framesTime, theirs / ours);
    // Processor time per frame does not depend on what else the machine runs meanwhile.
    std::printf("  processor time per frame: production %.2f ms, ffmpeg %.2f ms, ratio %.2f\n",
                oursCpu * 1000 / frames, theirsCpu * 1000 / frames, theirsCpu / oursCpu);
    return 0;
}
