#include "project/project_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <QSet>

#include <algorithm>
#include <limits>
#include <optional>
#include <utility>

#include <unistd.h>

#include "album/output_formats.h"
#include "photo/photo_loader.h"
#include "project/project_texts.h"
#include "workspace/errors.h"

namespace vellumo {

namespace {

const QString kFormatName = QStringLiteral("vellumo-album");

// Thrown inside the reader for anything that does not fit the format; one message outside.
struct Damaged {};

template <class Enum>
using WordTable = std::initializer_list<std::pair<Enum, const char*>>;

template <class Enum>
QString wordOf(WordTable<Enum> table, Enum value) {
    for (const auto& [e, word] : table) {
        if (e == value) {
            return QString::fromLatin1(word);
        }
    }
    return {};
}

template <class Enum>
Enum enumOf(WordTable<Enum> table, const QString& word) {
    for (const auto& [e, w] : table) {
        if (word == QLatin1String(w)) {
            return e;
        }
    }
    throw Damaged{};
}

const WordTable<TemplateKind> kKinds{{TemplateKind::Advanced, "advanced"},
                                     {TemplateKind::Single, "single"}};
const WordTable<TemplateClass> kClasses{{TemplateClass::Combined, "combined"},
                                        {TemplateClass::LandscapeSingle, "landscape"},
                                        {TemplateClass::PortraitSingle, "portrait"}};
const WordTable<SlotOrientation> kOrientations{{SlotOrientation::Landscape, "landscape"},
                                               {SlotOrientation::Portrait, "portrait"}};
const WordTable<CropMark> kCropMarks{
    {CropMark::None, "none"}, {CropMark::FullScreen, "full-screen"}, {CropMark::Medium, "medium"}};
const WordTable<LyricPosition> kLyricPositions{{LyricPosition::Default, "default"},
                                               {LyricPosition::Custom, "custom"}};
const WordTable<LyricStyle> kLyricStyles{{LyricStyle::Regular, "regular"},
                                         {LyricStyle::Bold, "bold"},
                                         {LyricStyle::Italic, "italic"},
                                         {LyricStyle::BoldItalic, "bold-italic"}};
const WordTable<LyricScript> kLyricScripts{{LyricScript::Simplified, "simplified"},
                                           {LyricScript::Traditional, "traditional"},
                                           {LyricScript::Other, "other"}};
const WordTable<TvSystem> kTvSystems{{TvSystem::Pal, "PAL"}, {TvSystem::Ntsc, "NTSC"}};
const WordTable<PictureQuality> kQualities{{PictureQuality::Standard, "standard"},
                                           {PictureQuality::High, "high"}};
const WordTable<OutputTarget> kTargets{{OutputTarget::File, "file"},
                                       {OutputTarget::DiscImage, "disc-image"}};
const WordTable<VideoCoding> kCodings{{VideoCoding::H264, "h264"}, {VideoCoding::H265, "h265"}};
const WordTable<SyncMode> kSyncModes{{SyncMode::WithTemplate, "template"},
                                     {SyncMode::WithMusic, "music"}};
const WordTable<PlacementMode> kPlacementModes{{PlacementMode::Random, "random"},
                                               {PlacementMode::Combined, "combined"}};
const WordTable<PhotoFit> kFits{{PhotoFit::Medium, "medium"},
                                {PhotoFit::FullScreen, "full-screen"}};
const WordTable<TemplateCombination> kCombinations{{TemplateCombination::Use, "use"},
                                                   {TemplateCombination::DoNotUse, "do-not-use"}};

// The name a template is known by across libraries: its package's file name.
QString packageName(const CatalogueRecord& record) {
    return record.packagePath.isEmpty() ? record.name : QFileInfo(record.packagePath).fileName();
}

// ---- writing ----

class Writer {
public:
    explicit Writer(const QString& projectPath)
        : base_(projectPath.isEmpty() ? std::optional<QDir>()
                                      : QFileInfo(projectPath).absoluteDir()) {}

