#include <gtest/gtest.h>

#include <QProcess>

#include "tests/support/test_files.h"
#include "workspace/packed_file.h"

namespace vellumo {
namespace {

struct ToolRun {
    int exitCode = -1;
    QString out;
    QString err;
};

ToolRun tool(const QStringList& args) {
    QProcess process;
    process.start(qEnvironmentVariable("VELLUMO_TOOL"), args);
    ToolRun run;
    if (!process.waitForFinished(60000)) {
        process.kill();
        process.waitForFinished(5000);
        return run;
    }
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

TEST(VellumoTool, PackAndUnpackTwentyDeepRoundTripByteForByte) {
    test::TempFolder temp;
    QByteArray content(70000, '\0');
    for (int i = 0; i < content.size(); ++i) {
        content[i] = static_cast<char>((i * 131 + i / 7) & 0xFF);
    }
    const QString in = temp.write("movie.txt", content);
    ASSERT_EQ(tool({"pack", "--depth", "20", in, temp.path() + "movie.rar"}).exitCode, 0);
    ASSERT_EQ(
        tool({"unpack", "--depth", "20", temp.path() + "movie.rar", temp.path() + "back"}).exitCode,
        0);
    EXPECT_EQ(test::readFile(temp.path() + "back"), content);

    // Nineteen levels leave a file that is itself packed, one level deep.
    ASSERT_EQ(
        tool({"unpack", "--depth", "19", temp.path() + "movie.rar", temp.path() + "l19"}).exitCode,
        0);
    QByteArray level19 = test::readFile(temp.path() + "l19");
    EXPECT_NE(level19, content);
    unpack(level19);
    EXPECT_EQ(level19, content);
}

TEST(VellumoTool, EmptyFileStaysEmpty) {
    test::TempFolder temp;
    const QString in = temp.write("empty");
    ASSERT_EQ(tool({"pack", "--depth", "20", in, temp.path() + "p"}).exitCode, 0);
    EXPECT_TRUE(test::readFile(temp.path() + "p").isEmpty());
    ASSERT_EQ(tool({"unpack", "--depth", "20", temp.path() + "p", temp.path() + "u"}).exitCode, 0);
    EXPECT_TRUE(test::readFile(temp.path() + "u").isEmpty());
}

TEST(VellumoTool, BadInputGivesOneLineAndNonZeroExit) {
    test::TempFolder temp;
    QByteArray packed = packNested("some movie text", 3);
    packed[10] = static_cast<char>(packed[10] ^ 0xFF);
    packed[11] = static_cast<char>(packed[11] ^ 0xFF);
    const QString damaged = temp.write("damaged.rar", packed);

    for (const QStringList& args :
         {QStringList{"unpack", "--depth", "3", damaged, temp.path() + "out"},
          QStringList{"unpack", "--depth", "3", temp.path() + "missing.rar", temp.path() + "o"},
          QStringList{"pack", "--depth", "three", damaged, temp.path() + "o"},
          QStringList{"pack", "--depth", "2", damaged}}) {
        const ToolRun run = tool(args);
        EXPECT_NE(run.exitCode, 0) << args.join(' ').toStdString();
        EXPECT_EQ(run.err.trimmed().count(u'\n'), 0) << run.err.toStdString();
        EXPECT_FALSE(run.err.trimmed().isEmpty());
    }
    const ToolRun damagedRun = tool({"unpack", "--depth", "3", damaged, temp.path() + "out"});
    EXPECT_TRUE(damagedRun.err.contains(damaged)) << damagedRun.err.toStdString();
}

}  // namespace
}  // namespace vellumo
