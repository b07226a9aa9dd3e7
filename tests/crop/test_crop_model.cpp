#include <gtest/gtest.h>

#include <memory>

#include "album/album_texts.h"
#include "album/photo_list_texts.h"
#include "crop/crop_model.h"
#include "crop/crop_texts.h"
#include "project/album.h"
#include "tests/support/album_builders.h"

namespace vellumo {
namespace {

using test::entryOf;
using test::photoRecord;
using test::templateRecord;

// A landscape slot without a size holding a 4000 × 3000 photo at its default placements.
CropSlot landscapeSlot(TemplateClass cls = TemplateClass::Combined, QSize size = {}) {
    CropSlot slot;
    slot.templateClass = cls;
    slot.orientation = SlotOrientation::Landscape;
    slot.slotSize = size;
    slot.fullScreen = {0, 0, 1920, 1440};
    slot.medium = {240, 0, 1440, 1080};
    slot.cropMark = CropMark::FullScreen;
    slot.photoSize = {4000, 3000};
    return slot;
}

// A portrait single without a size holding a 3000 × 4000 photo, fitted to the frame's height.
CropSlot portraitSlot() {
    CropSlot slot;
    slot.templateClass = TemplateClass::PortraitSingle;
    slot.orientation = SlotOrientation::Portrait;
    slot.fullScreen = {0, 0, 810, 1080};
    slot.medium = {0, 0, 810, 1080};
    slot.cropMark = CropMark::Medium;
    slot.photoSize = {3000, 4000};
    return slot;
}

// Drags the photo by (dx, dy) stage pixels, pressing at its top-left corner.
void drag(CropState& state, int dx, int dy) {
    const QPoint photoInWindow = kCropStageOrigin + state.frame.topLeft() + state.photo.topLeft();
    pressCropPhoto(state, {0, 0});
    moveCropPhoto(state, photoInWindow + QPoint(dx, dy));
    releaseCropPhoto(state);
}

TEST(CropFrame, LandscapeIsStageWidePortraitIsStageHigh) {
    EXPECT_EQ(cropSlotFrame({}), QSize(1920, 1080));
    EXPECT_EQ(cropSlotFrame({960, 540}), QSize(960, 540));
    EXPECT_EQ(openCropState().frame, QRect(0, 0, 800, 450));

    EXPECT_EQ(cropFrame(landscapeSlot()), QRect(0, 0, 800, 450));
    // A 4:3 slot overruns the stage's height, centred.
    EXPECT_EQ(cropFrame(landscapeSlot(TemplateClass::Combined, {1920, 1440})),
              QRect(0, -75, 800, 600));

    CropSlot sized = portraitSlot();
    sized.slotSize = {1080, 1920};
    EXPECT_EQ(cropFrame(sized), QRect(400 - 126, 0, 253, 450));
    // Without a size the medium placement gives the shape: 450 × 810 ÷ 1080 = 337.
    EXPECT_EQ(cropFrame(portraitSlot()), QRect(400 - 168, 0, 337, 450));
    // A medium placement without height gives nothing to divide by: the whole stage.
    CropSlot empty = portraitSlot();
    empty.medium = {};
    EXPECT_EQ(cropFrame(empty), QRect(0, 0, 800, 450));
}

TEST(CropSelection, OptionAndToolsFollowTheClassAndCropMark) {
    const CropState combined = selectCropSlot(landscapeSlot());
    EXPECT_EQ(combined.option, CropOption::FullScreen);
    EXPECT_FALSE(combined.optionButtonsVisible);
    EXPECT_TRUE(combined.toolsEnabled);

    CropSlot single = landscapeSlot(TemplateClass::LandscapeSingle);
    const CropState full = selectCropSlot(single);
    EXPECT_EQ(full.option, CropOption::FullScreen);
    EXPECT_TRUE(full.optionButtonsVisible);
    EXPECT_TRUE(full.toolsEnabled);
    single.cropMark = CropMark::Medium;
    const CropState medium = selectCropSlot(single);
    EXPECT_EQ(medium.option, CropOption::Medium);
    EXPECT_TRUE(medium.optionButtonsVisible);
    EXPECT_FALSE(medium.toolsEnabled);
    // The medium placement 1440 × 1080 at 240, 0 on the 800 × 450 frame.
    EXPECT_EQ(medium.photo, QRect(100, 0, 600, 450));

    const CropState portrait = selectCropSlot(portraitSlot());
    EXPECT_EQ(portrait.option, CropOption::Medium);
    EXPECT_FALSE(portrait.optionButtonsVisible);
    EXPECT_TRUE(portrait.toolsEnabled);
    EXPECT_EQ(portrait.photo, QRect(0, 0, 337, 450));
    EXPECT_EQ(portrait.zoom, QSize(337, 450));
}

TEST(CropSelection, StoredPlacementIsShownAndSavedUnchanged) {
    const CropSlot slot = landscapeSlot();
    CropState state = selectCropSlot(slot);
    EXPECT_EQ(state.frame, QRect(0, 0, 800, 450));
    EXPECT_EQ(state.photo, QRect(0, 0, 800, 600));
    EXPECT_EQ(state.zoom, QSize(800, 600));
    const CropSave save = saveCrop(state, slot);
    EXPECT_EQ(save.fullScreen, slot.fullScreen);
    EXPECT_EQ(save.medium, slot.medium);
    EXPECT_EQ(save.cropMark, CropMark::FullScreen);

    // Values the display scale cannot carry exactly survive a save without a change, however
    // often it is repeated.
    CropSlot odd = slot;
    odd.fullScreen = {-7, -13, 1923, 1443};
    CropSave again{odd.fullScreen, odd.medium, odd.cropMark};
    for (int i = 0; i < 5; ++i) {
        odd.fullScreen = again.fullScreen;
        again = saveCrop(selectCropSlot(odd), odd);
    }
    EXPECT_EQ(again.fullScreen, (Placement{-7, -13, 1923, 1443}));

    // A press and release without a move is no change either.
    state = selectCropSlot(odd);
    pressCropPhoto(state, {5, 5});
    releaseCropPhoto(state);
    EXPECT_EQ(saveCrop(state, odd).fullScreen, odd.fullScreen);
}

TEST(CropDrag, MovesWithThePointerAndSnapsBackOverTheFrame) {
    const CropSlot slot = landscapeSlot();
    CropState state = selectCropSlot(slot);
    // While held, the photo follows the pointer, even out of the frame.
    pressCropPhoto(state, {10, 20});
    moveCropPhoto(state, kCropStageOrigin + QPoint(10 + 50, 20 - 300));
    EXPECT_EQ(state.photo.topLeft(), QPoint(50, -300));
    releaseCropPhoto(state);
    EXPECT_FALSE(state.dragging);
    // The left edge inside the frame goes back to the frame's left edge; the bottom too.
    EXPECT_EQ(state.photo, QRect(0, -150, 800, 600));

    drag(state, -40, 0);
    EXPECT_EQ(state.photo.topLeft(), QPoint(0, -150));  // the right edge was inside
    drag(state, 0, 400);
    EXPECT_EQ(state.photo.topLeft(), QPoint(0, 0));
    // Without a press moves do nothing.
    moveCropPhoto(state, {500, 500});
    EXPECT_EQ(state.photo.topLeft(), QPoint(0, 0));
}

TEST(CropSave, AMovedPhotoIsScaledBackRoundedToTheNearestUnit) {
    const CropSlot slot = landscapeSlot();
    CropState state = selectCropSlot(slot);
    drag(state, 0, -7);
    ASSERT_EQ(state.photo, QRect(0, -7, 800, 600));
    const CropSave save = saveCrop(state, slot);
    // -7 × 1080 ÷ 450 = -16.8: -17, where truncation would give -16.
    EXPECT_EQ(save.fullScreen, (Placement{0, -17, 1920, 1440}));
    EXPECT_EQ(save.medium, slot.medium);
    EXPECT_EQ(save.cropMark, CropMark::FullScreen);
}

TEST(CropZoom, EachStepIsATenthOfTheFrameAndCentresThePhoto) {
    const CropSlot slot = landscapeSlot();
    CropState state = selectCropSlot(slot);
    ASSERT_EQ(zoomCropIn(state, slot), ZoomResult::Zoomed);
    EXPECT_EQ(state.zoom, QSize(880, 660));
    EXPECT_EQ(state.photo, QRect(400 - 440, 225 - 330, 880, 660));
    ASSERT_EQ(zoomCropIn(state, slot), ZoomResult::Zoomed);
    EXPECT_EQ(state.zoom.width(), 960);
    ASSERT_EQ(zoomCropOut(state, slot), ZoomResult::Zoomed);
    EXPECT_EQ(state.zoom, QSize(880, 660));

    // The zoomed photo is saved through the display scale.
    const CropSave save = saveCrop(state, slot);
    EXPECT_EQ(save.fullScreen, (Placement{-96, -252, 2112, 1584}));
}

TEST(CropZoom, ZoomingOutStopsWhereThePhotoCoversTheFrameAndKeepsThePlacement) {
    const CropSlot slot = landscapeSlot(TemplateClass::Combined, {1920, 1080});
    CropState state = selectCropSlot(slot);
    drag(state, 0, -100);
    const CropState dragged = state;
    // 800 × 600 already covers the 800 × 450 frame as narrowly as it can.
    EXPECT_EQ(zoomCropOut(state, slot), ZoomResult::TooSmall);
    EXPECT_EQ(zoomMessage(ZoomResult::TooSmall), texts::kCropCannotZoomOut);
    // The unsaved drag survives the limit, and is what a save writes.
    EXPECT_EQ(state.photo, dragged.photo);
    EXPECT_EQ(state.zoom, dragged.zoom);
    EXPECT_EQ(saveCrop(state, slot).fullScreen, (Placement{0, -240, 1920, 1440}));
}

TEST(CropZoom, ZoomingInStopsAtItsLimitsAndKeepsThePlacement) {
    // A portrait slot without a size: the frame follows the photo's width until it passes 700.
    const CropSlot portrait = portraitSlot();
    CropState state = selectCropSlot(portrait);
    ASSERT_EQ(zoomCropIn(state, portrait), ZoomResult::Zoomed);
    EXPECT_EQ(state.zoom, QSize(370, 493));
    EXPECT_EQ(state.frame, QRect(400 - 185, 0, 370, 450));
    EXPECT_EQ(state.photo, QRect(0, 225 - 246, 370, 493));
    ZoomResult result = ZoomResult::Zoomed;
    CropState before = state;
    int steps = 1;
    while (result == ZoomResult::Zoomed && steps < 100) {
        before = state;
        result = zoomCropIn(state, portrait);
        ++steps;
    }
    EXPECT_EQ(result, ZoomResult::TooLarge);
    EXPECT_EQ(zoomMessage(result), texts::kCannotZoomInFurther);
    // 337, 370, 407, 447, 491, 540, 594, 653, 718: past 700 it stops where it is.
    EXPECT_EQ(state.frame.width(), 718);
    EXPECT_EQ(state.frame, before.frame);
    EXPECT_EQ(state.photo, before.photo);

    // Other slots stop at four frame widths, so that staging never draws a giant photo.
    const CropSlot landscape = landscapeSlot();
    state = selectCropSlot(landscape);
    steps = 0;
    result = ZoomResult::Zoomed;
    while (result == ZoomResult::Zoomed && steps < 100) {
        result = zoomCropIn(state, landscape);
        ++steps;
    }
    EXPECT_EQ(result, ZoomResult::TooLarge);
    EXPECT_EQ(steps, 31);  // 800 + 30 × 80 = 3200
    EXPECT_EQ(state.photo, QRect(400 - 1600, 225 - 1200, 3200, 2400));

    // A step that would pass the limit goes as far as the limit.
    const CropSlot sized = landscapeSlot(TemplateClass::Combined, {1920, 1080});
    state = selectCropSlot(sized);
    state.zoom = QSize(3150, 2362);
    ASSERT_EQ(zoomCropIn(state, sized), ZoomResult::Zoomed);
    EXPECT_EQ(state.zoom, QSize(3200, 2400));
}

TEST(CropZoom, ZoomingOutAPortraitWithoutSizeNarrowsTheFrameUntilTheHeightFails) {
    const CropSlot portrait = portraitSlot();
    CropState state = selectCropSlot(portrait);
    ASSERT_EQ(zoomCropIn(state, portrait), ZoomResult::Zoomed);  // 370 wide
    ASSERT_EQ(zoomCropIn(state, portrait), ZoomResult::Zoomed);  // 407 wide
    // The step follows the frame, which follows the photo: 407 - 40.
    ASSERT_EQ(zoomCropOut(state, portrait), ZoomResult::Zoomed);
    EXPECT_EQ(state.zoom, QSize(367, 489));
    EXPECT_EQ(state.frame.width(), 367);
    // 367 - 36 = 331 wide would be 441 high: the step stops at 338, the narrowest that is
    // still 450 high.
    ASSERT_EQ(zoomCropOut(state, portrait), ZoomResult::Zoomed);
    EXPECT_EQ(state.zoom, QSize(338, 450));
    EXPECT_EQ(state.photo, QRect(0, 0, 338, 450));
    EXPECT_EQ(zoomCropOut(state, portrait), ZoomResult::TooSmall);
    EXPECT_EQ(state.zoom, QSize(338, 450));
    EXPECT_EQ(state.frame, QRect(400 - 169, 0, 338, 450));
}

TEST(CropZoom, ThePhotoIsKeptAtTheLargestSizeAZoomShows) {
    CropSlot slot = landscapeSlot();
    EXPECT_EQ(cropPictureSize(slot), QSize(3200, 2400));
    slot.photoSize = {1600, 1200};
    EXPECT_EQ(cropPictureSize(slot), QSize(1600, 1200));
    slot.photoSize = {6000, 8000};
    EXPECT_EQ(cropPictureSize(slot), QSize(3200, 4266));
    slot.photoSize = {};
    EXPECT_EQ(cropPictureSize(slot), QSize());
}

TEST(CropTools, DisabledUnderTheMediumOptionOfALandscapeSingle) {
    CropSlot slot = landscapeSlot(TemplateClass::LandscapeSingle);
    CropState state = selectCropSlot(slot);
    chooseCropOption(state, slot, CropOption::Medium);
    EXPECT_FALSE(state.toolsEnabled);
    EXPECT_EQ(state.photo, QRect(100, 0, 600, 450));
    const QRect shown = state.photo;
    EXPECT_EQ(zoomCropIn(state, slot), ZoomResult::Disabled);
    EXPECT_EQ(zoomCropOut(state, slot), ZoomResult::Disabled);
    EXPECT_TRUE(zoomMessage(ZoomResult::Disabled).isEmpty());
    drag(state, 30, 30);
    EXPECT_EQ(state.photo, shown);
    chooseCropOption(state, slot, CropOption::FullScreen);
    EXPECT_TRUE(state.toolsEnabled);
    EXPECT_EQ(state.photo, QRect(0, 0, 800, 600));

    // The options belong to landscape singles only.
    const CropSlot combined = landscapeSlot();
    state = selectCropSlot(combined);
    chooseCropOption(state, combined, CropOption::Medium);
    EXPECT_EQ(state.option, CropOption::FullScreen);
}

TEST(CropSave, PortraitSingleStandsAtTheLeftWithItsHeight) {
    CropSlot slot = portraitSlot();
    slot.slotSize = {1080, 1920};
    slot.fullScreen = slot.medium = {-180, 0, 1440, 1920};
    slot.cropMark = CropMark::FullScreen;
    CropState state = selectCropSlot(slot);
    ASSERT_EQ(state.frame, QRect(274, 0, 253, 450));
    ASSERT_EQ(state.photo, QRect(-42, 0, 337, 450));
    // Unchanged: the stored medium placement into both.
    CropSave save = saveCrop(state, slot);
    EXPECT_EQ(save.fullScreen, slot.medium);
    EXPECT_EQ(save.medium, slot.medium);
    EXPECT_EQ(save.cropMark, CropMark::Medium);

    ASSERT_EQ(zoomCropIn(state, slot), ZoomResult::Zoomed);
    ASSERT_EQ(state.photo, QRect(126 - 181, 225 - 241, 362, 482));
    save = saveCrop(state, slot);
    // Hs = 482 × 1920 ÷ 450 = 2056.5 → 2057; top -16 × 1920 ÷ 450 = -68.3 → -68; width
    // 2057 × 362 ÷ 482 = 1544.9 → 1545.
    EXPECT_EQ(save.medium, (Placement{0, -68, 1545, 2057}));
    EXPECT_EQ(save.fullScreen, save.medium);
    EXPECT_EQ(save.cropMark, CropMark::Medium);
}

TEST(CropRefusal, EmptyListsAndNoSelection) {
    EXPECT_EQ(cropCommandRefusal(0, 0, -1), texts::kNoPhotos);
    EXPECT_EQ(cropCommandRefusal(3, 0, -1), texts::kNoCropRows);
    EXPECT_EQ(cropCommandRefusal(3, 2, -1), texts::kNoPhotoSelected);
    EXPECT_EQ(cropCommandRefusal(3, 2, 2), texts::kNoPhotoSelected);
    EXPECT_TRUE(cropCommandRefusal(3, 2, 1).isEmpty());
}

class CropAlbumTest : public ::testing::Test {
protected:
    CropAlbumTest() {
        catalogue_.setRecords({
            templateRecord("甲", "|picture_1|picture_2|picture_3|", "|heng|heng|shu|",
                           "|960|800|500|", "|540|450|800|"),
            templateRecord("丙", "|picture_1|", "|heng|"),
        });
        album_.addPhoto(photoRecord("wide", 4000, 3000));
        album_.addPhoto(photoRecord("tall", 3000, 4000));
        album_.addPhoto(photoRecord("other", 1600, 1200));
    }

