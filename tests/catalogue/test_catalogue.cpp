#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>

#include "catalogue/catalogue.h"
#include "catalogue/catalogue_texts.h"
#include "tests/support/test_files.h"
#include "workspace/data_paths.h"
#include "workspace/errors.h"
#include "workspace/packed_file.h"
#include "workspace/program_folder.h"
#include "workspace/text_codec.h"
#include "workspace/workspace_texts.h"

namespace vellumo {
namespace {

struct TemplateSpec {
    TemplateSpec(QString n, QString pictures, QString o, QString f = QStringLiteral("250"),
                 QString w = {}, QString h = {})
        : name(std::move(n)),
          names(std::move(pictures)),
          orientations(std::move(o)),
          frames(std::move(f)),
          widths(std::move(w)),
          heights(std::move(h)) {}
    QString name;
    QString names;         // xpjpgmc
    QString orientations;  // szhz
    QString frames;
    QString widths;   // xpkd; zeros by default
    QString heights;  // xpgd
};

QByteArray parameterText(const TemplateSpec& t) {
    QString zeros = QStringLiteral("|");
    for (qsizetype i = 0; i < t.names.count(u'|') - 1; ++i) {
        zeros += QStringLiteral("0|");
    }
    return toGbk(QStringLiteral("[1]\r\nmblx=1\r\nmbfl=x\r\nxpsl=1\r\nxpkd=%1\r\nxpgd=%2\r\n"
                                "szhz=%3\r\nxpjpgmc=%4\r\nmbdx=%5\r\n"
                                "[l_x_q_b_x_n_w_j_s_y]\r\nl_x_q_b_x_n_w_j_s_y_m_c=%6\r\n")
                     .arg(t.widths.isEmpty() ? zeros : t.widths,
                          t.heights.isEmpty() ? zeros : t.heights, t.orientations, t.names,
                          t.frames, t.name));
}

class CatalogueTest : public ::testing::Test {
protected:
    void SetUp() override { setProgramFolder(folder_.path()); }
    void TearDown() override { setProgramFolder(QString()); }

    // Installs a template as the installed tree lays it out: the parameter package and the
    // movie at the same relative path below the two folders.
    void install(const QString& relative, const TemplateSpec& t) {
        folder_.write(paths::kParameterPackages + relative, packNested(parameterText(t), 20));
        folder_.write(paths::kTemplatePackages + relative,
                      packNested("movie " + t.name.toUtf8(), 20));
    }

