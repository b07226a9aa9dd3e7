#include "album/output_options.h"

#include "album/output_formats.h"
#include "album/output_texts.h"

namespace vellumo {

QString albumTypeName(AlbumType type) {
    return outputFormat(type).typeWord;
}

QString albumFileExtension(AlbumType type) {
    return outputFormat(type).extension;
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
    return outputFormat(type).sizes;
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
