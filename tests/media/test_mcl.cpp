#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>

#include <cmath>
#include <ctime>
#include <numeric>
#include <thread>

#include <utime.h>

#include "media/audio_decoder.h"
#include "media/audio_encoder.h"
#include "media/mcl.h"
#include "media/media_texts.h"
#include "tests/support/media_probe.h"
#include "tests/support/test_files.h"
#include "workspace/leftovers.h"

namespace vellumo::mcl {
namespace {

// A sine tone, 16-bit stereo at 44.1 kHz.
QByteArray tone(double seconds, double amplitude = 12000) {
    const auto frames = static_cast<qsizetype>(seconds * kPcmSampleRate);
    QByteArray pcm(frames * kPcmBytesPerFrame, Qt::Uninitialized);
    auto* out = reinterpret_cast<qint16*>(pcm.data());
    for (qsizetype i = 0; i < frames; ++i) {
        const auto v = static_cast<qint16>(
            amplitude * std::sin(2 * M_PI * 440.0 * static_cast<double>(i) / kPcmSampleRate));
        out[2 * i] = v;
        out[2 * i + 1] = v;
    }
    return pcm;
}

QImage solid(QColor colour, int width = 96, int height = 64) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

// One conversion with the usual wiring: pictures handed over in memory (red), sound files from
// a list, callbacks recorded.
struct Conversion {
    Preset preset = Preset::Vcd;
    TvSystem tv = TvSystem::Pal;
    int frames = 20;
    int width = 96;
    int height = 64;
    QStringList sounds;
    QString output;
    std::function<void(Converter&, QImage&, int)> videoFunc;
    int errorAction = kActionStop;
    QVector<int> keyFrames;
    QVector<ChapterMark> chapters;
    bool highQuality = false;  // the production's call for its high quality

    bool ok = false;
    int error = -1;
    QString errorText;
    QStringList notices;
    QVector<int> frameNumbers;
    QVector<int> statuses;
    QVector<int> errorCodes;
    int audioFrames = 0;
    bool callbacksOnCaller = true;

    void go() {
        List video;
        List audio;
        for (int i = 0; i < frames; ++i) {
            video.add(output + ".frame.bmp", ItemKind::Picture);
        }
        for (const QString& s : sounds) {
            audio.add(s, ItemKind::Sound);
        }
        const auto caller = std::this_thread::get_id();
        auto converter = createConverter();
        const auto source = [](const List& list) {
            return [&list](Source& src, int index) {
                QString name;
                if (list.getName(index, name)) {
                    src.setFile(name);
                } else {
                    src.finished();
                }
            };
        };
        converter->assignVideoSource(source(video));
        converter->assignAudioSource(source(audio));
        converter->assignVideoFunc([&](Converter& c, QImage& image, int n) {
            callbacksOnCaller = callbacksOnCaller && std::this_thread::get_id() == caller;
            frameNumbers.append(n);
            if (videoFunc) {
                videoFunc(c, image, n);
            } else {
                image = solid(Qt::red, width, height);
            }
        });
        converter->assignAudioFunc([&](Converter&, int n) {
            EXPECT_EQ(n, audioFrames);
            ++audioFrames;
        });
        converter->assignProgress([&](Converter&, int status, int, qint64, int) {
            callbacksOnCaller = callbacksOnCaller && std::this_thread::get_id() == caller;
            statuses.append(status);
        });
        converter->assignError([&](Converter&, int code, int& action) {
            errorCodes.append(code);
            action = errorAction;
        });
        converter->setFormatPreset(preset, tv);
        converter->videoSetKeepDuration(true);
        converter->videoSetFormat(width, height, 32);
        converter->videoSetKeyFrames(keyFrames);
        converter->videoSetChapters(chapters);
        if (highQuality) {
            converter->videoSetBitRate(20000, 1, 100000);
        }
        converter->audioSetCodec(2);
        converter->videoSetFileName(output);
        converter->audioSetFileName(output);
        ok = converter->convert();
        error = converter->error();
        errorText = converter->errorString();
        notices = converter->notices();
    }
};

class MclTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        silenceFfmpegLog();
        folder_ = new test::TempFolder;
        encodeAudio(folder_->path() + "long.mp3", "mp3", AudioCodec::Mp3, 128000, tone(3.0));
        encodeAudio(folder_->path() + "a.mp3", "mp3", AudioCodec::Mp3, 128000, tone(0.4));
        writeWav(folder_->path() + "b.wav", tone(0.4, 4000));  // quieter
        folder_->write("not-sound.mp3", QByteArray("just some words, no sound at all\n"));
    }
    static void TearDownTestSuite() { delete folder_; }
    static QString path(const QString& name) { return folder_->path() + name; }

