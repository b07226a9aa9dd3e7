#include <gtest/gtest.h>

#include <QProcess>
#include <QSemaphore>
#include <QThread>

#include <cmath>

#include "media/audio_decoder.h"
#include "media/audio_encoder.h"
#include "media/decoded_sound.h"
#include "media/media_texts.h"
#include "media/music_player.h"
#include "tests/support/test_files.h"
#include "workspace/errors.h"
#include "workspace/thread_handover.h"

namespace vellumo {
namespace {

// A sine tone, 16-bit stereo at 44.1 kHz.
QByteArray tone(double seconds, double hz = 440.0) {
    const auto frames = static_cast<qsizetype>(seconds * kPcmSampleRate);
    QByteArray pcm(frames * kPcmBytesPerFrame, Qt::Uninitialized);
    auto* out = reinterpret_cast<qint16*>(pcm.data());
    for (qsizetype i = 0; i < frames; ++i) {
        const auto v = static_cast<qint16>(
            12000 * std::sin(2 * M_PI * hz * static_cast<double>(i) / kPcmSampleRate));
        out[2 * i] = v;
        out[2 * i + 1] = v;
    }
    return pcm;
}

class AudioTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        folder_ = new test::TempFolder;
        encodeAudio(folder_->path() + "song.mp3", "mp3", AudioCodec::Mp3, 128000, tone(2.5));
        // AAC under an .mp3 name: the player must refuse it.
        encodeAudio(folder_->path() + "aac.mp3", "adts", AudioCodec::Aac, 128000, tone(1.0));
        writeWav(folder_->path() + "plain.wav", tone(1.5));
        folder_->write("damaged.mp3", QByteArray(5000, '\x55'));
    }
    static void TearDownTestSuite() { delete folder_; }
    static QString path(const char* name) { return folder_->path() + name; }

    static test::TempFolder* folder_;
};
test::TempFolder* AudioTest::folder_ = nullptr;

TEST_F(AudioTest, ProbeTellsLengthAndWhetherThePlayerOpensIt) {
    const AudioInfo mp3 = probeAudio(path("song.mp3"));
    EXPECT_TRUE(mp3.playable);
    EXPECT_NEAR(static_cast<double>(mp3.lengthMs), 2500.0, 80.0);
    const AudioInfo wav = probeAudio(path("plain.wav"));
    EXPECT_TRUE(wav.playable);
    EXPECT_NEAR(static_cast<double>(wav.lengthMs), 1500.0, 2.0);
    EXPECT_FALSE(probeAudio(path("aac.mp3")).playable);
    EXPECT_THROW(probeAudio(path("damaged.mp3")), FileError);
    EXPECT_THROW(probeAudio(path("missing.mp3")), FileError);
}

TEST_F(AudioTest, DecodesToStereoPcm) {
    const QByteArray pcm = decodeAudio(path("song.mp3"));
    const double seconds = static_cast<double>(pcm.size()) / kPcmBytesPerFrame / kPcmSampleRate;
    EXPECT_NEAR(seconds, 2.5, 0.1);
    EXPECT_EQ(decodeAudio(path("plain.wav")), tone(1.5));
}

qint64 fakeNow = 0;

TEST_F(AudioTest, PlayerKeepsTimeByItsClock) {
    MusicPlayer player;
    player.setSoundOutput(false);
    player.setClock([] { return fakeNow; });
    EXPECT_EQ(player.mode(), MusicPlayer::Mode::NotOpen);

    player.setFileName(path("plain.wav"));
    player.open();
    EXPECT_EQ(player.mode(), MusicPlayer::Mode::Stopped);
    EXPECT_EQ(player.lengthMs(), 1500);
    EXPECT_EQ(player.positionMs(), 0);

    fakeNow = 1000;
    player.play();
    EXPECT_EQ(player.mode(), MusicPlayer::Mode::Playing);
    fakeNow = 1400;
    EXPECT_EQ(player.positionMs(), 400);
    player.stop();
    fakeNow = 5000;
    EXPECT_EQ(player.positionMs(), 400);
    EXPECT_EQ(player.mode(), MusicPlayer::Mode::Stopped);
    player.play();
    fakeNow = 6099;
    EXPECT_EQ(player.mode(), MusicPlayer::Mode::Playing);
    fakeNow = 6100;
    EXPECT_EQ(player.positionMs(), 1500);
    EXPECT_EQ(player.mode(), MusicPlayer::Mode::Stopped);  // played to its end

    // A new file name closes the old file.
    player.setFileName(path("song.mp3"));
    EXPECT_FALSE(player.isOpen());
    EXPECT_EQ(player.positionMs(), 0);
}

