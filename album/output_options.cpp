#include "album/output_options.h"

#include "album/output_texts.h"

namespace vellumo {

QString albumTypeName(AlbumType type) {
    switch (type) {
        case AlbumType::Vcd:
            return QStringLiteral("VCD");
        case AlbumType::Svcd:
            return QStringLiteral("SVCD");
        case AlbumType::Dvd:
            return QStringLiteral("DVD");
        case AlbumType::Avi:
            return QStringLiteral("AVI");
        case AlbumType::Wmv:
            return QStringLiteral("WMV");
        case AlbumType::Mp4:
            return QStringLiteral("MP4");
        case AlbumType::Mov:
            return QStringLiteral("MOV");
    }
    return {};
}

QString albumFileExtension(AlbumType type) {
    switch (type) {
        case AlbumType::Vcd:
        case AlbumType::Svcd:
        case AlbumType::Dvd:
            return QStringLiteral(".mpg");
        case AlbumType::Avi:
            return QStringLiteral(".avi");
        case AlbumType::Wmv:
            return QStringLiteral(".wmv");
        case AlbumType::Mp4:
            return QStringLiteral(".mp4");
        case AlbumType::Mov:
            return QStringLiteral(".mov");
    }
    return QStringLiteral(".mpg");
}

QString pictureQualityWord(PictureQuality quality) {
    return quality == PictureQuality::Standard ? QStringLiteral("biaoqing")
                                               : QStringLiteral("gaoqing");
}

QString pictureQualityCaption(PictureQuality quality) {
    return quality == PictureQuality::Standard ? texts::kQualityStandard : texts::kQualityHigh;
}

QString syncModeCaption(SyncMode mode) {
    return mode == SyncMode::WithTemplate ? texts::kSyncWithTemplate : texts::kSyncWithMusic;
}

const QVector<QSize>& outputSizes(AlbumType type) {
    static const QVector<QSize> vcd = {{320, 176}, {464, 256}, {640, 368}, {800, 480}, {1280, 720}};
    static const QVector<QSize> common = {{320, 176},  {464, 256},   {640, 368},
                                          {800, 480},  {1280, 720},  {1440, 816},
                                          {1600, 896}, {1920, 1080}, {2048, 1152}};
    static const QVector<QSize> wmvMov = {{320, 176},  {464, 256},   {640, 368},
                                          {800, 480},  {1280, 720},  {1440, 816},
                                          {1600, 896}, {1920, 1088}, {2048, 1152}};
    switch (type) {
        case AlbumType::Vcd:
            return vcd;
        case AlbumType::Wmv:
        case AlbumType::Mov:
            return wmvMov;
        default:
            return common;
    }
}

bool isAlbumFileName(const QString& name) {
    return !name.isEmpty() && !name.contains(u'/') && name != u"." && name != u"..";
}

QString outputSizeText(QSize size) {
    return QStringLiteral("%1 × %2").arg(size.width()).arg(size.height());
}

void OutputOptions::chooseSize(int index) {
    const QVector<QSize>& sizes = outputSizes(albumType.value_or(AlbumType::Dvd));
    if (index < 0 || index >= sizes.size()) {
        index = kDefaultSizeIndex;
    }
    sizeIndex = index;
    outputSize = sizes.at(index);
}

void OutputOptions::beginProduction(AlbumType type) {
    albumType = type;
    // The name stays: the album (and its project) keeps it for the next production.
    chooseSize(kDefaultSizeIndex);
}

QString OutputOptions::outputFile() const {
    return saveFolder + albumName + albumFileExtension(albumType.value_or(AlbumType::Vcd));
}

}  // namespace vellumo
