#include <gtest/gtest.h>

#include <QFontMetrics>

#include "album/lyric_settings.h"
#include "album/lyrics.h"
#include "media/chinese_script.h"
#include "tests/support/test_files.h"
#include "workspace/errors.h"
#include "workspace/text_codec.h"

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