    static test::TempFolder* folder_;
};
test::TempFolder* MclTest::folder_ = nullptr;

struct PresetCase {
    Preset preset;
    const char* output;
    const char* container;
    const char* video;
    const char* audio;
};

TEST_F(MclTest, EachPresetWritesItsContainerCodecsSizeAndFrames) {
    const PresetCase cases[] = {
        {Preset::Vcd, "vcd.mpg", "mpeg", "mpeg1video", "mp2"},
        {Preset::Svcd, "svcd.mpg", "mpeg", "mpeg2video", "mp2"},
        {Preset::Dvd, "dvd.mpg", "mpeg", "mpeg2video", "ac3"},
        {Preset::Avi, "movie.avi", "avi", "mpeg4", "mp3"},
        {Preset::Mp4, "movie.mp4", "mov,mp4,m4a,3gp,3g2,mj2", "h264", "aac"},
    };
    for (const PresetCase& c : cases) {
        SCOPED_TRACE(c.output);
        Conversion run;
        run.preset = c.preset;
        run.frames = 30;
        run.width = 160;
        run.height = 96;
        run.sounds = {path("long.mp3")};
        run.output = path(c.output);
        run.go();
        ASSERT_TRUE(run.ok) << run.errorText.toStdString();
        EXPECT_EQ(run.error, kErrorNone);
        const test::MediaFacts facts = test::probeMedia(run.output);
        EXPECT_EQ(facts.container, c.container);
        EXPECT_EQ(facts.videoCodec, c.video);
        EXPECT_EQ(facts.width, 160);
        EXPECT_EQ(facts.height, 96);
        EXPECT_EQ(facts.videoFrames, 30);
        EXPECT_DOUBLE_EQ(facts.frameRate, 25.0);
        ASSERT_TRUE(facts.hasAudio);
        EXPECT_EQ(facts.audioCodec, c.audio);
        // The 3 s song is cut at the pictures' end (1.2 s), never longer.
        EXPECT_LE(facts.audioSeconds, facts.videoSeconds + 0.001);
        EXPECT_GT(facts.audioSeconds, facts.videoSeconds - 0.1);
        EXPECT_FALSE(QFile::exists(run.output + ".part"));
        EXPECT_TRUE(run.callbacksOnCaller);
        EXPECT_GT(run.audioFrames, 0);
    }
}

TEST_F(MclTest, NtscKeepsTheAlbumDuration) {
    Conversion run;
    run.preset = Preset::Dvd;
    run.tv = TvSystem::Ntsc;
    run.frames = 50;  // two seconds at 25 pictures a second
    run.output = path("ntsc.mpg");
    // Picture n is grey level n, so the output shows which picture each frame took.
    run.videoFunc = [](Converter&, QImage& image, int n) {
        image = solid(QColor(n * 5, n * 5, n * 5));
    };
    run.go();
    ASSERT_TRUE(run.ok) << run.errorText.toStdString();
    const test::MediaFacts facts = test::probeMedia(run.output);
    EXPECT_NEAR(facts.frameRate, 30000.0 / 1001.0, 1e-9);
    EXPECT_NEAR(facts.videoSeconds, 2.0, 1001.0 / 30000.0);
    EXPECT_EQ(facts.videoFrames, 60);
    EXPECT_FALSE(facts.hasAudio);
    ASSERT_EQ(facts.centres.size(), 60);
    // Output frame k shows picture k * 25 * 1001 / 30000.
    for (int k : {0, 7, 31, 59}) {
        const int picture = k * 25 * 1001 / 30000;
        EXPECT_NEAR(qGreen(facts.centres[k]), picture * 5, 6) << "frame " << k;
    }
    EXPECT_EQ(run.frameNumbers.size(), 50);
}

