#include <gtest/gtest.h>

#include <QImage>

#include "assignment/assignment_texts.h"
#include "manager/manager_texts.h"
#include "manager/template_manager.h"
#include "project/album.h"
#include "tests/support/album_builders.h"

namespace vellumo {
namespace {

using test::entryOf;
using test::templateRecord;

TEST(ManagerGrid, FourBoxesStandInARowOfTheSlotPanel) {
    const QSize box = kManagerTileBox;
    ASSERT_EQ(box, QSize(128, 106));
    EXPECT_EQ(gridColumns(kSlotPanelSize.width(), box), 4);
    EXPECT_EQ(gridPosition(0, 593, box), QPoint(10, 10));
    EXPECT_EQ(gridPosition(1, 593, box), QPoint(153, 10));
    EXPECT_EQ(gridPosition(2, 593, box), QPoint(296, 10));
    EXPECT_EQ(gridPosition(3, 593, box), QPoint(439, 10));
    EXPECT_EQ(gridPosition(4, 593, box), QPoint(10, 136));
    EXPECT_EQ(gridPosition(9, 593, box), QPoint(153, 262));
    // A panel narrower than one box still takes one box a row.
    EXPECT_EQ(gridColumns(100, box), 1);
    EXPECT_EQ(gridPosition(1, 100, box), QPoint(10, 136));
    // Two rows with their labels: the second row's label ends at 136 + 106 + 25.
    EXPECT_EQ(gridHeight(0, 593, box), 0);
    EXPECT_EQ(gridHeight(5, 593, box), 136 + 106 + 25 + 10);
}

TEST(ManagerPictures, PlaceholdersAndTheDemonstration) {
    const QImage landscape = slotPlaceholder(SlotOrientation::Landscape);
    const QImage portrait = slotPlaceholder(SlotOrientation::Portrait);
    EXPECT_EQ(landscape.size(), QSize(89, 54));
    EXPECT_EQ(portrait.size(), QSize(54, 89));
    // White border 3 pixels wide, teal inside.
    EXPECT_EQ(landscape.pixelColor(1, 1), QColor(Qt::white));
    EXPECT_EQ(landscape.pixelColor(3, 3), QColor(0, 128, 128));
    EXPECT_EQ(portrait.pixelColor(52, 87), QColor(Qt::white));
    EXPECT_EQ(slotBoxWord(SlotOrientation::Landscape), QStringLiteral("heng"));
    EXPECT_EQ(slotBoxWord(SlotOrientation::Portrait), QStringLiteral("shu"));
    EXPECT_EQ(demonstrationPicture().size(), kDemonstrationSize);

    const QVector<QPoint> use = useDemonstrationPath();
    EXPECT_EQ(use.first(), QPoint(152, 176));
    EXPECT_EQ(use.last(), QPoint(152, 356));
    EXPECT_LT(use[use.size() - 2].y(), 354);
    const QVector<QPoint> select = selectDemonstrationPath();
    EXPECT_EQ(select.first(), QPoint(152, 440));
    EXPECT_EQ(select[1], QPoint(159, 436));
    EXPECT_LE(select.last().y(), 114);
    EXPECT_GT(select[select.size() - 2].y(), 114);
}

class ManagerModelTest : public ::testing::Test {
protected:
    void SetUp() override {
        catalogue_.setRecords({
            templateRecord("横竖", "|picture_1|picture_2|picture_3|", "|heng|heng|shu|"),
            templateRecord("单横", "|picture_1|", "|heng|", {}, {}, 100),
        });
        album_.addPhoto(test::photoRecord("wide", 800, 600));
        album_.addPhoto(test::photoRecord("tall", 600, 800));
        album_.addPhoto(test::photoRecord("square", 700, 700));
        album_.addPhoto(test::photoRecord("tall2", 500, 900));
    }

    Catalogue catalogue_;
    Album album_{catalogue_, [](int) { return 0; }};
};

TEST_F(ManagerModelTest, ListRowsAndDetailsFollowTheSlots) {
    const UsedTemplates& templates = album_.templates();
    const CatalogueEntry& entry = entryOf(catalogue_, 0);
    EXPECT_EQ(catalogueListRow(entry),
              (QStringList{"0", "横竖", "高级模板", "2", "1", entry.duration, "综合模板"}));
    album_.addTemplate(entryOf(catalogue_, 1, TemplateClass::LandscapeSingle));
    album_.addTemplate(entry);
    EXPECT_EQ(usedTemplateRow(templates, 1).mid(7), (QStringList{texts::kMatchIncomplete, "2"}));
    EXPECT_EQ(templateDetails(templates, 1),
              (QStringList{"0", "2", "横竖", "高级模板", "2", "1", entry.duration, "0", "0"}));

    // The detail counts follow the filled slots; a refused photo changes nothing.
    EXPECT_EQ(album_.placePhoto(1, 1, 0), PlaceResult::NeedLandscape);
    EXPECT_EQ(templateDetails(templates, 1).mid(7), (QStringList{"0", "0"}));
    EXPECT_EQ(album_.placePhoto(2, 1, 1), PlaceResult::Placed);
    EXPECT_EQ(album_.placePhoto(1, 1, 2), PlaceResult::Placed);
    EXPECT_EQ(templateDetails(templates, 1).mid(7), (QStringList{"1", "1"}));
    EXPECT_EQ(usedTemplateRow(templates, 1)[7], texts::kMatchIncomplete);
    // A photo dropped on a filled slot replaces it; the counts stay.
    EXPECT_EQ(album_.placePhoto(0, 1, 1), PlaceResult::Placed);
    EXPECT_EQ(templateDetails(templates, 1).mid(7), (QStringList{"1", "1"}));
    EXPECT_EQ(templates.slot(templates.slotRow(1, 1)).photoRow, 0);
    EXPECT_EQ(album_.placePhoto(0, 1, 0), PlaceResult::Placed);
    EXPECT_EQ(usedTemplateRow(templates, 1)[7], texts::kMatchComplete);
}

TEST_F(ManagerModelTest, AutoMatchFillsTheEmptySlotsWithWaitingPhotosOfTheirOrientation) {
    const UsedTemplates& templates = album_.templates();
    album_.addTemplate(entryOf(catalogue_, 0));
    album_.addTemplate(entryOf(catalogue_, 0));
    // The wide photo is in the first template already.
    ASSERT_EQ(album_.placePhoto(0, 0, 0), PlaceResult::Placed);
    EXPECT_EQ(autoMatchTemplate(album_, 1), 2);
    // The square photo counts as landscape; the wide one is taken already.
    EXPECT_EQ(templates.slot(templates.slotRow(1, 0)).photoRow, 2);
    EXPECT_FALSE(templates.slot(templates.slotRow(1, 1)).matched);
    EXPECT_EQ(templates.slot(templates.slotRow(1, 2)).photoRow, 1);
    EXPECT_EQ(templates.unmatchedCount(1), 1);
    // The first template: one landscape slot is left and no landscape photo waits; the second
    // portrait photo goes into its portrait slot.
    EXPECT_EQ(autoMatchTemplate(album_, 0), 1);
    EXPECT_EQ(templates.slot(templates.slotRow(0, 2)).photoRow, 3);
    EXPECT_EQ(autoMatchTemplate(album_, 0), 0);
    EXPECT_EQ(autoMatchTemplate(album_, 7), 0);
    EXPECT_TRUE(templates.invariantViolations().isEmpty());
}

}  // namespace
}  // namespace vellumo
