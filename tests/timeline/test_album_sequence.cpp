#include <gtest/gtest.h>

#include "media/music_player.h"
#include "project/album.h"
#include "tests/album/silent_wav.h"
#include "tests/support/album_builders.h"
#include "tests/support/test_files.h"
#include "timeline/album_sequence.h"
#include "timeline/timeline_texts.h"
#include "workspace/text_codec.h"

namespace vellumo {
namespace {

using test::entryOf;
using test::templateRecord;

class AlbumSequenceTest : public ::testing::Test {
protected:
    void SetUp() override {
        catalogue_.setRecords({templateRecord("A", "|picture_1|", "|heng|", {}, {}, 250),
                               templateRecord("B", "|picture_1|", "|heng|", {}, {}, 300),
                               templateRecord("C", "|picture_1|", "|heng|", {}, {}, 400)});
        player_.setSoundOutput(false);
    }

    // Templates A (250 frames) and B (300) complete, C between them not.
    void addTemplates() {
        album_.addTemplate(entryOf(catalogue_, 0, TemplateClass::LandscapeSingle), true);
        album_.addTemplate(entryOf(catalogue_, 2, TemplateClass::LandscapeSingle), false);
        album_.addTemplate(entryOf(catalogue_, 1, TemplateClass::LandscapeSingle), true);
    }
    void addMusic(const QString& name, double seconds) {
        ASSERT_TRUE(
            album_.addMusic(test::writeSilentWav(folder_, name, seconds), player_).isEmpty());
    }
    AlbumSequence build(SyncMode sync) {
        AlbumSequence::Input input;
        input.playList = AlbumSequence::completeTemplates(album_);
        input.sync = sync;
        return AlbumSequence::build(album_, input);
    }

