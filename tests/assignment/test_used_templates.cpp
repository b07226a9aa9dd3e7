#include <gtest/gtest.h>

#include <QSet>

#include <memory>

#include "album/used_templates.h"
#include "assignment/assignment_texts.h"
#include "project/album.h"
#include "tests/support/album_builders.h"

namespace vellumo {
namespace {

using test::entryOf;
using test::photoRecord;
using test::templateRecord;

struct PlacementCase {
    const char* label;
    int slotWidth, slotHeight;
    SlotOrientation orientation;
    int w, h;
    Placement fullScreen, medium;
    CropMark mark;
};

TEST(DefaultPlacement, IntegerArithmeticForEveryKindOfSlot) {
    const auto L = SlotOrientation::Landscape;
    const auto P = SlotOrientation::Portrait;
    const PlacementCase cases[] = {
        {"4:3 in 1920x1080 landscape",
         1920,
         1080,
         L,
         4000,
         3000,
         {0, 0, 1920, 1440},
         {240, 0, 1440, 1080},
         CropMark::FullScreen},
        {"portrait in a size-0 slot",
         0,
         0,
         P,
         3000,
         4000,
         {0, 0, 810, 1080},
         {0, 0, 810, 1080},
         CropMark::Medium},
        {"portrait in 1080x1920",
         1080,
         1920,
         P,
         3000,
         4000,
         {-180, 0, 1440, 1920},
         {-180, 0, 1440, 1920},
         CropMark::FullScreen},
        // A size-0 landscape slot fits the frame's width and keeps the top.
        {"4:3 in a size-0 slot",
         0,
         0,
         L,
         4000,
         3000,
         {0, 0, 1920, 1440},
         {240, 0, 1440, 1080},
         CropMark::FullScreen},
        {"panorama in a size-0 slot",
         0,
         0,
         L,
         3000,
         1000,
         {0, 0, 1920, 640},
         {0, 220, 1920, 640},
         CropMark::FullScreen},
        {"wide photo in a small slot",
         960,
         540,
         L,
         1000,
         300,
         {-420, 0, 1800, 540},
         {0, 126, 960, 288},
         CropMark::FullScreen},
        {"odd sizes halve toward zero",
         801,
         451,
         L,
         1001,
         700,
         {0, 0, 801, 560},
         {78, 0, 644, 451},
         CropMark::FullScreen},
        // An even slot and an odd medium width: the left is half the slot less half the width,
        // each halved on its own (960 - 720), not the halved difference (239).
        {"odd photo width in an even slot",
         1920,
         1080,
         L,
         4003,
         3000,
         {0, 0, 1920, 1438},
         {240, 0, 1441, 1080},
         CropMark::FullScreen},
        {"square in a landscape slot",
         1920,
         1080,
         L,
         2000,
         2000,
         {0, 0, 1920, 1920},
         {420, 0, 1080, 1080},
         CropMark::FullScreen},
    };
    for (const PlacementCase& c : cases) {
        const DefaultPlacement p =
            defaultPlacement(c.slotWidth, c.slotHeight, c.orientation, c.w, c.h, true);
        EXPECT_EQ(p.fullScreen, c.fullScreen) << c.label;
        EXPECT_EQ(p.medium, c.medium) << c.label;
        EXPECT_EQ(p.cropMark, c.mark) << c.label;
    }
}

class UsedTemplatesTest : public ::testing::Test {
protected:
    UsedTemplatesTest() {
        catalogue_.setRecords({
            // 0: two landscape, one portrait, with sizes.
            templateRecord("甲", "|picture_1|picture_2|picture_3|", "|heng|heng|shu|",
                           "|960|800|500|", "|540|450|800|"),
            // 1: heng, shuheng and a decoration: only picture_1 gets a slot.
            templateRecord("乙", "|picture_1|picture_2|picture_0_wancheng|", "|heng|shuheng|heng|"),
            // 2: a landscape single.
            templateRecord("丙", "|picture_1|", "|heng|"),
            // 3: a single for either orientation.
            templateRecord("丁", "|picture_1|", "|shuheng|"),
        });
    }