    // A file's place: "path" absolute and, beside a project, "relative" to its folder.
    void putPath(QJsonObject& o, const QString& location) const {
        if (location.isEmpty()) {
            o.insert(QStringLiteral("path"), QString());
            return;
        }
        const QString absolute = QFileInfo(location).absoluteFilePath();
        o.insert(QStringLiteral("path"), absolute);
        if (base_) {
            o.insert(QStringLiteral("relative"), base_->relativeFilePath(absolute));
        }
    }

private:
    std::optional<QDir> base_;
};

QJsonArray placementArray(const Placement& p) {
    return QJsonArray{p.left, p.top, p.width, p.height};
}

QJsonObject lyricSettingsObject(const LyricSettings& s) {
    return QJsonObject{
        {QStringLiteral("position"), wordOf(kLyricPositions, s.position)},
        {QStringLiteral("defaultTop"), s.defaultTop},
        {QStringLiteral("customLeft"), s.customLeft},
        {QStringLiteral("customTop"), s.customTop},
        {QStringLiteral("font"), s.font},
        {QStringLiteral("style"), wordOf(kLyricStyles, s.style)},
        {QStringLiteral("size"), s.size},
        {QStringLiteral("customCentred"), s.customCentred},
        {QStringLiteral("colourName"), s.colourName},
        {QStringLiteral("colourNumber"), static_cast<qint64>(s.colourNumber)},
        {QStringLiteral("script"), wordOf(kLyricScripts, s.script)},
        {QStringLiteral("karaoke"), s.karaoke},
        {QStringLiteral("subtitles"), s.asSubtitles},
        {QStringLiteral("sungColourName"), s.sungColourName},
        {QStringLiteral("sungColourNumber"), static_cast<qint64>(s.sungColourNumber)}};
}

QJsonObject projectObject(const Album& album, const ProjectSettings& settings,
                          const QString& projectPath) {
    const Writer writer(projectPath);
    QJsonArray photos;
    for (const PhotoRecord& p : album.photos().records()) {
        QJsonObject o{{QStringLiteral("name"), p.name},
                      {QStringLiteral("format"), p.format},
                      {QStringLiteral("width"), p.width},
                      {QStringLiteral("height"), p.height},
                      {QStringLiteral("inTemplate"), p.inTemplate}};
        writer.putPath(o, p.location);
        photos.append(o);
    }

    const Catalogue& catalogue = album.catalogue();
    QJsonArray templates;
    for (const UsedTemplate& used : album.templates().templates()) {
        const TemplateInfo& info = *used.info;
        const bool known = info.catalogueIndex >= 0 &&
                           info.catalogueIndex < static_cast<int>(catalogue.records().size());
        templates.append(
            QJsonObject{{QStringLiteral("package"),
                         known ? packageName(catalogue.record(info.catalogueIndex)) : info.name},
                        {QStringLiteral("name"), info.name},
                        {QStringLiteral("kind"), wordOf(kKinds, info.kind)},
                        {QStringLiteral("class"), wordOf(kClasses, info.templateClass)},
                        {QStringLiteral("complete"), used.complete}});
    }

    QJsonArray slotList;
    for (const PhotoSlot& s : album.templates().slotTable()) {
        slotList.append(
            QJsonObject{{QStringLiteral("template"), s.templateRow},
                        {QStringLiteral("orientation"), wordOf(kOrientations, s.orientation)},
                        {QStringLiteral("picture"), s.pictureName},
                        {QStringLiteral("index"), s.slotIndex},
                        {QStringLiteral("matched"), s.matched},
                        {QStringLiteral("photo"), s.photoRow},
                        {QStringLiteral("width"), s.mobanchicun_width},
                        {QStringLiteral("height"), s.mobanchicun_height},
                        {QStringLiteral("fullScreen"), placementArray(s.fullScreen)},
                        {QStringLiteral("cropMark"), wordOf(kCropMarks, s.cropMark)},
                        {QStringLiteral("medium"), placementArray(s.medium)}});
    }

    QJsonArray backgrounds;
    for (const BackgroundRow& b : album.backgrounds().rows()) {
        QJsonObject o{{QStringLiteral("picture"), b.pictureName},
                      {QStringLiteral("format"), b.format},
                      {QStringLiteral("width"), b.width},
                      {QStringLiteral("height"), b.height}};
        writer.putPath(o, b.location);
        backgrounds.append(o);
    }
    QJsonArray landscapeList;
    for (const BackgroundCandidate& c : album.backgrounds().landscapeList()) {
        landscapeList.append(c.photoRow);
    }

    QJsonArray music;
    for (const MusicRecord& m : album.music().records()) {
        QJsonObject o{{QStringLiteral("name"), m.name},
                      {QStringLiteral("format"), m.format},
                      {QStringLiteral("duration"), m.duration},
                      {QStringLiteral("converted"), m.isConverted()}};
        if (m.loudness) {
            o.insert(QStringLiteral("loudness"),
                     QJsonObject{{QStringLiteral("integrated"), m.loudness->integratedLufs},
                                 {QStringLiteral("truePeak"), m.loudness->truePeakDbtp}});
        }
        writer.putPath(o, m.location);
        music.append(o);
    }
    QJsonArray lyrics;
    for (const LyricFileRecord& l : album.lyrics().records()) {
        QJsonObject o{{QStringLiteral("name"), l.name},
                      {QStringLiteral("format"), l.format},
                      {QStringLiteral("settings"), lyricSettingsObject(l.settings)}};
        writer.putPath(o, l.location);
        lyrics.append(o);
    }

    const OutputOptions& out = album.outputOptions();
    QJsonObject output{
        {QStringLiteral("type"),
         out.albumType ? QJsonValue(outputFormat(*out.albumType).projectWord) : QJsonValue()},
        {QStringLiteral("sizeIndex"), out.sizeIndex},
        {QStringLiteral("width"), out.outputSize.width()},
        {QStringLiteral("height"), out.outputSize.height()},
        {QStringLiteral("name"), out.albumName},
        {QStringLiteral("folder"), out.saveFolder},
        {QStringLiteral("tv"), wordOf(kTvSystems, out.tvSystem)},
        {QStringLiteral("quality"), wordOf(kQualities, out.quality)},
        {QStringLiteral("sync"), wordOf(kSyncModes, out.sync)},
        {QStringLiteral("levelMusic"), out.levelMusic},
        {QStringLiteral("crossfadeSongs"), out.crossfadeSongs}};
    // Only a disc image is written down: a file is what projects without the key mean.
    if (out.target != OutputTarget::File) {
        output.insert(QStringLiteral("target"), wordOf(kTargets, out.target));
    }
    // Likewise only H.265: projects without the key made H.264.
    if (out.coding != VideoCoding::H264) {
        output.insert(QStringLiteral("coding"), wordOf(kCodings, out.coding));
    }

    const WrapCursors& cursors = album.wrapCursors();
    const QJsonObject placement{
        {QStringLiteral("mode"), wordOf(kPlacementModes, album.placementMode())},
        {QStringLiteral("landscapeCursor"), cursors.landscape},
        {QStringLiteral("portraitCursor"), cursors.portrait}};
    const QJsonObject systemSettings{
        {QStringLiteral("landscapeImportCrop"), wordOf(kFits, settings.landscapeImportCrop)},
        {QStringLiteral("landscapeDisplay"), wordOf(kFits, settings.landscapeDisplay)},
        {QStringLiteral("templateCombination"),
         wordOf(kCombinations, settings.templateCombination)}};

    return QJsonObject{{QStringLiteral("format"), kFormatName},
                       {QStringLiteral("version"), kProjectFormatVersion},
                       {QStringLiteral("photos"), photos},
                       {QStringLiteral("templates"), templates},
                       {QStringLiteral("slots"), slotList},
                       {QStringLiteral("backgrounds"), backgrounds},
                       {QStringLiteral("landscapeList"), landscapeList},
                       {QStringLiteral("music"), music},
                       {QStringLiteral("lyrics"), lyrics},
                       {QStringLiteral("output"), output},
                       {QStringLiteral("placement"), placement},
                       {QStringLiteral("settings"), systemSettings}};
}

// ---- reading ----

QJsonValue member(const QJsonObject& o, const QString& key) {
    const QJsonValue v = o.value(key);
    if (v.isUndefined()) {
        throw Damaged{};
    }
    return v;
}

QString text(const QJsonObject& o, const QString& key) {
    const QJsonValue v = member(o, key);
    if (!v.isString()) {
        throw Damaged{};
    }
    return v.toString();
}

qint64 wholeNumber(const QJsonValue& v, qint64 low, qint64 high) {
    if (!v.isDouble()) {
        throw Damaged{};
    }
    const double d = v.toDouble();
    if (d < static_cast<double>(low) || d > static_cast<double>(high) ||
        d != static_cast<double>(static_cast<qint64>(d))) {
        throw Damaged{};
    }
    return static_cast<qint64>(d);
}

int number(const QJsonObject& o, const QString& key, int low = -1000000, int high = 1000000) {
    return static_cast<int>(wholeNumber(member(o, key), low, high));
}

bool flag(const QJsonObject& o, const QString& key) {
    const QJsonValue v = member(o, key);
    if (!v.isBool()) {
        throw Damaged{};
    }
    return v.toBool();
}

// A flag that older files do not have: false when it is missing.
bool optionalFlag(const QJsonObject& o, const QString& key) {
    const QJsonValue v = o.value(key);
    if (v.isUndefined()) {
        return false;
    }
    if (!v.isBool()) {
        throw Damaged{};
    }
    return v.toBool();
}

QJsonObject object(const QJsonObject& o, const QString& key) {
    const QJsonValue v = member(o, key);
    if (!v.isObject()) {
        throw Damaged{};
    }
    return v.toObject();
}

QJsonArray array(const QJsonObject& o, const QString& key) {
    const QJsonValue v = member(o, key);
    if (!v.isArray()) {
        throw Damaged{};
    }
    return v.toArray();
}

QJsonObject objectAt(const QJsonValue& v) {
    if (!v.isObject()) {
        throw Damaged{};
    }
    return v.toObject();
}

template <class Enum>
Enum choice(const QJsonObject& o, const QString& key, WordTable<Enum> table) {
    return enumOf(table, text(o, key));
}

Placement placement(const QJsonObject& o, const QString& key) {
    const QJsonArray a = array(o, key);
    if (a.size() != 4) {
        throw Damaged{};
    }
    const auto at = [&a](int i) { return static_cast<int>(wholeNumber(a[i], -1000000, 1000000)); };
    return Placement{at(0), at(1), at(2), at(3)};
}

// A song's measured loudness; none in older files.
std::optional<Loudness> loudnessOf(const QJsonObject& o) {
    if (!o.contains(QStringLiteral("loudness"))) {
        return std::nullopt;
    }
    const QJsonObject l = object(o, QStringLiteral("loudness"));
    const QJsonValue integrated = member(l, QStringLiteral("integrated"));
    const QJsonValue peak = member(l, QStringLiteral("truePeak"));
    if (!integrated.isDouble() || !peak.isDouble()) {
        throw Damaged{};
    }
    Loudness loudness{integrated.toDouble(), peak.toDouble()};
    if (!(loudness.integratedLufs >= kSilentLufs && loudness.integratedLufs <= 30) ||
        !(loudness.truePeakDbtp >= kSilentDbtp && loudness.truePeakDbtp <= 30)) {
        throw Damaged{};
    }
    return loudness;
}

LyricSettings lyricSettings(const QJsonObject& o) {
    LyricSettings s;
    s.position = choice(o, QStringLiteral("position"), kLyricPositions);
    s.defaultTop = number(o, QStringLiteral("defaultTop"));
    s.customLeft = number(o, QStringLiteral("customLeft"));
    s.customTop = number(o, QStringLiteral("customTop"));
    s.font = text(o, QStringLiteral("font"));
    s.style = choice(o, QStringLiteral("style"), kLyricStyles);
    s.size = number(o, QStringLiteral("size"), 1, 200);
    s.customCentred = flag(o, QStringLiteral("customCentred"));
    s.colourName = text(o, QStringLiteral("colourName"));
    s.colourNumber =
        static_cast<quint32>(wholeNumber(member(o, QStringLiteral("colourNumber")), 0, 0xFFFFFF));
    s.script = choice(o, QStringLiteral("script"), kLyricScripts);
    // Older files have no karaoke fill: it stays off in its default colour.
    s.karaoke = optionalFlag(o, QStringLiteral("karaoke"));
    s.asSubtitles = optionalFlag(o, QStringLiteral("subtitles"));
    if (o.contains(QStringLiteral("sungColourName"))) {
        s.sungColourName = text(o, QStringLiteral("sungColourName"));
        s.sungColourNumber = static_cast<quint32>(
            wholeNumber(member(o, QStringLiteral("sungColourNumber")), 0, 0xFFFFFF));
    }
    return s;
}

// Where a saved file is now: its absolute path, else its path relative to the project's folder.
// A path holding something that is not a file (a folder, a device) is told apart from one
// holding nothing.
struct Found {
    enum class State { File, NotAFile, Gone };
    State state = State::Gone;
    QString path;  // the file, when there is one

