#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QPainter>

#include "photo/fitting_canvas.h"
#include "project/album.h"
#include "tests/support/album_builders.h"
#include "tests/support/test_files.h"
#include "timeline/stager.h"
#include "workspace/data_paths.h"
#include "workspace/errors.h"
#include "workspace/packed_file.h"
#include "workspace/program_folder.h"

namespace vellumo {
namespace {

using test::entryOf;
using test::photoRecord;
using test::templateRecord;

PhotoSlot slotOf(TemplateClass cls, Placement full = {}, Placement medium = {}) {
    TemplateInfo info;
    info.templateClass = cls;
    PhotoSlot slot;
    slot.info = TemplateRef(info);
    slot.fullScreen = full;
    slot.medium = medium;
    return slot;
}

TEST(SlotGeometry, ReferenceFramesAndStageSizes) {
    const QSize preview(800, 450);
    // A landscape single in medium mode: 1920 × 1440 is too high, so 1440 × 1080.
    const PhotoSlot landscape = slotOf(TemplateClass::LandscapeSingle, {0, 0, 1920, 1440});
    SlotGeometry g = slotGeometry(landscape, 4000, 3000, LandscapeMode::Medium);
    EXPECT_EQ(g.frame, QSize(1440, 1080));
    EXPECT_EQ(g.photo, QRect(0, 0, 1440, 1080));
    EXPECT_EQ(stagePictureSize(landscape, {}, g.frame, preview), QSize(600, 450));
    EXPECT_EQ(slotGeometry(landscape, 2000, 2000, LandscapeMode::Medium).frame, QSize(1080, 1080));
    EXPECT_EQ(slotGeometry(landscape, 4000, 1000, LandscapeMode::Medium).frame, QSize(1920, 480));
    // Full screen: the reference frame and the full-screen placement.
    g = slotGeometry(landscape, 4000, 3000, LandscapeMode::FullScreen);
    EXPECT_EQ(g.frame, QSize(1920, 1080));
    EXPECT_EQ(g.photo, QRect(0, 0, 1920, 1440));
    EXPECT_EQ(stagePictureSize(landscape, {}, g.frame, preview), QSize(800, 450));

    // A portrait single: the frame is the medium width plus twice its left.
    const PhotoSlot portrait = slotOf(TemplateClass::PortraitSingle, {}, {656, 0, 608, 1080});
    g = slotGeometry(portrait, 3000, 4000, LandscapeMode::FullScreen);
    EXPECT_EQ(g.frame, QSize(1920, 1080));
    EXPECT_EQ(stagePictureSize(portrait, {}, g.frame, preview), QSize(800, 450));
    const PhotoSlot narrow = slotOf(TemplateClass::PortraitSingle, {}, {0, 0, 810, 1080});
    EXPECT_EQ(stagePictureSize(narrow, {}, slotGeometry(narrow, 3, 4, {}).frame, preview),
              QSize(337, 450));

    // An advanced template picture of 960 × 540 becomes 400 × 225.
    PhotoSlot advanced = slotOf(TemplateClass::Combined, {0, 0, 960, 720});
    advanced.mobanchicun_width = 960;
    advanced.mobanchicun_height = 540;
    EXPECT_EQ(slotGeometry(advanced, 4000, 3000, {}).frame, QSize(960, 540));
    EXPECT_EQ(stagePictureSize(advanced, QSize(960, 540), {}, preview), QSize(400, 225));
    // A picture without a size gets the whole stage rather than nothing.
    EXPECT_EQ(stagePictureSize(advanced, QSize(0, 0), {}, preview), preview);
}

QImage solid(QColor color) {
    QImage image(400, 300, QImage::Format_RGB32);
    image.fill(color);
    return image;
}

class StagingTest : public ::testing::Test {
protected:
    void SetUp() override {
        setProgramFolder(folder_.path());
        folder_.write(paths::kClosingMovie, packNested("closing movie", 16));
        folder_.write("packages/a.rar", packNested("movie a", 20));
        folder_.write("packages/b.rar", packNested("movie b", 20));
        writeJpeg(solid(Qt::red), folder_.path() + "red.jpg");
        writeJpeg(solid(Qt::blue), folder_.path() + "blue.jpg");
        CatalogueRecord a = templateRecord("A", "|picture_1|picture_10|picture_1_0|",
                                           "|heng|heng|heng|", "|960|960|480|", "|540|540|270|");
        a.packagePath = folder_.path() + "packages/a.rar";
        CatalogueRecord b = templateRecord("B", "|picture_1|", "|heng|");
        b.packagePath = folder_.path() + "packages/b.rar";
        catalogue_.setRecords({a, b});
    }
    void TearDown() override { setProgramFolder(QString()); }

