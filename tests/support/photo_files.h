#pragma once

// Photo files made on the spot for tests: JPEGs of a given size and look, with an EXIF
// orientation when asked.

#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QSize>
#include <QString>

namespace vellumo::test {

// The JPEG with an EXIF segment giving the orientation, right after its start.
QByteArray withExifOrientation(const QByteArray& jpeg, quint16 orientation);

// The JPEG with an EXIF segment whose DateTimeOriginal is text ("2024:07:01 09:30:00", 19
// characters; other texts are written as given, cut or padded to 19).
QByteArray withExifTimeTaken(const QByteArray& jpeg, const QByteArray& text);

// The image as JPEG bytes.
QByteArray jpegBytes(const QImage& image, int quality = 90);

// Writes a JPEG of that size (a gradient with a mark in the top-left quarter, so a turned or
// stretched picture shows), with an EXIF orientation when it is not 1. Returns the path.
QString writePhoto(const QString& path, QSize size, quint16 orientation = 1,
                   QColor colour = QColor(90, 140, 200));

// Writes a JPEG of one colour as the program writes its pictures, with an EXIF orientation
// when it is not 1 (stored w × h, shown turned). Returns the path.
QString writeSolidPhoto(const QString& path, QSize size, QColor colour = Qt::gray,
                        quint16 orientation = 1);

}  // namespace vellumo::test
