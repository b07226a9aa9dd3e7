#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QImage>

#include "manager/template_preview.h"
#include "project/album.h"
#include "tests/support/album_builders.h"
#include "tests/support/test_files.h"
#include "workspace/data_paths.h"
#include "workspace/errors.h"
#include "workspace/packed_file.h"
#include "workspace/program_folder.h"

namespace vellumo {
namespace {

using test::entryOf;
using test::templateRecord;

TEST(PlaceholderSize, FollowsTheTemplateClassAndTheDisplayEffect) {
    using enum TemplateClass;
    // A portrait single stands on the stage in its own shape, higher than the stage.
    EXPECT_EQ(placeholderSize(PortraitSingle, {}, DisplayEffect::FullScreen), QSize(450, 800));
    EXPECT_EQ(placeholderSize(PortraitSingle, {}, DisplayEffect::Medium), QSize(450, 800));
    EXPECT_EQ(placeholderSize(LandscapeSingle, {}, DisplayEffect::FullScreen), QSize(800, 450));
    EXPECT_EQ(placeholderSize(LandscapeSingle, {}, DisplayEffect::Medium), QSize(675, 450));
    // An advanced template's pictures keep their listed sizes.
    EXPECT_EQ(placeholderSize(Combined, {960, 540}, DisplayEffect::Medium), QSize(400, 225));
    EXPECT_EQ(placeholderSize(Combined, {}, DisplayEffect::FullScreen), QSize(800, 450));
}

TEST(PlaceholderPicture, CarriesTheChineseWordForPhoto) {
    // 400 × 300: the word is drawn 48 pixels high, two ideographs about 96 pixels wide (the
    // English word was more than 150).
    const QImage picture = placeholderPicture(QSize(400, 300));
    QRect drawn;
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            if (qGray(picture.pixel(x, y)) > 200) {
                drawn |= QRect(x, y, 1, 1);
            }
        }
    }
    EXPECT_GT(drawn.width(), 80);
    EXPECT_LT(drawn.width(), 110);
    EXPECT_GT(drawn.height(), 36);
}

TEST(DisplayEffect, OnlyTheChosenSlotOfAPhotoDecidesIt) {
    using enum TemplatePreviewMode;
    EXPECT_EQ(displayEffectFor(SlotTemplate, CropMark::Medium), DisplayEffect::Medium);
    EXPECT_EQ(displayEffectFor(SlotTemplate, CropMark::FullScreen), DisplayEffect::FullScreen);
    EXPECT_EQ(displayEffectFor(SlotTemplate, CropMark::None), DisplayEffect::FullScreen);
    EXPECT_EQ(displayEffectFor(UsedTemplate, CropMark::Medium), DisplayEffect::FullScreen);
    EXPECT_EQ(displayEffectText(DisplayEffect::Medium), QStringLiteral("照片适中显示效果"));
    EXPECT_EQ(previewModeWord(SlotTemplate),
              QStringLiteral("yulan_zhujiemian_duiying_shiyongmoban"));
}

class PhotoSlotsTest : public ::testing::Test {
protected:
    void SetUp() override {
        catalogue_.setRecords({
            templateRecord("双横", "|picture_1|picture_2|", "|heng|heng|", "|960|960|",
                           "|540|540|"),
            templateRecord("横", "|picture_1|", "|heng|"),
        });
        for (const char* name : {"a", "b", "c"}) {
            album_.addPhoto(test::photoRecord(name, 800, 600));
        }
    }

    Catalogue catalogue_;
    Album album_{catalogue_, [](int) { return 0; }};
};

TEST_F(PhotoSlotsTest, APhotoInTwoSlotsOfOneTemplateIsListedTwice) {
    const UsedTemplates& templates = album_.templates();
    album_.addTemplate(entryOf(catalogue_, 0));
    album_.addTemplate(entryOf(catalogue_, 1, TemplateClass::LandscapeSingle));
    ASSERT_EQ(album_.placePhoto(1, 0, 0), PlaceResult::Placed);
    ASSERT_EQ(album_.placePhoto(1, 0, 1), PlaceResult::Placed);
    ASSERT_EQ(album_.placePhoto(0, 1, 0), PlaceResult::Placed);

    const QVector<PhotoSlotUse> uses = slotsHoldingPhoto(templates, 1);
    ASSERT_EQ(uses.size(), 2);
    EXPECT_EQ(uses[0].templateName, QStringLiteral("双横"));
    EXPECT_EQ(uses[1].templateName, QStringLiteral("双横"));
    EXPECT_EQ(uses[0].slotRow, 0);
    EXPECT_EQ(uses[1].slotRow, 1);
    EXPECT_EQ(uses[0].photoName, QStringLiteral("b"));
    EXPECT_EQ(uses[0].photoPath, QStringLiteral("/photos/b.jpg"));
    // Two slots: the user chooses, even though the template is complete.
    EXPECT_EQ(chooserOpening(templates, 1), ChooserOpening::ForUser);
}

