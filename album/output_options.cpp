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
    target = OutputTarget::File;
}

bool OutputOptions::chooseDiscImage() {
    const OutputFormat& format = outputFormat(albumType.value_or(AlbumType::Dvd));
    if (!format.disc) {
        return false;
    }
    // The entry after the sizes in the album type window.
    sizeIndex = static_cast<int>(format.sizes.size());
    outputSize = format.disc->frameSize(tvSystem);
    target = OutputTarget::DiscImage;
    return true;
}

bool OutputOptions::isDiscImage() const {
    return target == OutputTarget::DiscImage &&
           outputFormat(albumType.value_or(AlbumType::Dvd)).disc.has_value();
}

bool OutputOptions::isH265() const {
    return albumType == AlbumType::Mp4 && coding == VideoCoding::H265;
}

void OutputOptions::beginProduction(AlbumType type) {
    albumType = type;
    // The name stays: the album (and its project) keeps it for the next production.
    if (target != OutputTarget::DiscImage || !chooseDiscImage()) {
        chooseSize(kDefaultSizeIndex);
    }
}

QString OutputOptions::outputFile() const {
    const OutputFormat& format = outputFormat(albumType.value_or(AlbumType::Vcd));
    if (albumType && isDiscImage()) {
        return saveFolder + albumName + format.disc->imageExtension;
    }
    return saveFolder + albumName + format.extension;
}

}  // namespace vellumo
