#include <gtest/gtest.h>

#include <QProcess>

#include <cmath>

#include "media/audio_decoder.h"
#include "media/audio_encoder.h"
#include "media/media_texts.h"
#include "media/music_player.h"
#include "tests/support/test_files.h"
#include "workspace/errors.h"

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

TEST_F(AudioTest, ConverterWritesWavThatThePlayerOpens) {
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
