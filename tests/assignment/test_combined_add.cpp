#include <gtest/gtest.h>

#include <QFileInfo>
#include <QImage>

#include "album/photo_list_texts.h"
#include "assignment/assignment_texts.h"
#include "assignment/combined_add.h"
#include "assignment/placement.h"
#include "project/album.h"
#include "tests/support/album_builders.h"
#include "tests/support/photo_files.h"
#include "tests/support/test_files.h"
#include "workspace/data_paths.h"
#include "workspace/packed_file.h"
#include "workspace/program_folder.h"
#include "workspace/text_codec.h"

namespace vellumo {
namespace {

using test::templateRecord;

class CombinedAddTest : public ::testing::Test {
protected:
    void SetUp() override {
        setProgramFolder(folder_.path());
        catalogue_.setRecords({templateRecord("A", "|picture_1|", "|heng|"),
                               templateRecord("B", "|picture_1|picture_2|", "|heng|heng|"),
                               templateRecord("P", "|picture_1|", "|shu|")});
    }
    void TearDown() override { setProgramFolder(QString()); }

    QStringList photos(int count, QSize size) {
        QStringList files;
        for (int i = 0; i < count; ++i) {
            files << test::writeSolidPhoto(
                folder_.path() + QStringLiteral("p%1_%2.jpg").arg(made_++).arg(i), size);
        }
        return files;
    }

    // A photo stored 400 × 300 that its EXIF orientation turns upright to 300 × 400.
    QString turnedPhoto() {
        return test::writeSolidPhoto(folder_.path() + QStringLiteral("turned%1.jpg").arg(made_++),
                                     {400, 300}, Qt::gray, 6);
    }

    QStringList usedNames() const {
        QStringList names;
        for (const UsedTemplate& t : album_.templates().templates()) {
            names << t.info->name;
        }
        return names;
    }

    QVector<int> photoRowsOfSlots() const {
        QVector<int> rows;
        for (const PhotoSlot& s : album_.templates().slotTable()) {
            rows << s.photoRow;
        }
        return rows;
    }

    static CombinedTemplate combination(const char* text) {
        return parseCombinedTemplate(toGbk(QString::fromUtf8(text)));
    }

