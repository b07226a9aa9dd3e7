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
    record.taken = readTimeTaken(path);
    if (!record.taken.isValid()) {
        record.taken = info.lastModified();
    }
    return {record, shown.incomplete};
}

int compareFileNames(const QString& a, const QString& b) {
    qsizetype i = 0;
    qsizetype j = 0;
    const auto digitsFrom = [](const QString& s, qsizetype at) {
        qsizetype end = at;
        while (end < s.size() && s[end].isDigit()) {
            ++end;
        }
        return end;
    };
    while (i < a.size() && j < b.size()) {
        if (a[i].isDigit() && b[j].isDigit()) {
            const qsizetype endA = digitsFrom(a, i);
            const qsizetype endB = digitsFrom(b, j);
            // As numbers: leading zeros aside, the longer run is the larger; then digit by digit.
            qsizetype startA = i;
            qsizetype startB = j;
            while (startA + 1 < endA && a[startA] == u'0') {
                ++startA;
            }
            while (startB + 1 < endB && b[startB] == u'0') {
                ++startB;
            }
            if (endA - startA != endB - startB) {
                return endA - startA < endB - startB ? -1 : 1;
            }
            if (const int c = QStringView(a)
                                  .mid(startA, endA - startA)
                                  .compare(QStringView(b).mid(startB, endB - startB));
                c != 0) {
                return c;
            }
            i = endA;
            j = endB;
            continue;
        }
        if (const int c = QString::compare(a.mid(i, 1), b.mid(j, 1), Qt::CaseInsensitive); c != 0) {
            return c;
        }
        ++i;
        ++j;
    }
    if (i < a.size() || j < b.size()) {
        return i < a.size() ? 1 : -1;
    }
    // Equal but for case or leading zeros: the plain comparison settles it.
    return QString::compare(a, b);
}

void sortPhotos(QVector<PhotoRecord>& photos, PhotoOrder order) {
    if (order == PhotoOrder::TimeTaken) {
        std::stable_sort(
            photos.begin(), photos.end(),
            [](const PhotoRecord& a, const PhotoRecord& b) { return a.taken < b.taken; });
    } else if (order == PhotoOrder::Name) {
        std::stable_sort(photos.begin(), photos.end(),
                         [](const PhotoRecord& a, const PhotoRecord& b) {
                             return compareFileNames(QFileInfo(a.location).fileName(),
                                                     QFileInfo(b.location).fileName()) < 0;
                         });
    }
}

void PhotoList::clearInTemplateMarks() {
    for (PhotoRecord& record : records_) {
        record.inTemplate = false;
    }
}

}  // namespace vellumo