    test::TempFolder folder_;
};

TEST_F(CatalogueTest, ClassifiesCountsSlotsAndOrdersTheCatalogueList) {
    install("01.rar", {"横一", "|picture_1|", "|heng|"});
    install("02.rar", {"竖一", "|picture_1|", "|shu|"});
    install("03.rar", {"横竖皆可", "|picture_1|", "|shuheng|"});
    install("04.rar", {"一横一竖", "|picture_1|picture_2|", "|heng|shu|"});
    install("05.rar", {"两横", "|picture_1|picture_2|", "|heng|heng|"});
    install("06.rar", {"无类", "|picture_1|picture_2|", "|shuheng|shuheng|"});
    install("07.rar", {"装饰", "|picture_1|picture_0_wancheng|", "|heng|heng|"});
    install("08.rar", {"混合", "|picture_1|picture_2|picture_3|", "|shuheng|shu|heng|"});

    Catalogue catalogue;
    int ticks = 0;
    ASSERT_TRUE(catalogue.build([&] { ++ticks; }));
    EXPECT_EQ(ticks, 8);
    EXPECT_TRUE(catalogue.leftOut().isEmpty());
    ASSERT_EQ(catalogue.records().size(), 8);

    QStringList marks;
    for (const CatalogueRecord& r : catalogue.records()) {
        marks << r.classMark;
    }
    EXPECT_EQ(marks, (QStringList{"heng", "shu", "shuheng", "gaojimoban", "gaojimoban", "",
                                  "gaojimoban", "gaojimoban"}));

    struct Expected {
        int index;
        int landscape;
        int portrait;
        TemplateClass cls;
    };
    // Advanced first, then landscape singles, then portrait singles; "shuheng" twice.
    const Expected expected[] = {
        {3, 1, 1, TemplateClass::Combined},        {4, 2, 0, TemplateClass::Combined},
        {6, 1, 0, TemplateClass::Combined},        {7, 2, 1, TemplateClass::Combined},
        {0, 1, 0, TemplateClass::LandscapeSingle}, {2, 1, 0, TemplateClass::LandscapeSingle},
        {1, 0, 1, TemplateClass::PortraitSingle},  {2, 0, 1, TemplateClass::PortraitSingle},
    };
    const auto& entries = catalogue.entries();
    ASSERT_EQ(entries.size(), std::size(expected));
    for (size_t i = 0; i < std::size(expected); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(entries[i].catalogueIndex, expected[i].index);
        EXPECT_EQ(entries[i].landscapeSlots, expected[i].landscape);
        EXPECT_EQ(entries[i].portraitSlots, expected[i].portrait);
        EXPECT_EQ(entries[i].templateClass, expected[i].cls);
        EXPECT_EQ(entries[i].kind, expected[i].cls == TemplateClass::Combined
                                       ? TemplateKind::Advanced
                                       : TemplateKind::Single);
        EXPECT_EQ(entries[i].name, catalogue.record(expected[i].index).name);
        EXPECT_EQ(entries[i].duration, "00:00:10");
    }
    EXPECT_EQ(classText(entries[0].templateClass), texts::kClassCombined);
    EXPECT_EQ(kindText(entries[4].kind), texts::kKindSingle);
    EXPECT_EQ(catalogue.record(2).name, QString::fromUtf16(u"横竖皆可"));

    // The unpacked parameter files are gone; the unpack folder stays.
    EXPECT_TRUE(QDir(dataPath(paths::kUnpackFolder)).entryList({"*.ini"}, QDir::Files).isEmpty());
    EXPECT_TRUE(QFileInfo(dataPath(paths::kUnpackFolder)).isDir());
}

TEST_F(CatalogueTest, PairsPackagesByScanPosition) {
    // Sub-folders are searched where they stand, so both trees pair up by relative path.
    install("a/1.rar", {"甲", "|picture_1|", "|heng|"});
    install("a/2.rar", {"乙", "|picture_1|", "|heng|"});
    install("b.rar", {"丙", "|picture_1|", "|heng|"});
    install("c.rar", {"丁", "|picture_1|", "|heng|"});
    Catalogue catalogue;
    ASSERT_TRUE(catalogue.build());
    ASSERT_EQ(catalogue.records().size(), 4);
    EXPECT_EQ(catalogue.record(3).name, QString::fromUtf16(u"丁"));
    EXPECT_EQ(catalogue.record(3).packagePath, catalogue.templatePackages()[3]);
    EXPECT_EQ(unpackNested(test::readFile(catalogue.record(3).packagePath), 20),
              QString::fromUtf16(u"movie 丁").toUtf8());
    EXPECT_EQ(catalogue.record(1).packagePath, dataPath(paths::kTemplatePackages + "a/2.rar"));
}

TEST_F(CatalogueTest, PairsPackagesByNameAndLeavesAStrayFileOutAlone) {
    install("a.rar", {"甲", "|picture_1|", "|heng|"});
    install("b.rar", {"乙", "|picture_1|", "|shu|"});
    install("c.rar", {"丙", "|picture_1|", "|heng|"});
    // A stray movie sorts between a and b; a parameter file has no movie.
    const QString strayMovie =
        folder_.write(paths::kTemplatePackages + "ab.rar", packNested("movie stray", 20));
    const QString lonely =
        folder_.write(paths::kParameterPackages + "0.rar",
                      packNested(parameterText({"孤", "|picture_1|", "|heng|"}), 20));
    // The user's tree pairs within itself: its stray movie sorts first.
    const QString userParameters = workingPath(paths::kUserParameterPackages);
    const QString userTemplates = workingPath(paths::kUserTemplatePackages);
    folder_.write(paths::kUserParameterPackages + "u1.RAR",
                  packNested(parameterText({"用户", "|picture_1|", "|shu|"}), 20));
    folder_.write(paths::kUserTemplatePackages + "u1.rar", packNested("movie 用户", 20));
    const QString userStray =
        folder_.write(paths::kUserTemplatePackages + "u0.rar", packNested("movie stray", 20));
    ASSERT_TRUE(userParameters.startsWith(folder_.path()));

    Catalogue catalogue;
    ASSERT_TRUE(catalogue.build());
    ASSERT_EQ(catalogue.records().size(), 4);
    const QStringList names{"甲", "乙", "丙", "用户"};
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        const CatalogueRecord& r = catalogue.record(i);
        EXPECT_EQ(r.name, names[i]);
        EXPECT_EQ(unpackNested(test::readFile(r.packagePath), 20), ("movie " + names[i]).toUtf8());
    }
    EXPECT_EQ(catalogue.record(1).packagePath, dataPath(paths::kTemplatePackages + "b.rar"));
    EXPECT_EQ(catalogue.record(3).packagePath, userTemplates + "u1.rar");

