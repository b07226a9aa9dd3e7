#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>

#include <atomic>
#include <chrono>
#include <new>
#include <thread>

#include "disc/disc_check.h"
#include "media/audio_decoder.h"
#include "media/mcl.h"
#include "media/media_texts.h"
#include "media/music_player.h"
#include "movie/movie_player.h"
#include "preview/preview_timeline.h"
#include "production/album_frames.h"
#include "production/production_run.h"
#include "production/production_run_texts.h"
#include "project/album.h"
#include "tests/support/album_builders.h"
#include "tests/support/held_converter.h"
#include "tests/support/media_probe.h"
#include "tests/support/photo_files.h"
#include "tests/support/test_files.h"
#include "timeline/album_clock.h"
#include "timeline/timeline_texts.h"
#include "workspace/data_paths.h"
#include "workspace/packed_file.h"
#include "workspace/program_folder.h"
#include "workspace/text_codec.h"

// The thread sanitizer's runtime of clang 14 fails its own check when a program is started
// (the disc's authoring tools) while the run's threads are about; the disc cases run in the
// other builds.
#if defined(__has_feature)
#if __has_feature(thread_sanitizer)
#define VELLUMO_NO_TOOL_PROCESSES 1
#endif
#endif

namespace vellumo {
namespace {

using test::entryOf;
using test::templateRecord;

// A template whose photo fills the stage, so every frame shows the photo's colour.
QByteArray templateMovie(int frames) {
    return QStringLiteral(
               "vellumo-movie 1\nframes %1\n"
               "image photo \"picture_1.jpg\"\n  box 0 0 1920 1080\n")
        .arg(frames)
        .toUtf8();
}
// The closing movie shows the lead-in picture.
const QByteArray kClosingMovie =
    "vellumo-movie 1\nframes 150\nimage leadin \"../../pic/picture_0.jpg\"\n  box 0 0 1920 1080\n";

class ProductionRunTest : public ::testing::Test {
protected:
    void SetUp() override {
        setProgramFolder(folder_.path());
        silenceFfmpegLog();
        folder_.write(paths::kClosingMovie, packNested(kClosingMovie, 16));
        QVector<CatalogueRecord> records;
        for (int frames : {40, 30, 400}) {
            const QString file = QStringLiteral("packages/%1.rar").arg(frames);
            folder_.write(file, packNested(templateMovie(frames), 20));
            CatalogueRecord r = templateRecord(QString::number(frames), "|picture_1|", "|heng|");
            r.packagePath = folder_.path() + file;
            r.frames = frames;
            records.append(r);
        }
        catalogue_.setRecords(records);
        for (QColor colour : {QColor(Qt::red), QColor(Qt::blue)}) {
            album_.addPhoto(*measurePhoto(test::writeSolidPhoto(
                folder_.path() + colour.name().mid(1) + ".jpg", {400, 300}, colour)));
        }
        // Red 40 frames, an incomplete 400-frame template, blue 30 frames.
        album_.addTemplate(entryOf(catalogue_, 0, TemplateClass::LandscapeSingle));
        album_.addTemplate(entryOf(catalogue_, 2, TemplateClass::LandscapeSingle));
        album_.addTemplate(entryOf(catalogue_, 1, TemplateClass::LandscapeSingle));
        album_.placePhoto(0, 0, 0);
        album_.placePhoto(1, 2, 0);
        album_.refreshDefaultBackgrounds();
        OutputOptions options = album_.outputOptions();
        options.beginProduction(AlbumType::Dvd);
        options.chooseSize(0);  // 320 × 176
        options.quality = PictureQuality::Standard;
        album_.setOutputOptions(options);
        player_.setSoundOutput(false);
    }
    void TearDown() override { setProgramFolder(QString()); }

    void addMusicAndLyrics() {
        ASSERT_TRUE(album_.addMusic(test::writeToneMp3(folder_.path() + "tone.mp3", 3.0), player_)
                        .isEmpty());
        album_.addLyrics(
            folder_.write("tone.lrc", toGbk(QString::fromUtf16(u"[00:01.00]白色的歌词\n"))));
        LyricSettings big;
        big.size = 40;
        album_.setLyricSettings(0, big);
    }