    bool isFile() const { return state == State::File; }
};

class Resolver {
public:
    explicit Resolver(const QString& projectPath) : base_(QFileInfo(projectPath).absoluteDir()) {}

    // The file as saved, for messages.
    static QString savedPath(const QJsonObject& o) { return text(o, QStringLiteral("path")); }

    Found find(const QJsonObject& o) const {
        QStringList candidates;
        if (const QString absolute = savedPath(o); !absolute.isEmpty()) {
            candidates << absolute;
        }
        const QJsonValue relative = o.value(QStringLiteral("relative"));
        if (relative.isString() && !relative.toString().isEmpty()) {
            candidates << QDir::cleanPath(base_.absoluteFilePath(relative.toString()));
        }
        Found found;
        for (const QString& candidate : candidates) {
            // isFile() is true of regular files only: never a folder, a device or a pipe.
            const QFileInfo info(candidate);
            if (info.isFile()) {
                return Found{Found::State::File, candidate};
            }
            if (info.exists()) {
                found.state = Found::State::NotAFile;
            }
        }
        return found;
    }

private:
    QDir base_;
};

// The upright size of a photo file now; an invalid size when it holds no picture.
QSize uprightSizeNow(const QString& path) {
    if (const std::optional<JpegHeader> header = readJpegHeader(path)) {
        const QSize upright = header->uprightSize();
        if (!upright.isEmpty()) {
            return upright;
        }
    }
    if (const std::optional<PhotoRecord> measured = measurePhoto(path)) {
        return QSize(measured->width, measured->height);
    }
    return {};
}

void addOnce(QStringList& list, const QString& item) {
    if (!list.contains(item)) {
        list.append(item);
    }
}

// The catalogue entry a saved template refers to: same package, same class (a template may
// stand in more than one class list); nothing when it is not installed.
std::optional<CatalogueEntry> installedEntry(const Catalogue& catalogue, const QString& package,
                                             TemplateClass cls) {
    for (const CatalogueEntry& entry : catalogue.entries()) {
        if (entry.templateClass == cls && entry.catalogueIndex >= 0 &&
            entry.catalogueIndex < static_cast<int>(catalogue.records().size()) &&
            packageName(catalogue.record(entry.catalogueIndex)) == package) {
            return entry;
        }
    }
    return std::nullopt;
}

ProjectLoad readProjectObject(const QJsonObject& root, const QString& path,
                              const Catalogue& catalogue) {
    const Resolver resolver(path);
    ProjectLoad load;
    Album::Snapshot& snap = load.album;

    // Photos: found, gone or not a photo (kept as they were, left out of what is shown until
    // their file is back), or turned (out of their slots).
    const QJsonArray photoArray = array(root, QStringLiteral("photos"));
    QVector<bool> turned;
    for (const QJsonValue& v : photoArray) {
        const QJsonObject o = objectAt(v);
        PhotoRecord p;
        p.name = text(o, QStringLiteral("name"));
        p.format = text(o, QStringLiteral("format"));
        p.width = number(o, QStringLiteral("width"), 0);
        p.height = number(o, QStringLiteral("height"), 0);
        p.inTemplate = flag(o, QStringLiteral("inTemplate"));
        p.location = Resolver::savedPath(o);
        bool isTurned = false;
        const Found found = resolver.find(o);
        const QSize now = found.isFile() ? uprightSizeNow(found.path) : QSize();
        if (found.state == Found::State::Gone) {
            addOnce(load.missingKept, p.location);
        } else if (now.isEmpty()) {
            addOnce(load.unusableFiles, p.location);
        } else {
            p.location = found.path;
            const bool wasLandscape = p.isLandscape();
            if ((now.width() >= now.height()) != wasLandscape) {
                isTurned = true;
                p.width = now.width();
                p.height = now.height();
                p.inTemplate = false;
                addOnce(load.turnedPhotos, p.location);
            }
        }
        turned.append(isTurned);
        snap.photos.append(p);
    }

    // Templates, by package; a template not installed (or now with other slots) is left out.
    const QJsonArray templateArray = array(root, QStringLiteral("templates"));
    const QJsonArray slotArray = array(root, QStringLiteral("slots"));
    QVector<int> slotCounts(templateArray.size(), 0);
    QSet<std::pair<int, int>> slotKeys;
    for (const QJsonValue& v : slotArray) {
        const QJsonObject o = objectAt(v);
        const int t =
            number(o, QStringLiteral("template"), 0, static_cast<int>(templateArray.size()) - 1);
        // A slot twice over is damage, not a template that has changed.
        const std::pair<int, int> key{t, number(o, QStringLiteral("index"), 0)};
        if (slotKeys.contains(key)) {
            throw Damaged{};
        }
        slotKeys.insert(key);
        ++slotCounts[t];
    }
    QVector<int> newRow(templateArray.size(), -1);
    for (qsizetype t = 0; t < templateArray.size(); ++t) {
        const QJsonObject o = objectAt(templateArray[t]);
        const QString package = text(o, QStringLiteral("package"));
        const QString name = text(o, QStringLiteral("name"));
        const TemplateClass cls = choice(o, QStringLiteral("class"), kClasses);
        choice(o, QStringLiteral("kind"), kKinds);
        const bool complete = flag(o, QStringLiteral("complete"));
        const std::optional<CatalogueEntry> entry = installedEntry(catalogue, package, cls);
        if (!entry || entry->landscapeSlots + entry->portraitSlots != slotCounts[t]) {
            addOnce(load.missingTemplates, name);
            continue;
        }
        newRow[t] = static_cast<int>(snap.templates.size());
        snap.templates.append(UsedTemplate{TemplateRef(*entry), complete});
    }

    QVector<int> outOfDroppedSlots;  // photos that were in the slots of templates left out
    for (const QJsonValue& v : slotArray) {
        const QJsonObject o = objectAt(v);
        const int savedTemplate = number(o, QStringLiteral("template"));
        const int t = newRow[savedTemplate];
        PhotoSlot s;
        s.orientation = choice(o, QStringLiteral("orientation"), kOrientations);
        s.pictureName = text(o, QStringLiteral("picture"));
        s.slotIndex = number(o, QStringLiteral("index"), 0);
        s.matched = flag(o, QStringLiteral("matched"));
        s.photoRow = number(o, QStringLiteral("photo"), -1);
        s.mobanchicun_width = number(o, QStringLiteral("width"), 0);
        s.mobanchicun_height = number(o, QStringLiteral("height"), 0);
        s.fullScreen = placement(o, QStringLiteral("fullScreen"));
        s.cropMark = choice(o, QStringLiteral("cropMark"), kCropMarks);
        s.medium = placement(o, QStringLiteral("medium"));
        if (s.matched != (s.photoRow >= 0) || s.photoRow >= snap.photos.size()) {
            throw Damaged{};
        }
        if (t < 0) {
            if (s.matched) {
                outOfDroppedSlots.append(s.photoRow);
            }
            continue;
        }
        s.templateRow = t;
        s.info = snap.templates[t].info;
        if (s.matched) {
            s.photoPath = snap.photos.at(s.photoRow).location;
            if (turned[s.photoRow]) {
                // The photo no longer fits the slot: the slot is emptied as a deletion does.
                s.matched = false;
                s.photoRow = -1;
                s.photoPath.clear();
                s.fullScreen = {};
                s.medium = {};
                s.cropMark = CropMark::None;
                snap.templates[t].complete = false;
            }
        }
        snap.slotTable.append(s);
    }
    // The in-template mark follows the slots: a photo that only a left-out template held waits
    // for placement again.
    for (const int row : outOfDroppedSlots) {
        const bool held = std::any_of(
            snap.slotTable.cbegin(), snap.slotTable.cend(),
            [row](const PhotoSlot& slot) { return slot.matched && slot.photoRow == row; });
        if (!held) {
            snap.photos.setInTemplate(row, false);
        }
    }

    // Background rows, one per saved template.
    const QJsonArray backgroundArray = array(root, QStringLiteral("backgrounds"));
    if (backgroundArray.size() != templateArray.size()) {
        throw Damaged{};
    }
    for (qsizetype t = 0; t < backgroundArray.size(); ++t) {
        const QJsonObject o = objectAt(backgroundArray[t]);
        BackgroundRow b;
        b.pictureName = text(o, QStringLiteral("picture"));
        b.format = text(o, QStringLiteral("format"));
        b.width = number(o, QStringLiteral("width"), 0);
        b.height = number(o, QStringLiteral("height"), 0);
        b.location = Resolver::savedPath(o);
        if (newRow[t] < 0) {
            continue;
        }
        // A picture not there stays the row's choice (staged black until it is back).
        if (b.hasPicture()) {
            if (const Found found = resolver.find(o); found.isFile()) {
                b.location = found.path;
            } else {
                addOnce(found.state == Found::State::Gone ? load.missingKept : load.unusableFiles,
                        b.location);
            }
        }
        snap.backgroundRows.append(b);
    }
    for (const QJsonValue& v : array(root, QStringLiteral("landscapeList"))) {
        const int row = static_cast<int>(wholeNumber(v, 0, snap.photos.size() - 1));
        snap.landscapeList.append(BackgroundCandidate{row, snap.photos.at(row)});
    }

    // Music and lyric files pair by row, so rows never shift: a song that is gone takes its
    // lyric row with it; a lyric file that is gone stays (its song shows no lyrics until the
    // file is back).
    QSet<int> goneMusic;
    const QJsonArray musicArray = array(root, QStringLiteral("music"));
    for (qsizetype i = 0; i < musicArray.size(); ++i) {
        const QJsonObject o = objectAt(musicArray[i]);
        MusicRecord m;
        m.name = text(o, QStringLiteral("name"));
        m.format = text(o, QStringLiteral("format"));
        m.duration = text(o, QStringLiteral("duration"));
        m.location = Resolver::savedPath(o);
        const bool converted = optionalFlag(o, QStringLiteral("converted"));
        m.loudness = loudnessOf(o);
        if (const Found found = resolver.find(o); found.isFile()) {
            m.location = found.path;
            if (converted) {
                m.copy = convertedMusicPath(m.location);
            }
            snap.music.append(m);
        } else {
            addOnce(found.state == Found::State::Gone ? load.missingFiles : load.notFiles,
                    m.location);
            goneMusic.insert(static_cast<int>(i));
        }
    }
    const QJsonArray lyricArray = array(root, QStringLiteral("lyrics"));
    for (qsizetype i = 0; i < lyricArray.size(); ++i) {
        const QJsonObject o = objectAt(lyricArray[i]);
        LyricFileRecord l;
        l.name = text(o, QStringLiteral("name"));
        l.format = text(o, QStringLiteral("format"));
        l.settings = lyricSettings(object(o, QStringLiteral("settings")));
        l.location = Resolver::savedPath(o);
        const Found found = resolver.find(o);
        if (goneMusic.contains(static_cast<int>(i))) {
            addOnce(load.lyricsWithMusic, l.location);
            continue;
        }
        if (found.isFile()) {
            l.location = found.path;
        } else {
            addOnce(found.state == Found::State::Gone ? load.missingKept : load.unusableFiles,
                    l.location);
        }
        snap.lyrics.append(l);
    }

    const QJsonObject output = object(root, QStringLiteral("output"));
    OutputOptions& out = snap.outputOptions;
    const QJsonValue type = member(output, QStringLiteral("type"));
    if (type.isNull()) {
        out.albumType.reset();
    } else if (type.isString()) {
        out.albumType = albumTypeOfProjectWord(type.toString());
        if (!out.albumType) {
            throw Damaged{};
        }
    } else {
        throw Damaged{};
    }
    out.sizeIndex = number(output, QStringLiteral("sizeIndex"));
    out.outputSize = QSize(number(output, QStringLiteral("width"), 0, 10000),
                           number(output, QStringLiteral("height"), 0, 10000));
    // Older projects have no target: they made a file.
    const QJsonValue target = output.value(QStringLiteral("target"));
    out.target = target.isUndefined()
                     ? OutputTarget::File
                     : enumOf(kTargets, target.isString() ? target.toString() : QString());
    // Only a size the choosers offer: the encoder is never asked for another. A disc image has
    // its standard's size, for a type that can be a disc.
    const bool offered =
        std::any_of(outputFormats().begin(), outputFormats().end(),
                    [&out](const OutputFormat& f) { return f.sizes.contains(out.outputSize); });
    if (out.target == OutputTarget::DiscImage) {
        const auto& disc = out.albumType ? outputFormat(*out.albumType).disc : std::nullopt;
        if (!disc || (disc->palSize != out.outputSize && disc->ntscSize != out.outputSize)) {
            throw Damaged{};
        }
    } else if (!offered) {
        throw Damaged{};
    }
    out.albumName = text(output, QStringLiteral("name"));
    out.saveFolder = text(output, QStringLiteral("folder"));
    out.tvSystem = choice(output, QStringLiteral("tv"), kTvSystems);
    out.quality = choice(output, QStringLiteral("quality"), kQualities);
    out.sync = choice(output, QStringLiteral("sync"), kSyncModes);
    const QJsonValue coding = output.value(QStringLiteral("coding"));
    out.coding = coding.isUndefined()
                     ? VideoCoding::H264
                     : enumOf(kCodings, coding.isString() ? coding.toString() : QString());
    // Older projects level their music (the default) and join songs plainly.
    out.levelMusic = !output.contains(QStringLiteral("levelMusic")) ||
                     flag(output, QStringLiteral("levelMusic"));
    out.crossfadeSongs = optionalFlag(output, QStringLiteral("crossfadeSongs"));

    const QJsonObject placementState = object(root, QStringLiteral("placement"));
    snap.placementMode = choice(placementState, QStringLiteral("mode"), kPlacementModes);
    snap.wrapCursors.landscape = number(placementState, QStringLiteral("landscapeCursor"), -1);
    snap.wrapCursors.portrait = number(placementState, QStringLiteral("portraitCursor"), -1);

    const QJsonObject settings = object(root, QStringLiteral("settings"));
    load.settings.landscapeImportCrop =
        choice(settings, QStringLiteral("landscapeImportCrop"), kFits);
    load.settings.landscapeDisplay = choice(settings, QStringLiteral("landscapeDisplay"), kFits);
    load.settings.templateCombination =
        choice(settings, QStringLiteral("templateCombination"), kCombinations);

    // The tables must hold together before anything is put into an album.
    Album scratch(catalogue);
    scratch.restore(snap);
    if (!scratch.templates().invariantViolations().isEmpty()) {
        throw Damaged{};
    }
    if (std::find(turned.begin(), turned.end(), true) != turned.end()) {
        scratch.refreshDefaultBackgrounds();
    }
    snap = scratch.snapshot();
    return load;
}

}  // namespace

ProjectSettings ProjectSettings::of(const SystemSettings& settings) {
    return ProjectSettings{settings.landscapeImportCrop(), settings.landscapeDisplay(),
                           settings.templateCombination()};
}

void ProjectSettings::applyTo(SystemSettings& settings) const {
    settings.setLandscapeImportCrop(landscapeImportCrop);
    settings.setLandscapeDisplay(landscapeDisplay);
    settings.setTemplateCombination(templateCombination);
}

QByteArray projectBytes(const Album& album, const ProjectSettings& settings,
                        const QString& projectPath) {
    return QJsonDocument(projectObject(album, settings, projectPath))
        .toJson(QJsonDocument::Indented);
}

QByteArray recoveryBytes(const Album& album, const ProjectSettings& settings,
                         const QString& projectPath) {
    QJsonObject o = projectObject(album, settings, projectPath);
    o.insert(QStringLiteral("recoveryOf"), projectPath);
    return QJsonDocument(o).toJson(QJsonDocument::Indented);
}

void writeFileSafely(const QString& path, const QByteArray& bytes, const WriteProgress& progress) {
    const QString temporary = path + QStringLiteral(".tmp");
    QFile file(temporary);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        throw Error(texts::kAlbumFileNotWritten.arg(path));
    }
    constexpr qint64 kPiece = 4096;
    for (qint64 done = 0; done < bytes.size();) {
        const qint64 piece = std::min(kPiece, bytes.size() - done);
        if (file.write(bytes.constData() + done, piece) != piece) {
            file.close();
            QFile::remove(temporary);
            throw Error(texts::kAlbumFileNotWritten.arg(path));
        }
        done += piece;
        if (progress) {
            progress(done);
        }
    }
    // On the disk before the name changes, so that a power cut cannot leave an empty file.
    if (!file.flush() || ::fsync(file.handle()) != 0) {
        file.close();
        QFile::remove(temporary);
        throw Error(texts::kAlbumFileNotWritten.arg(path));
    }
    file.close();
    // rename(2) replaces the old file in one step.
    if (::rename(QFile::encodeName(temporary).constData(), QFile::encodeName(path).constData()) !=
        0) {
        QFile::remove(temporary);
        throw Error(texts::kAlbumFileNotWritten.arg(path));
    }
}

