#include <gtest/gtest.h>

#include <QFile>
#include <QFontMetrics>
#include <QImage>

#include <algorithm>
#include <cstdlib>

#include "catalogue/catalogue.h"
#include "media/music_player.h"
#include "preview/music_preview_texts.h"
#include "preview/preview_music.h"
#include "project/album.h"
#include "tests/album/silent_wav.h"
#include "tests/support/test_files.h"
#include "timeline/lyric_overlay.h"
#include "timeline/shown_lyrics.h"
#include "timeline/timeline_texts.h"
#include "workspace/text_codec.h"

namespace vellumo {
namespace {

using test::writeSilentWav;

class PreviewMusicTest : public ::testing::Test {
protected:
    void SetUp() override {
        player_.setSoundOutput(false);
        player_.setClock([this] { return nowMs_; });
    }

    void addMusic(const QString& name, double seconds) {
        ASSERT_TRUE(album_.addMusic(writeSilentWav(folder_, name, seconds), player_).isEmpty());
    }
    void addLyrics(const QString& name, const QString& text) {
        album_.addLyrics(folder_.write(name, toGbk(text)));
    }
    // Moves the player's clock to ms after the start and ticks once.
    PreviewMusic::Tick tickAt(PreviewMusic& music, qint64 ms) {
        nowMs_ = startMs_ + ms;
        return music.tick();
    }
    void startAt(PreviewMusic& music, SyncMode sync, qint64 ms) {
        startMs_ = ms;
        nowMs_ = ms;
        music.start(sync);
    }

