#include <gtest/gtest.h>

#include <QFileInfo>
#include <QImage>
#include <QSignalSpy>

#include "media/music_player.h"
#include "movie/movie_player.h"
#include "preview/preview_timeline.h"
#include "project/album.h"
#include "tests/album/silent_wav.h"
#include "tests/support/album_builders.h"
#include "tests/support/photo_files.h"
#include "tests/support/test_files.h"
#include "timeline/album_clock.h"
#include "timeline/stager.h"
#include "timeline/timeline_texts.h"
#include "workspace/data_paths.h"
#include "workspace/packed_file.h"
#include "workspace/program_folder.h"

namespace vellumo {
namespace {

using test::entryOf;
using test::templateRecord;

// A template that shows its background and its photo over the whole stage.
const QByteArray kTemplateMovie =
    "vellumo-movie 1\nframes 30\n"
    "image background \"wj_y_l_b_j.jpg\"\n  box 0 0 1920 1080\n"
    "image photo \"picture_1.jpg\"\n  box 480 270 960 540\n";
// The closing movie shows the lead-in picture.
const QByteArray kClosingMovie =
    "vellumo-movie 1\nframes 150\nimage leadin \"../../pic/picture_0.jpg\"\n  box 0 0 1920 1080\n";

class TimelineTest : public ::testing::Test {
protected:
    void SetUp() override {
        setProgramFolder(folder_.path());
        folder_.write(paths::kClosingMovie, packNested(kClosingMovie, 16));
        folder_.write("packages/a.rar", packNested(kTemplateMovie, 20));
        CatalogueRecord a = templateRecord("A", "|picture_1|", "|heng|");
        a.packagePath = folder_.path() + "packages/a.rar";
        a.frames = 30;
        catalogue_.setRecords({a});
        for (QColor colour : {QColor(Qt::red), QColor(Qt::blue)}) {
            album_.addPhoto(*measurePhoto(test::writeSolidPhoto(
                folder_.path() + colour.name().mid(1) + ".jpg", {400, 300}, colour)));
        }
        stage_.setSize({800, 450});
    }
    void TearDown() override { setProgramFolder(QString()); }

    // Two complete templates (red, blue) and one without a photo.
    QVector<int> stageThree() {
        for (int i = 0; i < 3; ++i) {
            album_.addTemplate(entryOf(catalogue_, 0, TemplateClass::LandscapeSingle));
        }
        album_.placePhoto(0, 0, 0);
        album_.placePhoto(1, 2, 0);
        album_.refreshDefaultBackgrounds();
        return Stager(album_).prepare({800, 450});
    }

    static QColor centre(const QImage& image) {
        return image.pixelColor(image.width() / 2, image.height() / 2);
    }

