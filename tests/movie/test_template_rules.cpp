// The rules every library template keeps (the generator refuses a template that breaks one,
// and vellumo-tool check-template prints them): a broken, careless or still movie is told with
// the reason.

#include <gtest/gtest.h>

#include <QRegularExpression>

#include "movie/movie_parser.h"
#include "movie/template_rules.h"
#include "tests/support/album_builders.h"
#include "tests/support/test_files.h"
#include "tests/support/tool_runner.h"
#include "workspace/errors.h"
#include "workspace/packed_file.h"

namespace vellumo::movie {
namespace {

using test::templateRecord;

const QString kFile = QStringLiteral("data/templates/t/movie.movie");

Movie movieOf(const QString& text) {
    return parseMovie(text.toUtf8(), kFile);
}

// The first broken rule's reason, or empty when the movie keeps every rule.
QString problem(const QString& text, const CatalogueRecord& record) {
    return checkTemplate(movieOf(text), record).firstProblem();
}

// A two-photo template: the lead-in fades, both photos come in, the second drifts down until
// the last frames, which are still.
QString twoPhotoMovie(const QString& extra = {}) {
    return QStringLiteral(
               "vellumo-movie 1\n"
               "frames %1\n"
               "image background \"wj_y_l_b_j.jpg\"\n"
               "  box 0 0 1920 1080\n"
               "image leadin \"../../pic/picture_0.jpg\"\n"
               "  box 0 0 1920 1080\n"
               "  at 0 opacity 1\n"
               "  at 30 opacity 0\n"
               "image a \"picture_1.jpg\"\n"
               "  size 800 450\n"
               "  at 10 x 500 opacity 0\n"
               "  at 60 x 520 opacity 1 ease-out\n"
               "image b \"picture_2.jpg\"\n"
               "  size 800 450\n"
               "  position 1400 540\n"
               "  at 139 y 600\n") +
           extra;
}

const CatalogueRecord kTwoPhotos = templateRecord(
    QStringLiteral("双"), QStringLiteral("|picture_1|picture_2|"), QStringLiteral("|heng|heng|"),
    QStringLiteral("|800|800|"), QStringLiteral("|450|450|"), 150);

TEST(TemplateRules, SoundTemplatePasses) {
    EXPECT_EQ(problem(twoPhotoMovie().arg(150), kTwoPhotos), QString());
    // A decoration of its slot's shape may be shown too.
    const CatalogueRecord decorated =
        templateRecord(QStringLiteral("饰"), QStringLiteral("|picture_1|picture_2|picture_1_quan|"),
                       QStringLiteral("|heng|heng|heng|"), QStringLiteral("|800|800|1920|"),
                       QStringLiteral("|450|450|1080|"), 150);
    EXPECT_EQ(
        problem(twoPhotoMovie(QStringLiteral("image c \"picture_1_quan.jpg\"\n  size 192 108\n"))
                    .arg(150),
                decorated),
        QString());
}

TEST(TemplateRules, FramesMustMatchMbdxWithinTheLibrarysRange) {
    EXPECT_TRUE(problem(twoPhotoMovie().arg(149), kTwoPhotos).contains(u"mbdx is 150"));
    CatalogueRecord shortOne = kTwoPhotos;
    shortOne.frames = 100;
    EXPECT_TRUE(
        problem(twoPhotoMovie().arg(100).replace(QStringLiteral("at 139"), QStringLiteral("at 89")),
                shortOne)
            .contains(u"125 to 300"));
}

TEST(TemplateRules, PicturesMustBeThoseStagingWrites) {
    // A slot nobody shows.
    CatalogueRecord three = kTwoPhotos;
    three.pictureNames = {"picture_1", "picture_2", "picture_3"};
    three.orientations = {"heng", "heng", "heng"};
    three.pictureWidths = {800, 800, 800};
    three.pictureHeights = {450, 450, 450};
    EXPECT_TRUE(problem(twoPhotoMovie().arg(150), three).contains(u"picture_3.jpg"));
    // A misspelt picture would silently draw nothing.
    EXPECT_TRUE(
        problem(twoPhotoMovie(QStringLiteral("image c \"picture_l.jpg\"\n")).arg(150), kTwoPhotos)
            .contains(u"\"picture_l.jpg\", which is not staged"));
}

TEST(TemplateRules, StartsOnTheLeadInAndEndsStill) {
    QString late = twoPhotoMovie().arg(150);
    late.replace(QStringLiteral("  at 0 opacity 1\n"), QStringLiteral("  visible 5 end\n"));
    EXPECT_TRUE(problem(late, kTwoPhotos).contains(u"lead-in"));

    const QString moving =
        twoPhotoMovie(QStringLiteral("  at 100 rotation 0\n  at 145 rotation 3\n")).arg(150);
    EXPECT_TRUE(problem(moving, kTwoPhotos).contains(u"layer \"b\" changes its rotation"));
    const QString appearing =
        twoPhotoMovie(QStringLiteral("text late \"再见\"\n  visible 145 end\n")).arg(150);
    EXPECT_TRUE(problem(appearing, kTwoPhotos).contains(u"layer \"late\" appears"));
    // A key in the last frames that changes nothing is still.
    const QString holding =
        twoPhotoMovie(QStringLiteral("  at 100 scale 1\n  at 145 scale 1\n")).arg(150);
    EXPECT_EQ(problem(holding, kTwoPhotos), QString());
}

TEST(TemplateRules, SizesAndDecorations) {
    const CatalogueRecord sizedSingle = templateRecord(
        QStringLiteral("单"), QStringLiteral("|picture_1|"), QStringLiteral("|heng|"),
        QStringLiteral("|800|"), QStringLiteral("|450|"), 150);
    QString single = twoPhotoMovie().arg(150);
    single.replace(QStringLiteral("image b \"picture_2.jpg\""), QStringLiteral("shape b rect"));
    EXPECT_TRUE(problem(single, sizedSingle).contains(u"no size"));

    CatalogueRecord unsized = kTwoPhotos;
    unsized.pictureWidths = {800, 0};
    EXPECT_TRUE(problem(twoPhotoMovie().arg(150), unsized).contains(u"needs its size"));

    // Staging stretches the slot's photo over its decoration: a different shape distorts it.
    CatalogueRecord stretched = kTwoPhotos;
    stretched.pictureNames = {"picture_1", "picture_2", "picture_1_bj"};
    stretched.orientations = {"heng", "heng", "heng"};
    stretched.pictureWidths = {800, 800, 1080};
    stretched.pictureHeights = {450, 450, 1080};
    EXPECT_TRUE(problem(twoPhotoMovie().arg(150), stretched).contains(u"not the shape"));
    // A decoration that holds no slot's name gets whatever was drawn last.
    stretched.pictureNames = {"picture_1", "picture_2", "zhuangshi_a_b"};
    stretched.pictureWidths = {800, 800, 800};
    stretched.pictureHeights = {450, 450, 450};
    EXPECT_TRUE(problem(twoPhotoMovie().arg(150), stretched).contains(u"no photo slot"));
}

// Staging gives a picture the photo of the last slot whose name its own holds.
TEST(TemplateRules, EverySlotShowsItsOwnPhoto) {
    CatalogueRecord ten = kTwoPhotos;
    ten.pictureNames = {"picture_1", "picture_10"};
    QString movie = twoPhotoMovie().arg(150);
    movie.replace(QStringLiteral("picture_2.jpg"), QStringLiteral("picture_10.jpg"));
    EXPECT_EQ(problem(movie, ten), QString());
    // Listed first, picture_10 takes the first slot and shows picture_1's photo.
    ten.pictureNames = {"picture_10", "picture_1"};
    EXPECT_TRUE(problem(movie, ten).contains(u"\"picture_10\" would show the photo of"));
    // Portrait slots come after landscape ones, whatever the list order.
    ten.orientations = {"shu", "heng"};
    EXPECT_EQ(problem(movie, ten), QString());
    // In a template of several pictures a "shuheng" picture gets no photo at all.
    ten.orientations = {"shuheng", "heng"};
    EXPECT_TRUE(problem(movie, ten).contains(u"gets no photo"));
}

TEST(TemplateRules, BrokenMovieNamesFileAndLine) {
    try {
        movieOf(QStringLiteral("vellumo-movie 1\nframes 150\nimage a \"x.jpg\"\n  opacty 1\n"));
        FAIL() << "parsed";
    } catch (const FileError& e) {
        EXPECT_EQ(e.file(), kFile);
        EXPECT_TRUE(e.reason().contains(u"第 4 行")) << e.reason().toStdString();
    }
}

TEST(TemplateRules, ClosingAndStartupMovies) {
    const QString closing = QStringLiteral(
        "vellumo-movie 1\nframes %1\nimage leadin \"../../pic/picture_0.jpg\"\n"
        "  box 0 0 1920 1080\n%2");
    EXPECT_EQ(closingMovieProblem(movieOf(closing.arg(150).arg(QString()))), QString());
    EXPECT_TRUE(closingMovieProblem(movieOf(closing.arg(125).arg(QString()))).contains(u"150"));
    EXPECT_TRUE(closingMovieProblem(
                    movieOf(closing.arg(150).arg(QStringLiteral("image bg \"wj_y_l_b_j.jpg\"\n"))))
                    .contains(u"only the lead-in"));

    const QString startup = QStringLiteral("vellumo-movie 1\nframes 100\n%1text t \"Vellumo\"\n%2");
    EXPECT_EQ(
        startupAnimationProblem(movieOf(startup.arg(QStringLiteral("loop yes\n"), QString()))),
        QString());
    EXPECT_TRUE(
        startupAnimationProblem(movieOf(startup.arg(QString(), QString()))).contains(u"loop yes"));
    EXPECT_TRUE(startupAnimationProblem(movieOf(startup.arg(QStringLiteral("loop yes\n"),
                                                            QStringLiteral("image p \"a.jpg\"\n"))))
                    .contains(u"no pictures"));
}

// Photos that arrive and then stand: the motion rule names where the longest still run starts.
TEST(TemplateRules, AStillMiddleBreaksTheMotionRule) {
    QString standing = twoPhotoMovie().arg(150);
    standing.replace(QStringLiteral("  at 139 y 600\n"), QString());
    const TemplateCheck check = checkTemplate(movieOf(standing), kTwoPhotos);
    ASSERT_FALSE(check.passed());
    EXPECT_EQ(check.rules.back().rule, QStringLiteral("motion"));
    EXPECT_TRUE(check.rules.back().problem.contains(u"stands still"))
        << check.firstProblem().toStdString();
    // Photo a settles at frame 60 (ease-out: a little earlier to the eye); nothing changes up to
    // the margin before the end, frame 138.
    EXPECT_GE(check.longestStill.first, 45);
    EXPECT_LE(check.longestStill.first, 60);
    EXPECT_EQ(check.longestStill.first + check.longestStill.length, 150 - kStillnessMarginFrames);
    // Every other rule still holds, and says so.
    for (size_t k = 0; k + 1 < check.rules.size(); ++k) {
        EXPECT_TRUE(check.rules[k].passed()) << check.rules[k].rule.toStdString();
    }
}

// A slow zoom inside a fixed box (version 2) keeps a template alive; changes within the first
// and last margins do not count.
TEST(TemplateRules, SlowZoomInsideTheBoxCountsAsMotion) {
    QString kenBurns = twoPhotoMovie().arg(150);
    kenBurns.replace(QStringLiteral("vellumo-movie 1"), QStringLiteral("vellumo-movie 2"));
    kenBurns.replace(QStringLiteral("  at 139 y 600\n"),
                     QStringLiteral("  at 0 content-scale 1\n  at 139 content-scale 1.12\n"));
    const TemplateCheck check = checkTemplate(movieOf(kenBurns), kTwoPhotos);
    EXPECT_TRUE(check.passed()) << check.firstProblem().toStdString();
    EXPECT_LE(check.longestStill.length, kMaxStillFrames);

    // Measured over the still end alone, the whole span is one run; nothing measured, none.
    const Movie movie = movieOf(kenBurns);
    const MoviePictures pictures = samplePictures(movie, kTwoPhotos, kStillnessSize);
    const StillRun end = longestStillRun(movie, pictures, kStillnessSize, 140, 150);
    EXPECT_EQ(end.first, 140);
    EXPECT_EQ(end.length, 10);
    EXPECT_EQ(longestStillRun(movie, pictures, kStillnessSize, 150, 150).length, 0);
}

// Sample pictures take the size staging gives them, so that a movie without boxes is measured
// as it will be shown.
TEST(TemplateRules, SamplePicturesAtTheirStagedSizes) {
    const Movie movie = movieOf(twoPhotoMovie().arg(150));
    const MoviePictures advanced = samplePictures(movie, kTwoPhotos, QSize(320, 180));
    EXPECT_EQ(advanced.value(QStringLiteral("picture_1.jpg")).image.size(), QSize(133, 75));
    EXPECT_EQ(advanced.value(QStringLiteral("wj_y_l_b_j.jpg")).image.size(), QSize(320, 180));
    const CatalogueRecord portrait =
        templateRecord(QStringLiteral("竖"), QStringLiteral("|picture_1|"), QStringLiteral("|shu|"),
                       QStringLiteral("|0|"), QStringLiteral("|0|"), 150);
    EXPECT_EQ(samplePictures(movie, portrait, QSize(320, 180))
                  .value(QStringLiteral("picture_1.jpg"))
                  .image.size(),
              QSize(120, 180));
}

// The tool prints every rule and the longest still run, exits 1 on a broken rule, and reads
// the installed packages as well as the sources.
TEST(TemplateRules, CheckTemplateTool) {
    const test::TempFolder folder;
    const QByteArray parameters =
        QStringLiteral(
            "[1]\nmblx=1\nmbfl=高级模板\nxpsl=2\nxpkd=|800|800|\nxpgd=|450|450|\n"
            "szhz=|heng|heng|\nxpjpgmc=|picture_1|picture_2|\nmbdx=150\n"
            "[l_x_q_b_x_n_w_j_s_y]\nl_x_q_b_x_n_w_j_s_y_m_c=双\n[0]\n"
            "sl=|picture_1|picture_2|\n")
            .toUtf8();
    const QString params = folder.write(QStringLiteral("parameters.ini"), parameters);
    const QString moving =
        folder.write(QStringLiteral("moving.movie"), twoPhotoMovie().arg(150).toUtf8());
    test::ToolRun run = test::runTool({QStringLiteral("check-template"), params, moving});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.contains(QStringLiteral("双 (150 frames)"))) << run.out.toStdString();
    for (const char* rule : {"lead-in", "frames", "picture names", "picture sizes",
                             "decoration names", "substring matching", "still end", "motion"}) {
        EXPECT_TRUE(run.out.contains(
            QRegularExpression(QStringLiteral("\\n  %1 +ok").arg(QLatin1String(rule)))))
            << rule << "\n"
            << run.out.toStdString();
    }
    EXPECT_TRUE(run.out.contains(u"longest still run: "));

