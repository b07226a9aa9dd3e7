#include "photo/photo_loader.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QPainter>
#include <QPainterPath>
#include <QTransform>

#include <libexif/exif-data.h>
#include <turbojpeg.h>

#include <algorithm>
#include <memory>

#include "workspace/errors.h"
#include "workspace/regular_file.h"

namespace vellumo {

namespace {

struct TurboJpegDeleter {
    void operator()(void* handle) const { tjDestroy(handle); }
};
using TurboJpeg = std::unique_ptr<void, TurboJpegDeleter>;

int exifOrientation(const QByteArray& bytes) {
    ExifData* exif =
        exif_data_new_from_data(reinterpret_cast<const unsigned char*>(bytes.constData()),
                                static_cast<unsigned int>(bytes.size()));
    if (exif == nullptr) {
        return 1;
    }
    int orientation = 1;
    if (ExifEntry* entry = exif_data_get_entry(exif, EXIF_TAG_ORIENTATION)) {
        if (entry->format == EXIF_FORMAT_SHORT && entry->components >= 1 && entry->data) {
            orientation = exif_get_short(entry->data, exif_data_get_byte_order(exif));
        }
    }
    exif_data_unref(exif);
    return orientation >= 1 && orientation <= 8 ? orientation : 1;
}

// The transform that turns stored pixels upright for an EXIF orientation (the last call acts
// first: 5 mirrors and then turns a quarter left, 7 mirrors and turns a quarter right).
QTransform uprightTransform(int orientation) {
    QTransform t;
    switch (orientation) {
        case 2:
            t.scale(-1, 1);
            break;
        case 3:
            t.rotate(180);
            break;
        case 4:
            t.scale(1, -1);
            break;
        case 5:
            t.rotate(-90);
            t.scale(-1, 1);
            break;
        case 6:
            t.rotate(90);
            break;
        case 7:
            t.rotate(90);
            t.scale(-1, 1);
            break;
        case 8:
            t.rotate(-90);
            break;
        default:
            break;
    }
    return t;
}

// The most pixels a photo is decoded into before it is scaled to its box (128 MiB).
constexpr qint64 kMostDecodedPixels = qint64{1} << 25;

// What readJpegHeader reads first: the markers before the picture data, EXIF and its
// thumbnail included, nearly always lie within it.
constexpr qint64 kHeaderBytes = qint64{256} * 1024;

// The photo file opened for reading when it is a regular file of a size a photo can have.
std::unique_ptr<QFile> openPhotoFile(const QString& path) {
    try {
        std::unique_ptr<QFile> file = openRegularFile(path);
        if (file->size() <= kLargestPhotoBytes) {
            return file;
        }
    } catch (const FileError&) {
    }
    return nullptr;
}

struct DecodedJpeg {
    QImage image;
    bool incomplete = false;
};

std::optional<DecodedJpeg> decodeJpeg(const QByteArray& bytes, QSize box,
                                      const JpegHeader& header) {
    TurboJpeg handle(tjInitDecompress());
    if (!handle) {
        return std::nullopt;
    }
    const QSize upright = header.uprightSize();
    const QSize target = box.isEmpty() ? upright : fitInside(upright, box);
    // The target in stored orientation.
    const bool swapped = header.exifOrientation >= 5;
    const int needWidth = swapped ? target.height() : target.width();
    const int needHeight = swapped ? target.width() : target.height();

    int count = 0;
    const tjscalingfactor* factors = tjGetScalingFactors(&count);
    tjscalingfactor best{1, 1};
    int bestWidth = header.width;
    for (int i = 0; factors && i < count; ++i) {
        const int w = TJSCALED(header.width, factors[i]);
        const int h = TJSCALED(header.height, factors[i]);
        if (w >= needWidth && h >= needHeight && w < bestWidth) {
            best = factors[i];
            bestWidth = w;
        }
    }
    const int width = TJSCALED(header.width, best);
    const int height = TJSCALED(header.height, best);
    // Only a header of tens of thousands of pixels a side needs more even at the smallest
    // scale: a damaged or made-up file, which a few bytes would make cost gigabytes.
    if (static_cast<qint64>(width) * height > kMostDecodedPixels) {
        return std::nullopt;
    }
    QImage image(width, height, QImage::Format_RGB32);
    if (image.isNull()) {
        return std::nullopt;
    }
    const int status = tjDecompress2(
        handle.get(), reinterpret_cast<const unsigned char*>(bytes.constData()),
        static_cast<unsigned long>(bytes.size()), image.bits(), width,
        static_cast<int>(image.bytesPerLine()), height, TJPF_BGRX, TJFLAG_ACCURATEDCT);
    // A warning still leaves a usable picture (a truncated file shows grey at the end).
    const bool warned = status != 0 && tjGetErrorCode(handle.get()) == TJERR_WARNING;
    if (status != 0 && !warned) {
        return std::nullopt;
    }
    if (header.exifOrientation != 1) {
        image = image.transformed(uprightTransform(header.exifOrientation));
    }
    if (image.size() != target) {
        image = image.scaled(target, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    }
    return DecodedJpeg{image.convertToFormat(QImage::Format_RGB32), warned};
}

// Files that are not JPEG inside (a PNG named .jpg, a CMYK JPEG) through Qt's readers.
std::optional<QImage> decodeOther(const QByteArray& bytes, QSize box) {
    QBuffer buffer;
    buffer.setData(bytes);
    QImageReader reader(&buffer);
    reader.setAutoTransform(true);
    QSize size = reader.size();
    if (!size.isValid()) {
        return std::nullopt;
    }
    if (reader.transformation() & QImageIOHandler::TransformationRotate90) {
        size.transpose();
    }
    const QSize target = box.isEmpty() ? size : fitInside(size, box);
    QImage image = reader.read();
    if (image.isNull()) {
        return std::nullopt;
    }
    if (image.size() != target) {
        image = image.scaled(target, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    }
    return image.convertToFormat(QImage::Format_RGB32);
}

}  // namespace

QSize JpegHeader::uprightSize() const {
    return exifOrientation >= 5 ? QSize(height, width) : QSize(width, height);
}

std::optional<JpegHeader> readJpegHeader(const QByteArray& bytes) {
    TurboJpeg handle(tjInitDecompress());
    if (!handle || bytes.isEmpty()) {
        return std::nullopt;
    }
    int width = 0, height = 0, subsampling = 0, colorspace = 0;
    if (tjDecompressHeader3(handle.get(), reinterpret_cast<const unsigned char*>(bytes.constData()),
                            static_cast<unsigned long>(bytes.size()), &width, &height, &subsampling,
                            &colorspace) != 0 ||
        width <= 0 || height <= 0) {
        return std::nullopt;
    }
    return JpegHeader{width, height, exifOrientation(bytes)};
}

QDateTime readTimeTaken(const QByteArray& bytes) {
    if (bytes.isEmpty()) {
        return {};
    }
    ExifData* exif =
        exif_data_new_from_data(reinterpret_cast<const unsigned char*>(bytes.constData()),
                                static_cast<unsigned int>(bytes.size()));
    if (exif == nullptr) {
        return {};
    }
    QDateTime taken;
    if (ExifEntry* entry = exif_data_get_entry(exif, EXIF_TAG_DATE_TIME_ORIGINAL)) {
        if (entry->format == EXIF_FORMAT_ASCII && entry->data != nullptr && entry->size > 0) {
            // The text may lack its terminating zero: its length is the entry's size at most.
            const auto* text = reinterpret_cast<const char*>(entry->data);
            const QString value =
                QString::fromLatin1(text, static_cast<qsizetype>(qstrnlen(text, entry->size)))
                    .trimmed();
            taken = QDateTime::fromString(value, QStringLiteral("yyyy:MM:dd HH:mm:ss"));
        }
    }
    exif_data_unref(exif);
    return taken.isValid() ? taken : QDateTime();
}

QDateTime readTimeTaken(const QString& path) {
    const std::unique_ptr<QFile> file = openPhotoFile(path);
    return file ? readTimeTaken(file->read(kHeaderBytes)) : QDateTime();
}

std::optional<JpegHeader> readJpegHeader(const QString& path) {
    const std::unique_ptr<QFile> file = openPhotoFile(path);
    if (!file) {
        return std::nullopt;
    }
    if (std::optional<JpegHeader> header = readJpegHeader(file->read(kHeaderBytes))) {
        return header;
    }
    // Markers beyond the first bytes (large embedded data before the picture).
    if (file->size() <= kHeaderBytes || !file->seek(0)) {
        return std::nullopt;
    }
    return readJpegHeader(file->readAll());
}

QSize fitInside(QSize size, QSize box) {
    if (size.isEmpty() || box.isEmpty()) {
        return size;
    }
    const QSize fitted = size.scaled(box, Qt::KeepAspectRatio);
    return QSize(std::max(1, fitted.width()), std::max(1, fitted.height()));
}

LoadedPhoto loadPhoto(const QString& path, QSize box) {
    const std::unique_ptr<QFile> file = openPhotoFile(path);
    const QByteArray bytes = file ? file->readAll() : QByteArray();
    if (const std::optional<JpegHeader> header = readJpegHeader(bytes)) {
        if (std::optional<DecodedJpeg> decoded = decodeJpeg(bytes, box, *header)) {
            return {std::move(decoded->image), false, decoded->incomplete};
        }
    }
    if (!bytes.isEmpty()) {
        if (std::optional<QImage> image = decodeOther(bytes, box)) {
            return {std::move(*image), false, false};
        }
    }
    const int side = box.isEmpty() ? 256 : std::max(1, std::min(box.width(), box.height()));
    return {photoIconPicture(side), true, false};
}

QImage photoIconPicture(int side) {
    QImage icon(side, side, QImage::Format_RGB32);
    icon.fill(QColor(236, 236, 240));
    QPainter p(&icon);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal s = side;
    // A picture frame with mountains and a sun, crossed out: the file has no picture.
    const QRectF frame(s * 0.18, s * 0.24, s * 0.64, s * 0.52);
    p.setPen(QPen(QColor(150, 150, 160), std::max(1.0, s * 0.03)));
    p.setBrush(Qt::white);
    p.drawRoundedRect(frame, s * 0.04, s * 0.04);
    QPainterPath hills;
    hills.moveTo(frame.left() + s * 0.04, frame.bottom() - s * 0.05);
    hills.lineTo(frame.left() + s * 0.22, frame.top() + s * 0.22);
    hills.lineTo(frame.left() + s * 0.34, frame.top() + s * 0.34);
    hills.lineTo(frame.left() + s * 0.44, frame.top() + s * 0.26);
    hills.lineTo(frame.right() - s * 0.04, frame.bottom() - s * 0.05);
    hills.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(170, 180, 195));
    p.drawPath(hills);
    p.setBrush(QColor(240, 200, 90));
    p.drawEllipse(QPointF(frame.right() - s * 0.14, frame.top() + s * 0.13), s * 0.06, s * 0.06);
    p.setPen(QPen(QColor(200, 70, 70), std::max(1.0, s * 0.05), Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(s * 0.22, s * 0.8), QPointF(s * 0.78, s * 0.2));
    return icon;
}

}  // namespace vellumo