    test::TempFolder folder_;
    Catalogue catalogue_;
    Album album_{catalogue_, [](int) { return 0; }};
    MoviePlayer stage_;
    PreviewTimeline timeline_{album_, stage_};
};

TEST_F(TimelineTest, PlaysCompleteTemplatesThenTheClosingMovie) {
    const QVector<int> playList = stageThree();
    EXPECT_EQ(playList, (QVector<int>{0, 2}));
    int soundStarts = 0;
    int soundStops = 0;
    timeline_.setSoundHooks([&] { ++soundStarts; }, [&] { ++soundStops; });
    QSignalSpy finished(&timeline_, &PreviewTimeline::finished);

    ASSERT_TRUE(timeline_.start(playList, SyncMode::WithTemplate));
    EXPECT_EQ(timeline_.state(), PlaybackState::Playing);
    EXPECT_EQ(soundStarts, 1);
    // Two templates of 30 frames and the closing movie's 150.
    EXPECT_EQ(timeline_.totalTime(), clockTextOfFrames(210));
    // The first template starts from its own background.
    EXPECT_EQ(test::readFile(dataPath(paths::kLeadInPicture)),
              test::readFile(dataPath(paths::kTemplateStagingFolder) + "wj_y_l_1/wj_y_l_b_j.jpg"));

    int shown = 0;
    QColor endOfFirst;
    while (timeline_.step()) {
        ++shown;
        if (shown == 25) {
            EXPECT_EQ(timeline_.currentTime(), "00:00:01");
        }
        if (shown == 30) {
            endOfFirst = centre(timeline_.frame());
            EXPECT_EQ(timeline_.templateCounter(), 1);
            // The next template starts from the last frame shown.
            EXPECT_GT(centre(QImage(dataPath(paths::kLeadInPicture))).red(), 200);
        }
        if (shown == 60) {
            EXPECT_EQ(timeline_.phase(), PreviewTimeline::Phase::Closing);
        }
        if (shown == 61) {
            // The closing movie shows the lead-in: the blue template's last frame.
            EXPECT_GT(centre(timeline_.frame()).blue(), 200);
        }
        if (shown > 1000) {
            break;
        }
    }
    EXPECT_GT(endOfFirst.red(), 200);
    EXPECT_EQ(shown, 210);
    EXPECT_EQ(timeline_.state(), PlaybackState::Stopped);
    EXPECT_EQ(timeline_.currentTime(), texts::kClockZero);
    EXPECT_EQ(finished.count(), 1);
    EXPECT_EQ(soundStops, 1);
    EXPECT_TRUE(timeline_.problems().isEmpty());
}

TEST_F(TimelineTest, AMovieThatCannotBePlayedIsNamedByItsTemplate) {
    const QVector<int> playList = stageThree();
    // Both staged movies damaged: the first is loaded at the start, the second ahead of time.
    for (int n : {1, 3}) {
        folder_.write(paths::kTemplateStagingFolder + paths::templateStagingSubfolder(n) +
                          paths::stagedTemplateMovie(n),
                      "not a movie\n");
    }
    timeline_.start(playList, SyncMode::WithTemplate);
    for (int shown = 0; shown < 1000 && timeline_.step(); ++shown) {
    }
    timeline_.stop();
    const QString told = texts::kTemplateMovieUnplayable.arg("A", "");
    ASSERT_FALSE(timeline_.problems().isEmpty());
    for (const QString& problem : timeline_.problems()) {
        EXPECT_TRUE(problem.startsWith(told)) << problem.toStdString();
        EXPECT_FALSE(problem.contains(folder_.path())) << problem.toStdString();
    }
}

TEST_F(TimelineTest, SyncWithMusicRepeatsTheTemplatesToCoverTheMusicThenCloses) {
    const QVector<int> playList = stageThree();
    // 3 s of music is 75 frames: the two 30-frame templates come round once more (120).
    MusicPlayer player;
    player.setSoundOutput(false);
    ASSERT_TRUE(album_.addMusic(test::writeSilentWav(folder_, "m.wav", 3.0), player).isEmpty());
    ASSERT_TRUE(timeline_.start(playList, SyncMode::WithMusic));
    EXPECT_EQ(timeline_.playList(), (QVector<int>{0, 2, 0, 2}));
    EXPECT_EQ(timeline_.totalTime(), clockTextOfFrames(120 + 150));
    // The production lays the album out the same way.
    EXPECT_EQ(timeline_.sequence().totalFrames(), 270);
    int shown = 0;
    while (timeline_.step() && shown < 1000) {
        ++shown;
        if (shown == 100) {
            EXPECT_EQ(timeline_.templateCounter(), 3);
            EXPECT_EQ(timeline_.currentTime(), "00:00:04");  // the album's own clock
        }
    }
    EXPECT_EQ(shown, 270);
    EXPECT_EQ(timeline_.state(), PlaybackState::Stopped);
}

TEST_F(TimelineTest, EachTemplateLastsItsFramesInTheSequenceLikeInTheProduction) {
    // The catalogue's frame count, not the movie's own 30, is how long a template plays: a
    // shorter count cuts the movie, a longer one holds its last frame.
    CatalogueRecord record = catalogue_.record(0);
    const QVector<int> playList = stageThree();
    for (int frames : {20, 45}) {
        record.frames = frames;
        catalogue_.setRecords({record});
        ASSERT_TRUE(timeline_.start(playList, SyncMode::WithTemplate));
        const qint64 total = 2 * frames + 150;
        EXPECT_EQ(timeline_.sequence().totalFrames(), total);
        EXPECT_EQ(timeline_.totalTime(), clockTextOfFrames(total));
        int shown = 0;
        while (timeline_.step() && shown < 1000) {
            ++shown;
            // The last frame of a template shows it and already moves on to the next.
            if (shown == frames - 1) {
                EXPECT_EQ(timeline_.templateCounter(), 0) << frames;
            }
            if (shown == frames) {
                EXPECT_GT(centre(timeline_.frame()).red(), 200) << frames;
                EXPECT_EQ(timeline_.templateCounter(), 1) << frames;
            }
            if (shown == 2 * frames + 1) {
                EXPECT_EQ(timeline_.phase(), PreviewTimeline::Phase::Closing) << frames;
                // The closing movie starts from the frame the blue template ended on.
                EXPECT_GT(centre(timeline_.frame()).blue(), 200) << frames;
            }
        }
        EXPECT_EQ(shown, total);
    }
}

TEST_F(TimelineTest, StopEndsAtOnceAndRemovesTheStagingFolder) {
    const QVector<int> playList = stageThree();
    ASSERT_TRUE(timeline_.start(playList, SyncMode::WithTemplate));
    timeline_.step();
    timeline_.stop();
    EXPECT_EQ(timeline_.state(), PlaybackState::Stopped);
    EXPECT_FALSE(timeline_.step());
    EXPECT_FALSE(QFileInfo::exists(dataPath(paths::kStagingFolder)));
    // An empty play list is refused and leaves the timeline idle.
    EXPECT_FALSE(timeline_.start({}, SyncMode::WithTemplate));
    EXPECT_EQ(timeline_.state(), PlaybackState::Stopped);
}

}  // namespace
}  // namespace vellumo