    PhotoRecord photo(const QString& file) {
        PhotoRecord p = photoRecord(file, 400, 300);
        p.location = folder_.path() + file;
        return p;
    }

    static QColor centre(const QString& path) {
        const QImage image(path);
        return image.isNull() ? QColor() : image.pixelColor(image.width() / 2, image.height() / 2);
    }

    test::TempFolder folder_;
    Catalogue catalogue_;
    Album album_{catalogue_, [](int) { return 0; }};
};

TEST_F(StagingTest, PreparesCompleteTemplatesOnly) {
    album_.addPhoto(photo("red.jpg"));
    album_.addPhoto(photo("blue.jpg"));
    album_.addTemplate(entryOf(catalogue_, 0));
    album_.addTemplate(entryOf(catalogue_, 1, TemplateClass::LandscapeSingle));
    album_.addTemplate(entryOf(catalogue_, 1, TemplateClass::LandscapeSingle));
    // Template 0: picture_1 red, picture_10 blue. Template 2 stays incomplete.
    ASSERT_EQ(album_.placePhoto(0, 0, 0), PlaceResult::Placed);
    ASSERT_EQ(album_.placePhoto(1, 0, 1), PlaceResult::Placed);
    ASSERT_EQ(album_.placePhoto(1, 1, 0), PlaceResult::Placed);
    album_.refreshDefaultBackgrounds();

    Stager stager(album_);
    int steps = 0;
    const QVector<int> playList = stager.prepare({800, 450}, [&](int done, int total) {
        steps = done;
        EXPECT_EQ(total, 9);
    });
    EXPECT_EQ(playList, (QVector<int>{0, 1}));
    EXPECT_EQ(steps, 9);

    const QString staging = dataPath(paths::kTemplateStagingFolder);
    EXPECT_EQ(test::readFile(staging + "wj_y_l_1/wj_y_l_1.rar"), QByteArrayLiteral("movie a"));
    EXPECT_EQ(test::readFile(staging + "wj_y_l_2/wj_y_l_2.rar"), QByteArrayLiteral("movie b"));
    EXPECT_FALSE(QFileInfo::exists(staging + "wj_y_l_3"));
    EXPECT_EQ(test::readFile(staging + "wj_y_l_z_h/wj_y_l_z_h.rar"),
              QByteArrayLiteral("closing movie"));
    EXPECT_TRUE(QFileInfo(dataPath(paths::kPictureFolder)).isDir());

    // picture_10 holds both slot names and its own slot comes later, so it wins; the
    // decoration picture_1_0 holds only "picture_1".
    const QString one = staging + "wj_y_l_1/";
    EXPECT_EQ(QImage(one + "picture_1.jpg").size(), QSize(400, 225));
    EXPECT_GT(centre(one + "picture_1.jpg").red(), 200);
    EXPECT_GT(centre(one + "picture_10.jpg").blue(), 200);
    EXPECT_EQ(QImage(one + "picture_1_0.jpg").size(), QSize(200, 112));
    EXPECT_GT(centre(one + "picture_1_0.jpg").red(), 200);
    // The background covers the stage with the first landscape photo.
    EXPECT_EQ(QImage(one + "wj_y_l_b_j.jpg").size(), QSize(800, 450));
    EXPECT_GT(centre(one + "wj_y_l_b_j.jpg").red(), 200);
    // No intermediate files are left.
    EXPECT_EQ(QDir(one).entryList(QDir::Files).size(), 5);
}

TEST_F(StagingTest, MissingPhotosAreGreyAndUnsuppliedPicturesBlack) {
    catalogue_.setRecords(
        {templateRecord("D", "|picture_1|deco|", "|heng|heng|", "|960|480|", "|540|270|")});
    album_.addPhoto(photo("gone.jpg"));
    album_.addTemplate(entryOf(catalogue_, 0));
    ASSERT_EQ(album_.placePhoto(0, 0, 0), PlaceResult::Placed);
    Stager stager(album_);
    const QString out = folder_.mkdir("out/");
    stager.stagePictures(0, {800, 450}, LandscapeMode::FullScreen, out);
    const QColor grey = centre(out + "picture_1.jpg");
    EXPECT_NEAR(grey.red(), 128, 6);
    EXPECT_NEAR(grey.blue(), 128, 6);
    EXPECT_LT(centre(out + "deco.jpg").value(), 10);
    EXPECT_EQ(stager.missingPhotos(), (QStringList{folder_.path() + "gone.jpg"}));
}

TEST_F(StagingTest, BlackBackgroundWhenTheRowHasNoPicture) {
    Stager stager(album_);
    const QString out = folder_.mkdir("out/");
    stager.stageBackground(0, {800, 450}, out);  // No rows: nothing written.
    EXPECT_FALSE(QFileInfo::exists(out + "wj_y_l_b_j.jpg"));

    album_.addTemplate(entryOf(catalogue_, 1, TemplateClass::LandscapeSingle));
    ASSERT_FALSE(album_.backgrounds().row(0).hasPicture());
    stager.stageBackground(0, {1920, 1080}, out);
    const QImage black(out + "wj_y_l_b_j.jpg");
    EXPECT_EQ(black.size(), QSize(800, 450));
    EXPECT_LT(black.pixelColor(400, 225).value(), 10);
}

TEST_F(StagingTest, MissingBackgroundIsBlackAndNamedOnce) {
    catalogue_.setRecords({templateRecord("D", "|picture_1|", "|heng|", "|960|", "|540|")});
    album_.addPhoto(photo("gone.jpg"));
    album_.refreshDefaultBackgrounds();
    album_.addTemplate(entryOf(catalogue_, 0, TemplateClass::LandscapeSingle));
    album_.addTemplate(entryOf(catalogue_, 0, TemplateClass::LandscapeSingle));
    ASSERT_EQ(album_.backgrounds().row(1).location, folder_.path() + "gone.jpg");
    ASSERT_EQ(album_.placePhoto(0, 0, 0), PlaceResult::Placed);

    Stager stager(album_);
    for (int t = 0; t < 2; ++t) {
        const QString out = folder_.mkdir(QStringLiteral("out%1/").arg(t));
        stager.stageBackground(t, {1920, 1080}, out);
        stager.stagePictures(t, {1920, 1080}, LandscapeMode::FullScreen, out);
        // The picture of a row without a background, not a file icon over the stage.
        const QImage background(out + "wj_y_l_b_j.jpg");
        EXPECT_EQ(background.size(), QSize(800, 450));
        for (const QPoint p : {QPoint(400, 225), QPoint(10, 10), QPoint(790, 440)}) {
            EXPECT_LT(background.pixelColor(p).value(), 10);
        }
    }
    // One file gone, used as a background twice and as a photo once: the user hears of it once.
    EXPECT_EQ(stager.missingPhotos(), (QStringList{folder_.path() + "gone.jpg"}));
}

TEST_F(StagingTest, DamagedTemplatePackageIsAnErrorNamingIt) {
    folder_.write("packages/b.rar", "damaged");
    album_.addPhoto(photo("red.jpg"));
    album_.addTemplate(entryOf(catalogue_, 1, TemplateClass::LandscapeSingle));
    album_.placePhoto(0, 0, 0);
    Stager stager(album_);
    try {
        stager.prepare({800, 450});
        FAIL() << "no error";
    } catch (const FileError& e) {
        EXPECT_EQ(e.file(), folder_.path() + "packages/b.rar");
    }
}

}  // namespace
}  // namespace vellumo