TEST_F(MclTest, PicturesAreTakenInOrderAndTheFileIsReadAfterTheCallback) {
    Conversion run;
    run.frames = 12;
    run.output = path("file-frames.mpg");
    const QString frameFile = run.output + ".frame.bmp";
    // The callback rewrites the frame file and hands nothing over in memory.
    run.videoFunc = [&](Converter&, QImage&, int n) {
        solid(n < 6 ? Qt::red : Qt::blue).save(frameFile, "BMP");
    };
    run.go();
    ASSERT_TRUE(run.ok) << run.errorText.toStdString();
    QVector<int> expected(12);
    std::iota(expected.begin(), expected.end(), 0);
    EXPECT_EQ(run.frameNumbers, expected);
    const test::MediaFacts facts = test::probeMedia(run.output);
    ASSERT_EQ(facts.centres.size(), 12);
    EXPECT_GT(qRed(facts.centres[0]), 180);
    EXPECT_GT(qRed(facts.centres[5]), 180);
    EXPECT_GT(qBlue(facts.centres[6]), 180);
    EXPECT_GT(qBlue(facts.centres[11]), 180);
    // Statuses: preparing first, then encoding, multiplexing, and the end last.
    ASSERT_GE(run.statuses.size(), 3);
    EXPECT_EQ(run.statuses.front(), kStatusPreparing);
    EXPECT_TRUE(run.statuses.contains(kStatusEncoding));
    EXPECT_EQ(run.statuses[run.statuses.size() - 2], kStatusMultiplexing);
    EXPECT_EQ(run.statuses.back(), kStatusFinished);
}

TEST_F(MclTest, SoundFilesAreJoinedInOrderAndFadeOutAtTheEnd) {
    Conversion joined;
    joined.frames = 50;  // 2 s of pictures, 0.8 s of sound
    joined.sounds = {path("a.mp3"), path("b.wav")};
    joined.output = path("joined.mpg");
    joined.go();
    ASSERT_TRUE(joined.ok) << joined.errorText.toStdString();
    const test::MediaFacts facts = test::probeMedia(joined.output);
    EXPECT_NEAR(facts.audioSeconds, 0.8, 0.08);
    ASSERT_GE(facts.audioLevels.size(), 7);
    EXPECT_GT(facts.audioLevels[2], 2 * facts.audioLevels[6]);  // the loud file came first

    Conversion cut;
    cut.frames = 50;  // the 3 s song is cut at 2 s
    cut.sounds = {path("long.mp3")};
    cut.output = path("cut.mpg");
    cut.go();
    ASSERT_TRUE(cut.ok) << cut.errorText.toStdString();
    const test::MediaFacts cutFacts = test::probeMedia(cut.output);
    EXPECT_LE(cutFacts.audioSeconds, 2.0);
    ASSERT_GE(cutFacts.audioLevels.size(), 18);
    const float full = cutFacts.audioLevels[5];
    EXPECT_GT(full, 0.1f);
    EXPECT_NEAR(cutFacts.audioLevels[8], full, full * 0.15f);  // before the last second
    EXPECT_LT(cutFacts.audioLevels[15], full * 0.6f);          // fading
    EXPECT_LT(cutFacts.audioLevels.back(), full * 0.2f);       // nearly silent at the end
}

TEST_F(MclTest, AbortInsideACallbackLeavesNoFile) {
    Conversion run;
    run.frames = 200;
    run.sounds = {path("long.mp3")};
    run.output = path("aborted.mpg");
    run.videoFunc = [&](Converter& c, QImage& image, int n) {
        image = solid(Qt::green);
        if (n == 10) {
            c.abort();
        }
    };
    run.go();
    EXPECT_FALSE(run.ok);
    EXPECT_EQ(run.error, kErrorNone);
    EXPECT_EQ(run.frameNumbers.size(), 11);
    EXPECT_TRUE(run.errorCodes.isEmpty());
    EXPECT_FALSE(QFile::exists(run.output));
    EXPECT_FALSE(QFile::exists(run.output + ".part"));
    EXPECT_EQ(run.statuses.back(), kStatusFinished);
}