    test::TempFolder folder_;
    Catalogue catalogue_;
    Album album_{catalogue_, [](int) { return 0; }};
    int made_ = 0;
};

TEST_F(CombinedAddTest, ThreePhotosFillOnePass) {
    CombinedAdd add(album_, combination("[zuhemoban_canshu]\nshuliang=2\n"
                                        "canshu_1=A~1~0~\ncanshu_2=B~2~0~\n"));
    ChosenPhotos chosen;
    chosen.add(photos(3, {400, 300}));
    add.addPhotos(chosen);
    add.firstPass();
    EXPECT_EQ(add.repeat(), 0);
    EXPECT_EQ(usedNames(), (QStringList{"A", "B"}));
    EXPECT_EQ(photoRowsOfSlots(), (QVector<int>{0, 1, 2}));
    EXPECT_TRUE(album_.templates().invariantViolations().isEmpty());
}

TEST_F(CombinedAddTest, FivePhotosWrapRoundAndStopWhenAllArePlaced) {
    CombinedAdd add(album_, combination("[zuhemoban_canshu]\nshuliang=2\n"
                                        "canshu_1=A~1~0~\ncanshu_2=B~2~0~\n"));
    ChosenPhotos chosen;
    chosen.add(photos(5, {400, 300}));
    add.addPhotos(chosen);
    add.firstPass();
    EXPECT_EQ(add.repeat(), 0);
    EXPECT_EQ(usedNames(), (QStringList{"A", "B", "A", "B"}));
    EXPECT_EQ(photoRowsOfSlots(), (QVector<int>{0, 1, 2, 3, 4, 0}));
}

TEST_F(CombinedAddTest, StopsWhenACycleCanPlaceNothingMore) {
    // Portrait photos for a landscape-only group, and a member naming no template ("02").
    CombinedAdd add(album_, combination("[zuhemoban_canshu]\nshuliang=2\n"
                                        "canshu_1=A~1~0~\ncanshu_2=B~02~0~\n"));
    ChosenPhotos chosen;
    chosen.add(photos(1, {400, 300}));
    chosen.add(photos(2, {300, 400}));
    EXPECT_EQ(chosen.portrait.size(), 2);
    add.addPhotos(chosen);
    add.firstPass();
    EXPECT_EQ(add.repeat(), 2);
    // The fruitless cycle's templates are taken back; the placed photo keeps its mark.
    EXPECT_EQ(usedNames(), (QStringList{"A"}));
    EXPECT_TRUE(album_.photos().at(0).inTemplate);
    EXPECT_EQ(album_.wrapCursors().landscape, 0);
    EXPECT_TRUE(album_.templates().invariantViolations().isEmpty());
}

TEST_F(CombinedAddTest, PhotosAreSortedByTheirUprightSize) {
    const QString turned = turnedPhoto();
    ChosenPhotos chosen;
    chosen.add({turned});
    EXPECT_EQ(chosen.portrait, QStringList{turned});
    EXPECT_TRUE(chosen.landscape.isEmpty());
    // A combination wanting one portrait photo has it.
    EXPECT_TRUE(missingPhotoMessages(Combination{"p", 0, 1}, chosen).isEmpty());

    CombinedAdd add(album_, combination("[zuhemoban_canshu]\nshuliang=1\ncanshu_1=P~0~1~\n"));
    add.addPhotos(chosen);
    add.firstPass();
    EXPECT_EQ(add.repeat(), 0);
    ASSERT_EQ(album_.photos().size(), 1);
    EXPECT_EQ(album_.photos().at(0).width, 300);
    EXPECT_EQ(album_.photos().at(0).height, 400);
    EXPECT_EQ(usedNames(), QStringList{"P"});
    EXPECT_TRUE(album_.templates().at(0).complete);
}

TEST_F(CombinedAddTest, FilesWithoutAPictureAreSkippedAndTheRestAddedAsMeasured) {
    const QStringList good = photos(2, {400, 300});
    QByteArray broken = test::readFile(good.first());
    broken.truncate(40);
    const QString cut = folder_.write("cut.jpg", broken);
    ChosenPhotos chosen;
    chosen.add({good[0], cut, good[1]});
    EXPECT_EQ(chosen.landscape, good);
    EXPECT_EQ(chosen.unreadable, QStringList{cut});
    ASSERT_EQ(chosen.photos.size(), 2);
    EXPECT_EQ(chosen.photos[1].location, good[1]);

    CombinedAdd add(album_, combination("[zuhemoban_canshu]\nshuliang=1\ncanshu_1=A~1~0~\n"));
    int steps = 0;
    add.addPhotos(chosen, {{}, [&](int n) { steps += n; }});
    EXPECT_EQ(steps, 2);
    EXPECT_EQ(add.addedCount(), 2);
    EXPECT_EQ(add.skipped(), QStringList{cut});
    EXPECT_EQ(album_.backgrounds().rows().size(), 0);
}

TEST_F(CombinedAddTest, TemplatesThatGetNoPhotoAreTakenBack) {
    // Only landscape photos: the portrait member P gets none, in the first pass or later.
    CombinedAdd add(album_, combination("[zuhemoban_canshu]\nshuliang=2\n"
                                        "canshu_1=P~0~1~\ncanshu_2=A~1~0~\n"));
    ChosenPhotos chosen;
    chosen.add(photos(2, {400, 300}));
    add.addPhotos(chosen);
    add.firstPass();
    EXPECT_EQ(usedNames(), QStringList{"A"});
    EXPECT_EQ(add.repeat(), 0);
    EXPECT_EQ(usedNames(), (QStringList{"A", "A"}));
    EXPECT_EQ(album_.backgrounds().rows().size(), 2);
    for (const UsedTemplate& t : album_.templates().templates()) {
        EXPECT_TRUE(t.complete);
    }
    EXPECT_TRUE(album_.templates().invariantViolations().isEmpty());
    EXPECT_TRUE(add.unplacedMessage().isEmpty());
}

TEST_F(CombinedAddTest, ClosingMessageNamesThePhotosLeftAndWhy) {
    CombinedAdd add(album_, combination("[zuhemoban_canshu]\nshuliang=2\n"
                                        "canshu_1=A~1~0~\ncanshu_2=B~02~0~\n"));
    ChosenPhotos chosen;
    chosen.add(photos(1, {400, 300}));
    chosen.add(photos(1, {300, 400}));
    add.addPhotos(chosen);
    add.firstPass();
    EXPECT_EQ(add.repeat(), 1);
    const QString tall = album_.photos().at(1).name;
    EXPECT_EQ(add.unplacedMessage(),
              (QStringList{texts::kPhotosLeftUnplaced.arg(1),
                           texts::kUnplacedPhotoLine.arg(2).arg(tall, texts::kPortraitPhoto),
                           texts::kCombinationTakesNoPortrait,
                           texts::kCombinationMemberMissing.arg("B~02~0~")}
                   .join("\n")));
}

TEST_F(CombinedAddTest, MissingOrientationsAndExplanations) {
    const Combination landscapeOnly{"x", 1, 0};
    ChosenPhotos chosen;
    chosen.add(photos(1, {300, 400}));
    EXPECT_EQ(missingPhotoMessages(landscapeOnly, chosen),
              (QStringList{texts::kNeedLandscapeForCombination}));
    EXPECT_EQ(missingPhotoMessages(Combination{"y", 0, 1}, chosen), QStringList{});
    EXPECT_EQ(
        missingPhotoMessages(Combination{"z", 2, 3}, ChosenPhotos{}),
        (QStringList{texts::kNeedLandscapeForCombination, texts::kNeedPortraitForCombination}));

    EXPECT_EQ(explanationLine(2, 0, texts::kExplanationEmpty), texts::kExplanationLandscape);
    EXPECT_EQ(explanationLine(0, 1, texts::kExplanationEmpty), texts::kExplanationPortrait);
    EXPECT_EQ(explanationLine(1, 1, texts::kExplanationEmpty), texts::kExplanationBoth);
    EXPECT_EQ(explanationLine(0, 0, texts::kExplanationBoth), texts::kExplanationBoth);
}

TEST_F(CombinedAddTest, CombinationListReadsEveryPackage) {
    folder_.write(paths::combinedTemplatePackage(1),
                  packNested(toGbk(QStringLiteral("[zuhemoban_canshu]\r\nshuliang=2\r\n"
                                                  "canshu_1=春~2~1~\r\ncanshu_2=夏~1~0~\r\n")),
                             3));
    folder_.write(paths::combinedTemplatePackage(2), "damaged");
    folder_.write(paths::combinedTemplatePackage(3),
                  packNested("[zuhemoban_canshu]\nshuliang=1\ncanshu_1=A~0~2~\n", 3));
    const CombinationList list = readCombinationList();
    ASSERT_EQ(list.rows.size(), 2);
    EXPECT_EQ(list.rows[0].name, texts::kCombinationName.arg(1));
    EXPECT_EQ(list.rows[0].landscapeTotal, 3);
    EXPECT_EQ(list.rows[0].portraitTotal, 1);
    EXPECT_EQ(list.rows[0].photoTotal(), 4);
    EXPECT_EQ(list.rows[1].name, texts::kCombinationName.arg(3));
    EXPECT_EQ(list.packageNumbers, (QVector<int>{1, 3}));
    EXPECT_EQ(list.problems.size(), 1);
    EXPECT_TRUE(list.problems[0].contains("wj_0_or_9_9_2.rar"));
}

TEST_F(CombinedAddTest, AutomaticPlacementInCombinedModeKeepsTheCursors) {
    album_.setPlacementMode(PlacementMode::Combined);
    for (const QString& file : photos(3, {400, 300})) {
        album_.addPhoto(*measurePhoto(file));
    }
    PlacementRun run = placementRun(album_);
    run.start();
    EXPECT_EQ(run.runToEnd(), 0);
    EXPECT_EQ(album_.wrapCursors().landscape, 0);
}

}  // namespace
}  // namespace vellumo
