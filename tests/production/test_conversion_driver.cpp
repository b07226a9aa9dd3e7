#include <gtest/gtest.h>

#include <QFile>
#include <QImage>

#include <cmath>
#include <stdexcept>

#include "media/audio_decoder.h"
#include "media/audio_encoder.h"
#include "media/mcl.h"
#include "production/conversion_driver.h"
#include "production/production_run_texts.h"
#include "production/production_texts.h"
#include "tests/support/media_probe.h"
#include "tests/support/test_files.h"

namespace vellumo {
namespace {

// A conversion handle that records the calls made on it and plays a scripted conversion.
class FakeConverter : public mcl::Converter {
public:
    FakeConverter(QStringList& calls, bool& released) : calls_(calls), released_(released) {}
    ~FakeConverter() override { released_ = true; }

    void assignVideoSource(mcl::SourceFunc f) override { videoSource = std::move(f); }
    void assignAudioSource(mcl::SourceFunc f) override { audioSource = std::move(f); }
    void assignVideoFunc(mcl::VideoFunc f) override { videoFunc = std::move(f); }
    void assignAudioFunc(mcl::AudioFunc) override {}
    void assignProgress(mcl::ProgressFunc f) override { progress = std::move(f); }
    void assignError(mcl::ErrorFunc f) override { errorFunc = std::move(f); }
    void setFormatPreset(mcl::Preset p, mcl::TvSystem tv) override {
        calls_ << QString("preset %1 %2").arg(static_cast<int>(p)).arg(static_cast<int>(tv));
    }
    void videoSetKeepDuration(bool keep) override { calls_ << QString("keep %1").arg(keep); }
    void videoSetFormat(int w, int h, int bits) override {
        calls_ << QString("format %1 %2 %3").arg(w).arg(h).arg(bits);
    }
    void videoSetBitRate(int a, int b, int c) override {
        calls_ << QString("bitrate %1 %2 %3").arg(a).arg(b).arg(c);
    }
    void audioSetCodec(int codec) override { calls_ << QString("codec %1").arg(codec); }
    void videoSetFileName(const QString& f) override { calls_ << "video file " + f; }
    void audioSetFileName(const QString& f) override { calls_ << "audio file " + f; }
    bool convert() override {
        calls_ << "convert";
        if (script) {
            script(*this);
        }
        return errorCode == 0;
    }
    int error() const override { return errorCode; }
    QString errorString() const override { return errorText; }
    double elapsedTime() const override { return 65.5; }
    double remainingTime(int, qint64) const override { return 10; }
    void abort() override { calls_ << "abort"; }

    // The items a source callback hands over, until it says finished.
    static QStringList drain(const mcl::SourceFunc& source) {
        QStringList files;
        for (int i = 0; i < 100000; ++i) {
            mcl::Source s;
            source(s, i);
            if (s.isFinished()) {
                break;
            }
            files << s.file();
        }
        return files;
    }

    mcl::SourceFunc videoSource;
    mcl::SourceFunc audioSource;
    mcl::VideoFunc videoFunc;
    mcl::ProgressFunc progress;
    mcl::ErrorFunc errorFunc;
    std::function<void(FakeConverter&)> script;
    int errorCode = 0;
    QString errorText;

private:
    QStringList& calls_;
    bool& released_;
};

class DriverTest : public ::testing::Test {
protected:
    std::unique_ptr<ConversionDriver> driver(std::function<void(FakeConverter&)> script = {}) {
        return std::make_unique<ConversionDriver>([this, script] {
            auto fake = std::make_unique<FakeConverter>(calls, released);
            fake->script = script;
            return fake;
        });
    }

    static ConversionRequest request(int frames, QStringList sounds = {}) {
        ConversionRequest r;
        r.albumType = AlbumType::Dvd;
        r.outputSize = QSize(640, 368);
        r.outputFile = "/albums/a.mpg";
        r.frameFile = "/stage/wj_y_l.bmp";
        r.frameCount = frames;
        r.soundFiles = std::move(sounds);
        return r;
    }