TEST_F(MclTest, FailuresEndWithAnErrorAndNoFile) {
    // The output folder is a file: nothing can be written there.
    const QString blocker = folder_->write("blocker", "x");
    Conversion unwritable;
    unwritable.output = blocker + "/album.mpg";
    unwritable.go();
    EXPECT_FALSE(unwritable.ok);
    EXPECT_EQ(unwritable.error, kErrorOutput);
    EXPECT_TRUE(unwritable.errorText.startsWith(texts::kMclCannotWrite.arg(unwritable.output)))
        << unwritable.errorText.toStdString();
    EXPECT_GT(unwritable.errorText.size(), texts::kMclCannotWrite.arg(unwritable.output).size());
    EXPECT_EQ(unwritable.errorCodes, QVector<int>{kErrorOutput});
    EXPECT_TRUE(unwritable.frameNumbers.isEmpty());

    // A sound file that is not sound is named, before any picture is asked for.
    Conversion notSound;
    notSound.sounds = {path("a.mp3"), path("not-sound.mp3")};
    notSound.output = path("not-sound.mpg");
    notSound.go();
    EXPECT_FALSE(notSound.ok);
    EXPECT_EQ(notSound.error, kErrorSoundFile);
    EXPECT_TRUE(notSound.errorText.contains(path("not-sound.mp3")));
    EXPECT_TRUE(notSound.frameNumbers.isEmpty());
    EXPECT_FALSE(QFile::exists(notSound.output));
    EXPECT_FALSE(QFile::exists(notSound.output + ".part"));

    // A frame file that is missing stops the conversion midway.
    Conversion missing;
    missing.output = path("missing-frame.mpg");
    missing.videoFunc = [](Converter&, QImage& image, int n) {
        if (n < 5) {
            image = solid(Qt::red);
        }
    };
    missing.go();
    EXPECT_FALSE(missing.ok);
    EXPECT_EQ(missing.error, kErrorFrame);
    EXPECT_EQ(missing.errorText, texts::kMclFrameUnreadable.arg(missing.output + ".frame.bmp"));
    EXPECT_EQ(missing.frameNumbers.size(), 6);
    EXPECT_FALSE(QFile::exists(missing.output));
    EXPECT_FALSE(QFile::exists(missing.output + ".part"));

    // No pictures: nothing is written.
    Conversion empty;
    empty.frames = 0;
    empty.sounds = {path("a.mp3")};
    empty.output = path("empty.mpg");
    empty.go();
    EXPECT_FALSE(empty.ok);
    EXPECT_EQ(empty.error, kErrorFormat);
    EXPECT_FALSE(QFile::exists(empty.output));
}

TEST_F(MclTest, SkippingLeavesOutTheBadSoundAndRepeatsTheLastPicture) {
    Conversion run;
    run.frames = 10;
    run.sounds = {path("not-sound.mp3"), path("a.mp3")};
    run.output = path("skipped.mpg");
    run.errorAction = kActionSkip;
    // From picture 6 on nothing is handed over and the frame file does not exist.
    run.videoFunc = [](Converter&, QImage& image, int n) {
        if (n < 6) {
            image = solid(n < 5 ? Qt::red : Qt::blue);
        }
    };
    run.go();
    ASSERT_TRUE(run.ok) << run.errorText.toStdString();
    EXPECT_EQ(run.error, kErrorNone);
    EXPECT_EQ(run.errorCodes,
              QVector<int>({kErrorSoundFile, kErrorFrame, kErrorFrame, kErrorFrame, kErrorFrame}));
    const test::MediaFacts facts = test::probeMedia(run.output);
    ASSERT_EQ(facts.centres.size(), 10);
    EXPECT_GT(qBlue(facts.centres[9]), 180);
    EXPECT_NEAR(facts.audioSeconds, 0.4, 0.05);
}

TEST_F(MclTest, AnExistingFileIsReplacedOnlyOnSuccess) {
    const QString output = folder_->write("kept.mpg", "older album");
    Conversion aborted;
    aborted.output = output;
    aborted.videoFunc = [](Converter& c, QImage& image, int) {
        image = solid(Qt::red);
        c.abort();
    };
    aborted.go();
    EXPECT_EQ(test::readFile(output), QByteArray("older album"));
    Conversion done;
    done.output = output;
    done.go();
    ASSERT_TRUE(done.ok);
    EXPECT_EQ(test::probeMedia(output).videoFrames, 20);
}

