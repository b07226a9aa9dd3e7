#include "album/photo_list.h"

#include <QFileInfo>
#include <QImageReader>

#include "photo/photo_loader.h"

namespace vellumo {

QSize uprightPhotoSize(int pixelWidth, int pixelHeight, QSize shownPicture) {
    if (shownPicture.width() < shownPicture.height() && pixelHeight < pixelWidth) {
        return QSize(pixelHeight, pixelWidth);
    }
    // The other way round too: a picture shown wider than tall stands as landscape, else the
    // photo would be stretched across its slot.
    if (shownPicture.height() < shownPicture.width() && pixelWidth < pixelHeight) {
        return QSize(pixelHeight, pixelWidth);
    }
    return QSize(pixelWidth, pixelHeight);
}

std::optional<PhotoRecord> measurePhoto(const QString& path) {
    QSize stored;
    QSize upright;
    if (const std::optional<JpegHeader> header = readJpegHeader(path)) {
        stored = QSize(header->width, header->height);
        upright = header->uprightSize();
    } else {
        // Another picture format under a .jpg name still has a size.
        QImageReader reader(path);
        reader.setAutoTransform(true);
        stored = reader.size();
        if (!stored.isValid() || stored.isEmpty()) {
            return std::nullopt;
        }
        upright = stored;
        if (reader.transformation() & QImageIOHandler::TransformationRotate90) {
            upright.transpose();
        }
    }
    // The picture shown for the photo fits a box 300 wide in its upright shape.
    const QSize size = uprightPhotoSize(stored.width(), stored.height(), upright);
    const QFileInfo info(path);
    PhotoRecord record;
    record.name = info.completeBaseName();
    record.format = info.suffix().isEmpty() ? QString() : u'.' + info.suffix();
    record.width = size.width();
    record.height = size.height();
    record.location = path;
    return record;
}

void PhotoList::clearInTemplateMarks() {
    for (PhotoRecord& record : records_) {
        record.inTemplate = false;
    }
}

}  // namespace vellumo
