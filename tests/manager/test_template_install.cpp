// Templates a user adds: the pair is checked as the catalogue checks installed templates, copied
// below the working root and taken into the catalogue after every installed template; anything
// wrong refuses it with the reason and leaves the catalogue and the user's tree as they were.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "catalogue/catalogue.h"
#include "catalogue/catalogue_texts.h"
#include "manager/manager_texts.h"
#include "manager/template_install.h"
#include "tests/support/test_files.h"
#include "workspace/data_paths.h"
#include "workspace/packed_file.h"
#include "workspace/program_folder.h"
#include "workspace/text_codec.h"
#include "workspace/workspace_texts.h"

namespace vellumo {
namespace {

QByteArray parameterText(const QString& name, const QString& pictures, const QString& orientations,
                         const QString& frames = "30") {
    QString zeros = QStringLiteral("|");
    for (qsizetype i = 0; i < pictures.count(u'|') - 1; ++i) {
        zeros += QStringLiteral("0|");
    }
    return toGbk(QStringLiteral("[1]\r\nmblx=1\r\nmbfl=x\r\nxpsl=1\r\nxpkd=%1\r\nxpgd=%1\r\n"
                                "szhz=%2\r\nxpjpgmc=%3\r\nmbdx=%4\r\n"
                                "[l_x_q_b_x_n_w_j_s_y]\r\nl_x_q_b_x_n_w_j_s_y_m_c=%5\r\n")
                     .arg(zeros, orientations, pictures, frames, name));
}

QByteArray movieText(const QString& picture = "picture_1.jpg") {
    return "vellumo-movie 1\nframes 30\nimage lead \"../../pic/picture_0.jpg\"\n"
           "  box 0 0 1920 1080\nimage photo \"" +
           picture.toUtf8() + "\"\n  box 0 0 1920 1080\n";
}

class TemplateInstallTest : public ::testing::Test {
protected:
    void SetUp() override {
        setProgramFolder(program_.path());
        setWorkingRoot(working_.path());
        installed("01.rar", parameterText("横一", "|picture_1|", "|heng|"));
        installed("02.rar", parameterText("两横", "|picture_1|picture_2|", "|heng|heng|"));
        ASSERT_TRUE(catalogue_.build());
        ASSERT_EQ(catalogue_.records().size(), 2);
    }
    void TearDown() override {
        setWorkingRoot(QString());
        setProgramFolder(QString());
    }

    void installed(const QString& name, const QByteArray& parameters) {
        program_.write(paths::kParameterPackages + name, packNested(parameters, 20));
        program_.write(paths::kTemplatePackages + name, packNested(movieText(), 20));
    }

    // A pair the user brings, packed as installed packages are unless given as they are.
    struct Pair {
        QString parameters;
        QString movie;
    };
    Pair bring(const QString& name, const QByteArray& parameters, const QByteArray& movie,
               bool pack = true) {
        return {incoming_.write("param/" + name + ".rar",
                                pack ? packNested(parameters, 20) : parameters),
                incoming_.write("movie/" + name + ".rar", pack ? packNested(movie, 20) : movie)};
    }

    TemplateInstallResult install(const Pair& pair) {
        return installUserTemplate(catalogue_, pair.parameters, pair.movie);
    }

    QStringList userFiles() const {
        QStringList files;
        for (const QString& folder :
             {paths::kUserParameterPackages, paths::kUserTemplatePackages}) {
            for (const QString& name : QDir(working_.path() + folder).entryList(QDir::Files)) {
                files << folder + name;
            }
        }
        return files;
    }

    QStringList names() const {
        QStringList list;
        for (const CatalogueRecord& r : catalogue_.records()) {
            list << r.name;
        }
        return list;
    }