    test::TempFolder folder_;
    Catalogue catalogue_;
    Album album_{catalogue_};
    MusicPlayer player_;
    qint64 nowMs_ = 1000;
    qint64 startMs_ = 0;
};

TEST_F(PreviewMusicTest, LineFoundAtItsSecondIsKeptUntilTheNextTag) {
    addMusic("long.wav", 90);
    addLyrics("song.lrc", "[00:00.50]too early\n[01:23.45]Hello\n[01:30.00]Later\n");
    LyricSettings bold;
    bold.position = LyricPosition::Custom;
    bold.customLeft = 100;
    bold.customTop = 200;
    album_.setLyricSettings(0, bold);

    PreviewMusic music(album_, player_);
    startAt(music, SyncMode::WithTemplate, 5000);
    ASSERT_TRUE(music.isRunning());
    EXPECT_EQ(music.musicCounter(), 0);
    EXPECT_EQ(music.lyricCounter(), 0);
    EXPECT_FALSE(music.lyricLine().look.font.bold());

    // At 00:00 the leading empty entry matches: a tag within the first second never shows.
    tickAt(music, 700);
    EXPECT_EQ(music.positionText(), "00:00");
    EXPECT_TRUE(music.lyricLine().text.isEmpty());

    PreviewMusic::Tick tick = tickAt(music, 83000);
    EXPECT_EQ(music.positionText(), "01:23");
    EXPECT_TRUE(tick.lyricChanged);
    EXPECT_EQ(music.lyricLine().text, "Hello");
    // Bold (cuti), not italic; placed and sized for the 800 × 450 main display.
    const LyricLook& look = music.lyricLine().look;
    EXPECT_TRUE(look.font.bold());
    EXPECT_FALSE(look.font.italic());
    EXPECT_EQ(look.topLeft, QPoint(117, 230));
    EXPECT_EQ(look.font.pointSize(), 11);
    EXPECT_EQ(look.colour, QColor(Qt::white));

    tick = tickAt(music, 84000);
    EXPECT_EQ(music.positionText(), "01:24");
    EXPECT_FALSE(tick.lyricChanged);
    EXPECT_EQ(music.lyricLine().text, "Hello");

    tickAt(music, 90500);
    EXPECT_EQ(music.lyricLine().text, "Later");

    music.stop();
    EXPECT_FALSE(music.isRunning());
    EXPECT_TRUE(music.lyricLine().text.isEmpty());
    EXPECT_EQ(player_.mode(), MusicPlayer::Mode::Stopped);
    EXPECT_EQ(music.tick().lyricChanged, false);
}

TEST_F(PreviewMusicTest, WithTemplateTheListLoopsAndLyricFileIGoesWithMusicFileI) {
    addMusic("zero.wav", 3);
    addMusic("one.wav", 2);
    addLyrics("zero.lrc", QString::fromUtf16(u"[00:01.00]愛的第一句\n"));

    PreviewMusic music(album_, player_);
    startAt(music, SyncMode::WithTemplate, 0);
    tickAt(music, 1200);
    EXPECT_EQ(music.lyricLine().text, QString::fromUtf16(u"爱的第一句"));  // simplified

    // File 0 ends: file 1 plays, without lyrics.
    PreviewMusic::Tick tick = tickAt(music, 3000);
    EXPECT_EQ(music.musicCounter(), 1);
    EXPECT_EQ(music.lyricCounter(), 1);
    EXPECT_TRUE(tick.lyricChanged);
    EXPECT_TRUE(music.lyricLine().text.isEmpty());
    EXPECT_TRUE(album_.lyricTable().entries().isEmpty());
    EXPECT_EQ(player_.fileName(), album_.music().at(1).location);
    startMs_ = 3000;
    tickAt(music, 1500);
    EXPECT_TRUE(music.lyricLine().text.isEmpty());

    // File 1 ends: the list loops to file 0 and its lyrics come back.
    tickAt(music, 2000);
    EXPECT_EQ(music.musicCounter(), 0);
    EXPECT_EQ(music.lyricCounter(), 0);
    EXPECT_EQ(player_.mode(), MusicPlayer::Mode::Playing);
    startMs_ = 5000;
    tickAt(music, 1100);
    EXPECT_EQ(music.positionText(), "00:01");
    EXPECT_EQ(music.lyricLine().text, QString::fromUtf16(u"爱的第一句"));
    EXPECT_TRUE(music.takeMessages().isEmpty());
}

TEST_F(PreviewMusicTest, WithMusicTheListPlaysOnceWithItsLyrics) {
    addMusic("first.wav", 2);
    addMusic("second.wav", 2);
    addLyrics("first.lrc", "[00:01.00]one\n");
    addLyrics("second.lrc", "[00:01.00]two\n");
    PreviewMusic music(album_, player_);
    startAt(music, SyncMode::WithMusic, 0);
    tickAt(music, 1500);
    EXPECT_EQ(music.lyricLine().text, "one");

    // The first file ends: the second plays with its own lyrics.
    tickAt(music, 2000);
    EXPECT_EQ(music.musicCounter(), 1);
    EXPECT_EQ(player_.fileName(), album_.music().at(1).location);
    startMs_ = 2000;
    tickAt(music, 1200);
    EXPECT_EQ(music.lyricLine().text, "two");

    // The second ends: the list does not come round again, the lyric line goes.
    const PreviewMusic::Tick tick = tickAt(music, 2100);
    EXPECT_TRUE(tick.lyricChanged);
    EXPECT_TRUE(music.lyricLine().text.isEmpty());
    EXPECT_EQ(player_.fileName(), album_.music().at(1).location);
    EXPECT_EQ(player_.mode(), MusicPlayer::Mode::Stopped);
    tickAt(music, 5000);
    EXPECT_EQ(player_.mode(), MusicPlayer::Mode::Stopped);
}

TEST_F(PreviewMusicTest, MusicThatCannotBeOpenedIsReportedOnceAndSkipped) {
    addMusic("gone.wav", 2);
    addMusic("fine.wav", 2);
    const QString gone = album_.music().at(0).location;
    ASSERT_TRUE(QFile::remove(gone));

    PreviewMusic music(album_, player_);
    startAt(music, SyncMode::WithTemplate, 0);
    EXPECT_TRUE(music.isRunning());
    EXPECT_EQ(music.musicCounter(), 1);
    EXPECT_EQ(music.takeMessages(), QStringList{texts::kMusicSkipped.arg(gone)});

    // Looping past the missing file again plays the good one without a second message.
    tickAt(music, 2000);
    EXPECT_TRUE(music.isRunning());
    EXPECT_EQ(music.musicCounter(), 1);
    EXPECT_EQ(player_.mode(), MusicPlayer::Mode::Playing);
    EXPECT_TRUE(music.takeMessages().isEmpty());

    // With nothing playable the music timer stays off instead of half-starting.
    ASSERT_TRUE(QFile::remove(album_.music().at(1).location));
    startAt(music, SyncMode::WithTemplate, 10000);
    EXPECT_FALSE(music.isRunning());
    EXPECT_EQ(music.takeMessages().size(), 2);
    EXPECT_FALSE(player_.hasFileName());
    EXPECT_FALSE(music.tick().lyricChanged);
}

TEST_F(PreviewMusicTest, UnreadableLyricsGiveAMessageAndNoLyrics) {
    addMusic("song.wav", 5);
    album_.addLyrics(folder_.path() + "missing.lrc");
    album_.setLyricTable(LyricTable::fromText("[00:01]stale line\n"));
    PreviewMusic music(album_, player_);
    startAt(music, SyncMode::WithTemplate, 0);
    EXPECT_TRUE(music.isRunning());
    EXPECT_EQ(music.takeMessages(),
              QStringList{texts::kLyricsUnreadable.arg(folder_.path() + "missing.lrc")});
    tickAt(music, 1500);
    EXPECT_TRUE(music.lyricLine().text.isEmpty());
}

TEST_F(PreviewMusicTest, ALyricFileWithoutLinesIsToldOnce) {
    addMusic("song.wav", 5);
    QByteArray junk;
    for (int i = 0; i < 2000; ++i) {
        junk += static_cast<char>((i * 131) % 256);
    }
    const QString file = folder_.write("junk.lrc", junk);
    album_.addLyrics(file);
    PreviewMusic music(album_, player_);
    startAt(music, SyncMode::WithTemplate, 0);
    EXPECT_TRUE(music.isRunning());
    EXPECT_EQ(music.takeMessages(), QStringList{texts::kLyricsWithoutLines.arg(file)});
    tickAt(music, 1500);
    EXPECT_TRUE(music.lyricLine().text.isEmpty());

    LyricTable table;
    EXPECT_EQ(readShownLyrics(folder_.write("ok.lrc", "[00:01]x\n"), table), QString());
    EXPECT_EQ(table.entries().size(), 2);
    const QString pipe = folder_.fifo("pipe.lrc");
    EXPECT_EQ(readShownLyrics(pipe, table), texts::kLyricsUnreadable.arg(pipe));
    EXPECT_TRUE(table.entries().isEmpty());
}

TEST(DrawLyricLine, PaintsTheLineInItsColourBelowItsTopLeft) {
    QImage picture(800, 450, QImage::Format_RGB32);
    picture.fill(Qt::black);
    LyricLine line;
    line.text = QString::fromUtf16(u"翻开旧相册");
    line.look = defaultLyricLook();
    line.look.font.setPixelSize(40);
    line.look.colour = QColor(255, 255, 0);
    line.look.topLeft = QPoint(100, 300);
    drawLyricLine(picture, line);
    int yellow = 0;
    QRect painted;
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            if (picture.pixel(x, y) == qRgb(255, 255, 0)) {
                ++yellow;
                painted |= QRect(x, y, 1, 1);
            }
        }
    }
    EXPECT_GT(yellow, 200);
    EXPECT_GE(painted.left(), 100);
    EXPECT_GE(painted.top(), 300);
    EXPECT_LT(painted.bottom(), 300 + QFontMetrics(line.look.font).height());

