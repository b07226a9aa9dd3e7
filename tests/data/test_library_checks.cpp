// The rules the generator holds every library movie to: a broken or careless movie must stop
// the build with its file and the reason.

#include <gtest/gtest.h>

#include "data/generator/library_checks.h"
#include "tests/support/album_builders.h"
#include "workspace/errors.h"

namespace vellumo::datagen {
namespace {

using test::templateRecord;

const QString kFile = QStringLiteral("data/templates/t/movie.movie");

movie::Movie movieOf(const QString& text) {
    return checkedMovie(text.toUtf8(), kFile);
}

// The reason checkTemplateMovie gives, or empty when the movie passes.
QString problem(const QString& text, const CatalogueRecord& record) {
    try {
        checkTemplateMovie(movieOf(text), record);
    } catch (const Error& e) {
        EXPECT_TRUE(e.message().startsWith(kFile)) << e.message().toStdString();
        return e.message();
    }
    return {};
}

// A two-photo template: the lead-in fades, both photos come in, the last frames are still.
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
               "  position 1400 540\n") +
           extra;
}

const CatalogueRecord kTwoPhotos = templateRecord(
    QStringLiteral("双"), QStringLiteral("|picture_1|picture_2|"), QStringLiteral("|heng|heng|"),
    QStringLiteral("|800|800|"), QStringLiteral("|450|450|"), 150);

TEST(LibraryChecks, SoundTemplatePasses) {
    EXPECT_EQ(problem(twoPhotoMovie().arg(150), kTwoPhotos), QString());
    // A decoration of its slot's shape may be shown too.
    const CatalogueRecord decorated =
        templateRecord(QStringLiteral("饰"), QStringLiteral("|picture_1|picture_2|picture_1_quan|"),
                       QStringLiteral("|heng|heng|heng|"), QStringLiteral("|800|800|1920|"),
                       QStringLiteral("|450|450|1080|"), 150);
    EXPECT_EQ(problem(twoPhotoMovie(QStringLiteral("image c \"picture_1_quan.jpg\"\n")).arg(150),
                      decorated),
              QString());
}

TEST(LibraryChecks, FramesMustMatchMbdxWithinTheLibrarysRange) {
    EXPECT_TRUE(problem(twoPhotoMovie().arg(149), kTwoPhotos).contains(u"mbdx is 150"));
    CatalogueRecord shortOne = kTwoPhotos;
    shortOne.frames = 100;
    EXPECT_TRUE(problem(twoPhotoMovie().arg(100), shortOne).contains(u"125 to 300"));
}

TEST(LibraryChecks, PicturesMustBeThoseStagingWrites) {
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

TEST(LibraryChecks, StartsOnTheLeadInAndEndsStill) {
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

TEST(LibraryChecks, SizesAndDecorations) {
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
TEST(LibraryChecks, EverySlotShowsItsOwnPhoto) {
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

TEST(LibraryChecks, BrokenMovieNamesFileAndLine) {
    try {
        movieOf(QStringLiteral("vellumo-movie 1\nframes 150\nimage a \"x.jpg\"\n  opacty 1\n"));
        FAIL() << "parsed";
    } catch (const FileError& e) {
        EXPECT_EQ(e.file(), kFile);
        EXPECT_TRUE(e.reason().contains(u"第 4 行")) << e.reason().toStdString();
    }
}

TEST(LibraryChecks, ClosingAndStartupMovies) {
    const QString closing = QStringLiteral(
        "vellumo-movie 1\nframes %1\nimage leadin \"../../pic/picture_0.jpg\"\n"
        "  box 0 0 1920 1080\n%2");
    EXPECT_NO_THROW(checkClosingMovie(movieOf(closing.arg(150).arg(QString()))));
    EXPECT_THROW(checkClosingMovie(movieOf(closing.arg(125).arg(QString()))), Error);
    EXPECT_THROW(checkClosingMovie(movieOf(
                     closing.arg(150).arg(QStringLiteral("image bg \"wj_y_l_b_j.jpg\"\n")))),
                 Error);

    const QString startup = QStringLiteral("vellumo-movie 1\nframes 100\n%1text t \"Vellumo\"\n%2");
    EXPECT_NO_THROW(
        checkStartupAnimation(movieOf(startup.arg(QStringLiteral("loop yes\n"), QString()))));
    EXPECT_THROW(checkStartupAnimation(movieOf(startup.arg(QString(), QString()))), Error);
    EXPECT_THROW(checkStartupAnimation(movieOf(startup.arg(QStringLiteral("loop yes\n"),
                                                           QStringLiteral("image p \"a.jpg\"\n")))),
                 Error);
}

}  // namespace
}  // namespace vellumo::datagen
