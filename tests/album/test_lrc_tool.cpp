#include <gtest/gtest.h>

#include "tests/album/silent_wav.h"
#include "tests/support/test_files.h"
#include "tests/support/tool_runner.h"
#include "tools/tool_texts.h"
#include "workspace/text_codec.h"

namespace vellumo {
namespace {

using test::ToolRun;

ToolRun lrc(const QStringList& args) {
    return test::runTool(QStringList{"lrc"} + args);
}

TEST(LrcTool, PrintsTheTableAsBuiltAndTheLineAtEachTime) {
    test::TempFolder temp;
    const QString file = temp.write(
        "song.lrc",
        toGbk(QString::fromUtf16(u"[ti:甜蜜蜜]\r\n[00:10]A[00:20]B\r\n[01:23.45]你好\r\n")));
    const ToolRun run = lrc({file, "--at", "01:23", "--at", "1:24", "--at", "00:00"});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QStringList expected{
        QStringLiteral("序号\t标签\t歌词"),
        QStringLiteral("0\t00:00\t"),
        QStringLiteral("1\t00:20\tB"),
        QStringLiteral("2\t00:10\tA"),
        QStringLiteral("3\t01:23.45\t你好"),
        QStringLiteral("4\tti\t甜蜜蜜"),
        QString(),
        QStringLiteral("时间\t查找\t序号\t歌词"),
        QStringLiteral("01:23\t01:23\t3\t你好"),
        QStringLiteral("01:24\t01:24\t-\t(没有找到，保留上一句)"),
        QStringLiteral("00:00\t00:00\t0\t"),
        QString(),
    };
    EXPECT_EQ(run.outLines(), expected);
}

TEST(LrcTool, PrintsTheWordTimesOfKaraokeLinesWithoutTheirTags) {
    test::TempFolder temp;
    const QString file = temp.write(
        "karaoke.lrc",
        QString::fromUtf16(u"[00:12.00]<00:12.00>春天<00:12.80>的<00:13.10>花开<00:14.00>\n")
            .toUtf8());
    const ToolRun run = lrc({file});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QStringList expected{
        QStringLiteral("序号\t标签\t歌词"),
        QStringLiteral("0\t00:00\t"),
        QStringLiteral("1\t00:12.00\t春天的花开"),
        texts::kToolWordTimes + QStringLiteral(" 00:12.00 春天 00:12.80 的 00:13.10 花开 00:14.00"),
        QString(),
    };
    EXPECT_EQ(run.outLines(), expected);
}

TEST(LoudnessTool, PrintsEachFilesLoudnessAndTellsTheOnesItCannotRead) {
    test::TempFolder temp;
    const QString silent = test::writeSilentWav(temp, "silent.wav", 1.0);
    const ToolRun run = test::runTool({"loudness", silent, temp.write("bad.mp3", "not sound")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.outLines().value(1), QStringLiteral("-70.0\t-100.0\t0.0\t") + silent);
    EXPECT_TRUE(run.err.contains("bad.mp3")) << run.err.toStdString();
}

TEST(LrcTool, RefusesBadTimesAndUnreadableFiles) {
    test::TempFolder temp;
    const QString file = temp.write("a.lrc", "[00:01]x\n");
    for (const char* bad : {"83", "1:5", "01:60", "aa:bb"}) {
        const ToolRun run = lrc({file, "--at", bad});
        EXPECT_EQ(run.exitCode, 1) << bad;
        EXPECT_TRUE(run.err.contains(bad)) << run.err.toStdString();
    }
    EXPECT_EQ(lrc({file, "--at"}).exitCode, 1);
    EXPECT_EQ(lrc({}).exitCode, 1);
    const ToolRun missing = lrc({temp.path() + "missing.lrc"});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_TRUE(missing.err.contains("missing.lrc")) << missing.err.toStdString();
}

}  // namespace
}  // namespace vellumo