    // An empty line paints nothing.
    QImage untouched = picture;
    line.text.clear();
    drawLyricLine(untouched, line);
    EXPECT_EQ(untouched, picture);
}

TEST(DrawLyricLine, LettersKeepAnEdgeOfTheOppositeLightnessOnAnyPicture) {
    for (const QColor colour : {QColor(Qt::white), QColor(Qt::black)}) {
        QImage picture(400, 100, QImage::Format_RGB32);
        picture.fill(colour);
        LyricLine line{QString::fromUtf16(u"白色歌词"), defaultLyricLook()};
        line.look.font.setPixelSize(40);
        line.look.colour = colour;
        line.look.topLeft = QPoint(10, 20);
        drawLyricLine(picture, line);
        int edge = 0;
        for (int y = 0; y < picture.height(); ++y) {
            for (int x = 0; x < picture.width(); ++x) {
                edge += std::abs(qGray(picture.pixel(x, y)) - qGray(colour.rgb())) > 100 ? 1 : 0;
            }
        }
        EXPECT_GT(edge, 150) << colour.name().toStdString();
    }
}

// The largest difference of any channel of any pixel.
int largestDifference(const QImage& a, const QImage& b) {
    int largest = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y);
            const QRgb q = b.pixel(x, y);
            largest = std::max({largest, std::abs(qRed(p) - qRed(q)),
                                std::abs(qGreen(p) - qGreen(q)), std::abs(qBlue(p) - qBlue(q))});
        }
    }
    return largest;
}

TEST(LyricOverlay, LaysEachLineOverPicturesAsDrawLyricLinePaintsIt) {
    // A picture with light and dark parts, so that both the letters and their edge show.
    QImage background(640, 360, QImage::Format_RGB32);
    for (int x = 0; x < background.width(); ++x) {
        for (int y = 0; y < background.height(); ++y) {
            background.setPixel(x, y, qRgb(x * 255 / 640, y * 255 / 360, (x + y) % 256));
        }
    }
    LyricLine plain{QString::fromUtf16(u"翻开旧相册"), defaultLyricLook()};
    plain.look.font.setPixelSize(36);
    plain.look.topLeft = QPoint(40, 280);
    LyricLine styled{QString::fromUtf16(u"白色的歌词 Lyric"), defaultLyricLook()};
    styled.look.font.setPixelSize(60);
    styled.look.font.setItalic(true);
    styled.look.font.setBold(true);
    styled.look.colour = QColor(20, 20, 120);
    styled.look.topLeft = QPoint(420, 320);  // runs off the right and bottom edges
    LyricLine empty{QString(), defaultLyricLook()};

    LyricOverlay overlay;
    // Lines come and go and come back; each picture shows the line of its own frame.
    for (const LyricLine* line : {&plain, &plain, &styled, &empty, &plain, &styled}) {
        QImage painted = background;
        drawLyricLine(painted, *line);
        QImage laid = background;
        overlay.draw(laid, *line);
        EXPECT_LE(largestDifference(painted, laid), 2) << line->text.toStdString();
        if (line->text.isEmpty()) {
            EXPECT_EQ(laid, background);
        } else {
            EXPECT_GT(largestDifference(background, laid), 100) << line->text.toStdString();
        }
    }
}

}  // namespace
}  // namespace vellumo