    Catalogue catalogue_;
    Album album_{catalogue_, [](int) { return 0; }};
    // The records themselves, open for change as a placement run has them.
    std::unique_ptr<Album::Edit> edit_ = std::make_unique<Album::Edit>(album_);
    UsedTemplates& templates_ = edit_->placement().templates;
};

TEST_F(CropAlbumTest, OneRowPerFilledSlotWithUseCounts) {
    templates_.addTemplate(entryOf(catalogue_, 0));
    templates_.addTemplate(entryOf(catalogue_, 1, TemplateClass::LandscapeSingle));
    ASSERT_EQ(templates_.placePhoto(0, 0, 0), PlaceResult::Placed);
    ASSERT_EQ(templates_.placePhoto(2, 0, 1), PlaceResult::Placed);
    ASSERT_EQ(templates_.placePhoto(0, 1, 0), PlaceResult::Placed);
    // The portrait slot stays empty; the wide photo fills a third slot later.
    templates_.addTemplate(entryOf(catalogue_, 1, TemplateClass::LandscapeSingle));
    ASSERT_EQ(templates_.placePhoto(0, 2, 0), PlaceResult::Placed);

    const QVector<CropRow> rows = cropRows(templates_, album_.photos());
    ASSERT_EQ(rows.size(), 4);
    const int slotRows[] = {0, 1, 3, 4};
    const int useCounts[] = {3, 1, 3, 3};
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(rows[i].number, i + 1);
        EXPECT_EQ(rows[i].slotRow, slotRows[i]);
        EXPECT_EQ(rows[i].useCount, useCounts[i]);
        EXPECT_EQ(rows[i].photoPath, templates_.slot(slotRows[i]).photoPath);
    }
    EXPECT_EQ(rows[1].photoName, "other");
    EXPECT_EQ(rows[1].photoRow, 2);
    EXPECT_EQ(rows[0].photoName, "wide");
}

TEST_F(CropAlbumTest, MediumSaveOfALandscapeSingleIsShownMediumAgain) {
    templates_.addTemplate(entryOf(catalogue_, 1, TemplateClass::LandscapeSingle));
    ASSERT_EQ(templates_.placePhoto(0, 0, 0), PlaceResult::Placed);
    const Placement medium = templates_.slot(0).medium;

    CropSlot slot = cropSlot(templates_.slot(0), album_.photos());
    EXPECT_EQ(slot.photoSize, QSize(4000, 3000));
    CropState state = selectCropSlot(slot);
    ASSERT_EQ(state.option, CropOption::FullScreen);
    chooseCropOption(state, slot, CropOption::Medium);
    applyCropSave(album_, 0, saveCrop(state, slot));
    EXPECT_EQ(templates_.slot(0).cropMark, CropMark::Medium);
    EXPECT_EQ(templates_.slot(0).medium, medium);

    slot = cropSlot(templates_.slot(0), album_.photos());
    state = selectCropSlot(slot);
    EXPECT_EQ(state.option, CropOption::Medium);
    EXPECT_TRUE(state.optionButtonsVisible);
    EXPECT_FALSE(state.toolsEnabled);
}

}  // namespace
}  // namespace vellumo