TEST_F(MclTest, ThePartialFileIsAFreshOneOfOursAndStaleOnesGo) {
    const QString folder = folder_->mkdir("partial") + "/";
    const QString output = folder + "album.mpg";
    // A link planted where a partial file of a fixed name would be is never followed.
    const QString victim = folder_->write("partial/victim.txt", "keep me");
    ASSERT_TRUE(QFile::link(victim, output + ".part"));
    // Partial files of ours that a killed production left behind, and one that may be written.
    const QString stale = folder + ".album.mpg.2147480000-abc123.vellumo-part";
    folder_->write("partial/.album.mpg.2147480000-abc123.vellumo-part", "half an album");
    const std::time_t then = std::time(nullptr) - 3600;
    const utimbuf times{then, then};
    ASSERT_EQ(::utime(QFile::encodeName(stale).constData(), &times), 0);
    const QString recent =
        folder_->write("partial/.other.mpg.2147480000-abc123.vellumo-part", "being written");
    QStringList seenWhileWriting;
    Conversion run;
    run.output = output;
    run.videoFunc = [&](Converter&, QImage& image, int n) {
        image = solid(Qt::red);
        if (n == 10) {
            seenWhileWriting = QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System);
        }
    };
    run.go();
    ASSERT_TRUE(run.ok) << run.errorText.toStdString();
    EXPECT_EQ(test::readFile(victim), QByteArray("keep me"));
    EXPECT_TRUE(QFileInfo(output + ".part").isSymLink());
    EXPECT_FALSE(QFileInfo::exists(stale));
    EXPECT_TRUE(QFileInfo::exists(recent));
    EXPECT_EQ(test::probeMedia(output).videoFrames, 20);
    // While it was written, the partial file was one of ours, the only new name.
    seenWhileWriting.removeAll("victim.txt");
    seenWhileWriting.removeAll("album.mpg.part");
    seenWhileWriting.removeAll(QFileInfo(recent).fileName());
    ASSERT_EQ(seenWhileWriting.size(), 1);
    EXPECT_TRUE(isPartialFileName(seenWhileWriting.first()));
    EXPECT_TRUE(seenWhileWriting.first().startsWith(".album.mpg."));
    EXPECT_FALSE(QFileInfo::exists(folder + seenWhileWriting.first()));
}

TEST_F(MclTest, TwoConversionsIntoOneOutputLeaveOneWholeFile) {
    const QString output = path("twice.mpg");
    Conversion first;
    Conversion second;
    for (Conversion* run : {&first, &second}) {
        run->frames = 60;
        run->output = output;
    }
    std::thread other([&] { second.go(); });
    first.go();
    other.join();
    EXPECT_TRUE(first.ok) << first.errorText.toStdString();
    EXPECT_TRUE(second.ok) << second.errorText.toStdString();
    const test::MediaFacts facts = test::probeMedia(output);
    EXPECT_EQ(facts.videoFrames, 60);
    EXPECT_GT(qRed(facts.centres.value(30)), 180);
}

TEST_F(MclTest, ASongWhoseSoundEndsEarlyIsNoted) {
    // An MP3 file cut short (a download that broke off): its header still announces six
    // seconds, a little over two can be read.
    encodeAudio(path("six.mp3"), "mp3", AudioCodec::Mp3, 128000, tone(6.0));
    const QByteArray six = test::readFile(path("six.mp3"));
    const QString cut = folder_->write("cut.mp3", six.left(six.size() * 4 / 10));
    Conversion run;
    run.frames = 100;  // four seconds of pictures
    run.sounds = {cut};
    run.output = path("cut.mpg");
    run.go();
    ASSERT_TRUE(run.ok) << run.errorText.toStdString();
    EXPECT_EQ(run.notices,
              QStringList{texts::kMclSoundEndedEarly.arg(cut, "00:00:02", "00:00:06")});

    // Sound read whole, or cut by the end of the pictures, is nothing to tell.
    Conversion whole;
    whole.frames = 25;
    whole.sounds = {path("long.mp3"), path("b.wav")};
    whole.output = path("whole.mpg");
    whole.go();
    ASSERT_TRUE(whole.ok);
    EXPECT_TRUE(whole.notices.isEmpty()) << whole.notices.join(u'\n').toStdString();
}