TEST_F(AudioTest, PlayerRefusesWhatItCannotPlay) {
    MusicPlayer player;
    player.setSoundOutput(false);
    for (const char* name : {"aac.mp3", "damaged.mp3", "missing.mp3"}) {
        player.setFileName(path(name));
        EXPECT_THROW(player.open(), FileError) << name;
        EXPECT_FALSE(player.isOpen());
    }
    try {
        player.setFileName(path("aac.mp3"));
        player.open();
    } catch (const FileError& e) {
        EXPECT_EQ(e.reason(), texts::kAudioNotPlayable);
    }
}

TEST_F(AudioTest, DecodesPieceByPieceAndStopsWhenAsked) {
    QByteArray joined;
    int pieces = 0;
    EXPECT_TRUE(decodeAudio(path("song.mp3"), [&](const char* data, qsizetype bytes) {
        joined.append(data, bytes);
        ++pieces;
        return true;
    }));
    EXPECT_GT(pieces, 10);
    EXPECT_EQ(joined, decodeAudio(path("song.mp3")));

    int taken = 0;
    EXPECT_FALSE(decodeAudio(path("song.mp3"), [&](const char*, qsizetype) {
        ++taken;
        return false;
    }));
    EXPECT_EQ(taken, 1);
    EXPECT_THROW(decodeAudio(path("damaged.mp3"), [](const char*, qsizetype) { return true; }),
                 FileError);
}

// An output that records what it was given instead of sounding.
class RecordingOutput : public SoundOutput {
public:
    explicit RecordingOutput(bool available, QIODevice** started, qint64* sizeAtStart)
        : available_(available), started_(started), sizeAtStart_(sizeAtStart) {}
    bool available() const override { return available_; }
    bool start(QIODevice* device) override {
        *started_ = device;
        *sizeAtStart_ = device->size();
        return true;
    }
    void stop() override { *started_ = nullptr; }

private:
    bool available_;
    QIODevice** started_;
    qint64* sizeAtStart_;
};

TEST_F(AudioTest, SoundStartsOnceTheFirstSecondIsDecodedAndTheRestFollows) {
    const QByteArray whole = tone(4.0);
    const qsizetype second = kPcmSampleRate * kPcmBytesPerFrame;
    writeWav(path("four.wav"), whole);

    // A decoder that gives the first second, then holds until the test lets it go on.
    QSemaphore goOn;
    QThread* decodingThread = nullptr;
    QIODevice* device = nullptr;
    qint64 sizeAtStart = -1;
    MusicPlayer player;
    player.setClock([] { return fakeNow; });
    player.setSoundOutput(std::make_unique<RecordingOutput>(true, &device, &sizeAtStart));
    player.setDecoder([&](const QString& file, const PcmSink& sink) {
        decodingThread = QThread::currentThread();
        EXPECT_EQ(file, path("four.wav"));
        if (!sink(whole.constData(), second)) {
            return false;
        }
        if (!goOn.tryAcquire(1, 10000)) {
            return false;
        }
        return sink(whole.constData() + second, whole.size() - second);
    });
    player.setFileName(path("four.wav"));
    player.open();
    fakeNow = 0;
    player.play();  // returns while the rest of the file is still to be decoded
    ASSERT_NE(device, nullptr);
    EXPECT_NE(decodingThread, QThread::currentThread());
    EXPECT_EQ(sizeAtStart, second);
    EXPECT_EQ(device->read(second), whole.left(second));
    EXPECT_FALSE(device->atEnd());  // more is coming

    goOn.release();
    QByteArray rest;
    for (int i = 0; i < 1000 && !device->atEnd(); ++i) {
        rest += device->read(1 << 16);
        QThread::msleep(1);
    }
    EXPECT_EQ(rest, whole.mid(second));
    // The position still follows the player's clock.
    fakeNow = 1234;
    EXPECT_EQ(player.positionMs(), 1234);

    // Played again from where it stopped, the sound is not decoded a second time.
    player.stop();
    EXPECT_EQ(device, nullptr);
    decodingThread = nullptr;
    player.play();
    ASSERT_NE(device, nullptr);
    EXPECT_EQ(decodingThread, nullptr);
    EXPECT_EQ(device->pos(), 1234 * kPcmSampleRate / 1000 * kPcmBytesPerFrame);
    player.close();
}