    test::TempFolder folder_;
    Catalogue catalogue_;
    Album album_{catalogue_, [](int) { return 0; }};
    MusicPlayer player_;
};

TEST_F(AlbumSequenceTest, WithTemplateTheMusicRepeatsToCoverTheAlbum) {
    addTemplates();
    addMusic("song.wav", 10.5);
    const AlbumSequence s = build(SyncMode::WithTemplate);

    // 250 + 300 + 150; the incomplete template is not counted.
    EXPECT_EQ(s.totalFrames(), 700);
    EXPECT_EQ(s.playList(), (QVector<int>{0, 2}));
    ASSERT_EQ(s.movies().size(), 3);
    EXPECT_TRUE(s.movies().at(2).isClosing());
    EXPECT_EQ(s.movies().at(2).firstFrame, 550);

    // 10.5 s counts 250 frames: three rows make 750 >= 700.
    ASSERT_EQ(s.musicRows().size(), 3);
    for (const MusicRow& row : s.musicRows()) {
        EXPECT_EQ(row.music, 0);
        EXPECT_EQ(row.neededFrames, 250);
        EXPECT_EQ(row.lengthMs, 10500);
    }
    EXPECT_EQ(s.soundFiles().size(), 3);
    EXPECT_TRUE(s.musicCoversAlbum());

    // Which movie and frame, which row at a frame.
    AlbumFrame f = s.at(249);
    EXPECT_EQ(f.movie, 0);
    EXPECT_EQ(f.movieFrame, 249);
    f = s.at(250);
    EXPECT_EQ(f.movie, 1);
    EXPECT_EQ(f.movieFrame, 0);
    f = s.at(699);
    EXPECT_EQ(f.movie, 2);
    EXPECT_EQ(f.movieFrame, 149);
    // A row is heard for its file's real length: 10.48 s is still the first, 10.52 s the second.
    f = s.at(262);
    EXPECT_EQ(f.musicRow, 0);
    EXPECT_EQ(f.musicMs, 10480);
    f = s.at(263);
    EXPECT_EQ(f.musicRow, 1);
    EXPECT_EQ(f.musicMs, 20);
}

TEST_F(AlbumSequenceTest, WithoutMusicAndWithMusicTooShortToCover) {
    addTemplates();
    AlbumSequence s = build(SyncMode::WithTemplate);
    EXPECT_TRUE(s.musicRows().isEmpty());
    EXPECT_TRUE(s.soundFiles().isEmpty());
    EXPECT_EQ(s.at(10).musicRow, -1);

    // Files shorter than a second never cover the album: one pass, and the caller is told.
    addMusic("a.wav", 0.5);
    addMusic("b.wav", 0.9);
    s = build(SyncMode::WithTemplate);
    EXPECT_EQ(s.musicRows().size(), 2);
    EXPECT_FALSE(s.musicCoversAlbum());
    EXPECT_EQ(s.totalFrames(), 700);
}

TEST_F(AlbumSequenceTest, WithMusicTheTemplatesComeRoundUntilTheMusicIsCovered) {
    addTemplates();
    addMusic("one.wav", 20);
    addMusic("two.wav", 12);
    const AlbumSequence s = build(SyncMode::WithMusic);
    // 32 s is 800 frames: 550, then 1100 after the second round, whole templates only.
    EXPECT_EQ(s.playList(), (QVector<int>{0, 2, 0, 2}));
    EXPECT_EQ(s.totalFrames(), 1100 + 150);
    EXPECT_EQ(s.movies().constLast().firstFrame, 1100);
    // The music list once.
    ASSERT_EQ(s.musicRows().size(), 2);
    EXPECT_EQ(s.musicRows().at(1).music, 1);
    EXPECT_EQ(s.musicRows().at(1).startMs, 20000);
    EXPECT_EQ(s.at(700).musicRow, 1);
    EXPECT_EQ(s.at(800).musicRow, -1);  // the music has ended
    EXPECT_EQ(s.at(600).movie, 2);
    EXPECT_EQ(s.at(600).movieFrame, 50);

    // Music shorter than the templates: each plays once.
    album_.removeMusic(0);
    EXPECT_EQ(build(SyncMode::WithMusic).totalFrames(), 700);
}

TEST_F(AlbumSequenceTest, StopWhileTheMusicListIsBuiltEndsAtOnce) {
    addTemplates();
    addMusic("song.wav", 1.0);  // 28 rows would be needed
    int asked = 0;
    AlbumSequence::Input input;
    input.playList = AlbumSequence::completeTemplates(album_);
    input.stopRequested = [&] { return ++asked == 3; };
    const AlbumSequence s = AlbumSequence::build(album_, input);
    EXPECT_TRUE(s.stopped());
    EXPECT_EQ(asked, 3);
    EXPECT_EQ(s.musicRows().size(), 2);
}

TEST_F(AlbumSequenceTest, LyricLineOfEachFrameFollowsItsMusicRow) {
    addTemplates();
    addMusic("zero.wav", 4.0);
    addMusic("one.wav", 3.0);
    album_.addLyrics(folder_.write(
        "zero.lrc", toGbk(QString::fromUtf16(u"[00:01.50]第一句\n[00:03.00]第二句\n"))));
    LyricSettings settings;
    settings.script = LyricScript::Other;
    settings.colourNumber = 0x0000FF;  // red
    album_.setLyricSettings(0, settings);
    const AlbumSequence s = build(SyncMode::WithTemplate);
    SequenceLyrics lyrics(album_, s);
    const QSize display(1280, 720);

    EXPECT_TRUE(lyrics.lineAt(0, display).text.isEmpty());
    EXPECT_TRUE(lyrics.lineAt(24, display).text.isEmpty());
    // Second 1 finds the tag 00:01.50; the line stays through second 2.
    const LyricLine first = lyrics.lineAt(25, display);
    EXPECT_EQ(first.text, QString::fromUtf16(u"第一句"));
    EXPECT_EQ(first.look.colour, QColor(Qt::red));
    EXPECT_EQ(first.look.topLeft.y(), 335 * 720 / 390);
    EXPECT_EQ(lyrics.lineAt(74, display).text, QString::fromUtf16(u"第一句"));
    EXPECT_EQ(lyrics.lineAt(75, display).text, QString::fromUtf16(u"第二句"));
    // Music file 1 has no lyric file: no line while it plays (frames 100 to 174).
    EXPECT_TRUE(lyrics.lineAt(120, display).text.isEmpty());
    // The list comes round: file 0 and its lyrics again, from an empty line.
    EXPECT_TRUE(lyrics.lineAt(175, display).text.isEmpty());
    EXPECT_EQ(lyrics.lineAt(175 + 25, display).text, QString::fromUtf16(u"第一句"));
    EXPECT_TRUE(lyrics.problems().isEmpty());
}

TEST_F(AlbumSequenceTest, MusicCoveringTheTemplatesButNotTheClosingMovieComesRound) {
    addTemplates();
    // 23 s counts 575 frames: past the templates' 550, short of the closing movie's end at 700.
    addMusic("song.wav", 23.0);
    const AlbumSequence s = build(SyncMode::WithTemplate);
    EXPECT_EQ(s.totalFrames(), 700);
    ASSERT_EQ(s.musicRows().size(), 2);
    EXPECT_EQ(s.musicRows().at(1).startMs, 23000);
    EXPECT_TRUE(s.musicCoversAlbum());
    // The closing movie has music under it to its last frame.
    EXPECT_EQ(s.at(650).movie, 2);
    EXPECT_EQ(s.at(650).musicRow, 1);
    EXPECT_EQ(s.at(699).musicRow, 1);
}

TEST_F(AlbumSequenceTest, UnreadableLyricFileIsNamedAndShowsNothing) {
    addTemplates();
    addMusic("zero.wav", 4.0);
    album_.addLyrics(folder_.path() + "gone.lrc");
    const AlbumSequence s = build(SyncMode::WithTemplate);
    SequenceLyrics lyrics(album_, s);
    EXPECT_TRUE(lyrics.lineAt(50, QSize(800, 450)).text.isEmpty());
    EXPECT_EQ(lyrics.problems(),
              QStringList{texts::kLyricsUnreadable.arg(folder_.path() + "gone.lrc")});
}

}  // namespace
}  // namespace vellumo
