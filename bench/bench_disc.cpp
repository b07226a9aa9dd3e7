// A DVD disc image made from an album of about 2,500 frames (100 s): 12-megapixel photos placed
// on the installed library (build/bin), as many as bring the album nearest 2,500 frames, a tone
// as the music, at high quality, through the production run. Prints the time of the encoding
// (drawing and encoding the stream), of the authoring and image steps (menus, dvdauthor,
// genisoimage, the check), and the authoring's share of the whole; target: at most 10 %. Usage:
// bench_disc

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <cmath>
#include <cstdio>

#include "album/output_formats.h"
#include "bench/bench_common.h"
#include "bench/bench_photos.h"
#include "media/audio_decoder.h"
#include "media/music_player.h"
#include "photo/fitting_canvas.h"
#include "production/production_run.h"
#include "project/album.h"
#include "skin/fonts.h"
#include "workspace/data_paths.h"
#include "workspace/program_folder.h"

namespace {

constexpr int kAlbumFrames = 2500;

// A quiet stereo tone at 44.1 kHz, seconds long.
QByteArray tone(double seconds) {
    const auto frames = static_cast<qsizetype>(seconds * vellumo::kPcmSampleRate);
    QByteArray pcm(frames * vellumo::kPcmBytesPerFrame, Qt::Uninitialized);
    auto* out = reinterpret_cast<qint16*>(pcm.data());
    for (qsizetype i = 0; i < frames; ++i) {
        const auto v = static_cast<qint16>(
            6000 * std::sin(2 * M_PI * 330.0 * static_cast<double>(i) / vellumo::kPcmSampleRate));
        out[2 * i] = v;
        out[2 * i + 1] = v;
    }
    return pcm;
}

}  // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    vellumo::silenceFfmpegLog();
    vellumo::installFontSubstitutions();
    vellumo::Catalogue catalogue;
    if (!vellumo::bench::readInstalledCatalogue(catalogue)) {
        return 1;
    }
    QTemporaryDir dir;
    // Photos are added until the placed album reaches 2,500 frames (the closer count wins).
    const auto placed = [&](vellumo::Album& album, int photos) {
        vellumo::bench::addAndPlace(
            album,
            vellumo::bench::writePhotos(dir.path(), 0, photos, &vellumo::bench::cameraPhoto));
        vellumo::AlbumSequence::Input input;
        input.playList = vellumo::AlbumSequence::completeTemplates(album);
        return vellumo::AlbumSequence::build(album, input).totalFrames();
    };
    int photos = 1;
    qint64 frames = 0;
    for (qint64 before = 0;; ++photos, before = frames) {
        vellumo::Album trial(catalogue);
        frames = placed(trial, photos);
        if (frames >= kAlbumFrames) {
            if (kAlbumFrames - before < frames - kAlbumFrames && photos > 1) {
                --photos;
            }
            break;
        }
    }
    vellumo::Album album(catalogue);
    placed(album, photos);
    const QString music = dir.path() + QStringLiteral("/tone.wav");
    vellumo::writeWav(music, tone(kAlbumFrames / 25.0));
    vellumo::MusicPlayer player;
    player.setSoundOutput(false);
    if (const QString problem = album.addMusic(music, player); !problem.isEmpty()) {
        std::printf("%s\n", qPrintable(problem));
        return 1;
    }
    vellumo::OutputOptions options = album.outputOptions();
    options.beginProduction(vellumo::AlbumType::Dvd);
    options.chooseDiscImage();
    options.albumName = QStringLiteral("bench");
    options.quality = vellumo::PictureQuality::High;
    album.setOutputOptions(options);

    // The working folders go below the temporary folder.
    vellumo::bench::workBelow(dir.path());

    vellumo::ProductionRun run(album);
    double encodingAt = 0;
    double authoringAt = 0;
    // Each authoring step and when it began.
    QStringList steps;
    QVector<double> stepsAt;
    QElapsedTimer clock;
    run.onProgress = [&](const vellumo::ProductionProgress& p) {
        const double now = static_cast<double>(clock.nsecsElapsed()) / 1e9;
        if (encodingAt == 0 && p.phase == vellumo::ProductionProgress::Phase::Conversion) {
            encodingAt = now;
        }
        if (authoringAt == 0 && p.phase == vellumo::ProductionProgress::Phase::Authoring) {
            authoringAt = now;
        }
        if (p.phase == vellumo::ProductionProgress::Phase::Authoring && !p.step.isEmpty() &&
            (steps.isEmpty() || steps.last() != p.step)) {
            steps << p.step;
            stepsAt << now;
        }
    };
    clock.start();
    const QString iso = dir.path() + QStringLiteral("/bench.iso");
    const vellumo::ProductionResult result = run.run(iso);
    const double whole = static_cast<double>(clock.nsecsElapsed()) / 1e9;
    if (result.outcome != vellumo::ProductionOutcome::Complete) {
        std::printf("production failed: %s\n", qPrintable(result.error));
        return 1;
    }
    const double encoding = authoringAt - encodingAt;
    const double authoring = whole - authoringAt;
    std::printf(
        "bench_disc: %d photos of 12 MP, %lld frames (%.1f s), DVD-Video PAL 720x576 16:9, high "
        "quality, "
        "%d chapters, ISO of %.1f MiB\n",
        photos, static_cast<long long>(run.sequence().totalFrames()),
        static_cast<double>(run.sequence().totalFrames()) / 25.0,
        static_cast<int>(run.sequence().movies().size()),
        static_cast<double>(QFileInfo(iso).size()) / (1024.0 * 1024.0));
    std::printf("  lists and staging:      %7.2f s\n", encodingAt);
    std::printf("  encoding (the stream):  %7.2f s\n", encoding);
    std::printf("  authoring and image:    %7.2f s\n", authoring);
    for (qsizetype i = 0; i < steps.size(); ++i) {
        const double end = i + 1 < steps.size() ? stepsAt[i + 1] : whole;
        std::printf("    %-24s %5.2f s\n", qPrintable(steps[i]), end - stepsAt[i]);
    }
    std::printf("  whole:                  %7.2f s\n", whole);
    std::printf(
        "  authoring and image share: %.1f %% of the whole (target <= 10 %%), %.1f %% of "
        "the encoding\n",
        100.0 * authoring / whole, 100.0 * authoring / encoding);
    return 0;
}