    test::TempFolder folder_;
    Catalogue catalogue_;
    Album album_{catalogue_, [](int) { return 0; }};
    MusicPlayer player_;
};

TEST_F(ProductionRunTest, AlbumWithMusicAndLyricsIsTheVideoOfItsSequence) {
    addMusicAndLyrics();
    ProductionRun run(album_);
    QVector<ProductionProgress> seen;
    int finished = 0;
    run.onProgress = [&](const ProductionProgress& p) { seen.append(p); };
    run.onFinished = [&](const ProductionResult&) { ++finished; };
    const QString out = folder_.path() + "album.mpg";
    const ProductionResult result = run.run(out);
    ASSERT_EQ(result.outcome, ProductionOutcome::Complete) << result.error.toStdString();
    EXPECT_EQ(finished, 1);
    EXPECT_EQ(run.state(), ProductionState::Stopped);
    EXPECT_TRUE(result.notices.isEmpty()) << result.notices.join(u'\n').toStdString();

    // 40 + 30 + 150 frames; the incomplete template is neither counted nor staged.
    EXPECT_EQ(run.sequence().totalFrames(), 220);
    EXPECT_FALSE(QFileInfo::exists(dataPath(paths::kTemplateStagingFolder) + "wj_y_l_2"));
    EXPECT_TRUE(QFileInfo::exists(dataPath(paths::kTemplateStagingFolder) + "wj_y_l_z_h/" +
                                  paths::kStagedClosingMovieForProduction));
    // 3 s of tone counts 75 frames: three rows cover 220.
    EXPECT_EQ(run.sequence().soundFiles().size(), 3);

    const test::MediaFacts facts = test::probeMedia(out, {15, 50, 85});
    EXPECT_EQ(facts.videoCodec, "mpeg2video");
    EXPECT_EQ(facts.audioCodec, "ac3");
    EXPECT_EQ(facts.width, 320);
    EXPECT_EQ(facts.height, 176);
    EXPECT_EQ(facts.videoFrames, 220);
    EXPECT_NEAR(facts.videoSeconds, 8.8, 0.01);
    EXPECT_LE(facts.audioSeconds, facts.videoSeconds + 0.001);
    EXPECT_GT(facts.audioSeconds, 8.5);
    // Black first, then red, blue, and the closing movie on blue's last frame.
    ASSERT_EQ(facts.centres.size(), 220);
    EXPECT_LT(qRed(facts.centres[0]) + qGreen(facts.centres[0]) + qBlue(facts.centres[0]), 60);
    EXPECT_GT(qRed(facts.centres[20]), 180);
    EXPECT_GT(qBlue(facts.centres[60]), 180);
    EXPECT_GT(qBlue(facts.centres[200]), 180);

    // The lyric line at 00:01 of the first row, not before; the closing movie starts from the
    // lead-in picture, which never shows it.
    EXPECT_LT(test::whitePixelsInLyricBand(facts.pictures.value(15)), 5);
    EXPECT_GT(test::whitePixelsInLyricBand(facts.pictures.value(50)), 100);
    EXPECT_LT(test::whitePixelsInLyricBand(facts.pictures.value(85)), 5);
    EXPECT_LT(test::whitePixelsInLyricBand(QImage(dataPath(paths::kLeadInPicture))), 5);

    // Progress: lists, preparation, then every frame with both bars and the times.
    ASSERT_FALSE(seen.isEmpty());
    EXPECT_EQ(seen.first().phase, ProductionProgress::Phase::Lists);
    const ProductionProgress& last = seen.last();
    EXPECT_EQ(last.phase, ProductionProgress::Phase::Conversion);
    EXPECT_EQ(last.framesDone, 220);
    EXPECT_EQ(last.totalFrames, 220);
    EXPECT_GT(last.framesPerSecond, 0);
    EXPECT_FALSE(last.elapsed.isEmpty());
    EXPECT_EQ(run.stageLog().first(), "1" + texts::kStageUnloaded);
    EXPECT_TRUE(run.errorList().isEmpty());
}

TEST_F(ProductionRunTest, WithoutMusicTheVideoHasNoSound) {
    test::changeOptions(album_,
                        [&](OutputOptions& options) { options.beginProduction(AlbumType::Vcd); });
    test::changeOptions(album_, [&](OutputOptions& options) { options.chooseSize(0); });
    ProductionRun run(album_);
    const QString out = folder_.path() + "silent.mpg";
    ASSERT_EQ(run.run(out).outcome, ProductionOutcome::Complete);
    const test::MediaFacts facts = test::probeMedia(out);
    EXPECT_EQ(facts.videoCodec, "mpeg1video");
    EXPECT_FALSE(facts.hasAudio);
    EXPECT_EQ(facts.streams, 1);
    EXPECT_EQ(facts.videoFrames, 220);
}

TEST_F(ProductionRunTest, SyncWithMusicPreviewAndProductionAgreeOnTheLength) {
    addMusicAndLyrics();
    test::changeOptions(album_,
                        [&](OutputOptions& options) { options.sync = SyncMode::WithMusic; });
    test::changeOptions(album_,
                        [&](OutputOptions& options) { options.beginProduction(AlbumType::Mp4); });
    test::changeOptions(album_, [&](OutputOptions& options) { options.chooseSize(0); });
    ProductionRun run(album_);
    const QString out = folder_.path() + "music.mp4";
    ASSERT_EQ(run.run(out).outcome, ProductionOutcome::Complete);
    // 3 s of music (75 frames): red and blue twice (140), then the closing movie.
    EXPECT_EQ(run.sequence().playList(), (QVector<int>{0, 2, 0, 2}));
    EXPECT_EQ(run.sequence().soundFiles().size(), 1);
    const test::MediaFacts facts = test::probeMedia(out);
    EXPECT_EQ(facts.videoFrames, 140 + 150);
    EXPECT_LE(facts.audioSeconds, 3.1);

    // The preview lays the same album out.
    MoviePlayer stage;
    PreviewTimeline timeline(album_, stage);
    ASSERT_TRUE(timeline.start(AlbumSequence::completeTemplates(album_), SyncMode::WithMusic));
    EXPECT_EQ(timeline.sequence().totalFrames(), facts.videoFrames);
    EXPECT_EQ(timeline.totalTime(), clockTextOfFrames(facts.videoFrames));
    timeline.stop();
}

TEST_F(ProductionRunTest, AnMp4HasAChapterAtEveryTemplateStartAndMayBeH265) {
    for (const VideoCoding coding : {VideoCoding::H264, VideoCoding::H265}) {
        SCOPED_TRACE(coding == VideoCoding::H265 ? "H.265" : "H.264");
        test::changeOptions(album_, [&](OutputOptions& options) {
            options.beginProduction(AlbumType::Mp4);
            options.chooseSize(0);
            options.coding = coding;
        });
        ProductionRun run(album_);
        const QString out = folder_.path() + "chapters.mp4";
        ASSERT_EQ(run.run(out).outcome, ProductionOutcome::Complete);
        const test::MediaFacts facts = test::probeMedia(out);
        EXPECT_EQ(facts.videoCodec, coding == VideoCoding::H265 ? "hevc" : "h264");
        EXPECT_EQ(facts.videoFrames, 220);
        // Red from the start (its black first picture included), blue at 40, the closing
        // movie at 70, each under its template's name.
        ASSERT_EQ(facts.chapters.size(), 3);
        EXPECT_DOUBLE_EQ(facts.chapters[0].start, 0.0);
        EXPECT_EQ(facts.chapters[0].title, "40");
        EXPECT_NEAR(facts.chapters[1].start, 1.6, 0.001);
        EXPECT_EQ(facts.chapters[1].title, "30");
        EXPECT_NEAR(facts.chapters[2].start, 2.8, 0.001);
        EXPECT_NEAR(facts.chapters[2].end, 8.8, 0.001);
        EXPECT_EQ(facts.chapters[2].title, texts::kClosingMovieName);
    }
}

TEST_F(ProductionRunTest, StopWhileTheListsAreBuiltEndsAtOnce) {
    ASSERT_TRUE(
        album_.addMusic(test::writeToneMp3(folder_.path() + "short.mp3", 1.0), player_).isEmpty());
    int converters = 0;
    ProductionRun run(album_, [&] {
        ++converters;
        return mcl::createConverter();
    });
    int calls = 0;
    run.onProgress = [&](const ProductionProgress& p) {
        ++calls;
        EXPECT_EQ(p.phase, ProductionProgress::Phase::Lists);
        if (calls == 2) {
            run.stop();
        }
    };
    const QString out = folder_.path() + "stopped.mpg";
    const ProductionResult result = run.run(out);
    EXPECT_EQ(result.outcome, ProductionOutcome::Stopped);
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(converters, 0);
    EXPECT_FALSE(QFileInfo::exists(dataPath(paths::kTemplateStagingFolder)));
    EXPECT_FALSE(QFileInfo::exists(out));
    EXPECT_EQ(run.state(), ProductionState::Stopped);
}

TEST_F(ProductionRunTest, StopDuringTheConversionLeavesNoFile) {
    ProductionRun run(album_);
    run.onProgress = [&](const ProductionProgress& p) {
        if (p.framesDone == 30) {
            run.stop();
        }
    };
    const QString out = folder_.path() + "half.mpg";
    EXPECT_EQ(run.run(out).outcome, ProductionOutcome::Stopped);
    EXPECT_FALSE(QFileInfo::exists(out));
    EXPECT_FALSE(QFileInfo::exists(out + ".part"));
}

TEST_F(ProductionRunTest, StopAfterTheFileIsMadeIsTooLateAndTheAlbumStays) {
    ProductionRun* running = nullptr;
    ProductionRun run(album_, [&]() -> std::unique_ptr<mcl::Converter> {
        auto converter = std::make_unique<test::HeldConverter>(-1);
        converter->afterConvert = [&] { running->stop(); };
        return converter;
    });
    running = &run;
    const QString out = folder_.path() + "whole.mpg";
    const ProductionResult result = run.run(out);
    EXPECT_EQ(result.outcome, ProductionOutcome::Complete);
    EXPECT_EQ(test::probeMedia(out).videoFrames, 220);
    EXPECT_FALSE(QFileInfo::exists(out + ".part"));
}

TEST_F(ProductionRunTest, FailuresAreToldAndTheAlbumIsUnchanged) {
    // A folder that cannot be written: the encoder's reason, no file.
    ProductionRun run(album_);
    const QString out = folder_.path() + "missing/folder/album.mpg";
    const ProductionResult result = run.run(out);
    EXPECT_EQ(result.outcome, ProductionOutcome::Failed);
    EXPECT_FALSE(result.error.isEmpty());
    EXPECT_FALSE(QFileInfo::exists(out));
    EXPECT_TRUE(album_.templates().at(0).complete);
    EXPECT_EQ(album_.photos().size(), 2);
    // It can be produced again.
    EXPECT_EQ(run.run(folder_.path() + "again.mpg").outcome, ProductionOutcome::Complete);

    // Nothing to produce: the missing-content messages, and no complete template.
    test::changeOptions(album_,
                        [&](OutputOptions& options) { options.sync = SyncMode::WithMusic; });
    EXPECT_EQ(run.run(out).error, texts::kNoMusicForSync);
    test::changeOptions(album_,
                        [&](OutputOptions& options) { options.sync = SyncMode::WithTemplate; });
    album_.addTemplate(entryOf(catalogue_, 0, TemplateClass::LandscapeSingle));
    Album empty(catalogue_, [](int) { return 0; });
    empty.addPhoto(test::photoRecord("p", 400, 300));
    empty.addTemplate(entryOf(catalogue_, 0, TemplateClass::LandscapeSingle));
    EXPECT_EQ(checkProductionRequest(empty), texts::kNothingToPlay);
}

TEST_F(ProductionRunTest, MusicTooShortToCoverTheAlbumIsHeardOnceAndTold) {
    ASSERT_TRUE(
        album_.addMusic(test::writeToneMp3(folder_.path() + "blip.mp3", 0.5), player_).isEmpty());
    ProductionRun run(album_);
    const ProductionResult result = run.run(folder_.path() + "blip.mpg");
    ASSERT_EQ(result.outcome, ProductionOutcome::Complete) << result.error.toStdString();
    EXPECT_EQ(result.notices, QStringList{texts::kMusicTooShort});
    EXPECT_EQ(run.sequence().soundFiles().size(), 1);
}

// Whether the picture's centre is mostly red or mostly blue.
bool redAtCentre(const QImage& picture) {
    const QRgb p = picture.pixel(picture.width() / 2, picture.height() / 2);
    return qRed(p) > 180 && qBlue(p) < 80;
}
bool blueAtCentre(const QImage& picture) {
    const QRgb p = picture.pixel(picture.width() / 2, picture.height() / 2);
    return qBlue(p) > 180 && qRed(p) < 80;
}

TEST_F(ProductionRunTest, PicturesDrawnAheadAreTheAlbumsPicturesInOrder) {
    addMusicAndLyrics();
    ProductionRun run(album_);
    ASSERT_EQ(run.run(folder_.path() + "album.mpg").outcome, ProductionOutcome::Complete);
    const int count = static_cast<int>(run.sequence().totalFrames());
    ASSERT_EQ(count, 220);

    // Every picture, in order, as frame() draws it on this thread; then nothing more.
    AlbumFrames frames(album_, run.sequence(), album_.outputOptions().outputSize, false);
    {
        FramesAhead ahead(frames, count, 3);
        for (int n = 0; n < count; ++n) {
            const QImage picture = ahead.take({});
            ASSERT_FALSE(picture.isNull()) << n;
            ASSERT_EQ(picture, run.frame(n)) << n;
        }
        EXPECT_TRUE(ahead.take({}).isNull());
    }
    EXPECT_TRUE(blueAtCentre(run.frame(200)));  // the closing movie starts from blue's end
    EXPECT_GT(test::whitePixelsInLyricBand(run.frame(50)), 100);
    QStringList loaded;
    for (int movie = 0; movie < 3; ++movie) {
        loaded << texts::kStageUnloaded << texts::kStageCreated;
    }
    EXPECT_EQ(frames.stageLog(), loaded);
    EXPECT_TRUE(frames.errorList().isEmpty());

    // Given up after a few pictures, with the drawing thread waiting for room: it ends.
    AlbumFrames again(album_, run.sequence(), album_.outputOptions().outputSize, false);
    FramesAhead ahead(again, count, 1);
    EXPECT_FALSE(ahead.take({}).isNull());
    EXPECT_EQ(ahead.take({}), run.frame(1));
}

TEST_F(ProductionRunTest, StillStretchesAreRepeatedExactlyAsTheyWouldBeDrawn) {
    // Red fades in over twenty frames and then stands still; the lyric line comes at 00:01.
    folder_.write("packages/40.rar",
                  packNested("vellumo-movie 1\nframes 40\nimage photo \"picture_1.jpg\"\n"
                             "  box 0 0 1920 1080\n  at 0 opacity 0\n  at 20 opacity 1\n",
                             20));
    addMusicAndLyrics();
    ProductionRun run(album_);
    ASSERT_EQ(run.run(folder_.path() + "album.mpg").outcome, ProductionOutcome::Complete);
    const int count = static_cast<int>(run.sequence().totalFrames());
    const QSize size = album_.outputOptions().outputSize;
    AlbumFrames repeated(album_, run.sequence(), size, false);
    AlbumFrames drawn(album_, run.sequence(), size, false);
    drawn.repeatStills = false;
    for (int n = 0; n < count; ++n) {
        const QImage picture = repeated.frame(n);
        ASSERT_EQ(picture, drawn.frame(n)) << n;
        if (n == 10) {
            EXPECT_LT(qRed(picture.pixel(size.width() / 2, size.height() / 4)), 200);
        }
        if (n == 30) {
            EXPECT_GT(qRed(picture.pixel(size.width() / 2, size.height() / 4)), 230);
        }
    }
    // The still pictures carry the lyric line where it is heard, not before.
    EXPECT_LT(test::whitePixelsInLyricBand(repeated.frame(22)), 5);
    EXPECT_GT(test::whitePixelsInLyricBand(repeated.frame(30)), 100);
}

TEST_F(ProductionRunTest, AMovieThatCannotBePlayedKeepsThePictureBeforeIt) {
    ProductionRun run(album_);
    ASSERT_EQ(run.run(folder_.path() + "album.mpg").outcome, ProductionOutcome::Complete);
    // Blue's staged movie is damaged after the staging.
    const QString blue = dataPath(paths::kTemplateStagingFolder) +
                         paths::templateStagingSubfolder(3) + paths::stagedTemplateMovie(3);
    ASSERT_TRUE(QFileInfo::exists(blue));
    QFile damaged(blue);
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly | QIODevice::Truncate));
    damaged.write("not a movie\n");
    damaged.close();