    // Packed 20 deep, as installed.
    const QString packedParams = folder.write(QStringLiteral("p.rar"), packNested(parameters, 20));
    const QString packedMovie =
        folder.write(QStringLiteral("m.rar"), packNested(readWholeFile(moving), 20));
    run = test::runTool({QStringLiteral("check-template"), packedParams, packedMovie});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString() << run.out.toStdString();

    QString still = twoPhotoMovie().arg(150);
    still.replace(QStringLiteral("  at 139 y 600\n"), QString());
    const QString standing = folder.write(QStringLiteral("still.movie"), still.toUtf8());
    run = test::runTool({QStringLiteral("check-template"), params, standing});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(
        run.out.contains(QRegularExpression(QStringLiteral("\\n  motion +FAILED: stands still"))))
        << run.out.toStdString();

    // A movie that does not parse names its line; a missing file its name.
    const QString broken =
        folder.write(QStringLiteral("broken.movie"),
                     QByteArrayLiteral("vellumo-movie 1\nframes 150\nimage a\n"));
    run = test::runTool({QStringLiteral("check-template"), params, broken});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.lastErrLine().contains(u"第 3 行")) << run.err.toStdString();
    run = test::runTool({QStringLiteral("check-template"), params, folder.path() + "none.movie"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.lastErrLine().contains(u"none.movie")) << run.err.toStdString();
}
}  // namespace
}  // namespace vellumo::movie
