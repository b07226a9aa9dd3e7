#include <gtest/gtest.h>

#include <QDateTime>
#include <QFile>
#include <QImage>

#include "album/photo_list_texts.h"
#include "assignment/assignment_texts.h"
#include "assignment/combined_add.h"
#include "assignment/photo_adding.h"
#include "photo/fitting_canvas.h"
#include "photo/photo_loader.h"
#include "project/album.h"
#include "tests/support/album_builders.h"
#include "tests/support/photo_files.h"
#include "tests/support/test_files.h"

namespace vellumo {
namespace {

class PhotoAddingTest : public ::testing::Test {
protected:
    QString photo(const QString& name, QSize size, quint16 orientation = 1) {
        return test::writePhoto(folder_.path() + name, size, orientation);
    }

    test::TempFolder folder_;
};

TEST_F(PhotoAddingTest, ShownPictureDecidesTheUprightSize) {
    struct Case {
        const char* name;
        QSize stored;
        quint16 orientation;
        QSize recorded;
        bool landscape;
    };
    const Case cases[] = {
        // Stored 4000 × 3000, shown upright as portrait: recorded 3000 × 4000, portrait.
        {"turned.jpg", {4000, 3000}, 6, {3000, 4000}, false},
        {"turned_left.JPG", {4000, 3000}, 8, {3000, 4000}, false},
        {"upside_down.jpg", {4000, 3000}, 3, {4000, 3000}, true},
        {"plain.jpg", {4000, 3000}, 1, {4000, 3000}, true},
        {"portrait.jpg", {600, 800}, 1, {600, 800}, false},
        // A square photo counts as landscape.
        {"square.jpg", {2000, 2000}, 1, {2000, 2000}, true},
        // Stored portrait but shown upright as landscape: landscape, not stretched into a
        // portrait slot.
        {"stood_up.jpg", {600, 800}, 6, {800, 600}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = photo(QString::fromLatin1(c.name), c.stored, c.orientation);
        const std::optional<PhotoRecord> record = measurePhoto(path);
        ASSERT_TRUE(record);
        EXPECT_EQ(QSize(record->width, record->height), c.recorded);
        EXPECT_EQ(record->isLandscape(), c.landscape);
        EXPECT_EQ(record->location, path);
        EXPECT_FALSE(record->inTemplate);
        // The picture is asked for a box 300 wide in the stored shape.
        EXPECT_EQ(shownPictureBox(c.stored),
                  QSize(300, 300 * c.stored.height() / c.stored.width()));
    }
    const std::optional<PhotoRecord> upper = measurePhoto(photo("Holiday.Beach.JPG", {40, 30}));
    ASSERT_TRUE(upper);
    EXPECT_EQ(upper->name, "Holiday.Beach");
    EXPECT_EQ(upper->format, ".JPG");
}

TEST_F(PhotoAddingTest, FilesWithoutAPictureAreLeftOutAndNamedOnce) {
    Catalogue catalogue;
    Album album(catalogue, [](int) { return 0; });
    PhotoAdder adder(album);
    const QString good1 = photo("a.jpg", {400, 300});
    const QString empty = folder_.write("empty.jpg");
    const QString text = folder_.write("notes.jpg", "just some text, no picture");
    const QString missing = folder_.path() + "gone.jpg";
    const QString good2 = photo("b.jpg", {300, 400});
    QByteArray broken = test::readFile(good1);
    broken.truncate(40);
    const QString cut = folder_.write("cut.jpg", broken);
    adder.addAll({good1, empty, text, missing, cut, good2});
    ASSERT_EQ(album.photos().size(), 2);
    EXPECT_EQ(album.photos().at(0).location, good1);
    EXPECT_EQ(album.photos().at(1).location, good2);
    EXPECT_EQ(adder.leftOut(), QStringList({empty, text, missing, cut}));
    const QStringList named{empty, text, missing, cut};
    EXPECT_EQ(leftOutPhotosMessage(adder.leftOut()),
              texts::kPhotosLeftOut + "\n" + named.join("\n"));
    EXPECT_TRUE(leftOutPhotosMessage({}).isEmpty());

    // A picture of another format under a .jpg name is still a picture.
    QImage png(64, 48, QImage::Format_RGB32);
    png.fill(Qt::red);
    const QString renamed = folder_.path() + "really_png.jpg";
    ASSERT_TRUE(png.save(renamed, "PNG"));
    EXPECT_TRUE(adder.add(renamed));
    EXPECT_EQ(album.photos().at(2).width, 64);
}

TEST_F(PhotoAddingTest, IncompletePhotosAreAddedAndNamedOnceAndOddFilesLeftOut) {
    Catalogue catalogue;
    Album album(catalogue, [](int) { return 0; });
    PhotoAdder adder(album);
    const QString good = photo("good.jpg", {640, 480});
    QByteArray bytes = test::readFile(photo("source.jpg", {640, 480}));
    const QString cut = folder_.write("cut.jpg", bytes.left(bytes.size() * 2 / 3));
    const QString pipe = folder_.fifo("pipe.jpg");
    const QString dir = folder_.mkdir("folder.jpg");
    const QString huge = photo("huge.jpg", {64, 48});
    QFile file(huge);
    ASSERT_TRUE(file.resize(kLargestPhotoBytes + 1));
    adder.addAll({good, cut, pipe, dir, huge});
    ASSERT_EQ(album.photos().size(), 2);
    EXPECT_EQ(album.photos().at(1).location, cut);
    EXPECT_EQ(QSize(album.photos().at(1).width, album.photos().at(1).height), QSize(640, 480));
    EXPECT_EQ(adder.incomplete(), QStringList{cut});
    EXPECT_EQ(incompletePhotosMessage(adder.incomplete()), texts::kPhotosIncomplete + "\n" + cut);
    EXPECT_TRUE(incompletePhotosMessage({}).isEmpty());
    // Not photos: told with the other files that hold no picture.
    EXPECT_EQ(adder.leftOut(), (QStringList{pipe, dir, huge}));

    // The combined add measures the same way.
    ChosenPhotos chosen;
    chosen.add({cut, pipe, good});
    EXPECT_EQ(chosen.incomplete, QStringList{cut});
    EXPECT_EQ(chosen.unreadable, QStringList{pipe});
    EXPECT_EQ(chosen.photos.size(), 2);
}

TEST_F(PhotoAddingTest, AnAddCountsEveryFileRefreshesBackgroundsAndPlacesWhatItAdded) {
    Catalogue catalogue;
    catalogue.setRecords({test::templateRecord("A", "|picture_1|", "|heng|")});
    Album album(catalogue, [](int) { return 0; });
    int maximum = -1;
    int steps = 0;
    PhotoAdder adder(album, {[&](int m) { maximum = m; }, [&](int n) { steps += n; }});
    const QString missing = folder_.path() + "gone.jpg";
    adder.addAll({photo("a.jpg", {400, 300}), missing, photo("b.jpg", {400, 300})});
    // A step for every file, the one left out too.
    EXPECT_EQ(steps, 3);
    EXPECT_EQ(adder.addedCount(), 2);
    EXPECT_EQ(adder.leftOut(), QStringList{missing});

    EXPECT_EQ(adder.placeAll(), 0);
    EXPECT_EQ(maximum, 2);
    EXPECT_GT(steps, 3);
    for (const PhotoRecord& p : album.photos().records()) {
        EXPECT_TRUE(p.inTemplate);
    }
    ASSERT_EQ(album.backgrounds().rows().size(), album.templates().size());
    for (const BackgroundRow& row : album.backgrounds().rows()) {
        EXPECT_TRUE(row.hasPicture());
    }
}

TEST_F(PhotoAddingTest, ABatchCanBeAddedInTheOrderTakenOrByName) {
    // Chosen in this order; taken in another. The undated one goes by its file's time, the
    // incomplete one keeps its mark, the unreadable one is left out and still counted.
    QImage picture(QSize(64, 48), QImage::Format_RGB32);
    picture.fill(Qt::darkCyan);
    const QByteArray plain = test::jpegBytes(picture);
    const auto dated = [&](const QString& name, const char* when) {
        return folder_.write(name, test::withExifTimeTaken(plain, when));
    };
    const QString p10 = dated("p10.jpg", "2024:07:01 12:00:00");
    const QString p2 = dated("p2.jpg", "2023:12:31 23:59:59");
    const QString undated = folder_.write("P1.jpg", plain);
    {
        QFile file(undated);
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        ASSERT_TRUE(file.setFileTime(QDateTime(QDate(2024, 1, 15), QTime(8, 0)),
                                     QFileDevice::FileModificationTime));
    }
    QByteArray cutBytes = test::withExifTimeTaken(test::readFile(photo("source.jpg", {640, 480})),
                                                  "2024:01:01 00:00:00");
    const QString cut = folder_.write("p3.jpg", cutBytes.left(cutBytes.size() * 2 / 3));
    const QString gone = folder_.path() + "gone.jpg";
    const QStringList chosen = {p10, gone, p2, undated, cut};

    const auto added = [&](PhotoOrder order, QStringList* incomplete = nullptr) {
        Catalogue catalogue;
        Album album(catalogue, [](int) { return 0; });
        int steps = 0;
        PhotoAdder adder(album, {{}, [&](int n) { steps += n; }});
        adder.setOrder(order);
        adder.addAll(chosen);
        EXPECT_EQ(steps, 5);
        EXPECT_EQ(adder.leftOut(), QStringList{gone});
        if (incomplete) {
            *incomplete = adder.incomplete();
        }
        QStringList rows;
        for (const PhotoRecord& photo : album.photos().records()) {
            rows << photo.name;
        }
        return rows;
    };
    QStringList incomplete;
    EXPECT_EQ(added(PhotoOrder::Added), (QStringList{"p10", "p2", "P1", "p3"}));
    EXPECT_EQ(added(PhotoOrder::TimeTaken, &incomplete), (QStringList{"p2", "p3", "P1", "p10"}));
    EXPECT_EQ(incomplete, QStringList{cut});
    EXPECT_EQ(added(PhotoOrder::Name), (QStringList{"P1", "p2", "p3", "p10"}));
    EXPECT_LT(compareFileNames("IMG_0009.jpg", "img_10.jpg"), 0);
    EXPECT_LT(compareFileNames("a.jpg", "a1.jpg"), 0);
    EXPECT_GT(compareFileNames("b2.jpg", "a10.jpg"), 0);
    EXPECT_LT(compareFileNames("x99999999999999999999.jpg", "x100000000000000000000.jpg"), 0);
    EXPECT_NE(compareFileNames("A.jpg", "a.jpg"), 0);

    // The same day twice: the chosen order stands between them.
    QVector<PhotoRecord> twins(3);
    twins[0].name = "b";
    twins[1].name = "a";
    twins[2].name = "c";
    twins[0].taken = twins[1].taken = QDateTime(QDate(2024, 5, 5), QTime(10, 0));
    twins[2].taken = QDateTime(QDate(2024, 5, 4), QTime(10, 0));
    sortPhotos(twins, PhotoOrder::TimeTaken);
    EXPECT_EQ(twins[0].name, "c");
    EXPECT_EQ(twins[1].name, "b");
    EXPECT_EQ(twins[2].name, "a");
}

TEST_F(PhotoAddingTest, PlacementStopsWhenNoTemplateTakesThePhotosLeft) {
    Catalogue catalogue;
    catalogue.setRecords({test::templateRecord("A", "|picture_1|", "|heng|")});
    Album album(catalogue, [](int) { return 0; });
    PhotoAdder adder(album);
    adder.addAll({photo("wide.jpg", {400, 300}), photo("tall.jpg", {300, 400})});
    QVector<int> placed;
    EXPECT_EQ(placeWaitingPhotos(album, [&](int n) { placed << n; }), 1);
    EXPECT_EQ(placed, QVector<int>{1});
    EXPECT_FALSE(album.photos().at(1).inTemplate);
}

TEST_F(PhotoAddingTest, AVeryWidePhotoIsNotDecodedWhole) {
    const QString path = photo("panorama.jpg", {3000, 2});
    const std::optional<PhotoRecord> record = measurePhoto(path);
    ASSERT_TRUE(record);
    EXPECT_EQ(shownPictureBox({3000, 2}), QSize(300, 1));
    EXPECT_EQ(QSize(record->width, record->height), QSize(3000, 2));
}

TEST_F(PhotoAddingTest, FramedTilesAreThePicturesTheCanvasLoadsOneByOne) {
    QVector<PhotoRecord> photos;
    for (const auto& [name, size] : {std::pair{"w.jpg", QSize(800, 600)},
                                     {"t.jpg", QSize(300, 400)},
                                     {"s.jpg", QSize(500, 500)}}) {
        PhotoRecord r = test::photoRecord(name, size.width(), size.height());
        r.location = photo(QString::fromLatin1(name), size);
        photos << r;
    }
    photos << test::photoRecord("missing", 640, 480);
    FittingCanvas canvas;
    canvas.showBadge(7);
    QVector<int> order;
    QVector<QImage> tiles;
    captureFramedPhotos(canvas, photos, QSize(118, 96), [&](int i, const QImage& capture) {
        order << i;
        tiles << capture;
    });
    EXPECT_EQ(order, (QVector<int>{0, 1, 2, 3}));
    EXPECT_FALSE(canvas.badgeVisible());
    FittingCanvas oneByOne;
    for (int i = 0; i < photos.size(); ++i) {
        oneByOne.apply(fitContainWithFrame(118, 96, photos[i].width, photos[i].height));
        oneByOne.loadPhoto(photos[i].location);
        EXPECT_EQ(tiles[i], oneByOne.capture()) << i;
    }
    EXPECT_EQ(tiles[0].size(), QSize(118, 90));
    EXPECT_EQ(tiles[1].size(), QSize(73, 96));
    EXPECT_EQ(canvas.fileName(), photos.last().location);
}

TEST(UnplacedPhotos, MessageSaysHowManyWhichAndWhy) {
    PhotoList photos;
    photos.append(test::photoRecord("sea", 800, 600));
    photos.append(test::photoRecord("tower", 600, 800));
    photos.append(test::photoRecord("hill", 800, 600));
    photos.append(test::photoRecord("door", 600, 800));
    photos.setInTemplate(0, true);
    photos.setInTemplate(2, true);
    EXPECT_EQ(unplacedPhotosMessage(photos, UnplacedReason::Catalogue),
              QStringList({texts::kPhotosLeftUnplaced.arg(2),
                           texts::kUnplacedPhotoLine.arg(2).arg("tower", texts::kPortraitPhoto),
                           texts::kUnplacedPhotoLine.arg(4).arg("door", texts::kPortraitPhoto),
                           texts::kNoTemplateForPortrait})
                  .join("\n"));
    photos.setInTemplate(2, false);
    const QString combined = unplacedPhotosMessage(photos, UnplacedReason::Combination);
    EXPECT_TRUE(combined.startsWith(texts::kPhotosLeftUnplaced.arg(3)));
    EXPECT_TRUE(combined.contains(texts::kCombinationTakesNoLandscape));
    EXPECT_TRUE(combined.endsWith(texts::kCombinationTakesNoPortrait));
    for (int row = 0; row < photos.size(); ++row) {
        photos.setInTemplate(row, true);
    }
    EXPECT_TRUE(unplacedPhotosMessage(photos, UnplacedReason::Catalogue).isEmpty());
}

}  // namespace
}  // namespace vellumo
