#include "tests/support/photo_files.h"

#include <QBuffer>
#include <QFile>
#include <QPainter>

#include <stdexcept>

#include "photo/fitting_canvas.h"
#include "tests/support/test_files.h"

namespace vellumo::test {

namespace {

void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        throw std::runtime_error("cannot write a test photo");
    }
}

// The JPEG with an EXIF segment holding the TIFF data, right after its start.
QByteArray withExifSegment(const QByteArray& jpeg, const QByteArray& tiff) {
    const QByteArray payload = QByteArray("Exif\0\0", 6) + tiff;
    const int length = static_cast<int>(payload.size()) + 2;
    QByteArray segment("\xFF\xE1", 2);
    segment += static_cast<char>(length >> 8);
    segment += static_cast<char>(length & 0xFF);
    return jpeg.left(2) + segment + payload + jpeg.mid(2);
}

}  // namespace

QByteArray withExifOrientation(const QByteArray& jpeg, quint16 orientation) {
    QByteArray tiff("II*\0\x08\0\0\0", 8);
    tiff += QByteArray("\x01\0", 2);                    // one entry
    tiff += QByteArray("\x12\x01\x03\0\x01\0\0\0", 8);  // orientation, SHORT, count 1
    tiff += static_cast<char>(orientation & 0xFF);
    tiff += static_cast<char>(orientation >> 8);
    tiff += QByteArray("\0\0\0\0\0\0", 6);  // padding, no next IFD
    return withExifSegment(jpeg, tiff);
}

QByteArray withExifTimeTaken(const QByteArray& jpeg, const QByteArray& text) {
    QByteArray value = text.left(19);
    value += QByteArray(20 - value.size(), '\0');
    QByteArray tiff("II*\0\x08\0\0\0", 8);
    // The first directory points at the EXIF directory (offset 26), which holds the date
    // (20 characters at offset 44).
    tiff += QByteArray("\x01\0", 2);
    tiff += QByteArray("\x69\x87\x04\0\x01\0\0\0\x1A\0\0\0", 12);
    tiff += QByteArray("\0\0\0\0", 4);
    tiff += QByteArray("\x01\0", 2);
    tiff += QByteArray("\x03\x90\x02\0\x14\0\0\0\x2C\0\0\0", 12);
    tiff += QByteArray("\0\0\0\0", 4);
    tiff += value;
    return withExifSegment(jpeg, tiff);
}

QByteArray jpegBytes(const QImage& image, int quality) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPG", quality);
    return bytes;
}

QString writePhoto(const QString& path, QSize size, quint16 orientation, QColor colour) {
    QImage image(size, QImage::Format_RGB32);
    QPainter painter(&image);
    QLinearGradient gradient(0, 0, size.width(), size.height());
    gradient.setColorAt(0, colour);
    gradient.setColorAt(1, colour.darker(250));
    painter.fillRect(image.rect(), gradient);
    painter.fillRect(QRect(0, 0, size.width() / 2, size.height() / 2), QColor(240, 200, 60));
    painter.end();
    QByteArray bytes = jpegBytes(image);
    if (orientation != 1) {
        bytes = withExifOrientation(bytes, orientation);
    }
    writeBytes(path, bytes);
    return path;
}

QString writeSolidPhoto(const QString& path, QSize size, QColor colour, quint16 orientation) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    writeJpeg(image, path);
    if (orientation != 1) {
        writeBytes(path, withExifOrientation(readFile(path), orientation));
    }
    return path;
}

}  // namespace vellumo::test