    QStringList calls;
    bool released = false;
};

TEST_F(DriverTest, NothingToConvertStillReleasesTheHandle) {
    auto d = driver();
    EXPECT_FALSE(d->convert(request(0)));
    EXPECT_EQ(d->log(), QStringList({texts::kLogTotalFrames + "0", texts::kLogTotalSamples + "0",
                                     texts::kLogNothingToConvert}));
    EXPECT_FALSE(calls.contains("convert"));
    EXPECT_TRUE(released);
    EXPECT_FALSE(d->isRunning());
}

TEST_F(DriverTest, SettingsFollowTheOutputOptionsInOrder) {
    auto d = driver();
    ConversionRequest r = request(3);
    r.quality = PictureQuality::Standard;
    r.tvSystem = TvSystem::Ntsc;
    d->convert(r);
    EXPECT_EQ(calls,
              QStringList({"preset 2 1", "keep 1", "format 640 368 32", "codec 2",
                           "video file /albums/a.mpg", "audio file /albums/a.mpg", "convert"}));

    calls.clear();
    r.quality = PictureQuality::High;
    r.albumType = AlbumType::Vcd;
    r.tvSystem = TvSystem::Pal;
    d->convert(r);
    EXPECT_EQ(calls.mid(0, 4),
              QStringList({"preset 0 0", "keep 1", "format 640 368 32", "bitrate 20000 1 100000"}));

    // The types without a preset make no preset call; MP4 has ours.
    for (auto [type, first] :
         {std::pair{AlbumType::Wmv, "keep 1"}, std::pair{AlbumType::Mov, "keep 1"},
          std::pair{AlbumType::Svcd, "preset 1 0"}, std::pair{AlbumType::Avi, "preset 3 0"},
          std::pair{AlbumType::Mp4, "preset 4 0"}}) {
        calls.clear();
        r.albumType = type;
        d->convert(r);
        EXPECT_EQ(calls.value(0), first);
    }
}

TEST_F(DriverTest, ARequestTakesTheOutputOptions) {
    OutputOptions options;
    options.beginProduction(AlbumType::Svcd);
    options.chooseSize(2);
    options.albumName = "春游";
    options.saveFolder = "/albums/";
    options.tvSystem = TvSystem::Ntsc;
    options.quality = PictureQuality::Standard;
    const ConversionRequest r = ConversionRequest::fromOptions(options);
    EXPECT_EQ(r.albumType, AlbumType::Svcd);
    EXPECT_EQ(r.outputSize, QSize(640, 368));
    EXPECT_EQ(r.tvSystem, TvSystem::Ntsc);
    EXPECT_EQ(r.quality, PictureQuality::Standard);
    EXPECT_EQ(r.outputFile, "/albums/春游.mpg");
}

TEST_F(DriverTest, ListsHandTheLibraryTheFrameFileAndTheSoundsInOrder) {
    QStringList pictures;
    QStringList sounds;
    auto d = driver([&](FakeConverter& c) {
        pictures = FakeConverter::drain(c.videoSource);
        sounds = FakeConverter::drain(c.audioSource);
    });
    d->convert(request(4, {"/m/b.mp3", "/m/a.mp3", "/m/b.mp3"}));
    EXPECT_EQ(pictures, QStringList(4, "/stage/wj_y_l.bmp"));
    EXPECT_EQ(sounds, QStringList({"/m/b.mp3", "/m/a.mp3", "/m/b.mp3"}));
}

TEST_F(DriverTest, StatusCodesBecomeLogLines) {
    auto d = driver([](FakeConverter& c) {
        for (int status : {1, 2, 3, 4, 0, 7}) {
            c.progress(c, status, 25, 1000, 100);
        }
    });
    EXPECT_TRUE(d->convert(request(25)));
    EXPECT_EQ(d->log(), QStringList({
                            texts::kLogTotalFrames + "25",
                            texts::kLogTotalSamples + "0",
                            texts::kLogStarting,
                            "Preparing conversion...",
                            "Reducing colors, done frames: 25",
                            "Frame: 25, Sample: 1000, Time Left: 00:00:10",
                            "Multiplexing done: 100%",
                            "Processing time: 00:01:05",
                            "Unrecognized status code",
                            texts::kLogEnded,
                        }));
}

TEST_F(DriverTest, WaitingKeepsTheProgressComingWithoutLogLines) {
    auto d = driver([](FakeConverter& c) {
        for (int i = 0; i < 3; ++i) {
            c.progress(c, mcl::kStatusWaiting, 25, 0, 100);
        }
    });
    int reports = 0;
    d->onProgress = [&](const ConversionProgress&) { ++reports; };
    EXPECT_TRUE(d->convert(request(2)));
    // One report per picture item, one before the conversion, three while it waits, one at the
    // end.
    EXPECT_EQ(reports, 7);
    EXPECT_FALSE(d->log().contains(texts::kLogUnrecognizedStatus));
}

TEST_F(DriverTest, AConversionThatThrowsLeavesTheDriverReady) {
    auto d = driver([](FakeConverter&) { throw std::runtime_error("a callback failed"); });
    EXPECT_THROW(d->convert(request(25)), std::runtime_error);
    EXPECT_TRUE(released);
    EXPECT_FALSE(d->isRunning());
    d->abort();  // meets no released handle
    EXPECT_FALSE(calls.contains("abort"));

    auto next = driver();
    EXPECT_TRUE(next->convert(request(25)));
}

TEST_F(DriverTest, AStopBeforeTheConversionRunsStartsNothing) {
    // While the lists are filled.
    int asked = 0;
    ConversionRequest r = request(50);
    r.stopRequested = [&] { return ++asked >= 10; };
    auto d = driver();
    EXPECT_FALSE(d->convert(r));
    EXPECT_FALSE(calls.contains("convert"));
    EXPECT_TRUE(released);
    EXPECT_EQ(asked, 10);

    // Once it runs, the next picture asked for aborts it.
    bool stop = false;
    calls.clear();
    auto running = driver([&](FakeConverter& c) {
        stop = true;
        QImage image;
        c.videoFunc(c, image, 0);
    });
    ConversionRequest late = request(5);
    late.stopRequested = [&] { return stop; };
    int drawn = 0;
    late.frame = [&](int) {
        ++drawn;
        return QImage();
    };
    running->convert(late);
    EXPECT_TRUE(calls.contains("abort"));
    EXPECT_EQ(drawn, 0);
}

TEST_F(DriverTest, ErrorsAreLoggedAndStopTheConversion) {
    int action = -1;
    auto d = driver([&](FakeConverter& c) {
        c.errorCode = mcl::kErrorOutput;
        c.errorText = "无法写入视频文件";
        action = mcl::kActionSkip;
        c.errorFunc(c, c.errorCode, action);
    });
    EXPECT_FALSE(d->convert(request(5)));
    EXPECT_EQ(action, mcl::kActionStop);
    EXPECT_EQ(d->errorText(), "无法写入视频文件");
    // Once from the error callback, once after the conversion returned.
    EXPECT_EQ(d->log().mid(3),
              QStringList({"无法写入视频文件", "无法写入视频文件", texts::kLogEnded}));
    EXPECT_TRUE(released);
}

TEST_F(DriverTest, TheLogKeepsTheNewest32000Lines) {
    auto d = driver([](FakeConverter& c) {
        for (int i = 0; i < 40000; ++i) {
            c.progress(c, 2, i, 0, 0);
        }
    });
    d->convert(request(1));
    ASSERT_EQ(d->log().size(), kMaxConversionLogLines);
    EXPECT_EQ(d->log().back(), texts::kLogEnded);
    // 40000 status lines + 4 others; the oldest 8004 went.
    EXPECT_EQ(d->log().front(), texts::kLogReducingColors + "8001");
}

TEST_F(DriverTest, BarsFollowListsAndPictures) {
    QVector<ConversionProgress> seen;
    auto d = driver([](FakeConverter& c) {
        for (int n = 0; n < 205; ++n) {
            QImage image;
            c.videoFunc(c, image, n);
        }
    });
    d->onProgress = [&](const ConversionProgress& p) { seen.append(p); };
    ConversionRequest r = request(205, {"/m/a.mp3", "/m/b.mp3"});
    int asked = 0;
    r.frame = [&](int n) {
        EXPECT_EQ(n, asked++);
        return QImage();
    };
    d->convert(r);
    // Filling the lists: 205 + 2 items against a maximum of 205 + 2 - 1.
    EXPECT_EQ(seen[0].smallMaximum, 206);
    EXPECT_EQ(seen[0].smallValue, 1);
    EXPECT_FALSE(seen[206].converting);
    EXPECT_EQ(seen[206].smallValue, 207);
    // Then 0..100, wrapping at the top, one step per picture.
    EXPECT_TRUE(seen[207].converting);
    EXPECT_EQ(seen[207].smallValue, 0);
    EXPECT_EQ(seen[207].smallMaximum, 100);
    EXPECT_EQ(seen[208].smallValue, 1);
    EXPECT_EQ(seen[208 + 98].smallValue, 99);
    EXPECT_EQ(seen[208 + 99].smallValue, 0);
    EXPECT_EQ(seen[208 + 204].framesDone, 205);
    EXPECT_EQ(seen[208 + 204].totalFrames, 205);
    EXPECT_EQ(seen[208 + 204].remaining, "00:00:10");
    EXPECT_FALSE(seen.back().converting);
    EXPECT_EQ(asked, 205);
}

// The real library under the driver.

QByteArray tone(double seconds) {
    const auto frames = static_cast<qsizetype>(seconds * kPcmSampleRate);
    QByteArray pcm(frames * kPcmBytesPerFrame, Qt::Uninitialized);
    auto* out = reinterpret_cast<qint16*>(pcm.data());
    for (qsizetype i = 0; i < frames; ++i) {
        out[2 * i] = out[2 * i + 1] = static_cast<qint16>(
            9000 * std::sin(2 * M_PI * 330.0 * static_cast<double>(i) / kPcmSampleRate));
    }
    return pcm;
}

TEST(ConversionDriverEncodes, AnAlbumWithMusicAndAStopMidway) {
    test::TempFolder folder;
    const QString song = folder.path() + "song.mp3";
    encodeAudio(song, "mp3", AudioCodec::Mp3, 128000, tone(1.0));

    ConversionDriver driver;
    ConversionRequest r;
    r.albumType = AlbumType::Dvd;
    r.outputSize = QSize(128, 80);
    r.tvSystem = TvSystem::Ntsc;
    r.quality = PictureQuality::Standard;
    r.outputFile = folder.path() + "album.mpg";
    r.frameCount = 40;
    r.soundFiles = {song, song};  // the music list repeats until it covers the album
    r.frame = [](int n) {
        QImage image(128, 80, QImage::Format_RGB32);
        image.fill(QColor(n * 6, 80, 120));
        return image;
    };
    ASSERT_TRUE(driver.convert(r)) << driver.errorText().toStdString();
    EXPECT_TRUE(driver.errorText().isEmpty());
    EXPECT_EQ(driver.log().front(), texts::kLogTotalFrames + "40");
    EXPECT_EQ(driver.log().back(), texts::kLogEnded);
    EXPECT_TRUE(driver.log().contains(texts::kLogMultiplexing.arg(100)));
    const test::MediaFacts facts = test::probeMedia(r.outputFile);
    EXPECT_EQ(facts.videoCodec, "mpeg2video");
    EXPECT_NEAR(facts.videoSeconds, 1.6, 1001.0 / 30000);
    EXPECT_EQ(facts.audioCodec, "ac3");
    EXPECT_LE(facts.audioSeconds, facts.videoSeconds);
    EXPECT_GT(facts.audioSeconds, 1.4);

    // The stop button, pressed while the window processes events during the conversion.
    r.outputFile = folder.path() + "stopped.mpg";
    driver.onProgress = [&](const ConversionProgress& p) {
        if (p.framesDone == 10) {
            driver.abort();
        }
    };
    EXPECT_FALSE(driver.convert(r));
    EXPECT_TRUE(driver.errorText().isEmpty());
    EXPECT_EQ(driver.log().back(), texts::kLogEnded);
    EXPECT_FALSE(QFile::exists(r.outputFile));
    EXPECT_FALSE(QFile::exists(r.outputFile + ".part"));
    EXPECT_FALSE(driver.isRunning());
    driver.abort();  // nothing runs: nothing happens
}

}  // namespace
}  // namespace vellumo