struct DiscCase {
    Preset preset;
    TvSystem tv;
    QSize frame;
    QSize drawn;  // the album's picture
    const char* video;
    const char* audio;
    int sampleRate;
    double displayAspect;
    int maxGop;
    qint64 maxVideoBitRate;
    qint64 vbvBits;
};

// The longest run of pictures from one key frame to the next (or to the end).
int longestGop(const test::MediaFacts& facts) {
    int longest = 0;
    for (qsizetype i = 0; i < facts.keyFrames.size(); ++i) {
        const int next =
            i + 1 < facts.keyFrames.size() ? facts.keyFrames[i + 1] : facts.videoFrames;
        longest = std::max(longest, next - facts.keyFrames[i]);
    }
    return longest;
}

TEST_F(MclTest, DiscPresetsWriteTheStandardsStreamsWithAKeyFrameAtEveryChapter) {
    const DiscCase cases[] = {
        {Preset::DvdVideo,
         TvSystem::Pal,
         {720, 576},
         {1024, 576},
         "mpeg2video",
         "ac3",
         48000,
         16.0 / 9,
         15,
         9800000,
         1835008},
        {Preset::DvdVideo,
         TvSystem::Ntsc,
         {720, 480},
         {1024, 576},
         "mpeg2video",
         "ac3",
         48000,
         16.0 / 9,
         18,
         9800000,
         1835008},
        // A menu: drawn at 4:3, flagged 4:3, filling the frame.
        {Preset::DvdMenu,
         TvSystem::Ntsc,
         {720, 480},
         {640, 480},
         "mpeg2video",
         "ac3",
         48000,
         4.0 / 3,
         18,
         9800000,
         1835008},
        {Preset::SvcdDisc,
         TvSystem::Pal,
         {480, 576},
         {768, 432},
         "mpeg2video",
         "mp2",
         44100,
         4.0 / 3,
         15,
         2500000,
         1835008},
        {Preset::VcdDisc,
         TvSystem::Pal,
         {352, 288},
         {384, 216},
         "mpeg1video",
         "mp2",
         44100,
         4.0 / 3,
         15,
         1150000,
         327680},
        {Preset::VcdDisc,
         TvSystem::Ntsc,
         {352, 240},
         {384, 216},
         "mpeg1video",
         "mp2",
         44100,
         4.0 / 3,
         18,
         1150000,
         327680},
    };
    // Templates start at pictures 9, 23 and 40: chapters fall there.
    const QVector<int> starts = {9, 23, 40};
    int n = 0;
    for (const DiscCase& c : cases) {
        SCOPED_TRACE(n);
        Conversion run;
        run.preset = c.preset;
        run.tv = c.tv;
        run.frames = 75;
        run.width = c.frame.width();
        run.height = c.frame.height();
        run.sounds = {path("long.mp3")};
        run.output = path(QStringLiteral("disc%1.mpg").arg(n++));
        run.keyFrames = starts;
        run.highQuality = true;
        // A changing picture (the encoder makes no frame out of nothing), red in the middle.
        run.videoFunc = [&c](Converter&, QImage& image, int i) {
            image = solid(QColor(200, 20 + i, 20), c.drawn.width(), c.drawn.height());
        };
        run.go();
        ASSERT_TRUE(run.ok) << run.errorText.toStdString();
        const bool ntsc = c.tv == TvSystem::Ntsc;
        const test::MediaFacts facts = test::probeMedia(run.output, {30});
        EXPECT_EQ(facts.videoCodec, c.video);
        EXPECT_EQ(QSize(facts.width, facts.height), c.frame);
        const bool dvd = c.preset == Preset::DvdVideo || c.preset == Preset::DvdMenu;
        if (dvd) {
            EXPECT_EQ(facts.videoProfile, 4);  // main profile
            EXPECT_EQ(facts.videoLevel, 8);    // main level
        }
        EXPECT_NEAR(facts.frameRate, ntsc ? 30000.0 / 1001 : 25.0, 1e-9);
        EXPECT_NEAR(facts.displayAspect, c.displayAspect, 0.02);
        EXPECT_EQ(facts.videoFrames, ntsc ? 90 : 75);
        // GOPs within the standard's length, and one starting at each template's first frame
        // (under NTSC the first output frame showing that picture).
        EXPECT_LE(longestGop(facts), c.maxGop);
        for (const int start : starts) {
            const int frame = ntsc ? (start * 30000 + 25 * 1001 - 1) / (25 * 1001) : start;
            EXPECT_TRUE(facts.keyFrames.contains(frame)) << "picture " << start;
        }
        // Rates: the high quality asked for stays within the standard's ceiling.
        EXPECT_GT(facts.videoBitRate, 0);
        EXPECT_LE(facts.videoBitRate, c.maxVideoBitRate);
        // Counted per second of time stamps: an NTSC second holds a little more than 1 s.
        EXPECT_LE(facts.peakVideoKbps, c.maxVideoBitRate / 1000.0 * 1.01);
        EXPECT_EQ(facts.vbvBufferBits, c.vbvBits);
        ASSERT_TRUE(facts.hasAudio);
        EXPECT_EQ(facts.audioCodec, c.audio);
        EXPECT_EQ(facts.sampleRate, c.sampleRate);
        EXPECT_EQ(facts.audioChannels, 2);
        EXPECT_EQ(facts.audioBitRate, dvd ? 192000 : 224000);
        // A 16:9 album in a 4:3 frame is letterboxed: black above, the picture in the middle;
        // a picture of the display's shape fills the frame.
        const QImage picture = facts.pictures.value(30);
        ASSERT_FALSE(picture.isNull());
        const QRgb middle = picture.pixel(picture.width() / 2, picture.height() / 2);
        const QRgb top = picture.pixel(picture.width() / 2, 4);
        EXPECT_GT(qRed(middle), 150);
        const double drawnShape = double(c.drawn.width()) / c.drawn.height();
        if (drawnShape > c.displayAspect * 1.01) {
            EXPECT_LT(qRed(top), 40);
        } else {
            EXPECT_GT(qRed(top), 150);
        }
    }
    // The VCD's rate is constant: the header carries it, not a maximum.
    Conversion vcd;
    vcd.preset = Preset::VcdDisc;
    vcd.width = 352;
    vcd.height = 288;
    vcd.output = path("vcd-rate.mpg");
    vcd.go();
    ASSERT_TRUE(vcd.ok);
    const test::MediaFacts vcdFacts = test::probeMedia(vcd.output);
    EXPECT_EQ(vcdFacts.videoBitRate, 1150000);
    // Without sound files a disc still has its sound stream, silent, as long as the pictures.
    ASSERT_TRUE(vcdFacts.hasAudio);
    EXPECT_EQ(vcdFacts.audioCodec, "mp2");
    EXPECT_NEAR(vcdFacts.audioSeconds, vcdFacts.videoSeconds, 0.05);
    EXPECT_LT(*std::max_element(vcdFacts.audioLevels.begin(), vcdFacts.audioLevels.end()), 0.001);
}

