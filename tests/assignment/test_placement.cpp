#include <gtest/gtest.h>

#include "assignment/placement.h"
#include "project/album.h"
#include "tests/support/album_builders.h"

namespace vellumo {
namespace {

using test::photoRecord;
using test::templateRecord;

class PlacementTest : public ::testing::Test {
protected:
    void useCatalogue(QVector<CatalogueRecord> records) {
        catalogue_.setRecords(std::move(records));
    }
    void addPhotos(int landscape, int portrait) {
        for (int i = 0; i < landscape; ++i) {
            album_.addPhoto(photoRecord(QStringLiteral("l%1").arg(i), 800, 600));
        }
        for (int i = 0; i < portrait; ++i) {
            album_.addPhoto(photoRecord(QStringLiteral("p%1").arg(i), 600, 800));
        }
    }
    QStringList usedNames() const {
        QStringList names;
        for (const UsedTemplate& t : album_.templates().templates()) {
            names << t.info->name;
        }
        return names;
    }
    int run() {
        PlacementRun placement = placementRun(album_);
        placement.start();
        return placement.runToEnd();
    }

    Catalogue catalogue_;
    Album album_{catalogue_, [](int) { return 0; }};
};

TEST_F(PlacementTest, AdvancedTemplatesComeBeforeSinglesInAPass) {
    useCatalogue({templateRecord("A", "|picture_1|", "|heng|"),
                  templateRecord("B", "|picture_1|", "|heng|"),
                  templateRecord("C", "|picture_1|picture_2|", "|heng|heng|")});
    addPhotos(3, 0);
    EXPECT_EQ(run(), 0);
    EXPECT_EQ(usedNames(), (QStringList{"C", "A"}));
    const auto& table = album_.templates().slotTable();
    EXPECT_EQ(table[0].photoRow, 0);
    EXPECT_EQ(table[1].photoRow, 1);
    EXPECT_EQ(table[2].photoRow, 2);
    for (const UsedTemplate& t : album_.templates().templates()) {
        EXPECT_TRUE(t.complete);
    }
    for (const PhotoSlot& s : table) {
        EXPECT_TRUE(s.matched);
        EXPECT_NE(s.cropMark, CropMark::None);
        EXPECT_GT(s.fullScreen.width, 0);
    }
    EXPECT_TRUE(album_.templates().invariantViolations().isEmpty());
}

TEST_F(PlacementTest, SinglesRotateThroughTheCatalogue) {
    useCatalogue({templateRecord("A", "|picture_1|", "|heng|"),
                  templateRecord("B", "|picture_1|", "|heng|")});
    addPhotos(5, 0);
    EXPECT_EQ(run(), 0);
    EXPECT_EQ(usedNames(), (QStringList{"A", "B", "A", "B", "A"}));
}

TEST_F(PlacementTest, MixedTemplateTakesOneOfEachFirst) {
    useCatalogue({templateRecord("S", "|picture_1|", "|heng|"),
                  templateRecord("M", "|picture_1|picture_2|", "|heng|shu|"),
                  templateRecord("P", "|picture_1|", "|shu|")});
    addPhotos(1, 1);
    EXPECT_EQ(run(), 0);
    EXPECT_EQ(usedNames(), (QStringList{"M"}));
    EXPECT_EQ(album_.templates().slot(0).photoRow, 0);
    EXPECT_EQ(album_.templates().slot(1).photoRow, 1);
}

TEST_F(PlacementTest, PhotosAlreadyPlacedAreLeftAlone) {
    useCatalogue({templateRecord("A", "|picture_1|", "|heng|"),
                  templateRecord("P", "|picture_1|", "|shu|")});
    addPhotos(2, 1);
    EXPECT_EQ(run(), 0);
    EXPECT_EQ(album_.templates().size(), 3);
    addPhotos(1, 0);
    EXPECT_EQ(run(), 0);
    ASSERT_EQ(album_.templates().size(), 4);
    EXPECT_EQ(album_.templates().slot(3).photoRow, 3);
    // A second run with nothing waiting adds nothing.
    EXPECT_EQ(run(), 0);
    EXPECT_EQ(album_.templates().size(), 4);
}

TEST_F(PlacementTest, RunStopsWhenNoTemplateCanTakeTheWaitingPhotos) {
    // No portrait template at all: the portrait photos can never be placed.
    useCatalogue({templateRecord("A", "|picture_1|", "|heng|")});
    addPhotos(2, 3);
    EXPECT_EQ(run(), 3);
    EXPECT_EQ(usedNames(), (QStringList{"A", "A"}));
    EXPECT_FALSE(album_.photos().at(2).inTemplate);
}

TEST_F(PlacementTest, EveryTemplateGetsADefaultBackground) {
    useCatalogue({templateRecord("A", "|picture_1|", "|heng|"),
                  templateRecord("P", "|picture_1|", "|shu|")});
    addPhotos(0, 2);
    EXPECT_EQ(run(), 0);
    // Only portrait photos: no background can be picked.
    for (const BackgroundRow& row : album_.backgrounds().rows()) {
        EXPECT_FALSE(row.hasPicture());
    }
    // One landscape photo later fills every empty row with it.
    addPhotos(1, 0);
    album_.refreshDefaultBackgrounds();
    for (const BackgroundRow& row : album_.backgrounds().rows()) {
        EXPECT_EQ(row.location, album_.photos().at(2).location);
    }
    // Deleting that photo keeps the rows' pictures.
    album_.deletePhoto(2);
    EXPECT_EQ(album_.backgrounds().row(0).pictureName, "l0");
}

TEST(PlacementPools, BuiltOnlyForTheCountsWaiting) {
    Catalogue catalogue;
    catalogue.setRecords({templateRecord("LL", "|picture_1|picture_2|", "|heng|heng|"),
                          templateRecord("LP", "|picture_1|picture_2|", "|heng|shu|"),
                          templateRecord("PP", "|picture_1|picture_2|", "|shu|shu|"),
                          templateRecord("L", "|picture_1|", "|heng|"),
                          templateRecord("E", "|picture_1|", "|shuheng|")});
    EXPECT_EQ(buildPool(Pool::Mixed, catalogue, 1, 1).size(), 1);
    EXPECT_EQ(buildPool(Pool::Mixed, catalogue, 1, 0).size(), 0);
    EXPECT_EQ(buildPool(Pool::AdvancedLandscape, catalogue, 1, 5).size(), 0);
    EXPECT_EQ(buildPool(Pool::AdvancedLandscape, catalogue, 2, 0).size(), 1);
    EXPECT_EQ(buildPool(Pool::AdvancedPortrait, catalogue, 0, 2).size(), 1);
    EXPECT_EQ(buildPool(Pool::SingleLandscape, catalogue, 1, 0).size(), 2);
    EXPECT_EQ(buildPool(Pool::SinglePortrait, catalogue, 1, 0).size(), 0);
    EXPECT_EQ(buildPool(Pool::SinglePortrait, catalogue, 0, 1).size(), 1);

    // A template of two landscape slots and one portrait: two landscape photos and one portrait
    // waiting fill it, one landscape and two portraits do not.
    catalogue.setRecords(
        {templateRecord("LLP", "|picture_1|picture_2|picture_3|", "|heng|heng|shu|")});
    EXPECT_EQ(buildPool(Pool::Mixed, catalogue, 1, 2).size(), 0);
    EXPECT_EQ(buildPool(Pool::Mixed, catalogue, 2, 1).size(), 1);
}

TEST_F(PlacementTest, AMixedTemplateWaitsForItsLandscapeAndPortraitCounts) {
    useCatalogue({templateRecord("LLP", "|picture_1|picture_2|picture_3|", "|heng|heng|shu|"),
                  templateRecord("L", "|picture_1|", "|heng|"),
                  templateRecord("P", "|picture_1|", "|shu|")});
    addPhotos(1, 2);
    EXPECT_EQ(run(), 0);
    EXPECT_EQ(usedNames(), (QStringList{"L", "P", "P"}));
}

TEST_F(PlacementTest, AMixedTemplateTakesTwoLandscapesAndAPortrait) {
    useCatalogue({templateRecord("LLP", "|picture_1|picture_2|picture_3|", "|heng|heng|shu|"),
                  templateRecord("L", "|picture_1|", "|heng|"),
                  templateRecord("P", "|picture_1|", "|shu|")});
    addPhotos(2, 1);
    EXPECT_EQ(run(), 0);
    EXPECT_EQ(usedNames(), QStringList{"LLP"});
}

}  // namespace
}  // namespace vellumo