void saveProject(const Album& album, const ProjectSettings& settings, const QString& path) {
    writeFileSafely(path, projectBytes(album, settings, path));
}

ProjectLoad projectFromBytes(const QByteArray& bytes, const QString& path,
                             const Catalogue& catalogue) {
    QJsonParseError parsed{};
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &parsed);
    if (parsed.error != QJsonParseError::NoError || !document.isObject()) {
        throw Error(texts::kAlbumFileDamaged.arg(path));
    }
    const QJsonObject root = document.object();
    try {
        if (text(root, QStringLiteral("format")) != kFormatName) {
            throw Damaged{};
        }
        const qint64 version = wholeNumber(member(root, QStringLiteral("version")), 1,
                                           std::numeric_limits<int>::max());
        if (version > kProjectFormatVersion) {
            throw Error(texts::kAlbumFileNewer.arg(path));
        }
        ProjectLoad load = readProjectObject(root, path, catalogue);
        const QJsonValue recoveryOf = root.value(QStringLiteral("recoveryOf"));
        if (recoveryOf.isString()) {
            load.recoveredFrom = recoveryOf.toString();
        }
        return load;
    } catch (const Damaged&) {
        throw Error(texts::kAlbumFileDamaged.arg(path));
    }
}

ProjectLoad readProject(const QString& path, const Catalogue& catalogue) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        throw Error(texts::kAlbumFileUnreadable.arg(path));
    }
    // A project of a few thousand photos is a few megabytes; anything far larger is not one.
    constexpr qint64 kLargestProject = 256LL * 1024 * 1024;
    if (file.size() > kLargestProject) {
        throw Error(texts::kAlbumFileDamaged.arg(path));
    }
    return projectFromBytes(file.readAll(), path, catalogue);
}

QString ProjectLoad::report() const {
    QStringList lines;
    const auto section = [&lines](const QString& heading, const QStringList& items) {
        if (!items.isEmpty()) {
            lines << heading;
            lines << items;
        }
    };
    section(texts::kMissingFiles, missingFiles);
    section(texts::kNotFiles, notFiles);
    section(texts::kLyricsWithMusic, lyricsWithMusic);
    section(texts::kMissingFilesKept, missingKept);
    section(texts::kUnusableFilesKept, unusableFiles);
    section(texts::kTurnedPhotos, turnedPhotos);
    section(texts::kMissingTemplates, missingTemplates);
    section(texts::kMusicNotConverted, unconvertedMusic);
    if (lines.isEmpty()) {
        return {};
    }
    lines.prepend(texts::kAlbumOpenedWithGaps);
    return lines.join(u'\n');
}

}  // namespace vellumo
