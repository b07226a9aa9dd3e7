// vellumo-tool movie-info and render-movie, and the example movies of docs/examples, which
// template authors copy from: they must load, find all their pictures and draw.

#include <gtest/gtest.h>

#include <QDirIterator>
#include <QImage>
#include <QRegularExpression>

#include <memory>

#include "movie/movie_parser.h"
#include "movie/movie_pictures.h"
#include "movie/movie_renderer.h"
#include "movie/movie_texts.h"
#include "tests/support/test_files.h"
#include "tests/support/tool_runner.h"

namespace vellumo {
namespace {

using test::runTool;
using test::ToolRun;

QByteArray sampleMovie() {
    return "vellumo-movie 1\ntitle \"样片\"\nframes 30\n"
           "image bg bg.png\n  box 0 0 1920 1080\n"
           "image gone \"../../pic/picture_0.jpg\"\n"
           "text t \"你好\"\n  reveal-style iris\n  at 0 reveal 0\n  at 20 reveal 1 ease-out\n";
}

TEST(MovieTool, MovieInfoListsFramesLayersAndPictures) {
    test::TempFolder temp;
    const QString movie = temp.write("t/m/m.movie", sampleMovie());
    QImage bg(80, 45, QImage::Format_RGB32);
    bg.fill(Qt::darkCyan);
    ASSERT_TRUE(bg.save(temp.path() + "t/m/bg.png"));
    const ToolRun run = runTool({"movie-info", movie});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.contains(QString::fromUtf16(u"title     样片")));
    EXPECT_TRUE(run.out.contains("frames    30 (1.20 s at 25 frames a second), loop no"));
    EXPECT_TRUE(run.out.contains("layers    3"));
    EXPECT_TRUE(run.out.contains("reveal iris"));
    EXPECT_TRUE(run.out.contains(QRegularExpression("bg.png +80 x 45")));
    EXPECT_TRUE(run.out.contains(
        QRegularExpression("\\.\\./\\.\\./pic/picture_0\\.jpg +missing \\(draws nothing\\)")));
}

TEST(MovieTool, RenderMovieWritesFramesAndASheet) {
    test::TempFolder temp;
    QImage bg(80, 45, QImage::Format_RGB32);
    bg.fill(Qt::darkCyan);
    ASSERT_TRUE(bg.save(temp.path() + "bg.png"));
    const QString movie = temp.write("m.movie", sampleMovie());

    ToolRun run = runTool({"render-movie", movie, "--size", "160x90", "--frames", "3-5", "--out",
                           temp.path() + "frames"});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    for (const char* name : {"frame_00003.png", "frame_00004.png", "frame_00005.png"}) {
        const QImage frame(temp.path() + "frames/" + name);
        ASSERT_EQ(frame.size(), QSize(160, 90)) << name;
        EXPECT_EQ(frame.pixel(2, 2), QColor(Qt::darkCyan).rgb());
    }
    EXPECT_FALSE(QFile::exists(temp.path() + "frames/frame_00006.png"));

    run = runTool({"render-movie", movie, "--size", "160x90", "--out", temp.path() + "sheet",
                   "--sheet", "--count", "6", "--columns", "3"});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QImage sheet(temp.path() + "sheet/sheet.png");
    // Three columns and two rows of 160 x 90 frames with gaps and captions.
    EXPECT_GT(sheet.width(), 3 * 160);
    EXPECT_LT(sheet.width(), 3 * 160 + 60);
    EXPECT_GT(sheet.height(), 2 * 90);
}

TEST(MovieTool, BadInputGivesOneLineAndNonZeroExit) {
    test::TempFolder temp;
    const QString movie = temp.write("m.movie", sampleMovie());
    const QString broken = temp.write("broken.movie", "vellumo-movie 1\nframes 10\nwobble\n");
    for (const QStringList& args :
         {QStringList{"movie-info", temp.path() + "none.movie"}, QStringList{"movie-info", broken},
          QStringList{"render-movie", broken, "--out", temp.path() + "o"},
          QStringList{"render-movie", movie, "--size", "big", "--out", temp.path() + "o"},
          QStringList{"render-movie", movie, "--frames", "40-50", "--out", temp.path() + "o"},
          QStringList{"render-movie", movie}}) {
        const ToolRun run = runTool(args);
        EXPECT_NE(run.exitCode, 0) << args.join(' ').toStdString();
        EXPECT_EQ(run.err.trimmed().count(u'\n'), 0) << run.err.toStdString();
        EXPECT_FALSE(run.err.trimmed().isEmpty());
    }
    const ToolRun run = runTool({"movie-info", broken});
    EXPECT_TRUE(
        run.err.contains(texts::kMovieAtLine.arg(3).arg(texts::kMovieUnknownWord.arg(u"wobble"))))
        << run.err.toStdString();
}

QString examples() {
    return QStringLiteral(VELLUMO_SOURCE_DIR "/docs/examples/");
}

TEST(MovieExamples, EveryExampleLoadsFindsItsPicturesAndDraws) {
    QDirIterator it(examples(), {QStringLiteral("*.movie")}, QDir::Files,
                    QDirIterator::Subdirectories);
    int count = 0;
    while (it.hasNext()) {
        const QString path = it.next();
        SCOPED_TRACE(path.toStdString());
        ++count;
        auto movie = std::make_shared<const movie::Movie>(movie::readMovie(path));
        const movie::MoviePictures pictures = movie::readMoviePictures(*movie);
        for (const QString& name : movie->pictures()) {
            EXPECT_FALSE(pictures.value(name).image.isNull()) << name.toStdString();
        }
        const movie::MovieRenderer renderer(movie, pictures, QSize(320, 180));
        for (int frame : {0, movie->frames - 1}) {
            EXPECT_EQ(renderer.render(frame).size(), QSize(320, 180));
        }
        // Half way every example shows something in the middle of the stage.
        const QImage middle = renderer.render(movie->frames / 2);
        EXPECT_NE(middle.pixel(160, 90), movie->background.rgb());
    }
    EXPECT_GE(count, 4);
}

TEST(MovieExamples, TheDocumentShowsTheFourPhotoExampleAsItIs) {
    const QString doc = QString::fromUtf8(
        test::readFile(QStringLiteral(VELLUMO_SOURCE_DIR "/docs/movie-format.md")));
    const QString example = QString::fromUtf8(
        test::readFile(examples() + QStringLiteral("templates/four_photos/four_photos.movie")));
    EXPECT_TRUE(doc.contains(QStringLiteral("```\n") + example + QStringLiteral("```\n")));
}

}  // namespace
}  // namespace vellumo
