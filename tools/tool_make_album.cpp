// vellumo-tool make-album: a batch producer. Adds photos (and music and lyrics) as the windows
// do, places the photos automatically (or opens an album project made in the window), and
// produces the album through the same production run as the production window, printing its
// progress on one line of the error stream.

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <cstdio>

#include "album/output_formats.h"
#include "catalogue/catalogue.h"
#include "media/audio_decoder.h"
#include "media/music_player.h"
#include "production/production_run.h"
#include "project/album.h"
#include "project/project_file.h"
#include "skin/fonts.h"
#include "tools/tool_commands.h"
#include "tools/tool_common.h"
#include "workspace/data_paths.h"
#include "workspace/errors.h"
#include "workspace/folders.h"
#include "workspace/leftovers.h"
#include "workspace/program_folder.h"

namespace vellumo::tool {

namespace {

QString usage() {
    return withAlbumTypes(QStringLiteral(
        "usage: make-album [--program-folder DIR] [--combined K] [--order date|name|added] "
        "--type TYPE "
        "[--size WxH] [--tv pal|ntsc] [--quality standard|high] [--sync template|music] "
        "[--disc iso|folder] [--codec h264|h265] [--music FILE]... [--lyrics FILE]... "
        "[--karaoke] [--subtitles] [--crossfade] [--no-level] --out PATH PHOTO...\n"
        "       make-album [--program-folder DIR] --open FILE [--type ...] [--size WxH] [--tv ...] "
        "[--quality ...] [--sync ...] [--disc ...] [--codec ...] [--music FILE]... "
        "[--lyrics FILE]... [--karaoke] [--subtitles] [--crossfade] [--no-level] --out PATH\n"
        "--codec: an MP4's video, H.264 (h264) or H.265 (h265)\n"
        "--disc: a DVD as an ISO file (iso) or a folder receiving VIDEO_TS (folder); a VCD or "
        "SVCD as PATH.bin and PATH.cue (iso)"));
}

// Reads the output options from the arguments into options; an error text, or empty. With
// fromProject the options an album project gave stand where the arguments give none.
QString readOptions(const Arguments& args, OutputOptions& options, disc::DiscTarget& discTarget,
                    bool fromProject = false) {
    std::optional<AlbumType> chosen;
    if (fromProject && !args.has(QStringLiteral("type"))) {
        // The project's type, when the tool produces it.
        if (options.albumType && !outputFormat(*options.albumType).toolWord.isEmpty()) {
            chosen = options.albumType;
        }
        if (!chosen) {
            return QStringLiteral("the album project names no album type: give --type");
        }
    } else {
        chosen = albumTypeOfToolWord(args.value(QStringLiteral("type")).toUpper());
        if (!chosen) {
            return QStringLiteral("unknown --type \"%1\"").arg(args.value(QStringLiteral("type")));
        }
        if (options.albumType != chosen || !fromProject) {
            options.beginProduction(*chosen);
        }
    }
    const OutputFormat& format = outputFormat(*chosen);
    // The project's choice, else the default, where the arguments give none.
    const auto given = [&](const char* name, const char* fallback, const char* projectWord) {
        const QString key = QLatin1String(name);
        return args.value(key, QLatin1String(fromProject ? projectWord : fallback)).toLower();
    };
    const QString tv = given("tv", "pal", options.tvSystem == TvSystem::Ntsc ? "ntsc" : "pal");
    if (tv != QLatin1String("pal") && tv != QLatin1String("ntsc")) {
        return QStringLiteral("--tv must be pal or ntsc");
    }
    options.tvSystem = tv == QLatin1String("ntsc") ? TvSystem::Ntsc : TvSystem::Pal;
    const QString quality =
        given("quality", "high", options.quality == PictureQuality::High ? "high" : "standard");
    if (quality != QLatin1String("standard") && quality != QLatin1String("high")) {
        return QStringLiteral("--quality must be standard or high");
    }
    options.quality =
        quality == QLatin1String("high") ? PictureQuality::High : PictureQuality::Standard;
    const QString sync =
        given("sync", "template", options.sync == SyncMode::WithMusic ? "music" : "template");
    if (sync != QLatin1String("template") && sync != QLatin1String("music")) {
        return QStringLiteral("--sync must be template or music");
    }
    options.sync = sync == QLatin1String("music") ? SyncMode::WithMusic : SyncMode::WithTemplate;
    if (args.has(QStringLiteral("codec"))) {
        const QString codec = args.value(QStringLiteral("codec")).toLower();
        if (codec != QLatin1String("h264") && codec != QLatin1String("h265")) {
            return QStringLiteral("--codec must be h264 or h265");
        }
        if (*chosen != AlbumType::Mp4) {
            return QStringLiteral("--codec is for MP4; %1 has its own").arg(format.toolWord);
        }
        options.coding = codec == QLatin1String("h265") ? VideoCoding::H265 : VideoCoding::H264;
    }

    // A disc (or a project's choice of one) has the standard's size under the television system.
    std::optional<QSize> size;
    if (args.has(QStringLiteral("size"))) {
        static const QRegularExpression pattern(QStringLiteral("^(\\d{1,4})x(\\d{1,4})$"));
        const QRegularExpressionMatch m = pattern.match(args.value(QStringLiteral("size")));
        size = m.hasMatch() ? QSize(m.captured(1).toInt(), m.captured(2).toInt()) : QSize();
    }
    if (args.has(QStringLiteral("disc"))) {
        const QString disc = args.value(QStringLiteral("disc")).toLower();
        if (disc != QLatin1String("iso") && disc != QLatin1String("folder")) {
            return QStringLiteral("--disc must be iso or folder");
        }
        if (!format.disc) {
            return QStringLiteral("--disc is for VCD, SVCD and DVD; %1 is made as a file")
                .arg(format.toolWord);
        }
        if (disc == QLatin1String("folder") && *chosen != AlbumType::Dvd) {
            return QStringLiteral(
                       "--disc folder is for DVD; a %1 disc is written as an image "
                       "(--disc iso: PATH.bin and PATH.cue)")
                .arg(format.toolWord);
        }
        discTarget =
            disc == QLatin1String("folder") ? disc::DiscTarget::Folder : disc::DiscTarget::Image;
        options.target = OutputTarget::DiscImage;
    }
    if (options.target == OutputTarget::DiscImage && format.disc && size) {
        const QSize standard = format.disc->frameSize(options.tvSystem);
        if (*size != standard) {
            return QStringLiteral(
                       "--size for a %1 disc (%2) must be the standard's %3x%4, or "
                       "left out")
                .arg(format.toolWord, options.tvSystem == TvSystem::Ntsc ? "NTSC" : "PAL")
                .arg(standard.width())
                .arg(standard.height());
        }
    } else if (size) {
        const qsizetype index = format.sizes.indexOf(*size);
        if (index < 0) {
            QStringList offered;
            for (const QSize s : format.sizes) {
                offered << QStringLiteral("%1x%2").arg(s.width()).arg(s.height());
            }
            return QStringLiteral("--size for %1 must be one of %2")
                .arg(format.toolWord, offered.join(u' '));
        }
        options.chooseSize(static_cast<int>(index));
    }
    if (options.target == OutputTarget::DiscImage) {
        options.chooseDiscImage();
    }
    return {};
}

// The exit status of a command ended by a signal.
int interrupted() {
    std::fputs("\n", stderr);
    printError(QStringLiteral("vellumo-tool: stopped by signal %1").arg(stopSignal()));
    return 128 + stopSignal();
}

void printProgress(const ProductionProgress& p) {
    const int percent = p.totalFrames > 0 ? 100 * p.framesDone / p.totalFrames : 0;
    const QString line = QStringLiteral("\r%1%  %2 frames/s  %3 left  ")
                             .arg(percent, 3)
                             .arg(p.framesPerSecond, 5, 'f', 1)
                             .arg(p.remaining.isEmpty() ? QStringLiteral("--:--:--") : p.remaining);
    std::fputs(line.toLocal8Bit().constData(), stderr);
    std::fflush(stderr);
}

}  // namespace

int runMakeAlbum(const QStringList& words) {
    // --music and --lyrics may come several times; the other options once.
    QStringList rest;
    QStringList music;
    QStringList lyrics;
    for (qsizetype i = 0; i < words.size(); ++i) {
        const bool isMusic = words[i] == QLatin1String("--music");
        if (isMusic || words[i] == QLatin1String("--lyrics")) {
            if (i + 1 >= words.size()) {
                return fail(QStringLiteral("option %1 needs a file").arg(words[i]));
            }
            (isMusic ? music : lyrics) << words[++i];
        } else {
            rest << words[i];
        }
    }
    Arguments args(rest,
                   {"program-folder", "combined", "type", "size", "tv", "quality", "sync", "disc",
                    "codec", "out", "open", "order"},
                   soundSwitches());
    const int combined = args.integer(QStringLiteral("combined"), 0);
    if (!args.ok()) {
        return fail(args.error());
    }
    const std::optional<PhotoOrder> order =
        photoOrderOf(args.value(QStringLiteral("order"), QStringLiteral("added")));
    if (!order) {
        return fail(photoOrderProblem());
    }
    // Photos with a type, or an album project (whose type may stand): one of the two.
    const bool opening = args.has(QStringLiteral("open"));
    if (args.positional().isEmpty() == !opening ||
        (!opening && !args.has(QStringLiteral("type"))) || !args.has(QStringLiteral("out"))) {
        return fail(usage());
    }
    if (args.has(QStringLiteral("program-folder"))) {
        setProgramFolder(args.value(QStringLiteral("program-folder")));
    }
    const QString out = QFileInfo(args.value(QStringLiteral("out"))).absoluteFilePath();
    // A signal ends the command where it can end cleanly: the partial output and the working
    // folder are removed on the way out.
    catchStopSignals();
    removeStaleWorkingFolders();
    const QTemporaryDir working(workingFolderTemplate());
    if (!working.isValid()) {
        return fail(QStringLiteral("cannot create a working folder"));
    }
    try {
        workBelow(working.path());
    } catch (const Error& e) {
        return fail(e.message());
    }

    Catalogue catalogue;
    if (!catalogue.build()) {
        return fail(QStringLiteral("no template packages below %1").arg(programFolder()));
    }
    if (stopSignal() != 0) {
        return interrupted();
    }
    Album album(catalogue);
    if (opening) {
        try {
            openProject(album, args.value(QStringLiteral("open")));
        } catch (const Error& e) {
            return fail(e.message());
        }
    }
    OutputOptions options = album.outputOptions();
    // A disc's menu and volume carry the album's name: the output's, when the album has none.
    if (options.albumName.isEmpty()) {
        options.albumName = QFileInfo(out).completeBaseName();
    }
    disc::DiscTarget discTarget = disc::DiscTarget::Image;
    if (const QString problem = readOptions(args, options, discTarget, opening);
        !problem.isEmpty()) {
        return fail(problem);
    }
    album.setOutputOptions(options);
    silenceFfmpegLog();
    installFontSubstitutions();

    ProductionResult result;
    try {
        if (!opening && !planAlbum(album, args.positional(), combined, *order)) {
            return 1;
        }
        MusicPlayer player;
        player.setSoundOutput(false);
        for (const QString& file : music) {
            if (const QString problem = album.addMusic(file, player); !problem.isEmpty()) {
                return fail(problem);
            }
        }
        for (const QString& file : lyrics) {
            album.addLyrics(QFileInfo(file).absoluteFilePath());
        }
        applySoundSwitches(album, args);
        if (const QString refusal = checkProductionRequest(album); !refusal.isEmpty()) {
            return fail(refusal);
        }
        const QStringList project =
            opening ? QStringList{args.value(QStringLiteral("open"))} : QStringList{};
        for (const QString& file : producedFiles(album.outputOptions(), out, discTarget)) {
            if (const QString refusal = checkOutputFile(album, file, project); !refusal.isEmpty()) {
                return fail(refusal);
            }
        }
        if (stopSignal() != 0) {
            return interrupted();
        }

        ProductionRun run(album);
        run.discTarget = discTarget;
        QElapsedTimer shown;
        shown.start();
        // The last line keeps the speed of the whole conversion.
        ProductionProgress last;
        run.onProgress = [&shown, &last, &run](const ProductionProgress& p) {
            if (stopSignal() != 0) {
                run.stop();
                return;
            }
            if (p.phase != ProductionProgress::Phase::Conversion) {
                return;
            }
            last = p;
            if (shown.elapsed() >= 250) {
                shown.restart();
                printProgress(p);
            }
        };
        result = run.run(out);
        if (result.outcome == ProductionOutcome::Complete) {
            last.framesDone = last.totalFrames = static_cast<int>(run.sequence().totalFrames());
            last.remaining = QStringLiteral("00:00:00");
            printProgress(last);
        }
        std::fputs("\n", stderr);
        for (const QString& notice : result.notices) {
            printError(notice);
        }
    } catch (const Error& e) {
        return fail(e.message());
    }
    if (result.outcome != ProductionOutcome::Complete && stopSignal() != 0) {
        return interrupted();
    }
    if (result.outcome != ProductionOutcome::Complete) {
        return fail(result.error.isEmpty() ? QStringLiteral("stopped") : result.error);
    }
    for (const QString& file : producedFiles(album.outputOptions(), out, discTarget)) {
        printOut(file);
    }
    return 0;
}

}  // namespace vellumo::tool
