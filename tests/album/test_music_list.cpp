#include <gtest/gtest.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cmath>

#include "album/album_texts.h"
#include "album/lyrics_list.h"
#include "album/music_list.h"
#include "media/audio_conversion.h"
#include "media/audio_decoder.h"
#include "media/audio_encoder.h"
#include "media/media_texts.h"
#include "media/music_player.h"
#include "tests/support/test_files.h"
#include "workspace/data_paths.h"
#include "workspace/errors.h"
#include "workspace/program_folder.h"

namespace vellumo {
namespace {

QByteArray silence(double seconds) {
    return QByteArray(static_cast<qsizetype>(seconds * kPcmSampleRate) * kPcmBytesPerFrame, '\0');
}

TEST(MusicDuration, WholeSecondsAndUnwrappedMinutes) {
    EXPECT_EQ(musicDurationText(185400), "00:03:05");
    EXPECT_EQ(musicDurationText(4530000), "00:75:30");
    EXPECT_EQ(musicDurationText(59900), "00:00:59");
    EXPECT_EQ(musicDurationText(60000), "00:01:00");
    EXPECT_EQ(musicDurationText(0), "00:00:00");
}

TEST(ConverterScript, QuotesEveryNameSoNoneCanInjectACommand) {
    EXPECT_EQ(shellQuoted("it's"), "'it'\\''s'");
    EXPECT_EQ(converterCommandLine("/p/convert0909", "/m/a b.mp3", "/p/linshi/a b.wav"),
              "'/p/convert0909' -i '/m/a b.mp3' '/p/linshi/a b.wav' -y");
}

class MusicListTest : public ::testing::Test {
protected:
    void SetUp() override {
        // A cache of this test's own below the one CTest gives.
        ASSERT_FALSE(qEnvironmentVariableIsEmpty("XDG_CACHE_HOME"));
        cache_ = qgetenv("XDG_CACHE_HOME");
        qputenv("XDG_CACHE_HOME", QFile::encodeName(folder_.path() + "cache"));
        setProgramFolder(folder_.path());
        ASSERT_TRUE(
            QFile::copy(qEnvironmentVariable("VELLUMO_CONVERTER"), dataPath(paths::kConverter)));
        player_.setSoundOutput(false);
    }
    void TearDown() override {
        setProgramFolder(QString());
        qputenv("XDG_CACHE_HOME", cache_);
    }

    test::TempFolder folder_;
    QByteArray cache_;
    MusicPlayer player_;
    MusicList list_;
};

TEST_F(MusicListTest, PlayableFilesAreMeasuredInPlace) {
    const QString mp3 = folder_.path() + "music/夏天.mp3";
    QDir().mkpath(folder_.path() + "music");
    encodeAudio(mp3, "mp3", AudioCodec::Mp3, 128000, silence(61.2));
    EXPECT_TRUE(list_.add(mp3, player_).isEmpty());
    ASSERT_EQ(list_.size(), 1);
    EXPECT_EQ(list_.at(0).name, QString::fromUtf16(u"夏天"));
    EXPECT_EQ(list_.at(0).format, ".mp3");
    EXPECT_EQ(list_.at(0).duration, "00:01:01");
    EXPECT_EQ(list_.at(0).location, mp3);
    EXPECT_TRUE(player_.isOpen());
}

TEST_F(MusicListTest, UnplayableFilesArePlayedFromACopyInTheLastingCache) {
    // A tricky name: quotes and a command substitution must stay part of the name.
    const QString name = QStringLiteral("it's $(touch injected) `x`");
    const QString aac = folder_.path() + name + ".mp3";
    encodeAudio(aac, "adts", AudioCodec::Aac, 128000, silence(2.0));
    EXPECT_TRUE(list_.add(aac, player_).isEmpty());
    ASSERT_EQ(list_.size(), 1);
    const MusicRecord& record = list_.at(0);
    EXPECT_EQ(record.name, name);
    EXPECT_EQ(record.format, ".wav");
    // The record keeps the user's own file; the copy lies in the cache, never in the working
    // folders that start-up clears.
    EXPECT_EQ(record.location, aac);
    EXPECT_TRUE(record.isConverted());
    EXPECT_EQ(record.playedFile(), convertedMusicPath(aac));
    EXPECT_TRUE(record.playedFile().startsWith(convertedMusicFolder()));
    EXPECT_TRUE(QFileInfo::exists(record.playedFile()));
    EXPECT_EQ(player_.fileName(), record.playedFile());
    EXPECT_EQ(record.duration, "00:00:02");
    EXPECT_FALSE(QFileInfo::exists(folder_.path() + "injected"));
    EXPECT_FALSE(QFileInfo::exists(QDir::currentPath() + "/injected"));
    EXPECT_TRUE(QFileInfo::exists(dataPath(paths::kConverterScript)));
    // Nothing half-made is left beside it.
    EXPECT_EQ(QDir(convertedMusicFolder()).entryList(QDir::Files).size(), 1);

    // Added again, the copy already there is taken.
    const QDateTime made = QFileInfo(record.playedFile()).lastModified();
    QFile::remove(dataPath(paths::kConverterScript));
    EXPECT_TRUE(list_.add(aac, player_).isEmpty());
    EXPECT_EQ(list_.at(1).playedFile(), list_.at(0).playedFile());
    EXPECT_EQ(QFileInfo(list_.at(1).playedFile()).lastModified(), made);
    EXPECT_FALSE(QFileInfo::exists(dataPath(paths::kConverterScript)));

    // A cache emptied since is filled again; a song that cannot be converted any more is named
    // and its record stays.
    QDir(convertedMusicFolder()).removeRecursively();
    list_.remove(1);
    EXPECT_TRUE(list_.remakeMissingCopies().isEmpty());
    EXPECT_TRUE(QFileInfo::exists(list_.at(0).playedFile()));
    QDir(convertedMusicFolder()).removeRecursively();
    const QString copy = list_.at(0).copy;
    ASSERT_TRUE(QFile::resize(aac, 10));
    EXPECT_EQ(list_.remakeMissingCopies(), QStringList{aac});
    EXPECT_EQ(list_.size(), 1);
    EXPECT_FALSE(QFileInfo::exists(copy));
}

TEST_F(MusicListTest, CopiesAreKeyedByPathSizeAndTime) {
    // The cache follows the environment, below the user's cache folder.
    EXPECT_EQ(convertedMusicFolder(), folder_.path() + "cache/vellumo/converted-music/");
    const QString a = folder_.write("a/歌.mp3", "one");
    const QString b = folder_.write("b/歌.mp3", "one");
    const QString first = convertedMusicPath(a);
    EXPECT_NE(convertedMusicPath(b), first);
    EXPECT_EQ(convertedMusicPath(a), first);
    EXPECT_TRUE(first.endsWith(".wav"));
    // Another length or another modification time: another copy.
    folder_.write("a/歌.mp3", "other");
    EXPECT_NE(convertedMusicPath(a), first);
    QFile file(a);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.setFileTime(QDateTime(QDate(2001, 2, 3), QTime(4, 5, 6), Qt::UTC),
                                 QFileDevice::FileModificationTime));
    file.close();
    const QString dated = convertedMusicPath(a);
    EXPECT_NE(dated, convertedMusicPath(b));
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.setFileTime(QDateTime(QDate(2002, 2, 3), QTime(4, 5, 6), Qt::UTC),
                                 QFileDevice::FileModificationTime));
    file.close();
    EXPECT_NE(convertedMusicPath(a), dated);
}

