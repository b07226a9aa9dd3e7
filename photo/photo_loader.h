#pragma once

// The photo loader: a photo file decoded upright and scaled to fit a requested box with its
// aspect kept, so the picture's own size tells whether the photo stands as landscape or
// portrait. A file without a usable image gives a square icon picture instead.

#include <QDateTime>
#include <QImage>
#include <QSize>
#include <QString>
#include <optional>

namespace vellumo {

// The size stored in a JPEG file and its EXIF orientation (1 when it has none).
struct JpegHeader {
    int width = 0;
    int height = 0;
    int exifOrientation = 1;

    // Orientations 5 to 8 turn the photo by a quarter, so its upright size is swapped.
    QSize uprightSize() const;
};

// No camera makes a photo file this large; a larger file is not taken as a photo.
inline constexpr qint64 kLargestPhotoBytes = qint64{200} * 1024 * 1024;

// Reads the header without decoding the pixels, from the file's first bytes; nothing when the
// file is not a readable JPEG, not a regular file, or larger than kLargestPhotoBytes.
std::optional<JpegHeader> readJpegHeader(const QString& path);
std::optional<JpegHeader> readJpegHeader(const QByteArray& bytes);

// When the photo was taken: its EXIF DateTimeOriginal ("2024:07:01 09:30:00", the camera's
// clock, read as local time), from the file's first bytes. Invalid when the file has none, or
// one that is not a date.
QDateTime readTimeTaken(const QString& path);
QDateTime readTimeTaken(const QByteArray& bytes);

struct LoadedPhoto {
    QImage image;         // upright, fits the box, aspect kept; the icon when isIcon
    bool isIcon = false;  // the file had no usable image
    // The JPEG data ends early or is damaged part way: the picture is used, with what could
    // not be decoded grey.
    bool incomplete = false;
};

// Loads the photo upright, decoded by the DCT at the smallest scale not below the fitted size
// and then resized with a smooth filter. An empty box loads the photo at its own size. A path
// that is not a regular file, or a file larger than kLargestPhotoBytes, gives the icon without
// being read.
LoadedPhoto loadPhoto(const QString& path, QSize box);

// The square picture shown for a file without a usable image.
QImage photoIconPicture(int side);

// w × h fitted into box with the aspect kept (at least 1 × 1).
QSize fitInside(QSize size, QSize box);

}  // namespace vellumo