    const auto& leftOut = catalogue.leftOut();
    ASSERT_EQ(leftOut.size(), 3);
    EXPECT_EQ(leftOut[0].package, lonely);
    EXPECT_EQ(leftOut[0].reason, texts::kNoTemplatePackage);
    EXPECT_EQ(leftOut[1].package, strayMovie);
    EXPECT_EQ(leftOut[1].reason, texts::kNoParameterPackage);
    EXPECT_EQ(leftOut[2].package, userStray);
    EXPECT_EQ(leftOut[2].reason, texts::kNoParameterPackage);
    EXPECT_TRUE(catalogue.leftOutMessage().contains(paths::kTemplatePackages + "ab.rar"));
}

TEST_F(CatalogueTest, EmptyAndOversizedPackagesAreNamedForWhatTheyAre) {
    install("1.rar", {"好", "|picture_1|", "|heng|"});
    install("2.rar", {"空参数", "|picture_1|", "|heng|"});
    const QString emptyParameters = folder_.write(paths::kParameterPackages + "2.rar");
    install("3.rar", {"空模板", "|picture_1|", "|heng|"});
    const QString emptyMovie = folder_.write(paths::kTemplatePackages + "3.rar");
    // A few hundred bytes that would unpack to 16 MiB: far more than any movie.
    install("4.rar", {"太大", "|picture_1|", "|heng|"});
    const QString bomb = folder_.write(paths::kTemplatePackages + "4.rar",
                                       packNested(QByteArray(16 << 20, ' '), 20));
    ASSERT_LT(QFileInfo(bomb).size(), 2000);

    Catalogue catalogue;
    ASSERT_TRUE(catalogue.build());
    ASSERT_EQ(catalogue.records().size(), 1);
    const auto& leftOut = catalogue.leftOut();
    ASSERT_EQ(leftOut.size(), 3);
    EXPECT_EQ(leftOut[0].package, emptyParameters);
    EXPECT_EQ(leftOut[0].reason, texts::kParameterFileEmpty);
    EXPECT_EQ(leftOut[1].package, emptyMovie);
    EXPECT_EQ(leftOut[1].reason, texts::kTemplatePackageEmpty);
    EXPECT_EQ(leftOut[2].package, bomb);
    EXPECT_EQ(leftOut[2].reason,
              texts::kPackedOverLimit.arg(16 << 20).arg(paths::kMovieUnpackLimit));
}

TEST_F(CatalogueTest, AFullWorkingFolderStopsTheLoadWithItsOwnMessage) {
    install("1.rar", {"好", "|picture_1|", "|heng|"});
    install("2.rar", {"好二", "|picture_1|", "|heng|"});
    Catalogue catalogue;
    ASSERT_TRUE(catalogue.scanPackages());
    // The first unpacked parameter file lands on a device that is always full.
    ASSERT_TRUE(
        QFile::link(QStringLiteral("/dev/full"), workingPath(paths::unpackedParameterFile(1))));
    try {
        catalogue.readParameters();
        FAIL() << "no error";
    } catch (const Error& e) {
        EXPECT_EQ(e.message(),
                  texts::kWorkingFolderUnwritable.arg(workingPath(paths::kUnpackFolder)));
    }
}

TEST_F(CatalogueTest, BadTemplatesAreLeftOutAndTheRestLoads) {
    install("1.rar", {"好", "|picture_1|", "|heng|"});
    install("2.rar", {"帧数坏", "|picture_1|", "|heng|", "abc"});
    install("3.rar",
            {"宽度坏", "|picture_1|picture_2|", "|heng|shu|", "100", "|960|x|", "|540|1080|"});
    install("4.rar", {"好二", "|picture_1|", "|shu|"});
    install("5.rar", {"模板坏", "|picture_1|", "|shu|"});
    folder_.write(paths::kTemplatePackages + "5.rar", "damaged");
    install("6.rar",
            {"宽度少", "|picture_1|picture_2|", "|heng|shu|", "100", "|960|", "|540|1080|"});
    install("7.rar", {"零帧", "|picture_1|", "|heng|", "0"});
    install("8.rar", {"参数坏", "|picture_1|", "|heng|"});
    folder_.write(paths::kParameterPackages + "8.rar", packNested("x", 20).left(30));
    // A surplus parameter package has no movie.
    folder_.write(paths::kParameterPackages + "9.rar",
                  packNested(parameterText({"多余", "|picture_1|", "|heng|"}), 20));

    Catalogue catalogue;
    ASSERT_TRUE(catalogue.build());
    ASSERT_EQ(catalogue.records().size(), 2);
    EXPECT_EQ(catalogue.record(0).name, QString::fromUtf16(u"好"));
    EXPECT_EQ(catalogue.record(1).name, QString::fromUtf16(u"好二"));
    EXPECT_EQ(catalogue.record(1).catalogueIndex, 1);
    EXPECT_EQ(catalogue.record(1).packagePath, dataPath(paths::kTemplatePackages + "4.rar"));
    EXPECT_EQ(catalogue.entries().size(), 2);

    const auto& leftOut = catalogue.leftOut();
    ASSERT_EQ(leftOut.size(), 7);
    const QString params = dataPath(paths::kParameterPackages);
    EXPECT_EQ(leftOut[0].package, params + "2.rar");
    EXPECT_EQ(leftOut[0].reason, texts::kParameterNotNumber.arg("mbdx", "abc"));
    EXPECT_EQ(leftOut[1].reason, texts::kPictureItemNotNumber.arg("xpkd").arg(2).arg("x"));
    EXPECT_EQ(leftOut[2].package, dataPath(paths::kTemplatePackages + "5.rar"));
    EXPECT_EQ(leftOut[3].reason, texts::kPictureItemMissing.arg("xpkd", "picture_2"));
    EXPECT_EQ(leftOut[4].reason, texts::kFramesNotPositive.arg("0"));
    EXPECT_EQ(leftOut[5].package, params + "8.rar");
    EXPECT_EQ(leftOut[6].reason, texts::kNoTemplatePackage);

    const QString message = catalogue.leftOutMessage();
    EXPECT_TRUE(message.startsWith(texts::kTemplatesLeftOut));
    EXPECT_TRUE(message.contains(paths::kParameterPackages + "2.rar："));
    EXPECT_EQ(message.count(u'\n'), 7);
}

TEST_F(CatalogueTest, SizesStagingCannotUseAreLeftOutWithTheirReason) {
    // A portrait single's width decides its medium placement and so its frame on the stage.
    install("1.rar", {"竖坏", "|picture_1|", "|shu|", "100", "|6O8|", "|1080|"});
    install("2.rar", {"负高", "|picture_1|", "|heng|", "100", "|960|", "|-540|"});
    install("3.rar",
            {"太宽", "|picture_1|deco|", "|heng|heng|", "100", "|960|2000000000|", "|540|270|"});
    install("4.rar", {"好", "|picture_1|", "|shu|", "100", "|608|", "|1080|"});
    install("5.rar", {"最大", "|picture_1|", "|heng|", "100", "|7680|", "|0|"});
    install("6.rar",
            {"有余", "|picture_1|zhuangshi_1_a|", "|heng|", "100", "| 960 |480|x|", "|540|270|"});

    Catalogue catalogue;
    ASSERT_TRUE(catalogue.build());
    ASSERT_EQ(catalogue.records().size(), 3);
    EXPECT_EQ(catalogue.record(0).name, QString::fromUtf16(u"好"));
    EXPECT_EQ(catalogue.record(1).name, QString::fromUtf16(u"最大"));
    // The numbers are read once, at load: one per picture name, items past the names ignored.
    const CatalogueRecord& spare = catalogue.record(2);
    EXPECT_EQ(spare.pictureNames, (QStringList{"picture_1", "zhuangshi_1_a"}));
    EXPECT_EQ(spare.pictureWidths, (QVector<int>{960, 480}));
    EXPECT_EQ(spare.pictureHeights, (QVector<int>{540, 270}));
    EXPECT_EQ(spare.orientations, QStringList{"heng"});
    EXPECT_EQ(spare.frames, 100);
    EXPECT_EQ(spare.pictureSize(1), QSize(480, 270));
    EXPECT_EQ(spare.pictureSize(2), QSize(0, 0));
    const auto& leftOut = catalogue.leftOut();
    ASSERT_EQ(leftOut.size(), 3);
    EXPECT_EQ(leftOut[0].reason, texts::kPictureItemNotNumber.arg("xpkd").arg(1).arg("6O8"));
    EXPECT_EQ(leftOut[1].reason, texts::kPictureItemOutOfRange.arg("xpgd").arg(1).arg("-540").arg(
                                     kMaxParameterPictureSide));
    EXPECT_EQ(leftOut[2].reason, texts::kPictureItemOutOfRange.arg("xpkd")
                                     .arg(2)
                                     .arg("2000000000")
                                     .arg(kMaxParameterPictureSide));
    // The load message names each with its reason.
    const QString message = catalogue.leftOutMessage();
    for (const LeftOutTemplate& t : leftOut) {
        EXPECT_TRUE(message.contains(t.reason)) << message.toStdString();
    }
}

TEST_F(CatalogueTest, NoPackagesMeansNothingToLoad) {
    Catalogue catalogue;
    EXPECT_FALSE(catalogue.build());
    install("1.rar", {"好", "|picture_1|", "|heng|"});
    QFile::remove(dataPath(paths::kTemplatePackages + "1.rar"));
    EXPECT_FALSE(catalogue.build());
}

TEST(DurationText, TruncatesToWholeSeconds) {
    EXPECT_EQ(durationText(90000), "01:00:00");
    EXPECT_EQ(durationText(89975), "00:59:59");
    EXPECT_EQ(durationText(10), "00:00:00");
    EXPECT_EQ(durationText(24), "00:00:00");
    EXPECT_EQ(durationText(25), "00:00:01");
    EXPECT_EQ(durationText(250), "00:00:10");
    EXPECT_EQ(durationText(25 * 3600 * 100), "100:00:00");
}

}  // namespace
}  // namespace vellumo