TEST_F(PhotoSlotsTest, OnlyOneSlotOfACompleteTemplateOpensThePreviewAtOnce) {
    const UsedTemplates& templates = album_.templates();
    album_.addTemplate(entryOf(catalogue_, 1, TemplateClass::LandscapeSingle));
    album_.addTemplate(entryOf(catalogue_, 0));
    ASSERT_EQ(album_.placePhoto(0, 0, 0), PlaceResult::Placed);
    ASSERT_EQ(album_.placePhoto(1, 1, 0), PlaceResult::Placed);
    EXPECT_EQ(chooserOpening(templates, 0), ChooserOpening::Automatic);
    // In one slot of a template that still has an empty slot.
    EXPECT_EQ(chooserOpening(templates, 1), ChooserOpening::ForUser);
    EXPECT_EQ(chooserOpening(templates, 2), ChooserOpening::Nothing);
    // An emptied slot no longer holds its photo.
    album_.deletePhoto(0);
    EXPECT_EQ(chooserOpening(templates, 0), ChooserOpening::ForUser);
    EXPECT_TRUE(slotsHoldingPhoto(templates, -1).isEmpty());
}

class PreviewFolderTest : public ::testing::Test {
protected:
    void SetUp() override { setProgramFolder(folder_.path()); }
    void TearDown() override { setProgramFolder(QString()); }
    test::TempFolder folder_;
};

TEST_F(PreviewFolderTest, APortraitCatalogueTemplateGetsPortraitPlaceholders) {
    const CatalogueRecord record =
        templateRecord("竖", "|picture_1|picture_1_1|", "|shu|shu|", "|100|100|", "|100|100|");
    QDir().mkpath(previewFolder());
    QDir().mkpath(dataPath(paths::kPictureFolder));
    stageCataloguePreview(record, TemplateClass::PortraitSingle, DisplayEffect::FullScreen,
                          previewFolder());
    // Every picture of the list, at the portrait size, and no bitmap left behind.
    for (const QString name : {"picture_1", "picture_1_1"}) {
        const QImage placeholder(previewFolder() + name + ".jpg");
        ASSERT_FALSE(placeholder.isNull()) << name.toStdString();
        EXPECT_EQ(placeholder.size(), QSize(450, 800));
        const QColor centre = placeholder.pixelColor(225, 200);
        EXPECT_LT(centre.red(), 40);
        EXPECT_GT(centre.green(), 100);
        EXPECT_GT(centre.blue(), 100);
    }
    EXPECT_TRUE(QDir(previewFolder()).entryList({"*.bmp"}, QDir::Files).isEmpty());
    EXPECT_EQ(QImage(previewFolder() + paths::kStagedBackground).size(), QSize(800, 450));
    EXPECT_EQ(QImage(dataPath(paths::kLeadInPicture)).size(), QSize(81, 57));
}

TEST_F(PreviewFolderTest, UnpackingEmptiesTheFolderAndWritesTwoCopies) {
    const QByteArray movie = "vellumo-movie 1\nframes 5\n";
    const QString package = folder_.write("packages/t.rar", packNested(movie, 20));
    folder_.write(paths::kSingleTemplateStagingFolder + "old.jpg", "old");
    folder_.write(paths::kPictureFolder + "old.jpg", "old");
    const PreviewMovies movies = unpackPreviewTemplate(package, PreviewOpener::SlotTemplate);
    EXPECT_EQ(movies.movie, previewFolder() + "wj_y_l_d_g_2.rar");
    EXPECT_EQ(movies.copy, previewFolder() + "wj_y_l_d_g_2_2.rar");
    EXPECT_EQ(test::readFile(movies.movie), movie);
    EXPECT_EQ(test::readFile(movies.copy), movie);
    EXPECT_FALSE(QFileInfo::exists(previewFolder() + "old.jpg"));
    EXPECT_TRUE(QFileInfo(dataPath(paths::kPictureFolder)).isDir());
    EXPECT_FALSE(QFileInfo::exists(dataPath(paths::kPictureFolder) + "old.jpg"));
    // The intermediate layers stay in the unpack folder for the workspace cleaning.
    EXPECT_EQ(QDir(dataPath(paths::kUnpackFolder))
                  .entryList({"wj_y_l_d_g_1wj_y_l_d_g_1wj_y_l_d_g_1_*"}, QDir::Files)
                  .size(),
              19);

    removePreviewFolders();
    EXPECT_FALSE(QFileInfo::exists(dataPath(paths::kStagingFolder)));
}

TEST_F(PreviewFolderTest, ADamagedPackageIsAnError) {
    const QString package = folder_.write("packages/bad.rar", "not packed");
    EXPECT_THROW(unpackPreviewTemplate(package, PreviewOpener::CatalogueTemplate), Error);
}

}  // namespace
}  // namespace vellumo