TEST_F(MclTest, TheFilePresetsKeepSquarePixels) {
    // No display aspect is flagged: the frame is shown in its own shape.
    Conversion plain;
    plain.preset = Preset::Dvd;
    plain.frames = 40;
    plain.videoFunc = [](Converter&, QImage& image, int i) {
        image = solid(QColor(200, 20 + i, 20));
    };
    plain.output = path("plain.mpg");
    plain.go();
    ASSERT_TRUE(plain.ok);
    EXPECT_DOUBLE_EQ(test::probeMedia(plain.output).displayAspect, 96.0 / 64);
}

TEST_F(MclTest, Mp4GoesTo4kWithH264AtItsLevelOrWithH265) {
    for (const Preset preset : {Preset::Mp4, Preset::Mp4Hevc}) {
        const bool hevc = preset == Preset::Mp4Hevc;
        SCOPED_TRACE(hevc ? "H.265" : "H.264");
        Conversion run;
        run.preset = preset;
        run.frames = 3;
        run.width = 3840;
        run.height = 2160;
        run.highQuality = true;
        run.output = path(hevc ? "uhd-hevc.mp4" : "uhd.mp4");
        run.go();
        ASSERT_TRUE(run.ok) << run.errorText.toStdString();
        const test::MediaFacts facts = test::probeMedia(run.output);
        EXPECT_EQ(facts.width, 3840);
        EXPECT_EQ(facts.height, 2160);
        EXPECT_EQ(facts.videoFrames, 3);
        EXPECT_EQ(facts.videoCodec, hevc ? "hevc" : "h264");
        if (hevc) {
            // The tag players of every make take for H.265 in MP4.
            EXPECT_EQ(facts.videoTag, "hvc1");
        } else {
            // 3840 × 2160 at 25 frames a second needs level 5.1 (level 5 ends at 2560 × 1600).
            EXPECT_GE(facts.videoLevel, 51);
        }
        EXPECT_GT(qRed(facts.centres.value(0)), 200);
        EXPECT_LT(qGreen(facts.centres.value(0)), 60);
    }
}

