// vellumo-tool plan: adds photos and places them into templates exactly as Vellumo does (or
// opens an album project), then prints the used templates and their slots, so template authors
// see how photos fall into their templates; the album may be saved as a project.

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QImage>
#include <QTemporaryDir>

#include "album/album_texts.h"
#include "album/photo_list_texts.h"
#include "assignment/assignment_texts.h"
#include "assignment/combined_add.h"
#include "assignment/photo_adding.h"
#include "assignment/placement.h"
#include "catalogue/catalogue.h"
#include "media/music_player.h"
#include "movie/movie_player.h"
#include "preview/preview_music.h"
#include "preview/preview_timeline.h"
#include "project/album.h"
#include "project/project_file.h"
#include "skin/fonts.h"
#include "timeline/stager.h"
#include "tools/tool_commands.h"
#include "tools/tool_common.h"
#include "tools/tool_texts.h"
#include "workspace/data_paths.h"
#include "workspace/errors.h"
#include "workspace/folders.h"
#include "workspace/leftovers.h"
#include "workspace/program_folder.h"

namespace vellumo::tool {

namespace {

QString placementText(const Placement& p) {
    return QStringLiteral("(%1,%2,%3,%4)").arg(p.left).arg(p.top).arg(p.width).arg(p.height);
}

void printAlbum(const Album& album) {
    const UsedTemplates& templates = album.templates();
    printOut(texts::kToolPlanTemplatesHeading);
    for (int t = 0; t < templates.size(); ++t) {
        const UsedTemplate& used = templates.at(t);
        const TemplateInfo& u = *used.info;
        printOut(QStringLiteral("%1\t%2\t%3\t%4\t%5\t%6\t%7\t%8")
                     .arg(t + 1)
                     .arg(u.name, kindText(u.kind))
                     .arg(u.landscapeSlots)
                     .arg(u.portraitSlots)
                     .arg(u.duration, classText(u.templateClass),
                          used.complete ? texts::kMatchComplete : texts::kMatchIncomplete));
    }
    printOut(QString());
    printOut(texts::kToolPlanSlotsHeading);
    for (const PhotoSlot& s : templates.slotTable()) {
        printOut(QStringLiteral("%1\t%2\t%3\t%4\t%5x%6\t%7\t%8\t%9\t%10")
                     .arg(s.templateRow)
                     .arg(s.info->name,
                          s.pictureName.isEmpty() ? QStringLiteral("-") : s.pictureName,
                          slotOrientationWord(s.orientation))
                     .arg(s.mobanchicun_width)
                     .arg(s.mobanchicun_height)
                     .arg(s.matched ? QString::number(s.photoRow) : QStringLiteral("-"))
                     .arg(placementText(s.fullScreen), placementText(s.medium),
                          cropMarkWord(s.cropMark)));
    }
    // The photo list, so that the slot table's photo rows can be read.
    printOut(QString());
    printOut(texts::kToolPlanPhotosHeading);
    const PhotoList& photos = album.photos();
    for (int row = 0; row < photos.size(); ++row) {
        const PhotoRecord& p = photos.at(row);
        printOut(QStringLiteral("%1\t%2\t%3x%4\t%5")
                     .arg(row)
                     .arg(p.location)
                     .arg(p.width)
                     .arg(p.height)
                     .arg(p.isLandscape() ? texts::kLandscapePhoto : texts::kPortraitPhoto));
    }
}

}  // namespace

namespace {

QSize parseSize(const QString& text) {
    const QStringList parts = text.split(u'x');
    bool okW = false;
    bool okH = false;
    const QSize size(parts.value(0).toInt(&okW), parts.value(1).toInt(&okH));
    return parts.size() == 2 && okW && okH && !size.isEmpty() ? size : QSize();
}

}  // namespace

std::optional<PhotoOrder> photoOrderOf(const QString& word) {
    if (word == QLatin1String("date")) {
        return PhotoOrder::TimeTaken;
    }
    if (word == QLatin1String("name")) {
        return PhotoOrder::Name;
    }
    if (word == QLatin1String("added")) {
        return PhotoOrder::Added;
    }
    return std::nullopt;
}

QString photoOrderProblem() {
    return QStringLiteral("--order must be date, name or added");
}

bool planAlbum(Album& album, const QStringList& photos, int combined, PhotoOrder order) {
    if (combined > 0) {
        album.setPlacementMode(PlacementMode::Combined);
        const CombinedTemplate group = readCombinationPackage(combined);
        CombinedAdd add(album, group);
        ChosenPhotos chosen;
        chosen.add(photos);
        sortPhotos(chosen.photos, order);
        const QStringList missing = missingPhotoMessages(
            Combination{QString(), group.landscapeTotal(), group.portraitTotal()}, chosen);
        if (!missing.isEmpty()) {
            fail(missing.join(u' '));
            return false;
        }
        add.addPhotos(chosen);
        add.firstPass();
        add.repeat();
        for (const QString& file : add.skipped()) {
            printError(texts::kPhotoUnreadable.arg(file));
        }
        if (const QString incomplete = incompletePhotosMessage(chosen.incomplete);
            !incomplete.isEmpty()) {
            printError(incomplete);
        }
        if (const QString unplaced = add.unplacedMessage(); !unplaced.isEmpty()) {
            printError(unplaced);
        }
        return true;
    }
    PhotoAdder adder(album);
    adder.setOrder(order);
    adder.addAll(photos);
    for (const QString& file : adder.leftOut()) {
        printError(texts::kPhotoUnreadable.arg(file));
    }
    if (const QString incomplete = incompletePhotosMessage(adder.incomplete());
        !incomplete.isEmpty()) {
        printError(incomplete);
    }
    if (const int left = adder.placeAll(); left > 0) {
        printError(texts::kPhotosLeftUnplaced.arg(left));
    }
    return true;
}

namespace {

// Stages the album below the working root and returns the play list.
QVector<int> stageAlbum(const Album& album, QSize size) {
    Stager stager(album);
    const QVector<int> playList = stager.prepare(size);
    for (const QString& missing : stager.missingPhotos()) {
        printError(texts::kPhotoUnreadable.arg(missing));
    }
    return playList;
}

struct PlanArguments {
    QStringList photos;
    int combined = 0;
    PhotoOrder order = PhotoOrder::Added;
};

// The options every planning command shares; false after a message when they are wrong.
bool readPlanArguments(Arguments& args, PlanArguments& plan) {
    plan.combined = args.integer(QStringLiteral("combined"), 0);
    if (!args.ok()) {
        fail(args.error());
        return false;
    }
    const std::optional<PhotoOrder> order =
        photoOrderOf(args.value(QStringLiteral("order"), QStringLiteral("added")));
    if (!order) {
        fail(photoOrderProblem());
        return false;
    }
    plan.order = *order;
    plan.photos = args.positional();
    if (args.has(QStringLiteral("program-folder"))) {
        setProgramFolder(args.value(QStringLiteral("program-folder")));
    }
    return true;
}

// The working folders below folder, and the catalogue of the installed templates. False, with
// the reason printed, when either cannot be had.
bool prepareWork(const QString& folder, Catalogue& catalogue) {
    try {
        workBelow(folder);
    } catch (const Error& e) {
        fail(e.message());
        return false;
    }
    if (!catalogue.build()) {
        fail(QStringLiteral("no template packages below %1").arg(programFolder()));
        return false;
    }
    return true;
}

}  // namespace

ProjectSettings openProject(Album& album, const QString& path) {
    ProjectLoad load = readProject(path, album.catalogue());
    load.unconvertedMusic = load.album.music.remakeMissingCopies();
    album.restore(load.album);
    if (const QString report = load.report(); !report.isEmpty()) {
        printError(report);
    }
    return load.settings;
}

int runPlan(const QStringList& words) {
    Arguments args(words,
                   {QStringLiteral("program-folder"), QStringLiteral("combined"),
                    QStringLiteral("stage"), QStringLiteral("size"), QStringLiteral("save"),
                    QStringLiteral("open"), QStringLiteral("order")},
                   soundSwitches());
    PlanArguments plan;
    if (!readPlanArguments(args, plan)) {
        return 1;
    }
    const QSize size = parseSize(args.value(QStringLiteral("size"), QStringLiteral("800x450")));
    // Photos to plan, or a project to open: one of the two.
    const bool opening = args.has(QStringLiteral("open"));
    if (plan.photos.isEmpty() == !opening || size.isEmpty()) {
        return fail(QStringLiteral(
            "usage: plan [--program-folder DIR] [--combined K] [--order date|name|added] "
            "[--stage DIR [--size WxH]] [--save FILE] [SOUND...] PHOTO... | plan --open FILE "
            "[--stage DIR [--size WxH]] [--save FILE] [SOUND...]\nSOUND: --karaoke --subtitles "
            "--crossfade --no-level"));
    }
    removeStaleWorkingFolders();
    const QTemporaryDir scratch(workingFolderTemplate());
    Catalogue catalogue;
    if (!prepareWork(args.has(QStringLiteral("stage")) ? args.value(QStringLiteral("stage"))
                                                       : scratch.path(),
                     catalogue)) {
        return 1;
    }
    Album album(catalogue);
    // The tool keeps no settings of its own: an opened project keeps its own.
    ProjectSettings settings;
    try {
        if (opening) {
            settings = openProject(album, args.value(QStringLiteral("open")));
        } else if (!planAlbum(album, plan.photos, plan.combined, plan.order)) {
            return 1;
        }
        if (!opening && album.photos().size() == 0) {
            return fail(texts::kNoPhotos);  // No photo could be read.
        }
        applySoundSwitches(album, args);
        printAlbum(album);
        if (args.has(QStringLiteral("save"))) {
            saveProject(album, settings,
                        QFileInfo(args.value(QStringLiteral("save"))).absoluteFilePath());
        }
        if (args.has(QStringLiteral("stage"))) {
            const QVector<int> playList = stageAlbum(album, size);
            printOut(QStringLiteral("staged %1 templates in %2")
                         .arg(playList.size())
                         .arg(workingPath(paths::kTemplateStagingFolder)));
        }
    } catch (const Error& e) {
        return fail(e.message());
    }
    return 0;
}

int runPreview(const QStringList& words) {
    Arguments args(words,
                   {QStringLiteral("program-folder"), QStringLiteral("combined"),
                    QStringLiteral("out"), QStringLiteral("every"), QStringLiteral("music"),
                    QStringLiteral("lyrics"), QStringLiteral("order")},
                   soundSwitches());
    PlanArguments plan;
    if (!readPlanArguments(args, plan)) {
        return 1;
    }
    const int every = args.integer(QStringLiteral("every"), 25);
    if (!args.ok()) {
        return fail(args.error());
    }
    const QString out = args.value(QStringLiteral("out"));
    if (plan.photos.isEmpty() || out.isEmpty() || every < 1) {
        return fail(QStringLiteral(
            "usage: preview [--program-folder DIR] [--combined K] --out DIR [--every N] "
            "[--music FILE [--lyrics FILE]] [--karaoke] [--subtitles] [--crossfade] [--no-level] "
            "PHOTO..."));
    }
    Catalogue catalogue;
    if (!prepareWork(out + QStringLiteral("/program"), catalogue)) {
        return 1;
    }
    Album album(catalogue);
    try {
        if (!planAlbum(album, plan.photos, plan.combined, plan.order)) {
            return 1;
        }
        // The music plays on a clock of album time, 40 ms a frame; its lyric line is drawn on.
        installFontSubstitutions();
        qint64 albumTimeMs = 0;
        MusicPlayer player;
        player.setSoundOutput(false);
        player.setClock([&albumTimeMs] { return albumTimeMs; });
        if (args.has(QStringLiteral("music"))) {
            const QString problem = album.addMusic(args.value(QStringLiteral("music")), player);
            if (!problem.isEmpty()) {
                return fail(problem);
            }
        }
        if (args.has(QStringLiteral("lyrics"))) {
            album.addLyrics(args.value(QStringLiteral("lyrics")));
        }
        applySoundSwitches(album, args);
        PreviewMusic music(album, player);
        const QVector<int> playList = stageAlbum(album, QSize(800, 450));
        MoviePlayer stage;
        stage.setSize(QSize(800, 450));
        PreviewTimeline timeline(album, stage);
        if (!timeline.start(playList, SyncMode::WithTemplate)) {
            return fail(timeline.problems().join(u' '));
        }
        music.start(SyncMode::WithTemplate);
        int written = 0;
        while (timeline.step()) {
            const qint64 n = timeline.totalFrameCounter();
            albumTimeMs = n * 40;
            music.tick();
            if ((n - 1) % every == 0) {
                QString clock = timeline.currentTime();
                clock.replace(u':', u'-');
                const QString file = QStringLiteral("%1/frame_%2_%3.png")
                                         .arg(out)
                                         .arg(n - 1, 6, 10, QLatin1Char('0'))
                                         .arg(clock);
                QImage frame = timeline.frame();
                drawLyricLine(frame, music.lyricLine());
                frame.save(file);
                ++written;
            }
        }
        for (const QString& problem : timeline.problems() + music.takeMessages()) {
            printError(problem);
        }
        printOut(QStringLiteral("%1 frames shown, %2 written to %3")
                     .arg(timeline.totalFrameCounter())
                     .arg(written)
                     .arg(out));
    } catch (const Error& e) {
        return fail(e.message());
    }
    return 0;
}

}  // namespace vellumo::tool