    Catalogue catalogue_;
    Album album_{catalogue_, [](int) { return 0; }};
    // The records themselves, open for change as a placement run has them.
    std::unique_ptr<Album::Edit> edit_ = std::make_unique<Album::Edit>(album_);
    UsedTemplates& templates_ = edit_->placement().templates;
};

TEST_F(UsedTemplatesTest, SlotsAreLandscapeFirstAndGetTheirPictureNames) {
    const int t = templates_.addTemplate(entryOf(catalogue_, 0));
    EXPECT_EQ(t, 0);
    ASSERT_EQ(templates_.slotTable().size(), 3);
    const QString expectedNames[] = {"picture_1", "picture_2", "picture_3"};
    const int expectedWidths[] = {960, 800, 500};
    for (int i = 0; i < 3; ++i) {
        const PhotoSlot& s = templates_.slot(i);
        EXPECT_EQ(s.slotIndex, i);
        EXPECT_EQ(s.orientation, i < 2 ? SlotOrientation::Landscape : SlotOrientation::Portrait);
        EXPECT_EQ(s.pictureName, expectedNames[i]);
        EXPECT_EQ(s.mobanchicun_width, expectedWidths[i]);
        EXPECT_EQ(s.templateRow, 0);
        EXPECT_FALSE(s.matched);
        // Every slot refers to its template's one record, made from the catalogue entry.
        EXPECT_TRUE(s.info.sameRecord(templates_.at(0).info));
    }
    EXPECT_EQ(templates_.at(0).info->name, entryOf(catalogue_, 0).name);
    EXPECT_EQ(templates_.at(0).info->portraitSlots, 1);
    EXPECT_FALSE(templates_.at(0).complete);
    EXPECT_EQ(templates_.unmatchedCount(0), 3);

    // A second template leaves the first one's names alone. Its "shuheng" picture counts as a
    // landscape slot but gets no picture in an advanced template, and a decoration never does.
    templates_.addTemplate(entryOf(catalogue_, 1));
    ASSERT_EQ(templates_.slotTable().size(), 5);
    EXPECT_EQ(templates_.slot(3).pictureName, "picture_1");
    EXPECT_TRUE(templates_.slot(4).pictureName.isEmpty());
    EXPECT_EQ(templates_.slot(0).pictureName, "picture_1");
    EXPECT_EQ(album_.backgrounds().rows().size(), 2);
    EXPECT_TRUE(templates_.invariantViolations().isEmpty());

    // "shuheng" goes to the slot of the single's own orientation.
    templates_.addTemplate(entryOf(catalogue_, 3, TemplateClass::PortraitSingle));
    EXPECT_EQ(templates_.slot(5).orientation, SlotOrientation::Portrait);
    EXPECT_EQ(templates_.slot(5).pictureName, "picture_1");
}

TEST_F(UsedTemplatesTest, PlacingAPhotoChecksOrientationAndCompletesTheTemplate) {
    album_.addPhoto(photoRecord("wide", 4000, 3000));
    album_.addPhoto(photoRecord("tall", 3000, 4000));
    album_.addPhoto(photoRecord("square", 2000, 2000));
    templates_.addTemplate(entryOf(catalogue_, 0));

    EXPECT_EQ(templates_.placePhoto(1, 0, 0), PlaceResult::NeedLandscape);
    EXPECT_EQ(templates_.placePhoto(0, 0, 2), PlaceResult::NeedPortrait);
    EXPECT_EQ(templates_.placePhoto(2, 0, 2), PlaceResult::NeedPortrait);  // square is landscape
    EXPECT_FALSE(templates_.slot(0).matched);
    EXPECT_FALSE(album_.photos().at(1).inTemplate);

    EXPECT_EQ(templates_.placePhoto(0, 0, 0), PlaceResult::Placed);
    EXPECT_EQ(templates_.placePhoto(2, 0, 1), PlaceResult::Placed);
    EXPECT_FALSE(templates_.at(0).complete);
    EXPECT_EQ(templates_.placePhoto(1, 0, 2), PlaceResult::Placed);
    EXPECT_TRUE(templates_.at(0).complete);
    EXPECT_EQ(templates_.unmatchedCount(0), 0);

    const PhotoSlot& first = templates_.slot(0);
    EXPECT_EQ(first.photoRow, 0);
    EXPECT_EQ(first.photoPath, album_.photos().at(0).location);
    EXPECT_EQ(first.fullScreen, (Placement{0, 0, 960, 720}));
    EXPECT_EQ(first.medium, (Placement{120, 0, 720, 540}));
    EXPECT_EQ(first.cropMark, CropMark::FullScreen);
    EXPECT_TRUE(album_.photos().at(0).inTemplate);
    EXPECT_TRUE(templates_.invariantViolations().isEmpty());
}

TEST_F(UsedTemplatesTest, DeletingATemplateRenumbersAndFreesItsPhotos) {
    for (int i = 0; i < 3; ++i) {
        album_.addPhoto(photoRecord(QString::number(i), 800, 600));
        templates_.addTemplate(entryOf(catalogue_, 2, TemplateClass::LandscapeSingle));
        templates_.placePhoto(i, i, 0);
    }
    templates_.deleteTemplate(0);
    ASSERT_EQ(templates_.size(), 2);
    EXPECT_EQ(album_.backgrounds().rows().size(), 2);
    EXPECT_EQ(templates_.slot(0).templateRow, 0);
    EXPECT_EQ(templates_.slot(1).templateRow, 1);
    EXPECT_EQ(templates_.slot(0).photoRow, 1);
    EXPECT_FALSE(album_.photos().at(0).inTemplate);
    EXPECT_TRUE(album_.photos().at(1).inTemplate);
    EXPECT_TRUE(templates_.invariantViolations().isEmpty());

    templates_.deleteAllTemplates();
    EXPECT_EQ(templates_.size(), 0);
    EXPECT_TRUE(templates_.slotTable().isEmpty());
    EXPECT_TRUE(album_.backgrounds().rows().isEmpty());
    EXPECT_FALSE(album_.photos().at(1).inTemplate);
}

TEST_F(UsedTemplatesTest, DeletingAPhotoEmptiesItsSlotsAndShiftsLaterRows) {
    for (int i = 0; i < 4; ++i) {
        album_.addPhoto(photoRecord(QString::number(i), 800, 600));
    }
    for (int i = 0; i < 4; ++i) {
        templates_.addTemplate(entryOf(catalogue_, 2, TemplateClass::LandscapeSingle));
    }
    templates_.placePhoto(1, 0, 0);
    templates_.placePhoto(1, 1, 0);
    templates_.placePhoto(2, 2, 0);
    templates_.placePhoto(3, 3, 0);
    EXPECT_EQ(templates_.slotsUsingPhoto(1), 2);

    album_.deletePhoto(1);
    EXPECT_EQ(album_.photos().size(), 3);
    for (int t : {0, 1}) {
        const PhotoSlot& s = templates_.slot(t);
        EXPECT_FALSE(s.matched);
        EXPECT_EQ(s.photoRow, -1);
        EXPECT_TRUE(s.photoPath.isEmpty());
        EXPECT_EQ(s.cropMark, CropMark::None);
        EXPECT_EQ(s.fullScreen, Placement{});
        EXPECT_EQ(s.pictureName, "picture_1");
        EXPECT_FALSE(templates_.at(t).complete);
    }
    EXPECT_EQ(templates_.slot(2).photoRow, 1);
    EXPECT_EQ(templates_.slot(3).photoRow, 2);
    EXPECT_TRUE(templates_.at(2).complete);
    EXPECT_TRUE(templates_.invariantViolations().isEmpty());

    album_.deleteAllPhotos();
    EXPECT_EQ(templates_.size(), 0);
    EXPECT_TRUE(templates_.slotTable().isEmpty());
    EXPECT_TRUE(album_.backgrounds().rows().isEmpty());
}

TEST_F(UsedTemplatesTest, PlacingIntoASlotOrFromAPhotoThatDoesNotExistChangesNothing) {
    album_.addPhoto(photoRecord("wide", 4000, 3000));
    templates_.addTemplate(entryOf(catalogue_, 2, TemplateClass::LandscapeSingle));
    const QVector<PhotoSlot> before = templates_.slotTable();

    EXPECT_EQ(templates_.placePhoto(0, 0, 1), PlaceResult::NoSuchSlot);
    EXPECT_EQ(templates_.placePhoto(0, 1, 0), PlaceResult::NoSuchSlot);
    EXPECT_EQ(templates_.placePhoto(0, -1, 0), PlaceResult::NoSuchSlot);
    EXPECT_EQ(templates_.placePhoto(1, 0, 0), PlaceResult::NoSuchPhoto);
    EXPECT_EQ(templates_.placePhoto(-1, 0, 0), PlaceResult::NoSuchPhoto);
    EXPECT_EQ(placeResultMessage(PlaceResult::NoSuchSlot), texts::kNoSuchSlot);
    EXPECT_EQ(placeResultMessage(PlaceResult::NoSuchPhoto), texts::kNoSuchPhoto);
    EXPECT_TRUE(placeResultMessage(PlaceResult::Placed).isEmpty());

    ASSERT_EQ(templates_.slotTable().size(), before.size());
    EXPECT_FALSE(templates_.slot(0).matched);
    EXPECT_EQ(templates_.slot(0).photoRow, before[0].photoRow);
    EXPECT_FALSE(templates_.at(0).complete);
    EXPECT_FALSE(album_.photos().at(0).inTemplate);
    EXPECT_TRUE(templates_.invariantViolations().isEmpty());
}

// The backgrounds twenty templates get from ten landscape photos with the program's generator.
QStringList defaultBackgrounds(const Catalogue& catalogue) {
    Album album(catalogue);
    for (int i = 0; i < 10; ++i) {
        album.addPhoto(photoRecord(QString::number(i), 800, 600));
    }
    album.refreshDefaultBackgrounds();
    QStringList names;
    for (int t = 0; t < 20; ++t) {
        album.addTemplate(entryOf(catalogue, 2, TemplateClass::LandscapeSingle));
        names << album.backgrounds().row(t).pictureName;
    }
    return names;
}

TEST_F(UsedTemplatesTest, TwentyTemplatesGetVariedRandomBackgrounds) {
    // Picks come within the same millisecond; they must still differ. Twenty uniform picks from
    // ten photos show fewer than five different ones about once in 400 000 runs.
    const QStringList first = defaultBackgrounds(catalogue_);
    const QStringList second = defaultBackgrounds(catalogue_);
    EXPECT_GE(QSet<QString>(first.begin(), first.end()).size(), 5) << first.join(' ').toStdString();
    EXPECT_GE(QSet<QString>(second.begin(), second.end()).size(), 5);
    // Random, not a fixed rotation: a second album does not repeat the first one's choice.
    EXPECT_NE(first, second);
}

TEST_F(UsedTemplatesTest, TemplateWithoutSlotsStaysIncomplete) {
    catalogue_.setRecords({templateRecord("空", "|picture0|", "|heng|")});
    const int t = templates_.addTemplate(catalogue_.entries().at(0));
    EXPECT_TRUE(templates_.slotRows(t).isEmpty());
    EXPECT_EQ(templates_.unmatchedCount(t), 0);
    EXPECT_FALSE(templates_.at(t).complete);
}

}  // namespace
}  // namespace vellumo