    test::TempFolder program_;
    test::TempFolder working_;
    test::TempFolder incoming_;
    Catalogue catalogue_;
};

TEST_F(TemplateInstallTest, AcceptedPairsFollowTheInstalledTemplatesAndStayAfterARestart) {
    const QString movie1 = catalogue_.record(0).packagePath;
    const TemplateInstallResult first =
        install(bring("a", parameterText("新竖", "|picture_1|", "|shu|"), movieText()));
    ASSERT_TRUE(first.installed) << first.message.toStdString();
    EXPECT_EQ(first.message, texts::kExternalTemplateAdded.arg("新竖"));
    EXPECT_EQ(first.parameterPackage,
              working_.path() + paths::kUserParameterPackages + "wj_y_h_0001.rar");
    EXPECT_EQ(first.moviePackage,
              working_.path() + paths::kUserTemplatePackages + "wj_y_h_0001.rar");
    EXPECT_EQ(test::readFile(first.moviePackage), packNested(movieText(), 20));

    const TemplateInstallResult second =
        install(bring("b", parameterText("一横一竖", "|picture_1|picture_2|", "|heng|shu|"),
                      movieText("picture_2.jpg")));
    ASSERT_TRUE(second.installed) << second.message.toStdString();
    EXPECT_TRUE(second.moviePackage.endsWith("wj_y_h_0002.rar"));

    // Installed templates keep their catalogue indices; the user's come after them.
    EXPECT_EQ(names(), (QStringList{"横一", "两横", "新竖", "一横一竖"}));
    EXPECT_EQ(catalogue_.record(0).packagePath, movie1);
    EXPECT_EQ(catalogue_.record(2).packagePath, first.moviePackage);
    EXPECT_EQ(catalogue_.record(3).packagePath, second.moviePackage);
    // Classes as for installed templates: the advanced one before the singles in the list.
    QStringList listed;
    for (const CatalogueEntry& e : catalogue_.entries()) {
        listed << e.name + u'/' + classText(e.templateClass);
    }
    EXPECT_EQ(listed, (QStringList{"两横/综合模板", "一横一竖/综合模板", "横一/横照模板",
                                   "新竖/竖照模板"}));

    // A new run finds them again in the same places.
    Catalogue restarted;
    ASSERT_TRUE(restarted.build());
    ASSERT_EQ(restarted.records().size(), 4);
    EXPECT_EQ(restarted.record(2).packagePath, first.moviePackage);
    EXPECT_EQ(restarted.record(3).name, "一横一竖");
    EXPECT_TRUE(restarted.leftOut().isEmpty());
}

TEST_F(TemplateInstallTest, FreeNameIsPastTheHighestInEitherFolder) {
    EXPECT_EQ(freeUserTemplateName(), "wj_y_h_0001.rar");
    working_.write(paths::kUserTemplatePackages + "wj_y_h_0007.rar", "x");
    working_.write(paths::kUserParameterPackages + "wj_y_h_0003.rar", "x");
    working_.write(paths::kUserParameterPackages + "other_0099.rar", "x");
    EXPECT_EQ(freeUserTemplateName(), "wj_y_h_0008.rar");
}

TEST_F(TemplateInstallTest, RefusalsTellTheReasonAndLeaveEverythingAsItWas) {
    const QString refused = texts::kExternalTemplateRefused + u'\n';
    struct Case {
        const char* what;
        Pair pair;
        QString message;  // the whole message, or its start when startOnly
        bool startOnly = false;
    };
    const QString missing = incoming_.path() + "missing.rar";
    const Pair good = bring("good", parameterText("好模板", "|picture_1|", "|heng|"), movieText());
    const Case cases[] = {
        {"damaged parameter package", bring("p1", "not a packed file at all", movieText(), false),
         refused + texts::kExternalParameterUnreadable.arg(""), true},
        {"missing parameter package",
         {missing, good.movie},
         refused + texts::kExternalParameterUnreadable.arg(
                       texts::kFileErrorFormat.arg(missing, texts::kCannotReadFile))},
        {"frames not a number",
         bring("p2", parameterText("坏帧数", "|picture_1|", "|heng|", "三十"), movieText()),
         refused +
             texts::kExternalParameterInvalid.arg(texts::kParameterNotNumber.arg("mbdx", "三十"))},
        {"in no class",
         bring("p3", parameterText("无类", "|picture_1|picture_2|", "|shuheng|shuheng|"),
               movieText()),
         refused + texts::kExternalTemplateUnclassified},
        {"no photo slot",
         bring("p4", parameterText("无照片", "|beijing|", "|heng|"), movieText("beijing.jpg")),
         refused + texts::kExternalTemplateNoSlots},
        {"damaged movie package",
         {good.parameters, incoming_.write("bad-movie.rar", "garbage")},
         refused + texts::kExternalMovieUnplayable.arg(""),
         true},
        {"movie that does not parse",
         bring("p5", parameterText("坏动画", "|picture_1|", "|heng|"), "not a movie"),
         refused + texts::kExternalMovieUnplayable.arg(""), true},
        {"movie showing a picture nobody stages",
         bring("p6", parameterText("外图", "|picture_1|", "|heng|"), movieText("logo.jpg")),
         refused + texts::kExternalMovieForeignPicture.arg("logo.jpg")},
        {"the name of a template already there",
         bring("p7", parameterText("两横", "|picture_1|", "|heng|"), movieText()),
         refused + texts::kExternalTemplateNameTaken.arg("两横")},
        {"the movie chosen as parameters",
         {good.movie, good.movie},
         refused + texts::kExternalParameterInvalid.arg(""),
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const TemplateInstallResult result = install(c.pair);
        EXPECT_FALSE(result.installed);
        if (c.startOnly) {
            EXPECT_TRUE(result.message.startsWith(c.message)) << result.message.toStdString();
            EXPECT_GT(result.message.size(), c.message.size());
        } else {
            EXPECT_EQ(result.message, c.message);
        }
        EXPECT_TRUE(result.moviePackage.isEmpty());
        EXPECT_EQ(names(), (QStringList{"横一", "两横"}));
        EXPECT_TRUE(userFiles().isEmpty()) << userFiles().join(' ').toStdString();
    }
    // The good pair is still welcome afterwards, under the first free name.
    const TemplateInstallResult result = install(good);
    EXPECT_TRUE(result.installed) << result.message.toStdString();
    EXPECT_TRUE(result.moviePackage.endsWith("wj_y_h_0001.rar"));
}

TEST_F(TemplateInstallTest, ARebuildThatWouldMoveInstalledTemplatesIsUndone) {
    // An installed package damaged on disk since start-up would drop out of the rebuilt
    // catalogue and shift every index after it.
    program_.write(paths::kParameterPackages + "01.rar", "damaged since start-up");
    const TemplateInstallResult result =
        install(bring("a", parameterText("新横", "|picture_1|", "|heng|"), movieText()));
    EXPECT_FALSE(result.installed);
    EXPECT_EQ(result.message,
              texts::kExternalTemplateRefused + u'\n' + texts::kExternalCatalogueChanged);
    EXPECT_EQ(names(), (QStringList{"横一", "两横"}));
    EXPECT_TRUE(userFiles().isEmpty());
}

TEST_F(TemplateInstallTest, EachTreePairsItsOwnPackages) {
    // A parameter package without a movie in the installed tree is left out; the user's pair
    // still goes together.
    program_.write(paths::kParameterPackages + "03.rar",
                   packNested(parameterText("孤单", "|picture_1|", "|heng|"), 20));
    working_.write(paths::kUserParameterPackages + "wj_y_h_0001.rar",
                   packNested(parameterText("用户", "|picture_1|", "|shu|"), 20));
    const QString movie = working_.write(paths::kUserTemplatePackages + "wj_y_h_0001.rar",
                                         packNested(movieText(), 20));
    Catalogue catalogue;
    ASSERT_TRUE(catalogue.build());
    ASSERT_EQ(catalogue.records().size(), 3);
    EXPECT_EQ(catalogue.record(2).name, "用户");
    EXPECT_EQ(catalogue.record(2).packagePath, movie);
    ASSERT_EQ(catalogue.leftOut().size(), 1);
    EXPECT_EQ(catalogue.leftOutLines(),
              QStringList{paths::kParameterPackages + "03.rar：" + texts::kNoTemplatePackage});

    // A damaged user package is named below the working root.
    working_.write(paths::kUserParameterPackages + "wj_y_h_0001.rar", "damaged");
    ASSERT_TRUE(catalogue.build());
    ASSERT_EQ(catalogue.leftOutLines().size(), 2);
    EXPECT_TRUE(catalogue.leftOutLines()[1].startsWith(paths::kUserParameterPackages +
                                                       "wj_y_h_0001.rar："));
}

}  // namespace
}  // namespace vellumo