TEST_F(MclTest, Mp4sCarryTheirChaptersAndTheOtherContainersLeaveThemOut) {
    Conversion mp4;
    mp4.preset = Preset::Mp4;
    mp4.frames = 30;
    // Out of order, on one picture, or past the end: only the two usable ones are written.
    mp4.chapters = {{0, QStringLiteral("Opening \u00e9t\u00e9")},
                    {10, QStringLiteral("Second")},
                    {10, QStringLiteral("again")},
                    {5, QStringLiteral("back")},
                    {40, QStringLiteral("past")}};
    mp4.output = path("chapters.mp4");
    mp4.go();
    ASSERT_TRUE(mp4.ok) << mp4.errorText.toStdString();
    const test::MediaFacts facts = test::probeMedia(mp4.output);
    ASSERT_EQ(facts.chapters.size(), 2);
    EXPECT_DOUBLE_EQ(facts.chapters[0].start, 0.0);
    EXPECT_NEAR(facts.chapters[0].end, 0.4, 0.001);
    EXPECT_EQ(facts.chapters[0].title, QStringLiteral("Opening \u00e9t\u00e9"));
    EXPECT_NEAR(facts.chapters[1].start, 0.4, 0.001);
    EXPECT_NEAR(facts.chapters[1].end, 1.2, 0.001);
    EXPECT_EQ(facts.chapters[1].title, QStringLiteral("Second"));
    EXPECT_EQ(facts.videoFrames, 30);
    EXPECT_EQ(facts.streams, 1);

    Conversion dvd = mp4;
    dvd.preset = Preset::Dvd;
    dvd.output = path("chapters.mpg");
    dvd.go();
    ASSERT_TRUE(dvd.ok);
    EXPECT_TRUE(test::probeMedia(dvd.output).chapters.isEmpty());
}

TEST(MclList, ListsCountTheirItemsAndTimeTextsReadAsClock) {
    test::TempFolder folder;
    writeWav(folder.path() + "one.wav", tone(1.0));
    List list;
    list.add("a.bmp", ItemKind::Picture);
    list.add("a.bmp", ItemKind::Picture);
    list.add(folder.path() + "one.wav", ItemKind::Sound);
    list.add(folder.path() + "one.wav", ItemKind::Sound);
    list.add(folder.path() + "missing.wav", ItemKind::Sound);
    EXPECT_EQ(list.frameCount(), 2);
    EXPECT_EQ(list.sampleCount(), 2 * kSampleCountRate);
    QString name;
    EXPECT_TRUE(list.getName(2, name));
    EXPECT_EQ(name, folder.path() + "one.wav");
    EXPECT_FALSE(list.getName(5, name));
    EXPECT_FALSE(list.getName(-1, name));

    EXPECT_EQ(makeTimeStr(0), "00:00:00");
    EXPECT_EQ(makeTimeStr(3725.9), "01:02:05");
    EXPECT_EQ(makeTimeStr(-3), "00:00:00");
}

}  // namespace
}  // namespace vellumo::mcl