TEST_F(AudioTest, WithoutAnOutputNothingIsDecodedAndTheClockRuns) {
    QIODevice* device = nullptr;
    qint64 sizeAtStart = -1;
    MusicPlayer player;
    player.setClock([] { return fakeNow; });
    player.setSoundOutput(std::make_unique<RecordingOutput>(false, &device, &sizeAtStart));
    bool decoded = false;
    player.setDecoder([&](const QString&, const PcmSink&) {
        decoded = true;
        return true;
    });
    player.setFileName(path("plain.wav"));
    player.open();
    fakeNow = 100;
    player.play();
    fakeNow = 600;
    EXPECT_EQ(player.positionMs(), 500);
    EXPECT_EQ(device, nullptr);
    EXPECT_FALSE(decoded);
}

TEST_F(AudioTest, ClosingStopsTheDecodingOfALongFile) {
    writeWav(path("long.wav"), tone(60.0));
    QIODevice* device = nullptr;
    qint64 sizeAtStart = -1;
    MusicPlayer player;
    player.setSoundOutput(std::make_unique<RecordingOutput>(true, &device, &sizeAtStart));
    player.setFileName(path("long.wav"));
    player.open();
    player.play();
    EXPECT_NE(device, nullptr);
    player.close();  // joins the decoding thread, stopped after its current piece
    EXPECT_EQ(device, nullptr);

    // A file that cannot be decoded is silent; the clock still runs.
    player.setDecoder([](const QString& file, const PcmSink&) -> bool {
        throw FileError(file, texts::kAudioDamaged);
    });
    player.setFileName(path("plain.wav"));
    player.open();
    player.play();
    EXPECT_EQ(device, nullptr);
    EXPECT_EQ(player.mode(), MusicPlayer::Mode::Playing);
}

TEST_F(AudioTest, ConverterWritesWavThatThePlayerOpens) {
#ifdef VELLUMO_THREAD_SANITIZER
    GTEST_SKIP() << "clang 14's thread sanitizer stops in a child started from a threaded program";
#endif
    const QString converter = qEnvironmentVariable("VELLUMO_CONVERTER");
    ASSERT_FALSE(converter.isEmpty());
    QProcess process;
    process.start(converter, {"-i", path("aac.mp3"), path("aac.wav"), "-y"});
    ASSERT_TRUE(process.waitForFinished(60000));
    EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
    MusicPlayer player;
    player.setSoundOutput(false);
    player.setFileName(path("aac.wav"));
    EXPECT_NO_THROW(player.open());
    EXPECT_NEAR(static_cast<double>(player.lengthMs()), 1000.0, 80.0);

    process.start(converter, {"-i", path("damaged.mp3"), path("bad.wav"), "-y"});
    ASSERT_TRUE(process.waitForFinished(60000));
    EXPECT_NE(process.exitCode(), 0);
    const QString error = QString::fromUtf8(process.readAllStandardError()).trimmed();
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(error.count(u'\n'), 0);
}

}  // namespace
}  // namespace vellumo
