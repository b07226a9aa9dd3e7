#include "album/output_formats.h"

#include <algorithm>

#include "album/output_texts.h"

namespace vellumo {

namespace {

// Built on first use, also when that comes from another file's static initialisation.
QList<OutputFormat> makeFormats() {
    // Index kDefaultSizeIndex is the default of each size list.
    const QVector<QSize> kVcdSizes = {{320, 176}, {464, 256}, {640, 368}, {800, 480}, {1280, 720}};
    const QVector<QSize> kCommonSizes = {{320, 176},  {464, 256},   {640, 368},
                                         {800, 480},  {1280, 720},  {1440, 816},
                                         {1600, 896}, {1920, 1080}, {2048, 1152}};
    // 1920 × 1088 where the others have 1920 × 1080.
    // MP4 also goes to 3840 × 2160.
    QVector<QSize> mp4Sizes = kCommonSizes;
    mp4Sizes.append({3840, 2160});
    const QVector<QSize> kWmvMovSizes = {{320, 176},  {464, 256},   {640, 368},
                                         {800, 480},  {1280, 720},  {1440, 816},
                                         {1600, 896}, {1920, 1088}, {2048, 1152}};
    using enum FormatPlace;
    using namespace texts;
    const QString mpg = QStringLiteral(".mpg");
    const QString cue = QStringLiteral(".cue");
    // A 16:9 album: letterboxed in the 4:3 frame of a VCD or SVCD, anamorphic on a DVD.
    const DiscFormat vcdDisc{mcl::Preset::VcdDisc, {384, 216}, {352, 288}, {352, 240}, cue};
    const DiscFormat svcdDisc{mcl::Preset::SvcdDisc, {768, 432}, {480, 576}, {480, 480}, cue};
    const DiscFormat dvdDisc{
        mcl::Preset::DvdVideo, {1024, 576}, {720, 576}, {720, 480}, QStringLiteral(".iso")};
    return {
        {AlbumType::Vcd, QStringLiteral("VCD"), mcl::Preset::Vcd, mpg, kVcdSizes, kVcd, kVcdHint,
         ToolbarAndMenu, QStringLiteral("VCD"), QStringLiteral("VCD"), vcdDisc},
        {AlbumType::Svcd, QStringLiteral("SVCD"), mcl::Preset::Svcd, mpg, kCommonSizes, kSvcd,
         kSvcdHint, ToolbarAndMenu, QStringLiteral("SVCD"), QStringLiteral("SVCD"), svcdDisc},
        {AlbumType::Dvd, QStringLiteral("DVD"), mcl::Preset::Dvd, mpg, kCommonSizes, kDvd, kDvdHint,
         ToolbarAndMenu, QStringLiteral("DVD"), QStringLiteral("DVD"), dvdDisc},
        {AlbumType::Avi, QStringLiteral("AVI"), mcl::Preset::Avi, QStringLiteral(".avi"),
         kCommonSizes, kAvi, kAviHint, ToolbarAndMenu, QStringLiteral("AVI"), QStringLiteral("AVI"),
         std::nullopt},
        // Known to project files and their size checks; no encoder of ours writes it.
        {AlbumType::Wmv, QStringLiteral("WMV"), std::nullopt, QStringLiteral(".wmv"), kWmvMovSizes,
         QString(), QString(), NotOffered, QStringLiteral("WMV"), QString(), std::nullopt},
        {AlbumType::Mp4, QStringLiteral("MP4"), mcl::Preset::Mp4, QStringLiteral(".mp4"), mp4Sizes,
         kMp4, kMp4Hint, MenuOnly, QStringLiteral("MP4"), QStringLiteral("MP4"), std::nullopt},
        {AlbumType::Mov, QStringLiteral("MOV"), std::nullopt, QStringLiteral(".mov"), kWmvMovSizes,
         QString(), QString(), NotOffered, QStringLiteral("MOV"), QString(), std::nullopt},
    };
}

}  // namespace

const QList<OutputFormat>& outputFormats() {
    static const QList<OutputFormat> formats = makeFormats();
    return formats;
}

const OutputFormat& outputFormat(AlbumType type) {
    const QList<OutputFormat>& formats = outputFormats();
    const auto found = std::find_if(formats.begin(), formats.end(),
                                    [type](const OutputFormat& f) { return f.type == type; });
    // Every album type has its row (the format table test walks them); a number outside the
    // enumeration gets the first.
    return found != formats.end() ? *found : formats.front();
}

std::optional<AlbumType> albumTypeOfProjectWord(const QString& word) {
    for (const OutputFormat& format : outputFormats()) {
        if (format.projectWord == word) {
            return format.type;
        }
    }
    return std::nullopt;
}

std::optional<AlbumType> albumTypeOfToolWord(const QString& word) {
    for (const OutputFormat& format : outputFormats()) {
        if (!format.toolWord.isEmpty() && format.toolWord == word) {
            return format.type;
        }
    }
    return std::nullopt;
}

QString toolWords(const QString& separator) {
    QStringList words;
    for (const OutputFormat& format : outputFormats()) {
        if (!format.toolWord.isEmpty()) {
            words << format.toolWord;
        }
    }
    return words.join(separator);
}

}  // namespace vellumo
