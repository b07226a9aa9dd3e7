// vellumo-tool template-sheet: every template of the installed library staged with generated
// sample photos exactly as the preview stages it, and rendered into one contact sheet per
// catalogue entry, so that anyone can look at the whole library.

#include <QDir>
#include <QFileInfo>
#include <QFont>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

#include "album/backgrounds.h"
#include "catalogue/catalogue.h"
#include "movie/movie_parser.h"
#include "movie/movie_pictures.h"
#include "movie/movie_renderer.h"
#include "photo/fitting_canvas.h"
#include "project/album.h"
#include "skin/fonts.h"
#include "skin/skin_texts.h"
#include "timeline/stager.h"
#include "tools/tool_commands.h"
#include "tools/tool_common.h"
#include "tools/tool_texts.h"
#include "workspace/data_paths.h"
#include "workspace/errors.h"
#include "workspace/folders.h"
#include "workspace/packed_file.h"
#include "workspace/program_folder.h"

namespace vellumo::tool {

namespace {

// The preview's stage: the main display.
constexpr QSize kStage(800, 450);

struct Palette {
    QColor skyTop, skyBottom, sun, far, near, accent;
};

// Sky, sun, two ranges of hills and a colour for small things. Landscape photos take the first
// four in turn, portrait photos the next four; the lead-in and the background have their own.
const Palette kPalettes[] = {
    {QColor(0xe0604a), QColor(0xf7c59f), QColor(0xfff0d0), QColor(0x9a5b6b), QColor(0x4a2c3d),
     QColor(0xffd166)},
    {QColor(0x2f6db5), QColor(0xa9d4f5), QColor(0xfff3c4), QColor(0x5d8aa8), QColor(0x2e6b3f),
     QColor(0xf2c14e)},
    {QColor(0x3fa7a3), QColor(0xd8f3dc), QColor(0xffffff), QColor(0x74c69d), QColor(0x2d6a4f),
     QColor(0xff8fab)},
    {QColor(0xd4a373), QColor(0xfefae0), QColor(0xffffff), QColor(0xa98467), QColor(0x6c584c),
     QColor(0x588157)},
    {QColor(0xb56576), QColor(0xeaac8b), QColor(0xfff1e6), QColor(0x6d597a), QColor(0x355070),
     QColor(0xf6bd60)},
    {QColor(0x0b6e99), QColor(0x8fd3fe), QColor(0xfffbe6), QColor(0x0a9396), QColor(0x005f73),
     QColor(0xee9b00)},
    {QColor(0x8e7dbe), QColor(0xf1e3f3), QColor(0xffffff), QColor(0xa6a2d8), QColor(0x5e548e),
     QColor(0xf9c74f)},
    {QColor(0x9c6644), QColor(0xede0d4), QColor(0xfff8ec), QColor(0x7f5539), QColor(0x3d2b1f),
     QColor(0xe6ccb2)},
    // The lead-in: a dusk in greys and blues.
    {QColor(0x1b2a4a), QColor(0x6a5a9c), QColor(0xf4f1de), QColor(0x3d3b6e), QColor(0x16213e),
     QColor(0xe9c46a)},
    // The background: green hills under a pale sky.
    {QColor(0x6a994e), QColor(0xdde5b6), QColor(0xffffff), QColor(0x86a95f), QColor(0x386641),
     QColor(0xf2e8cf)},
};
constexpr int kLeadInPalette = 8;
constexpr int kBackgroundPalette = 9;
constexpr int kPaletteCount = static_cast<int>(std::size(kPalettes));

QPainterPath hills(QSizeF size, double baseline, double amplitude, double waves, double phase) {
    QPainterPath path;
    path.moveTo(0, size.height());
    const int steps = 64;
    for (int i = 0; i <= steps; ++i) {
        const double x = size.width() * i / steps;
        const double t = static_cast<double>(i) / steps;
        const double y = baseline - amplitude * (0.6 * std::sin(t * waves * 6.2832 + phase) +
                                                 0.4 * std::sin(t * waves * 2.7 * 6.2832 + phase));
        path.lineTo(x, y);
    }
    path.lineTo(size.width(), size.height());
    path.closeSubpath();
    return path;
}

// A picture that looks like a photo: a sky, a sun, hills, a few soft lights and, when label is
// not empty, the label large in the middle so that a slot can be told from another.
QImage samplePhoto(QSize size, int palette, int seed, const QString& label, const QString& corner) {
    const Palette& p = kPalettes[palette % kPaletteCount];
    QRandomGenerator random(static_cast<quint32>(seed * 7919 + 17));
    QImage image(size, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const double w = size.width();
    const double h = size.height();
    const double unit = std::min(w, h);

    QLinearGradient sky(0, 0, 0, h * 0.75);
    sky.setColorAt(0, p.skyTop);
    sky.setColorAt(1, p.skyBottom);
    painter.fillRect(image.rect(), sky);

    const QPointF sun(w * (0.2 + 0.6 * random.generateDouble()), h * 0.3);
    QRadialGradient glow(sun, unit * 0.35);
    glow.setColorAt(0, p.sun);
    glow.setColorAt(0.18, p.sun);
    glow.setColorAt(0.2, QColor(p.sun.red(), p.sun.green(), p.sun.blue(), 120));
    glow.setColorAt(1, QColor(p.sun.red(), p.sun.green(), p.sun.blue(), 0));
    painter.setPen(Qt::NoPen);
    painter.setBrush(glow);
    painter.drawEllipse(sun, unit * 0.35, unit * 0.35);

    for (int i = 0; i < 14; ++i) {
        QColor c = p.accent;
        c.setAlpha(40 + static_cast<int>(random.bounded(60)));
        painter.setBrush(c);
        const double r = unit * (0.01 + 0.03 * random.generateDouble());
        painter.drawEllipse(QPointF(w * random.generateDouble(), h * random.generateDouble() * 0.6),
                            r, r);
    }
    painter.setBrush(p.far);
    painter.drawPath(hills(size, h * 0.68, h * 0.07, 0.8, random.generateDouble() * 6));
    QLinearGradient ground(0, h * 0.7, 0, h);
    ground.setColorAt(0, p.near);
    ground.setColorAt(1, p.near.darker(160));
    painter.setBrush(ground);
    painter.drawPath(hills(size, h * 0.82, h * 0.05, 1.1, random.generateDouble() * 6));

    if (!label.isEmpty()) {
        QFont font(texts::kHeiTi);
        font.setBold(true);
        font.setPixelSize(static_cast<int>(unit * 0.42));
        painter.setFont(font);
        const QRectF box(0, 0, w, h);
        painter.setPen(QColor(0, 0, 0, 110));
        painter.drawText(box.translated(unit * 0.012, unit * 0.018), Qt::AlignCenter, label);
        painter.setPen(QColor(255, 255, 255, 235));
        painter.drawText(box, Qt::AlignCenter, label);
    }
    if (!corner.isEmpty()) {
        QFont font(texts::kHeiTi);
        font.setPixelSize(static_cast<int>(unit * 0.06));
        painter.setFont(font);
        painter.setPen(QColor(255, 255, 255, 220));
        painter.drawText(QRectF(unit * 0.04, unit * 0.03, w, h), Qt::AlignLeft | Qt::AlignTop,
                         corner);
    }
    return image;
}

// Sample photos written once and measured as "添加照片" measures them.
class SamplePhotos {
public:
    explicit SamplePhotos(QString folder) : folder_(std::move(folder)) {}

    // Photo n (from 1) of an orientation; landscape photos alternate 3:2 and 4:3, portrait
    // photos 2:3 and 3:4, so that templates meet more than one shape.
    const PhotoRecord& photo(bool landscape, int n) {
        std::vector<PhotoRecord>& list = landscape ? landscape_ : portrait_;
        while (static_cast<int>(list.size()) < n) {
            const int k = static_cast<int>(list.size()) + 1;
            QSize size = k % 2 == 1 ? QSize(1800, 1200) : QSize(1600, 1200);
            if (!landscape) {
                size.transpose();
            }
            const QString name =
                QStringLiteral("%1_%2.jpg")
                    .arg(landscape ? QStringLiteral("heng") : QStringLiteral("shu"))
                    .arg(k);
            list.push_back(write(
                name,
                samplePhoto(size, (landscape ? 0 : 4) + (k - 1) % 4, k, QString::number(k),
                            (landscape ? texts::kSheetLandscapePhoto : texts::kSheetPortraitPhoto)
                                .arg(k))));
        }
        return list[static_cast<size_t>(n - 1)];
    }

    PhotoRecord write(const QString& name, const QImage& image) {
        const QString path = folder_ + name;
        writeJpeg(image, path);
        std::optional<PhotoRecord> record = measurePhoto(path);
        if (!record) {
            throw FileError(path, texts::kSheetPhotoUnreadable);
        }
        return *record;
    }

private:
    QString folder_;
    std::vector<PhotoRecord> landscape_;
    std::vector<PhotoRecord> portrait_;
};

QString classWord(TemplateClass cls) {
    switch (cls) {
        case TemplateClass::Combined:
            return QStringLiteral("gaoji");
        case TemplateClass::LandscapeSingle:
            return QStringLiteral("heng");
        case TemplateClass::PortraitSingle:
            return QStringLiteral("shu");
    }
    return {};
}

QString timeText(int frame) {
    const int seconds = frame / movie::kFramesPerSecond;
    return QStringLiteral("%1:%2.%3")
        .arg(seconds / 60)
        .arg(seconds % 60, 2, 10, QLatin1Char('0'))
        .arg(frame % movie::kFramesPerSecond, 2, 10, QLatin1Char('0'));
}

// Evenly spaced frames from the first to the last.
std::vector<int> sheetFrames(int frames, int count) {
    std::vector<int> chosen;
    const int n = std::min(count, frames);
    for (int i = 0; i < n; ++i) {
        chosen.push_back(n == 1 ? 0 : (frames - 1) * i / (n - 1));
    }
    return chosen;
}

QImage contactSheet(const movie::MovieRenderer& renderer, const std::vector<int>& frames,
                    int columns, const QString& heading) {
    const QSize tile = renderer.size();
    const int header = 44;
    const int label = 26;
    const int gap = 8;
    const int cols = std::max(1, std::min(columns, static_cast<int>(frames.size())));
    const int rows = (static_cast<int>(frames.size()) + cols - 1) / cols;
    QImage sheet(gap + cols * (tile.width() + gap),
                 header + gap + rows * (tile.height() + label + gap), QImage::Format_RGB32);
    sheet.fill(QColor(36, 36, 40));
    QPainter painter(&sheet);
    QFont font(texts::kHeiTi);
    font.setPixelSize(24);
    painter.setFont(font);
    painter.setPen(QColor(240, 240, 240));
    painter.drawText(QRect(gap, 0, sheet.width() - 2 * gap, header),
                     Qt::AlignLeft | Qt::AlignVCenter, heading);
    font.setPixelSize(16);
    painter.setFont(font);
    painter.setPen(QColor(200, 200, 200));
    QImage frame;
    for (size_t i = 0; i < frames.size(); ++i) {
        const int x = gap + static_cast<int>(i) % cols * (tile.width() + gap);
        const int y = header + gap + static_cast<int>(i) / cols * (tile.height() + label + gap);
        renderer.render(frames[i], frame);
        painter.drawImage(x, y, frame);
        painter.drawText(QRect(x, y + tile.height(), tile.width(), label),
                         Qt::AlignLeft | Qt::AlignVCenter,
                         texts::kSheetFrameLabel.arg(frames[i]).arg(timeText(frames[i])));
    }
    return sheet;
}

struct SheetRequest {
    QString out;
    int count = 12;
    int columns = 4;
    QString only;  // a part of the package name, or empty for all
};

// Stages one catalogue entry into a folder laid out as the template staging folder (the movie
// and its pictures in root/wj_y_l/wj_y_l_1/, the lead-in in root/pic/) and renders its sheet.
// Returns the problems found (pictures the movie misses).
QStringList renderEntry(const Catalogue& catalogue, int entryIndex, SamplePhotos& photos,
                        const PhotoRecord& background, const QString& root,
                        const SheetRequest& request, QString* sheetFile) {
    const CatalogueEntry& entry = catalogue.entries().at(entryIndex);
    const CatalogueRecord& record = catalogue.record(entry.catalogueIndex);
    Album album(catalogue, [](int) { return 0; });
    for (int k = 1; k <= entry.landscapeSlots; ++k) {
        album.addPhoto(photos.photo(true, k));
    }
    for (int k = 1; k <= entry.portraitSlots; ++k) {
        album.addPhoto(photos.photo(false, k));
    }
    const int t = album.addTemplate(entry);
    for (int d = 0; d < entry.landscapeSlots + entry.portraitSlots; ++d) {
        if (album.placePhoto(d, t, d) != PlaceResult::Placed) {
            throw Error(QStringLiteral("slot %1 refuses its sample photo").arg(d));
        }
    }
    album.setBackground(t, backgroundFromPhoto(background));

    const QString folder = root + QStringLiteral("wj_y_l/") + paths::templateStagingSubfolder(1);
    removeFolderTree(folder);
    ensureFolder(folder);
    const QString moviePath = folder + paths::stagedTemplateMovie(1);
    writeWholeFile(moviePath, unpackNested(readWholeFile(record.packagePath),
                                           paths::kTemplatePackageDepth, paths::kMovieUnpackLimit));
    Stager stager(album);
    stager.stageBackground(t, kStage, folder);
    stager.stagePictures(t, kStage, LandscapeMode::FullScreen, folder);

    auto movie = std::make_shared<const movie::Movie>(movie::readMovie(moviePath));
    const movie::MoviePictures pictures = movie::readMoviePictures(*movie);
    QStringList problems;
    for (const QString& name : movie->pictures()) {
        if (pictures.value(name).image.isNull()) {
            problems.append(QStringLiteral("picture %1 is missing").arg(name));
        }
    }
    const movie::MovieRenderer renderer(movie, pictures, kStage);
    const QString heading =
        texts::kSheetHeading.arg(entry.catalogueIndex)
            .arg(entry.name, kindText(entry.kind), classText(entry.templateClass))
            .arg(entry.landscapeSlots)
            .arg(entry.portraitSlots)
            .arg(entry.duration)
            .arg(movie->frames)
            .arg(QFileInfo(record.packagePath).fileName());
    const QImage sheet =
        contactSheet(renderer, sheetFrames(movie->frames, request.count), request.columns, heading);
    *sheetFile = QDir(request.out)
                     .filePath(QStringLiteral("%1_%2_%3.png")
                                   .arg(entryIndex, 2, 10, QLatin1Char('0'))
                                   .arg(QFileInfo(record.packagePath).completeBaseName(),
                                        classWord(entry.templateClass)));
    if (!sheet.save(*sheetFile)) {
        throw FileError(*sheetFile, texts::kSheetCannotWrite);
    }
    return problems;
}

}  // namespace

int runTemplateSheet(const QStringList& words) {
    Arguments args(
        words, {QStringLiteral("program-folder"), QStringLiteral("out"), QStringLiteral("count"),
                QStringLiteral("columns"), QStringLiteral("only")});
    SheetRequest request;
    request.count = args.integer(QStringLiteral("count"), 12);
    request.columns = args.integer(QStringLiteral("columns"), 4);
    if (!args.ok()) {
        return fail(args.error());
    }
    if (!args.positional().isEmpty() || !args.has(QStringLiteral("out"))) {
        return fail(
            QStringLiteral("usage: template-sheet [--program-folder DIR] --out DIR "
                           "[--count N] [--columns N] [--only NAME]"));
    }
    if (request.count < 1 || request.columns < 1) {
        return fail(QStringLiteral("--count and --columns need at least 1"));
    }
    request.out = args.value(QStringLiteral("out"));
    request.only = args.value(QStringLiteral("only"));
    if (args.has(QStringLiteral("program-folder"))) {
        setProgramFolder(args.value(QStringLiteral("program-folder")));
    }
    if (!QDir().mkpath(request.out)) {
        return fail(QStringLiteral("cannot create the folder \"%1\"").arg(request.out));
    }
    // The program maps the two classic Chinese font names to the CJK fonts; so does the tool.
    installFontSubstitutions();

    const QTemporaryDir scratch;
    if (!scratch.isValid()) {
        return fail(QStringLiteral("cannot create a scratch folder"));
    }
    const QString root = scratch.path() + u'/';
    workBelow(root + QStringLiteral("working"));
    Catalogue catalogue;
    if (!catalogue.build()) {
        return fail(QStringLiteral("no template packages below %1").arg(programFolder()));
    }
    if (!catalogue.leftOut().isEmpty()) {
        printError(catalogue.leftOutMessage());
    }
    int failures = static_cast<int>(catalogue.leftOut().size());
    try {
        ensureFolder(root + QStringLiteral("photos/"));
        ensureFolder(root + QStringLiteral("pic/"));
        SamplePhotos photos(root + QStringLiteral("photos/"));
        const PhotoRecord background =
            photos.write(QStringLiteral("background.jpg"),
                         samplePhoto(QSize(1920, 1280), kBackgroundPalette, 1, {}, {}));
        // The lead-in: the last frame of what played before, here a photo marked 0.
        writeJpeg(samplePhoto(kStage, kLeadInPalette, 2, QStringLiteral("0"), texts::kSheetLeadIn),
                  root + QStringLiteral("pic/picture_0.jpg"));
        for (int i = 0; i < catalogue.entries().size(); ++i) {
            const CatalogueEntry& entry = catalogue.entries().at(i);
            const QString package =
                QFileInfo(catalogue.record(entry.catalogueIndex).packagePath).completeBaseName();
            if (!request.only.isEmpty() && !package.contains(request.only)) {
                continue;
            }
            QString file;
            try {
                const QStringList problems =
                    renderEntry(catalogue, i, photos, background, root, request, &file);
                printOut(file);
                for (const QString& problem : problems) {
                    printError(QStringLiteral("%1: %2").arg(package, problem));
                    ++failures;
                }
            } catch (const Error& e) {
                printError(QStringLiteral("%1: %2").arg(package, e.message()));
                ++failures;
            }
        }
    } catch (const Error& e) {
        return fail(e.message());
    }
    return failures == 0 ? 0 : 1;
}

}  // namespace vellumo::tool
