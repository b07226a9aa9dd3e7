#include <gtest/gtest.h>

#include "album/album_texts.h"
#include "assignment/assignment_texts.h"
#include "project/album.h"
#include "tests/support/album_builders.h"
#include "tests/support/photo_files.h"
#include "tests/support/test_files.h"
#include "timeline/album_clock.h"
#include "timeline/play_check.h"
#include "timeline/timeline_texts.h"

namespace vellumo {
namespace {

using test::entryOf;
using test::templateRecord;

TEST(ClockText, HoursMinutesSeconds) {
    EXPECT_EQ(clockText(3600), "01:00:00");
    EXPECT_EQ(clockText(3599), "00:59:59");
    EXPECT_EQ(clockText(360000), "100:00:00");
    EXPECT_EQ(clockTextOfFrames(25), "00:00:01");
    EXPECT_EQ(clockTextOfFrames(24), "00:00:00");
}

class PlayCheckTest : public ::testing::Test {
protected:
    void SetUp() override {
        CatalogueRecord a = templateRecord("A", "|picture_1|", "|heng|");
        a.frames = 30;
        catalogue_.setRecords({a});
        for (QColor colour : {QColor(Qt::red), QColor(Qt::blue)}) {
            album_.addPhoto(*measurePhoto(test::writeSolidPhoto(
                folder_.path() + colour.name().mid(1) + ".jpg", {400, 300}, colour)));
        }
    }

    test::TempFolder folder_;
    Catalogue catalogue_;
    Album album_{catalogue_, [](int) { return 0; }};
};

TEST_F(PlayCheckTest, PlayRequestChecks) {
    EXPECT_EQ(checkPlayRequest(album_, SyncMode::WithMusic).refusal, texts::kNoMusicForSync);
    EXPECT_EQ(checkPlayRequest(album_, SyncMode::WithTemplate).refusal, texts::kNoTemplates);
    album_.addTemplate(entryOf(catalogue_, 0, TemplateClass::LandscapeSingle));
    album_.placePhoto(0, 0, 0);
    const PlayCheck check = checkPlayRequest(album_, SyncMode::WithTemplate);
    EXPECT_TRUE(check.refusal.isEmpty());
    EXPECT_EQ(check.unplacedPhotos, 1);
    // Only complete templates count, plus the closing movie.
    album_.addTemplate(entryOf(catalogue_, 0, TemplateClass::LandscapeSingle));
    EXPECT_EQ(albumTotalFrames(album_), 30 + 150);
    album_.deleteAllPhotos();
    EXPECT_EQ(checkPlayRequest(album_, SyncMode::WithTemplate).refusal, texts::kNoPhotos);
}

}  // namespace
}  // namespace vellumo
