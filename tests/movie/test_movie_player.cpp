// The movie player as the hosts use it: load, frame count, going to frames, its own playback,
// and the load error.

#include <gtest/gtest.h>

#include <QSignalSpy>

#include "movie/movie_player.h"
#include "movie/movie_texts.h"
#include "tests/support/test_files.h"
#include "workspace/errors.h"
#include "workspace/packed_file.h"
#include "workspace/workspace_texts.h"

namespace vellumo {
namespace {

// A movie whose frame n shows a bar n/frames of the stage wide, so frames differ.
QByteArray countingMovie(int frames, bool loop) {
    return QStringLiteral(
               "vellumo-movie 1\nframes %1\nloop %2\n"
               "shape bar rect\n  box 0 0 1920 1080\n  fill #ffffff\n"
               "  reveal-style from-left\n  at 0 reveal 0\n  at %3 reveal 1\n")
        .arg(frames)
        .arg(loop ? u"yes" : u"no")
        .arg(frames - 1)
        .toUtf8();
}

TEST(MoviePlayer, LoadsAtOnceWithItsFrameCountAndFirstFrame) {
    test::TempFolder temp;
    const QString path = temp.write("wj_y_l_1.rar", countingMovie(120, false));
    MoviePlayer player;
    EXPECT_FALSE(player.isLoaded());
    EXPECT_EQ(player.totalFrames(), 0);
    player.setSize(QSize(160, 90));
    QSignalSpy changed(&player, &MoviePlayer::frameChanged);
    player.setMovie(path);
    // A view showing the player repaints for the new movie, though the frame number stays 0.
    ASSERT_EQ(changed.count(), 1);
    EXPECT_EQ(changed[0][0].toInt(), 0);
    EXPECT_TRUE(player.isLoaded());
    EXPECT_EQ(player.movie(), path);
    EXPECT_EQ(player.totalFrames(), 120);
    EXPECT_EQ(player.frameNum(), 0);
    EXPECT_FALSE(player.isPlaying());
    ASSERT_EQ(player.currentImage().size(), QSize(160, 90));
    EXPECT_EQ(player.currentImage().pixel(80, 45), qRgb(0, 0, 0));  // nothing revealed yet
}

TEST(MoviePlayer, GoingToAFrameDrawsItAtOnceAndIsClampedToTheMovie) {
    test::TempFolder temp;
    MoviePlayer player;
    player.setSize(QSize(160, 90));
    player.setMovie(temp.write("m.movie", countingMovie(120, false)));
    QSignalSpy changed(&player, &MoviePlayer::frameChanged);

    // The hosts' load sequence.
    player.setFrameNum(0);
    player.setFrameNum(player.totalFrames());
    EXPECT_EQ(player.frameNum(), 119);
    EXPECT_EQ(player.currentImage().pixel(159, 45), qRgb(255, 255, 255));
    player.setFrameNum(0);
    player.setFrameNum(-5);
    EXPECT_EQ(player.frameNum(), 0);
    ASSERT_EQ(changed.count(), 2);  // to 119 and back to 0; staying put is no change
    EXPECT_EQ(changed[0][0].toInt(), 119);
    EXPECT_EQ(changed[1][0].toInt(), 0);

    player.setFrameNum(60);
    const QImage middle = player.currentImage();
    EXPECT_EQ(middle.pixel(40, 45), qRgb(255, 255, 255));
    EXPECT_EQ(middle.pixel(120, 45), qRgb(0, 0, 0));
}

TEST(MoviePlayer, PlayAdvancesTheFrameByItselfAndStopHaltsIt) {
    test::TempFolder temp;
    MoviePlayer player;
    player.setMovie(temp.write("m.movie", countingMovie(250, false)));
    QSignalSpy changed(&player, &MoviePlayer::frameChanged);
    player.play();
    EXPECT_TRUE(player.isPlaying());
    // 25 frames a second: five frames within a generous limit.
    for (int i = 0; i < 5 && changed.count() < 5; ++i) {
        changed.wait(2000);
    }
    ASSERT_GE(changed.count(), 5);
    EXPECT_GE(player.frameNum(), 5);
    for (int i = 0; i < changed.count(); ++i) {
        EXPECT_EQ(changed[i][0].toInt(), i + 1);  // one frame at a time, none skipped
    }
    player.stop();
    EXPECT_FALSE(player.isPlaying());
    const int stoppedAt = player.frameNum();
    EXPECT_FALSE(changed.wait(200));
    EXPECT_EQ(player.frameNum(), stoppedAt);
    // A frame reached by playback is drawn when asked for.
    EXPECT_EQ(player.currentImage(), [&] {
        MoviePlayer other;
        other.setMovie(player.movie());
        other.setFrameNum(stoppedAt);
        return other.currentImage();
    }());
}

TEST(MoviePlayer, AMovieThatDoesNotLoopStopsOnItsLastFrameOneThatLoopsStartsAgain) {
    test::TempFolder temp;
    MoviePlayer once;
    once.setMovie(temp.write("once.movie", countingMovie(3, false)));
    QSignalSpy onceChanged(&once, &MoviePlayer::frameChanged);
    once.play();
    for (int i = 0; i < 10 && once.isPlaying(); ++i) {
        onceChanged.wait(500);
    }
    EXPECT_FALSE(once.isPlaying());
    EXPECT_EQ(once.frameNum(), 2);
    // Play on the last frame starts from the beginning.
    once.play();
    EXPECT_EQ(once.frameNum(), 0);
    once.stop();

    MoviePlayer looping;
    looping.setMovie(temp.write("loop.movie", countingMovie(3, true)));
    QSignalSpy loopChanged(&looping, &MoviePlayer::frameChanged);
    looping.play();
    for (int i = 0; i < 10 && loopChanged.count() < 4; ++i) {
        loopChanged.wait(500);
    }
    ASSERT_GE(loopChanged.count(), 4);
    EXPECT_EQ(loopChanged[0][0].toInt(), 1);
    EXPECT_EQ(loopChanged[1][0].toInt(), 2);
    EXPECT_EQ(loopChanged[2][0].toInt(), 0);
    EXPECT_TRUE(looping.isPlaying());
}

TEST(MoviePlayer, AMissingOrDamagedMovieRaisesTheLoadErrorAndKeepsTheMovieBefore) {
    test::TempFolder temp;
    const QString good = temp.write("good.movie", countingMovie(40, false));
    // Still packed, as if a step of the unpack chain had been left out.
    const QString packed = temp.write("packed.rar", packNested(countingMovie(40, false), 2));
    // Cut short in the middle of a line.
    const QString cut = temp.write("cut.movie", "vellumo-movie 1\nframes 40\nimage a \"pic");
    MoviePlayer player;
    player.setMovie(good);
    player.setFrameNum(30);
    const QImage before = player.currentImage();

    struct Case {
        QString path;
        QString message;
    };
    const Case cases[] = {
        {temp.path() + "missing.movie",
         texts::kFileErrorFormat.arg(temp.path() + "missing.movie", texts::kCannotReadFile)},
        {packed, texts::kFileErrorFormat.arg(packed, texts::kMovieNotText)},
        {cut,
         texts::kFileErrorFormat.arg(cut, texts::kMovieAtLine.arg(3).arg(texts::kMovieOpenQuote))},
    };
    for (const Case& c : cases) {
        try {
            player.setMovie(c.path);
            ADD_FAILURE() << "no error for " << c.path.toStdString();
        } catch (const FileError& e) {
            EXPECT_EQ(e.file(), c.path);
            EXPECT_EQ(e.message(), c.message);
        }
        EXPECT_TRUE(player.isLoaded());
        EXPECT_EQ(player.movie(), good);
        EXPECT_EQ(player.totalFrames(), 40);
        EXPECT_EQ(player.frameNum(), 30);
        EXPECT_EQ(player.currentImage(), before);
    }
}

TEST(MoviePlayer, PicturesAreReadAtLoadAndScaledAgainWhenTheSizeChanges) {
    test::TempFolder temp;
    QImage red(400, 225, QImage::Format_RGB32);
    red.fill(Qt::red);
    ASSERT_TRUE(red.save(temp.path() + "picture_1.jpg", "JPEG", 95));
    const QString path = temp.write("m.movie",
                                    "vellumo-movie 1\nframes 5\nimage p picture_1.jpg\n"
                                    "  box 0 0 960 540\n");
    MoviePlayer player;
    player.setSize(QSize(200, 112));
    player.setMovie(path);
    // The picture is in memory: the file may go (the hosts delete the staged files).
    QFile::remove(temp.path() + "picture_1.jpg");
    player.setSize(QSize(400, 224));
    ASSERT_EQ(player.currentImage().size(), QSize(400, 224));
    EXPECT_GT(qRed(player.currentImage().pixel(100, 50)), 240);
    EXPECT_LT(qRed(player.currentImage().pixel(300, 150)), 10);
    player.setSize(QSize());
    EXPECT_TRUE(player.currentImage().isNull());
    EXPECT_EQ(player.totalFrames(), 5);
}

}  // namespace
}  // namespace vellumo
