#include <gtest/gtest.h>

#include <QFontMetrics>

#include "album/lyric_painting.h"
#include "album/lyric_settings.h"
#include "album/lyrics.h"
#include "media/chinese_script.h"
#include "tests/support/test_files.h"
#include "workspace/errors.h"
#include "workspace/text_codec.h"
#include "workspace/workspace_texts.h"

namespace vellumo {
namespace {

QVector<LyricEntry> entries(const QString& text) {
    return LyricTable::fromText(text).entries();
}

TEST(LyricTable, FileOrderTagsLastToFirstHeadersLast) {
    EXPECT_EQ(entries("[ti:A]\n[ar:B]\n[00:05.00]Line\n"),
              (QVector<LyricEntry>{{"00:00", ""}, {"00:05.00", "Line"}, {"ti", "A"}, {"ar", "B"}}));
    // Two tags on a line: last first; touching tags share the text.
    EXPECT_EQ(entries("[00:10]A[00:20]B\r\n[00:30][00:40]C\r\n"),
              (QVector<LyricEntry>{
                  {"00:00", ""}, {"00:20", "B"}, {"00:10", "A"}, {"00:40", "C"}, {"00:30", "C"}}));
    // A header tag followed by a blank is a lyric line that moves to the headers; ti first.
    EXPECT_EQ(entries("[by:Z] \n[00:01]x\n[ti:A] \n[offset:100]\n[01:02.00]\n"),
              (QVector<LyricEntry>{{"00:00", ""}, {"00:01", "x"}, {"ti", "A"}, {"by", "Z"}}));
    // Lines without "[" give nothing; nothing is sorted.
    EXPECT_EQ(entries("plain words\n[00:09]late\n[00:03]early\n"),
              (QVector<LyricEntry>{{"00:00", ""}, {"00:09", "late"}, {"00:03", "early"}}));
    // Chinese text is cut by characters.
    EXPECT_EQ(entries(QString::fromUtf16(u"[00:01]相册\n")),
              (QVector<LyricEntry>{{"00:00", ""}, {"00:01", QString::fromUtf16(u"相册")}}));
}

TEST(LyricTable, FindByTimeTextPrefix) {
    const LyricTable table = LyricTable::fromText(
        "[00:10]X\n[00:10.50]Y\n[01:23.45]Hello\n[00:30.00]\n[1:05.00]short minutes\n");
    ASSERT_TRUE(table.find(u"00:10"));
    EXPECT_EQ(table.find(u"00:10")->text, "X");
    EXPECT_EQ(table.find(u"01:23")->text, "Hello");
    EXPECT_EQ(table.find(u"01:24"), nullptr);
    EXPECT_EQ(table.find(u"00:30"), nullptr);  // The empty line at 00:30 is a header line.
    EXPECT_EQ(table.find(u"01:05"), nullptr);
    ASSERT_TRUE(table.find(u"00:00"));
    EXPECT_TRUE(table.find(u"00:00")->text.isEmpty());
}

TEST(LyricTable, TimeTexts) {
    EXPECT_EQ(lyricTimeText(0), "00:00");
    EXPECT_EQ(lyricTimeText(125), "02:05");
    EXPECT_EQ(lyricTimeText(59), "00:59");
    EXPECT_EQ(lyricTimeText(3600), "60:00");
    EXPECT_EQ(lyricTimeText(3660), "01:00");
}

TEST(LyricTable, ReadsGbkAndUtf8Files) {
    test::TempFolder temp;
    const QString text = QString::fromUtf16(u"[ti:甜蜜蜜]\r\n[00:06.00]翻开旧相册\r\n");
    const LyricTable gbk = LyricTable::read(temp.write("gbk.lrc", toGbk(text)));
    const LyricTable utf8 = LyricTable::read(temp.write("utf8.lrc", text.toUtf8()));
    const LyricTable bom = LyricTable::read(temp.write("bom.lrc", "\xEF\xBB\xBF" + text.toUtf8()));
    EXPECT_EQ(gbk.entries(), utf8.entries());
    EXPECT_EQ(gbk.entries(), bom.entries());
    EXPECT_EQ(gbk.entries().at(1).text, QString::fromUtf16(u"翻开旧相册"));
    EXPECT_THROW(LyricTable::read(temp.path() + "missing.lrc"), FileError);
}

TEST(LyricTable, ReadsUtf16ByItsMarkEitherEndFirst) {
    test::TempFolder temp;
    const QString text = QString::fromUtf16(u"[ti:甜蜜蜜]\r\n[00:06.00]翻开旧相册\r\n");
    QByteArray little("\xFF\xFE");
    QByteArray big("\xFE\xFF");
    for (const QChar c : text) {
        const char16_t unit = c.unicode();
        little += static_cast<char>(unit & 0xFF);
        little += static_cast<char>(unit >> 8);
        big += static_cast<char>(unit >> 8);
        big += static_cast<char>(unit & 0xFF);
    }
    const LyricTable utf8 = LyricTable::read(temp.write("utf8.lrc", text.toUtf8()));
    EXPECT_EQ(LyricTable::read(temp.write("le.lrc", little)).entries(), utf8.entries());
    EXPECT_EQ(LyricTable::read(temp.write("be.lrc", big)).entries(), utf8.entries());
    EXPECT_EQ(decodeLyricText(little), text);
    EXPECT_TRUE(utf8.hasLines());
}

TEST(LyricTable, KnowsWhenNoLineCanEverShow) {
    QByteArray junk;
    for (int i = 0; i < 4096; ++i) {
        junk += static_cast<char>((i * 7919) % 256);
    }
    EXPECT_FALSE(LyricTable::fromBytes(junk).hasLines());
    EXPECT_FALSE(LyricTable::fromBytes(QByteArray()).hasLines());
    EXPECT_FALSE(LyricTable::fromText("[ti:A]\n[ar:B]\n").hasLines());
    // Minutes and seconds of two digits each are what a second is looked up by.
    EXPECT_FALSE(LyricTable::fromText("[1:05]x\n[ab:cd]y\n").hasLines());
    EXPECT_TRUE(LyricTable::fromText("[ti:A]\n[01:05.20]x\n").hasLines());
    EXPECT_TRUE(LyricTable::fromText("[00:05] \n").hasLines());
}

TEST(LyricTable, APipeIsRefusedWithoutWaiting) {
    test::TempFolder temp;
    try {
        LyricTable::read(temp.fifo("song.lrc"));
        FAIL() << "no error";
    } catch (const FileError& e) {
        EXPECT_EQ(e.reason(), texts::kNotRegularFile);
    }
}

// The painted pixels' left and right ends, -1 when nothing is painted.
std::pair<int, int> paintedColumns(const QImage& image) {
    int left = -1;
    int right = -1;
    for (int x = 0; x < image.width(); ++x) {
        for (int y = 0; y < image.height(); ++y) {
            if (qAlpha(image.pixel(x, y)) != 0) {
                left = left < 0 ? x : left;
                right = x;
                break;
            }
        }
    }
    return {left, right};
}

TEST(LyricLine, ALongLineShrinksToTheFrameThenEndsInAnEllipsis) {
    LyricSettings settings;
    settings.size = 60;
    const QString ellipsis(QChar(0x2026));
    // A short line keeps its size, a longer one shrinks without being cut.
    const LyricLine shortLine = fitLyricLine(settings, QString::fromUtf16(u"翻开旧相册"), 800, 450);
    EXPECT_EQ(shortLine.text, QString::fromUtf16(u"翻开旧相册"));
    EXPECT_EQ(shortLine.look.font.pointSize(), 60 * 450 / 390);
    const QString twelve = QString::fromUtf16(u"甜蜜蜜你笑得甜蜜蜜好像花儿");
    const LyricLine shrunk = fitLyricLine(settings, twelve, 800, 450);
    EXPECT_EQ(shrunk.text, twelve);
    EXPECT_LT(shrunk.look.font.pointSize(), 60 * 450 / 390);
    EXPECT_GT(shrunk.look.font.pointSize(), kSmallestLyricSize * 450 / 390);
    EXPECT_LE(QFontMetrics(shrunk.look.font).horizontalAdvance(shrunk.text), 800);
    EXPECT_GE(shrunk.look.topLeft.x(), 0);

    for (const qsizetype length : {qsizetype{10000}, qsizetype{5000000}}) {
        SCOPED_TRACE(length);
        const QString huge(length, QChar(0x5B57));
        const QString shown = lyricInScript(settings, huge);
        EXPECT_EQ(shown.size(), kLongestShownLyric + 1);
        const LyricLine line = fitLyricLine(settings, shown, 800, 450);
        EXPECT_TRUE(line.text.endsWith(ellipsis));
        EXPECT_LT(line.text.size(), 200);
        EXPECT_EQ(line.look.font.pointSize(), kSmallestLyricSize * 450 / 390);
        EXPECT_LE(QFontMetrics(line.look.font).horizontalAdvance(line.text), 800);
        EXPECT_GE(line.look.topLeft.x(), 0);

        // Drawn on a picture twice as wide, the line stays within the frame's width.
        QImage picture(1600, 450, QImage::Format_ARGB32_Premultiplied);
        picture.fill(Qt::transparent);
        drawLyricLine(picture, line);
        const auto [left, right] = paintedColumns(picture);
        ASSERT_GE(left, 0);
        EXPECT_LE(right - left + 1,
                  800 + 2 * static_cast<int>(lyricOutlineWidth(line.look.font)) + 2);

        // Unfitted, the painter still draws only what fits its picture.
        const QString drawn = fittedLyricText(huge, line.look.font, 400);
        EXPECT_TRUE(drawn.endsWith(ellipsis));
        EXPECT_LT(drawn.size(), 100);
        QImage small(400, 60, QImage::Format_ARGB32_Premultiplied);
        small.fill(Qt::transparent);
        LyricLook atCorner = line.look;
        atCorner.topLeft = QPoint(0, 0);
        drawLyricLine(small, LyricLine{huge, atCorner});
        EXPECT_GE(paintedColumns(small).first, 0);
    }
}

TEST(ChineseScript, ConvertsBothWays) {
    EXPECT_EQ(toTraditional(QString::fromUtf16(u"甜蜜蜜的回忆")),
              QString::fromUtf16(u"甜蜜蜜的回憶"));
    EXPECT_EQ(toSimplified(QString::fromUtf16(u"愛與時光")), QString::fromUtf16(u"爱与时光"));
    EXPECT_EQ(toSimplified("ABC 123"), "ABC 123");
}

TEST(LyricSettings, DefaultsAndScaling) {
    const LyricSettings defaults;
    EXPECT_EQ(defaults.defaultTop, 335);
    EXPECT_EQ(defaults.font, QString::fromUtf16(u"黑体"));
    EXPECT_EQ(lyricStyleWord(defaults.style), "cuti");
    EXPECT_EQ(defaults.size, 10);
    EXPECT_EQ(defaults.colour(), QColor(Qt::white));
    EXPECT_EQ(lyricScriptWord(defaults.script), "jianti");
    EXPECT_EQ(colourNumber(QColor(255, 0, 0)), 255u);

    LyricSettings custom;
    custom.position = LyricPosition::Custom;
    custom.customLeft = 100;
    custom.customTop = 200;
    custom.style = LyricStyle::Italic;
    LyricLook look = applyLyricSettings(custom, "line", 800, 450);
    EXPECT_EQ(look.topLeft, QPoint(117, 230));
    EXPECT_EQ(look.font.pointSize(), 11);
    EXPECT_TRUE(look.font.italic());
    EXPECT_FALSE(look.font.bold());

    // The default position is centred whatever the custom left holds, and so is custom centring.
    LyricSettings centred = custom;
    centred.position = LyricPosition::Default;
    look = applyLyricSettings(centred, "line", 800, 450);
    const int width = QFontMetrics(look.font).horizontalAdvance("line");
    EXPECT_EQ(look.topLeft, QPoint(400 - width / 2, 335 * 450 / 390));
    custom.customCentred = true;
    EXPECT_EQ(applyLyricSettings(custom, "line", 800, 450).topLeft.x(), 400 - width / 2);
    // On the reference screen the stored values hold as they are.
    custom.customCentred = false;
    EXPECT_EQ(applyLyricSettings(custom, "x", 679, 390).topLeft, QPoint(100, 200));

    LyricSettings other;
    other.script = LyricScript::Other;
    EXPECT_EQ(lyricInScript(other, QString::fromUtf16(u"愛")), QString::fromUtf16(u"愛"));
}

}  // namespace
}  // namespace vellumo
