#include <gtest/gtest.h>

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QPainter>

#include "photo/photo_loader.h"
#include "tests/support/photo_files.h"
#include "tests/support/test_files.h"

namespace vellumo {
namespace {

// A photo with a distinct colour in each corner quadrant.
QImage quadrants(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    QPainter p(&image);
    p.fillRect(0, 0, width / 2, height / 2, Qt::red);
    p.fillRect(width / 2, 0, width - width / 2, height / 2, Qt::green);
    p.fillRect(0, height / 2, width / 2, height - height / 2, Qt::blue);
    p.fillRect(width / 2, height / 2, width - width / 2, height - height / 2, Qt::yellow);
    return image;
}

QByteArray jpeg(const QImage& image) {
    return test::jpegBytes(image, 95);
}

QColor at(const QImage& image, double fx, double fy) {
    return image.pixelColor(static_cast<int>(fx * image.width()),
                            static_cast<int>(fy * image.height()));
}

bool near(QColor a, QColor b) {
    return std::abs(a.red() - b.red()) < 40 && std::abs(a.green() - b.green()) < 40 &&
           std::abs(a.blue() - b.blue()) < 40;
}

TEST(PhotoLoader, FitsTheBoxWithItsAspectKept) {
    test::TempFolder temp;
    const QString path = temp.write("wide.jpg", jpeg(quadrants(4000, 3000)));
    const LoadedPhoto photo = loadPhoto(path, QSize(300, 225));
    EXPECT_FALSE(photo.isIcon);
    EXPECT_EQ(photo.image.size(), QSize(300, 225));
    EXPECT_EQ(loadPhoto(path, QSize(300, 300)).image.size(), QSize(300, 225));
    EXPECT_EQ(loadPhoto(path, QSize(100, 300)).image.size(), QSize(100, 75));
    EXPECT_EQ(loadPhoto(path, QSize()).image.size(), QSize(4000, 3000));
    EXPECT_TRUE(near(at(photo.image, 0.1, 0.1), Qt::red));
    EXPECT_TRUE(near(at(photo.image, 0.9, 0.9), Qt::yellow));
    const std::optional<JpegHeader> header = readJpegHeader(path);
    ASSERT_TRUE(header);
    EXPECT_EQ(header->uprightSize(), QSize(4000, 3000));
}

TEST(PhotoLoader, ExifOrientationTurnsThePhotoUpright) {
    test::TempFolder temp;
    const QByteArray plain = jpeg(quadrants(400, 300));
    // Where the stored corners (red top-left, green top-right, blue bottom-left) end up.
    struct Case {
        quint16 orientation;
        QSize size;
        QColor topLeft, topRight, bottomLeft;
    };
    const Case cases[] = {
        {1, {400, 300}, Qt::red, Qt::green, Qt::blue},
        {2, {400, 300}, Qt::green, Qt::red, Qt::yellow},
        {3, {400, 300}, Qt::yellow, Qt::blue, Qt::green},
        {4, {400, 300}, Qt::blue, Qt::yellow, Qt::red},
        {5, {300, 400}, Qt::red, Qt::blue, Qt::green},
        {6, {300, 400}, Qt::blue, Qt::red, Qt::yellow},
        {7, {300, 400}, Qt::yellow, Qt::green, Qt::blue},
        {8, {300, 400}, Qt::green, Qt::yellow, Qt::red},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.orientation);
        const QString path = temp.write("o.jpg", test::withExifOrientation(plain, c.orientation));
        const std::optional<JpegHeader> header = readJpegHeader(path);
        ASSERT_TRUE(header);
        EXPECT_EQ(header->exifOrientation, c.orientation);
        EXPECT_EQ(header->uprightSize(), c.size);
        const QImage image = loadPhoto(path, QSize(600, 600)).image;
        EXPECT_EQ(image.width() < image.height(), c.size.width() < c.size.height());
        EXPECT_TRUE(near(at(image, 0.1, 0.1), c.topLeft));
        EXPECT_TRUE(near(at(image, 0.9, 0.1), c.topRight));
        EXPECT_TRUE(near(at(image, 0.1, 0.9), c.bottomLeft));
    }
}

TEST(PhotoLoader, TimeTakenIsTheExifOriginalDateOrNothing) {
    test::TempFolder temp;
    const QByteArray plain = jpeg(quadrants(64, 48));
    const QString dated =
        temp.write("dated.jpg", test::withExifTimeTaken(plain, "2024:07:01 09:30:05"));
    EXPECT_EQ(readTimeTaken(dated), QDateTime(QDate(2024, 7, 1), QTime(9, 30, 5)));
    // The date does not disturb the picture.
    EXPECT_FALSE(loadPhoto(dated, QSize(64, 64)).isIcon);
    // No date: no EXIF, EXIF without the date, the blank date cameras write, a text that is not
    // a date, a file that is not there.
    EXPECT_FALSE(readTimeTaken(temp.write("plain.jpg", plain)).isValid());
    EXPECT_FALSE(
        readTimeTaken(temp.write("turned.jpg", test::withExifOrientation(plain, 6))).isValid());
    EXPECT_FALSE(readTimeTaken(
                     temp.write("blank.jpg", test::withExifTimeTaken(plain, "0000:00:00 00:00:00")))
                     .isValid());
    EXPECT_FALSE(
        readTimeTaken(temp.write("words.jpg", test::withExifTimeTaken(plain, "yesterday evening")))
            .isValid());
    EXPECT_FALSE(readTimeTaken(temp.path() + QStringLiteral("gone.jpg")).isValid());
}

// A JPEG whose header announces width x height over the pixels of a small one.
QByteArray announcing(int width, int height) {
    QByteArray bytes = jpeg(quadrants(64, 48));
    const qsizetype sof = bytes.indexOf(QByteArray("\xff\xc0", 2));
    EXPECT_GT(sof, 0);
    bytes[sof + 5] = static_cast<char>(height >> 8);
    bytes[sof + 6] = static_cast<char>(height & 0xff);
    bytes[sof + 7] = static_cast<char>(width >> 8);
    bytes[sof + 8] = static_cast<char>(width & 0xff);
    return bytes;
}

TEST(PhotoLoader, AHeaderOfAbsurdSizeGivesTheIconInsteadOfGigabytes) {
    test::TempFolder temp;
    // 60000 x 40000 would take 150 MB even at an eighth of its size.
    const LoadedPhoto absurd =
        loadPhoto(temp.write("absurd.jpg", announcing(60000, 40000)), QSize(1920, 1080));
    EXPECT_TRUE(absurd.isIcon);
    // A large real photo's size still loads (its missing pixels grey).
    const LoadedPhoto large =
        loadPhoto(temp.write("large.jpg", announcing(16000, 12000)), QSize(1920, 1080));
    EXPECT_FALSE(large.isIcon);
    EXPECT_EQ(large.image.size(), QSize(1440, 1080));
}

TEST(PhotoLoader, FilesWithoutAPictureGiveTheSquareIcon) {
    test::TempFolder temp;
    for (const QByteArray& bytes :
         {QByteArray("not a picture at all"), QByteArray(), jpeg(quadrants(64, 48)).left(20)}) {
        const QString path = temp.write("bad.jpg", bytes);
        const LoadedPhoto photo = loadPhoto(path, QSize(300, 225));
        EXPECT_TRUE(photo.isIcon);
        EXPECT_EQ(photo.image.width(), photo.image.height());
        EXPECT_FALSE(readJpegHeader(path));
    }
    EXPECT_TRUE(loadPhoto(temp.path() + "missing.jpg", QSize(300, 200)).isIcon);
}

TEST(PhotoLoader, ATruncatedPhotoIsUsedAndMarkedIncomplete) {
    test::TempFolder temp;
    const QByteArray whole = jpeg(quadrants(640, 480));
    const LoadedPhoto complete = loadPhoto(temp.write("whole.jpg", whole), QSize(320, 240));
    EXPECT_FALSE(complete.incomplete);
    const QString cut = temp.write("cut.jpg", whole.left(whole.size() * 2 / 3));
    for (const QSize box : {QSize(320, 240), QSize(40, 30), QSize()}) {
        const LoadedPhoto photo = loadPhoto(cut, box);
        EXPECT_FALSE(photo.isIcon);
        EXPECT_TRUE(photo.incomplete);
        // The part that is there shows: the top-left quarter is red.
        EXPECT_TRUE(near(at(photo.image, 0.2, 0.2), Qt::red));
    }
}

TEST(PhotoLoader, WhatIsNotARegularFileOrTooLargeIsNeverRead) {
    test::TempFolder temp;
    // Read plainly, the pipe would wait for a writer for ever and /dev/zero never end.
    for (const QString& path :
         {temp.fifo("pipe.jpg"), temp.mkdir("folder.jpg"), QStringLiteral("/dev/zero")}) {
        SCOPED_TRACE(path.toStdString());
        EXPECT_FALSE(readJpegHeader(path));
        EXPECT_TRUE(loadPhoto(path, QSize(300, 200)).isIcon);
    }
    // A photo at the start of a file larger than any camera writes (sparse: no disk used).
    const QString huge = temp.write("huge.jpg", jpeg(quadrants(64, 48)));
    QFile file(huge);
    ASSERT_TRUE(file.resize(kLargestPhotoBytes + 1));
    EXPECT_FALSE(readJpegHeader(huge));
    EXPECT_TRUE(loadPhoto(huge, QSize(64, 48)).isIcon);
    // At the limit its header is read from the first bytes.
    ASSERT_TRUE(file.resize(kLargestPhotoBytes));
    ASSERT_TRUE(readJpegHeader(huge));
    EXPECT_EQ(readJpegHeader(huge)->width, 64);
}

TEST(PhotoLoader, OtherPictureFormatsNamedJpgStillLoad) {
    test::TempFolder temp;
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    quadrants(200, 400).save(&buffer, "PNG");
    const QString path = temp.write("really_png.jpg", png);
    const LoadedPhoto photo = loadPhoto(path, QSize(300, 300));
    EXPECT_FALSE(photo.isIcon);
    EXPECT_EQ(photo.image.size(), QSize(150, 300));
}

}  // namespace
}  // namespace vellumo