TEST_F(MusicListTest, SameNamedFilesFromTwoFoldersGetCopiesOfTheirOwn) {
    QDir().mkpath(folder_.path() + "a");
    QDir().mkpath(folder_.path() + "b");
    const QString first = folder_.path() + "a/歌.mp3";
    const QString second = folder_.path() + "b/歌.mp3";
    encodeAudio(first, "adts", AudioCodec::Aac, 128000, silence(2.0));
    encodeAudio(second, "adts", AudioCodec::Aac, 128000, silence(3.0));
    ASSERT_TRUE(list_.add(first, player_).isEmpty());
    ASSERT_TRUE(list_.add(second, player_).isEmpty());
    ASSERT_EQ(list_.size(), 2);
    EXPECT_EQ(list_.at(0).location, first);
    EXPECT_EQ(list_.at(1).location, second);
    EXPECT_NE(list_.at(0).playedFile(), list_.at(1).playedFile());
    EXPECT_EQ(list_.at(1).name, QString::fromUtf16(u"歌"));
    // Each record still plays its own song.
    for (int row = 0; row < 2; ++row) {
        const MusicRecord& record = list_.at(row);
        ASSERT_TRUE(QFileInfo::exists(record.playedFile()));
        player_.setFileName(record.playedFile());
        player_.open();
        EXPECT_EQ(musicDurationText(player_.lengthMs()), row == 0 ? "00:00:02" : "00:00:03");
    }
    EXPECT_EQ(list_.at(0).duration, "00:00:02");
    EXPECT_EQ(list_.at(1).duration, "00:00:03");
}

TEST_F(MusicListTest, FilesNothingCanPlayAreReportedAndLeftOut) {
    const QString bad = folder_.write("broken.mp3", QByteArray(4000, '\x17'));
    EXPECT_EQ(list_.add(bad, player_), texts::kConversionFailed.arg(bad));
    EXPECT_TRUE(list_.isEmpty());
    EXPECT_FALSE(player_.hasFileName());
}

TEST_F(MusicListTest, PipesDevicesAndFoldersAreRefusedWithoutWaiting) {
    // Opened by the player or the converter, a pipe nobody writes to would wait for ever.
    const QString pipe = folder_.fifo("song.mp3");
    const QString dir = folder_.mkdir("album.mp3");
    for (const QString& path : {pipe, dir, QStringLiteral("/dev/zero")}) {
        EXPECT_EQ(list_.add(path, player_), texts::kNotARegularFileNotAdded.arg(path));
        EXPECT_THROW(probeAudio(path), FileError);
    }
    EXPECT_TRUE(list_.isEmpty());
    EXPECT_FALSE(player_.hasFileName());
}

TEST(LyricsList, FilesComeWithDefaultSettingsInStep) {
    LyricsList lyrics;
    lyrics.add("/songs/a.lrc");
    lyrics.add("/songs/b.LRC");
    LyricSettings changed;
    changed.size = 30;
    lyrics.setSettings(1, changed);
    lyrics.remove(0);
    ASSERT_EQ(lyrics.size(), 1);
    EXPECT_EQ(lyrics.at(0).name, "b");
    EXPECT_EQ(lyrics.at(0).format, ".LRC");
    EXPECT_EQ(lyrics.at(0).settings.size, 30);
}

}  // namespace
}  // namespace vellumo
