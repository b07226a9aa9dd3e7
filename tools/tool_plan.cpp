// vellumo-tool plan: adds photos and places them into templates exactly as Vellumo does, then
// prints the used templates and their slots, so template authors see how photos fall into
// their templates.

#include "album/album.h"
#include "album/album_texts.h"
#include "assignment/assignment_texts.h"
#include "assignment/combined_add.h"
#include "catalogue/catalogue.h"
#include "tools/tool_commands.h"
#include "tools/tool_common.h"
#include "workspace/errors.h"
#include "workspace/program_folder.h"

namespace vellumo::tool {

namespace {

QString placementText(const Placement& p) {
    return QStringLiteral("(%1,%2,%3,%4)").arg(p.left).arg(p.top).arg(p.width).arg(p.height);
}

void printAlbum(const Album& album) {
    const UsedTemplates& templates = album.templates();
    printOut(QStringLiteral("编号\t模板\t类型\t横照片\t竖照片\t时长\t分类\t照片匹配"));
    for (int t = 0; t < templates.size(); ++t) {
        const UsedTemplate& u = templates.at(t);
        printOut(QStringLiteral("%1\t%2\t%3\t%4\t%5\t%6\t%7\t%8")
                     .arg(t + 1)
                     .arg(u.name, kindText(u.kind))
                     .arg(u.landscapeSlots)
                     .arg(u.portraitSlots)
                     .arg(u.duration, classText(u.templateClass),
                          u.complete ? texts::kMatchComplete : texts::kMatchIncomplete));
    }
    printOut(QString());
    printOut(
        QStringLiteral("行号\t模板\tpicture\t横照或竖照\t尺寸\t照片位置行号\t全屏剪裁\t适中剪裁"
                       "\t剪裁标记"));
    for (const PhotoSlot& s : templates.slotTable()) {
        printOut(QStringLiteral("%1\t%2\t%3\t%4\t%5x%6\t%7\t%8\t%9\t%10")
                     .arg(s.templateRow)
                     .arg(s.name, s.pictureName.isEmpty() ? QStringLiteral("-") : s.pictureName,
                          slotOrientationWord(s.orientation))
                     .arg(s.mobanchicun_width)
                     .arg(s.mobanchicun_height)
                     .arg(s.matched ? QString::number(s.photoRow) : QStringLiteral("-"))
                     .arg(placementText(s.fullScreenPlacement()),
                          placementText(s.mediumPlacement()), cropMarkWord(s.cropMark)));
    }
}

}  // namespace

int runPlan(const QStringList& words) {
    Arguments args(words, {QStringLiteral("program-folder"), QStringLiteral("combined")});
    const int combined = args.integer(QStringLiteral("combined"), 0);
    if (!args.ok()) {
        return fail(args.error());
    }
    if (args.positional().isEmpty()) {
        return fail(QStringLiteral("usage: plan [--program-folder DIR] [--combined K] PHOTO..."));
    }
    if (args.has(QStringLiteral("program-folder"))) {
        setProgramFolder(args.value(QStringLiteral("program-folder")));
    }
    Catalogue catalogue;
    if (!catalogue.build()) {
        return fail(QStringLiteral("no template packages below %1").arg(programFolder()));
    }
    Album album(catalogue);
    try {
        if (combined > 0) {
            album.setPlacementMode(PlacementMode::Combined);
            const CombinedTemplate group = readCombinationPackage(combined);
            CombinedAdd add(album, group);
            ChosenPhotos chosen;
            chosen.add(args.positional());
            const QStringList missing = missingPhotoMessages(
                Combination{QString(), group.landscapeTotal(), group.portraitTotal()}, chosen);
            if (!missing.isEmpty()) {
                return fail(missing.join(u' '));
            }
            add.addPhotos(chosen);
            add.firstPass();
            add.repeat();
            for (const QString& file : add.skipped()) {
                printError(texts::kPhotoUnreadable.arg(file));
            }
        } else {
            for (const QString& file : args.positional()) {
                if (std::optional<PhotoRecord> record = measurePhoto(file)) {
                    album.addPhoto(std::move(*record));
                } else {
                    printError(texts::kPhotoUnreadable.arg(file));
                }
            }
            PlacementRun run = album.placementRun();
            run.start();
            if (const int left = run.runToEnd(); left > 0) {
                printError(texts::kPhotosLeftUnplaced.arg(left));
            }
        }
    } catch (const Error& e) {
        return fail(e.message());
    }
    printAlbum(album);
    return 0;
}

}  // namespace vellumo::tool