    AlbumFrames frames(album_, run.sequence(), album_.outputOptions().outputSize, false);
    EXPECT_TRUE(redAtCentre(frames.frame(20)));
    // Blue's frames keep red's last picture, and the closing movie starts from it.
    EXPECT_TRUE(redAtCentre(frames.frame(60)));
    EXPECT_TRUE(redAtCentre(frames.frame(200)));
    EXPECT_EQ(frames.stageLog(),
              (QStringList{texts::kStageUnloaded, texts::kStageCreated, texts::kStageUnloaded,
                           texts::kStageError, texts::kStageUnloaded, texts::kStageCreated}));
    // The user is told the template's name, never the path of its working copy.
    ASSERT_EQ(frames.notices().size(), 1);
    const QString name = album_.templates().at(2).info->name;
    EXPECT_TRUE(frames.notices().first().startsWith(texts::kMovieNotProduced.arg(name, "")))
        << frames.notices().first().toStdString();
    EXPECT_FALSE(frames.notices().first().contains(folder_.path()));
    ASSERT_FALSE(frames.errorList().isEmpty());
    EXPECT_EQ(frames.errorList().first(), texts::kHealthFirst + "40" + texts::kHealthError);
}

TEST_F(ProductionRunTest, WhileAPictureIsLongInComingTheRunStaysAliveAndStops) {
    ProductionRun run(album_);
    std::atomic<bool> held{false};
    std::atomic<bool> release{false};
    // The drawing of picture 60 takes long (a large movie loading): at most ten seconds here.
    run.beforeDrawing = [&](int n) {
        if (n != 60) {
            return;
        }
        held = true;
        for (int i = 0; i < 2000 && !release; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    };
    int reportsWhileHeld = 0;
    run.onProgress = [&](const ProductionProgress&) {
        if (held && !release && ++reportsWhileHeld == 12) {
            run.stop();
            release = true;
        }
    };
    const QString out = folder_.path() + "held.mpg";
    const ProductionResult result = run.run(out);
    EXPECT_EQ(result.outcome, ProductionOutcome::Stopped);
    EXPECT_EQ(reportsWhileHeld, 12);
    EXPECT_FALSE(QFileInfo::exists(out));
    EXPECT_EQ(QDir(folder_.path()).entryList({"*.vellumo-part"}, QDir::Files | QDir::Hidden),
              QStringList{});
}

// A conversion library whose picture callback fails half-way.
class ThrowingConverter : public test::HeldConverter {
public:
    ThrowingConverter() : HeldConverter(-1) {}
    void assignVideoFunc(mcl::VideoFunc callback) override {
        HeldConverter::assignVideoFunc(
            [callback = std::move(callback)](mcl::Converter& self, QImage& image, int n) {
                if (n == 30) {
                    throw std::bad_alloc();
                }
                callback(self, image, n);
            });
    }
};

TEST_F(ProductionRunTest, WhatIsThrownOnTheWayEndsTheRunWithAFailure) {
    ProductionRun run(album_, [] { return std::make_unique<ThrowingConverter>(); });
    int finished = 0;
    run.onFinished = [&](const ProductionResult&) { ++finished; };
    const QString out = folder_.path() + "thrown.mpg";
    const ProductionResult result = run.run(out);
    EXPECT_EQ(result.outcome, ProductionOutcome::Failed);
    EXPECT_EQ(result.error, texts::kProductionFailed);
    EXPECT_EQ(finished, 1);
    EXPECT_EQ(run.state(), ProductionState::Stopped);
    EXPECT_FALSE(QFileInfo::exists(out));
    run.stop();  // Nothing runs: nothing happens.
    EXPECT_EQ(QDir(folder_.path()).entryList({"*.vellumo-part"}, QDir::Files | QDir::Hidden),
              QStringList{});
}

TEST_F(ProductionRunTest, AnOutputThatIsAnInputIsRefused) {
    addMusicAndLyrics();
    const QString photo = album_.photos().at(0).location;
    const QByteArray photoBytes = test::readFile(photo);
    ProductionRun run(album_);
    // The photo itself, and a link to the lyrics.
    const ProductionResult onPhoto = run.run(photo);
    EXPECT_EQ(onPhoto.outcome, ProductionOutcome::Failed);
    EXPECT_EQ(onPhoto.error, texts::kOutputIsAnInput.arg(photo, photo));
    EXPECT_EQ(test::readFile(photo), photoBytes);
    const QString lyrics = album_.lyrics().at(0).location;
    const QString link = folder_.path() + "lyrics-link.mpg";
    ASSERT_TRUE(QFile::link(lyrics, link));
    EXPECT_EQ(run.run(link).error, texts::kOutputIsAnInput.arg(link, lyrics));
    EXPECT_TRUE(QFileInfo(link).isSymLink());

    // The music, and a project file named by the caller; a new file or another is fine.
    const QString music = album_.music().at(0).location;
    EXPECT_EQ(checkOutputFile(album_, music), texts::kOutputIsAnInput.arg(music, music));
    const QString project = folder_.write("trip.vellumo", "{}");
    EXPECT_EQ(checkOutputFile(album_, project, {project}),
              texts::kOutputIsAnInput.arg(project, project));
    EXPECT_EQ(checkOutputFile(album_, folder_.path() + "new.mpg", {project}), QString());
    EXPECT_EQ(checkOutputFile(album_, folder_.write("old.mpg", "x"), {project}), QString());
}

TEST_F(ProductionRunTest, MusicWhoseSoundEndsEarlyIsTold) {
    // An MP3 file cut short: its header announces six seconds, a little over two can be read.
    const QByteArray whole = test::readFile(test::writeToneMp3(folder_.path() + "six.mp3", 6.0));
    const QString cut = folder_.write("cut.mp3", whole.left(whole.size() * 4 / 10));
    ASSERT_TRUE(album_.addMusic(cut, player_).isEmpty());
    ProductionRun run(album_);
    const ProductionResult result = run.run(folder_.path() + "cut.mpg");
    ASSERT_EQ(result.outcome, ProductionOutcome::Complete) << result.error.toStdString();
    const QString told = texts::kMclSoundEndedEarly.arg(cut, "00:00:02", "00:00:06");
    EXPECT_EQ(result.notices, QStringList{told});
    EXPECT_TRUE(run.errorList().contains(told));
}

TEST_F(ProductionRunTest, ADiscIsEncodedAtTheStandardAndAuthoredWithAChapterAtEveryTemplate) {
#ifdef VELLUMO_NO_TOOL_PROCESSES
    GTEST_SKIP() << "authoring programs are not started under the thread sanitizer";
#endif
    addMusicAndLyrics();
    OutputOptions options = album_.outputOptions();
    options.albumName = QStringLiteral("夏天");
    ASSERT_TRUE(options.chooseDiscImage());
    album_.setOutputOptions(options);
    ProductionRun run(album_);
    disc::DiscRequest asked;
    test::MediaFacts stream;
    run.beforeAuthoring = [&](const disc::DiscRequest& request) {
        asked = request;
        stream = test::probeMedia(request.streamFile);
    };
    bool authoringShown = false;
    run.onProgress = [&](const ProductionProgress& p) {
        authoringShown = authoringShown || p.phase == ProductionProgress::Phase::Authoring;
    };
    const QString iso = folder_.path() + "album.iso";
    const ProductionResult result = run.run(iso);
    ASSERT_EQ(result.outcome, ProductionOutcome::Complete) << result.error.toStdString();
    EXPECT_TRUE(authoringShown);

    // The stream: the standard's frame, 16:9, a GOP starting at each template (frames 0, 40
    // and 70 of red 40, blue 30 and the closing movie).
    EXPECT_EQ(QSize(stream.width, stream.height), QSize(720, 576));
    EXPECT_NEAR(stream.displayAspect, 16.0 / 9, 0.01);
    for (const int start : {0, 40, 70}) {
        EXPECT_TRUE(stream.keyFrames.contains(start)) << start;
    }
    EXPECT_EQ(stream.audioCodec, "ac3");
    // The request: chapters in seconds, a picture for each (the template's complete picture),
    // the album's photos for the menu, its length and name.
    EXPECT_EQ(asked.kind, disc::DiscKind::Dvd);
    EXPECT_EQ(asked.target, disc::DiscTarget::Image);
    EXPECT_EQ(asked.outPath, iso);
    EXPECT_EQ(asked.albumName, QStringLiteral("夏天"));
    EXPECT_EQ(asked.chapterStarts, (QVector<double>{0, 1.6, 2.8}));
    ASSERT_EQ(asked.chapterPictures.size(), 3);
    const QRgb expected[] = {qRgb(255, 0, 0), qRgb(0, 0, 255), qRgb(0, 0, 255)};
    for (int i = 0; i < 3; ++i) {
        const QImage& picture = asked.chapterPictures[i];
        ASSERT_EQ(picture.size(), QSize(1024, 576)) << i;
        const QRgb centre = picture.pixel(512, 200);
        EXPECT_NEAR(qRed(centre), qRed(expected[i]), 40) << i;
        EXPECT_NEAR(qBlue(centre), qBlue(expected[i]), 40) << i;
    }
    EXPECT_EQ(asked.menuPhotos.size(), 2);
    EXPECT_DOUBLE_EQ(asked.albumSeconds, 8.8);
    // The working folder is gone; the disc reads back.
    EXPECT_FALSE(QFileInfo::exists(asked.streamFile));
    const disc::DvdFacts dvd = disc::readDvd(iso);
    EXPECT_EQ(dvd.chapters, 3);
    EXPECT_NEAR(dvd.seconds, 8.8, 0.04);
    EXPECT_TRUE(run.conversionLog().join(u'\n').contains("dvdauthor"));
}

TEST_F(ProductionRunTest, ADiscStoppedOrWithoutItsToolsLeavesNothing) {
#ifdef VELLUMO_NO_TOOL_PROCESSES
    GTEST_SKIP() << "authoring programs are not started under the thread sanitizer";
#endif
    OutputOptions options = album_.outputOptions();
    options.beginProduction(AlbumType::Vcd);
    ASSERT_TRUE(options.chooseDiscImage());
    album_.setOutputOptions(options);
    const QString image = folder_.path() + "album.cue";
    const auto nothingLeft = [&] {
        EXPECT_FALSE(QFileInfo::exists(image));
        EXPECT_FALSE(QFileInfo::exists(folder_.path() + "album.bin"));
    };
    {
        // A stop while the disc is written.
        ProductionRun run(album_);
        run.onProgress = [&run](const ProductionProgress& p) {
            if (p.phase == ProductionProgress::Phase::Authoring) {
                run.stop();
            }
        };
        EXPECT_EQ(run.run(image).outcome, ProductionOutcome::Stopped);
        nothingLeft();
    }
    {
        // Without the authoring program the production does not begin, and says which package
        // to install.
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", folder_.path().toLocal8Bit());
        ProductionRun run(album_);
        const ProductionResult result = run.run(image);
        const QString missing = disc::missingDiscTool(disc::DiscKind::Vcd);
        qputenv("PATH", path);
        EXPECT_EQ(result.outcome, ProductionOutcome::Failed);
        EXPECT_FALSE(missing.isEmpty());
        EXPECT_EQ(result.error, missing);
        EXPECT_TRUE(run.conversionLog().isEmpty());
        nothingLeft();
    }
}

}  // namespace
}  // namespace vellumo
