#include "album/photo_list.h"

#include <QFileInfo>
#include <QImageReader>

#include <algorithm>

#include "photo/photo_loader.h"
#include "workspace/regular_file.h"

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

namespace {

// The size of the pixel data as stored, before any EXIF turn.
QSize storedSize(const QString& path) {
    if (const std::optional<JpegHeader> header = readJpegHeader(path)) {
        return QSize(header->width, header->height);
    }
    // Nothing else is opened: a pipe would keep the reader waiting, a device never end.
    if (!regularFileProblem(path).isEmpty() || QFileInfo(path).size() > kLargestPhotoBytes) {
        return QSize();
    }
    // Another picture format under a .jpg name still has a size.
    QImageReader reader(path);
    reader.setAutoTransform(false);
    return reader.size();
}

}  // namespace

QSize shownPictureBox(QSize stored) {
    if (stored.width() <= 0) {
        return QSize(kShownPictureWidth, 1);
    }
    return QSize(kShownPictureWidth,
                 std::max(1, static_cast<int>(qint64{kShownPictureWidth} * stored.height() /
                                              stored.width())));
}

std::optional<PhotoRecord> measurePhoto(const QString& path) {
    return measurePhotoFile(path).record;
}

MeasuredPhoto measurePhotoFile(const QString& path) {
    const QSize stored = storedSize(path);
    if (!stored.isValid() || stored.isEmpty()) {
        return {};
    }
    const LoadedPhoto shown = loadPhoto(path, shownPictureBox(stored));
    if (shown.isIcon) {
        return {};
    }
    const QSize upright = uprightPhotoSize(stored.width(), stored.height(), shown.image.size());
    const QFileInfo info(path);
    PhotoRecord record;
    record.name = info.completeBaseName();
    record.format = info.suffix().isEmpty() ? QString() : u'.' + info.suffix();
    record.width = upright.width();
    record.height = upright.height();
    record.location = path;
    return {record, shown.incomplete};
}

void PhotoList::clearInTemplateMarks() {
    for (PhotoRecord& record : records_) {
        record.inTemplate = false;
    }
}

}  // namespace vellumo
