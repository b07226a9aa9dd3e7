#include <gtest/gtest.h>

#include <QImage>
#include <QProcess>

#include "album/album_texts.h"
#include "album/output_formats.h"
#include "tests/support/media_probe.h"
#include "tests/support/photo_files.h"
#include "tests/support/test_files.h"
#include "tests/support/tool_runner.h"
#include "workspace/data_paths.h"
#include "workspace/packed_file.h"
#include "workspace/text_codec.h"
#include "workspace/workspace_texts.h"

namespace vellumo {
namespace {

using test::runTool;
using test::ToolRun;

TEST(VellumoTool, PackAndUnpackTwentyDeepRoundTripByteForByte) {
    test::TempFolder temp;
    QByteArray content(70000, '\0');
    for (int i = 0; i < content.size(); ++i) {
        content[i] = static_cast<char>((i * 131 + i / 7) & 0xFF);
    }
    const QString in = temp.write("movie.txt", content);
    ASSERT_EQ(runTool({"pack", "--depth", "20", in, temp.path() + "movie.rar"}).exitCode, 0);
    ASSERT_EQ(runTool({"unpack", "--depth", "20", temp.path() + "movie.rar", temp.path() + "back"})
                  .exitCode,
              0);
    EXPECT_EQ(test::readFile(temp.path() + "back"), content);

    // Nineteen levels leave a file that is itself packed, one level deep.
    ASSERT_EQ(runTool({"unpack", "--depth", "19", temp.path() + "movie.rar", temp.path() + "l19"})
                  .exitCode,
              0);
    QByteArray level19 = test::readFile(temp.path() + "l19");
    EXPECT_NE(level19, content);
    unpack(level19);
    EXPECT_EQ(level19, content);
}

TEST(VellumoTool, EmptyFileStaysEmpty) {
    test::TempFolder temp;
    const QString in = temp.write("empty");
    ASSERT_EQ(runTool({"pack", "--depth", "20", in, temp.path() + "p"}).exitCode, 0);
    EXPECT_TRUE(test::readFile(temp.path() + "p").isEmpty());
    ASSERT_EQ(runTool({"unpack", "--depth", "20", temp.path() + "p", temp.path() + "u"}).exitCode,
              0);
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
        const ToolRun run = runTool(args);
        EXPECT_NE(run.exitCode, 0) << args.join(' ').toStdString();
        EXPECT_EQ(run.err.trimmed().count(u'\n'), 0) << run.err.toStdString();
        EXPECT_FALSE(run.err.trimmed().isEmpty());
    }
    const ToolRun damagedRun = runTool({"unpack", "--depth", "3", damaged, temp.path() + "out"});
    EXPECT_TRUE(damagedRun.err.contains(damaged)) << damagedRun.err.toStdString();
}

void installTemplate(const test::TempFolder& folder, const QString& file, const QString& name,
                     const QString& orientation) {
    const QByteArray parameters =
        toGbk(QStringLiteral("[1]\r\nxpkd=|0|\r\nxpgd=|0|\r\nszhz=|%1|\r\nxpjpgmc=|picture_1|\r\n"
                             "mbdx=250\r\n[l_x_q_b_x_n_w_j_s_y]\r\nl_x_q_b_x_n_w_j_s_y_m_c=%2\r\n")
                  .arg(orientation, name));
    folder.write(paths::kParameterPackages + file, packNested(parameters, 20));
    folder.write(paths::kTemplatePackages + file, packNested("movie", 20));
}

TEST(VellumoTool, PlanPlacesPhotosAndPrintsTheSlots) {
    test::TempFolder temp;
    installTemplate(temp, "1.rar", QStringLiteral("横向"), "heng");
    installTemplate(temp, "2.rar", QStringLiteral("竖向"), "shu");
    test::writeSolidPhoto(temp.path() + "wide.jpg", {400, 300});
    test::writeSolidPhoto(temp.path() + "tall.jpg", {300, 400});
    temp.write("broken.jpg", "not a photo");

    const ToolRun run = runTool({"plan", "--program-folder", temp.path(), temp.path() + "wide.jpg",
                                 temp.path() + "tall.jpg", temp.path() + "broken.jpg"});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QStringList lines = run.out.split(u'\n', Qt::SkipEmptyParts);
    ASSERT_GE(lines.size(), 5) << run.out.toStdString();
    EXPECT_TRUE(
        lines[1].startsWith(QStringLiteral("1\t横向\t单张模板\t1\t0\t00:00:10\t横照模板\t已完成")))
        << lines[1].toStdString();
    EXPECT_TRUE(lines[2].startsWith(QStringLiteral("2\t竖向"))) << lines[2].toStdString();
    EXPECT_TRUE(lines[4].contains(QStringLiteral("picture_1\theng_zhaopian\t0x0\t0")))
        << lines[4].toStdString();
    EXPECT_TRUE(run.err.contains("broken.jpg"));
    // The photo list after the slot table, so that its photo rows can be read.
    const qsizetype header =
        lines.indexOf(QStringLiteral("照片位置行号\t照片位置\t宽度x高度\t横照或竖照"));
    ASSERT_GT(header, 4) << run.out.toStdString();
    EXPECT_EQ(lines.mid(header + 1),
              (QStringList{"0\t" + temp.path() + "wide.jpg\t400x300\t横照片",
                           "1\t" + temp.path() + "tall.jpg\t300x400\t竖照片"}));

    EXPECT_NE(runTool({"plan", "--program-folder", temp.path() + "empty"}).exitCode, 0);
}

TEST(VellumoTool, PlanTakesThePhotosInTheOrderAsked) {
    test::TempFolder temp;
    installTemplate(temp, "1.rar", QStringLiteral("横向"), "heng");
    QImage picture(QSize(400, 300), QImage::Format_RGB32);
    picture.fill(Qt::gray);
    const QByteArray plain = test::jpegBytes(picture);
    temp.write("b10.jpg", test::withExifTimeTaken(plain, "2022:01:01 10:00:00"));
    temp.write("b9.jpg", test::withExifTimeTaken(plain, "2023:01:01 10:00:00"));
    const auto photoRows = [&](const QString& order) {
        QStringList words{"plan", "--program-folder", temp.path()};
        if (!order.isEmpty()) {
            words << "--order" << order;
        }
        const ToolRun run =
            runTool(words + QStringList{temp.path() + "b9.jpg", temp.path() + "b10.jpg"});
        EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
        QStringList rows = run.out.split(u'\n', Qt::SkipEmptyParts);
        return rows.mid(rows.size() - 2);
    };
    const QString b9 = "0\t" + temp.path() + "b9.jpg\t400x300\t横照片";
    const QString b10 = "0\t" + temp.path() + "b10.jpg\t400x300\t横照片";
    const auto second = [](QString row) { return row.replace(0, 1, "1"); };
    EXPECT_EQ(photoRows({}), (QStringList{b9, second(b10)}));
    EXPECT_EQ(photoRows("added"), (QStringList{b9, second(b10)}));
    EXPECT_EQ(photoRows("date"), (QStringList{b10, second(b9)}));
    EXPECT_EQ(photoRows("name"), (QStringList{b9, second(b10)}));
    const ToolRun wrong = runTool(
        {"plan", "--program-folder", temp.path(), "--order", "size", temp.path() + "b9.jpg"});
    EXPECT_NE(wrong.exitCode, 0);
    EXPECT_TRUE(wrong.err.contains("--order")) << wrong.err.toStdString();
}

TEST(VellumoTool, PlanWithoutAReadablePhotoFailsAsMakeAlbumDoes) {
    test::TempFolder temp;
    installTemplate(temp, "1.rar", QStringLiteral("横向"), "heng");
    temp.write("broken.jpg", "not a photo");
    const ToolRun run =
        runTool({"plan", "--program-folder", temp.path(), temp.path() + "broken.jpg"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.lastErrLine(), "vellumo-tool: " + texts::kNoPhotos) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains("broken.jpg"));
}

TEST(VellumoTool, CatalogueWithoutAWorkingFolderSaysSoAndExits) {
    // The program folder cannot be written (there is none) and the per-user folder cannot be
    // made (a file stands in its way).
    test::TempFolder temp;
    const QString blocker = temp.write("cache", "a file");
    QProcess tool;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("XDG_CACHE_HOME", blocker + "/below");
    tool.setProcessEnvironment(environment);
    tool.start(qEnvironmentVariable("VELLUMO_TOOL"),
               {"catalogue", "--program-folder", temp.path() + "no-program"});
    ASSERT_TRUE(tool.waitForFinished(60000));
    EXPECT_EQ(tool.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(tool.exitCode(), 1);
    const QString err = QString::fromUtf8(tool.readAllStandardError());
    EXPECT_TRUE(err.contains("vellumo-tool: ")) << err.toStdString();
    EXPECT_TRUE(err.contains(texts::kCannotCreateFolder)) << err.toStdString();
}

TEST(VellumoTool, EncodeWritesGeneratedPicturesThroughTheDriver) {
    test::TempFolder temp;
    const QString out = temp.path() + "check.mp4";
    const ToolRun run = runTool({"encode", "--type", "MP4", "--size", "160x96", "--tv", "ntsc",
                                 "--quality", "standard", "--frames", "25", "--out", out});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.contains("Conversion ended."));
    const test::MediaFacts facts = test::probeMedia(out);
    EXPECT_EQ(facts.videoCodec, "h264");
    EXPECT_EQ(facts.width, 160);
    EXPECT_EQ(facts.videoFrames, 30);  // one second under NTSC
    EXPECT_FALSE(facts.hasAudio);

    const ToolRun badType = runTool({"encode", "--type", "VHS", "--size", "160x96", "--out", out});
    EXPECT_EQ(badType.exitCode, 1);
    EXPECT_TRUE(badType.err.contains("VHS"));
    const ToolRun badMusic = runTool({"encode", "--type", "VCD", "--size", "160x96", "--music",
                                      temp.path() + "none.mp3", "--out", temp.path() + "x.mpg"});
    EXPECT_EQ(badMusic.exitCode, 1);
    EXPECT_TRUE(badMusic.err.contains(temp.path() + "none.mp3"));
    EXPECT_FALSE(QFile::exists(temp.path() + "x.mpg"));
}

TEST(VellumoTool, EncodeTakesTheToolWordOfEveryProducedFormat) {
    test::TempFolder temp;
    // A size the encoder refuses ends the command once the type was taken.
    for (const OutputFormat& format : outputFormats()) {
        SCOPED_TRACE(format.typeWord.toStdString());
        const QString word = format.toolWord.isEmpty() ? format.typeWord : format.toolWord;
        const ToolRun run = runTool({"encode", "--type", word.toLower(), "--size", "8x8",
                                     "--frames", "1", "--out", temp.path() + "x"});
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_EQ(run.err.contains("unknown --type"), format.toolWord.isEmpty())
            << run.err.toStdString();
    }
    EXPECT_FALSE(QFile::exists(temp.path() + "x"));
    EXPECT_TRUE(runTool({"encode"}).err.contains("--type " + toolWords(QStringLiteral("|"))));
}

TEST(VellumoTool, PlanCombinedSortsAPhotoByItsUprightSize) {
    test::TempFolder temp;
    installTemplate(temp, "1.rar", QStringLiteral("横向"), "heng");
    installTemplate(temp, "2.rar", QStringLiteral("竖向"), "shu");
    temp.write(paths::combinedTemplatePackage(1),
               packNested(toGbk(QStringLiteral("[zuhemoban_canshu]\r\nshuliang=1\r\n"
                                               "canshu_1=竖向~0~1~\r\n")),
                          3));
    // Stored landscape, upright portrait through its EXIF orientation.
    test::writeSolidPhoto(temp.path() + "turned.jpg", {400, 300}, Qt::gray, 6);

    const ToolRun run = runTool(
        {"plan", "--program-folder", temp.path(), "--combined", "1", temp.path() + "turned.jpg"});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QStringList lines = run.out.split(u'\n', Qt::SkipEmptyParts);
    ASSERT_GE(lines.size(), 2);
    EXPECT_TRUE(
        lines[1].startsWith(QStringLiteral("1\t竖向\t单张模板\t0\t1\t00:00:10\t竖照模板\t已完成")))
        << lines[1].toStdString();
    EXPECT_EQ(lines.last(), "0\t" + temp.path() + "turned.jpg\t300x400\t竖照片");
}

TEST(VellumoTool, EveryCommandRefusesAnUnknownOption) {
    test::TempFolder temp;
    const QString file = temp.write("x.jpg", "x");
    const QStringList commands{"pack",       "unpack",       "catalogue",      "plan", "preview",
                               "movie-info", "render-movie", "template-sheet", "lrc",  "encode"};
    for (const QString& command : commands) {
        const ToolRun run = runTool({command, "--bogus", file});
        EXPECT_EQ(run.exitCode, 2) << command.toStdString() << ": " << run.err.toStdString();
        EXPECT_TRUE(run.err.contains("--bogus")) << run.err.toStdString();
        EXPECT_TRUE(run.err.contains("usage: vellumo-tool " + command + " "))
            << run.err.toStdString();
        EXPECT_TRUE(run.out.isEmpty()) << run.out.toStdString();
    }
    // Also after known options, and a switch of one command is unknown to another.
    EXPECT_EQ(runTool({"plan", "--program-folder", temp.path(), "--bogus", file}).exitCode, 2);
    EXPECT_EQ(runTool({"catalogue", "--sheet"}).exitCode, 2);
    EXPECT_EQ(runTool({"lrc", file, "--at", "00:01", "--bogus"}).exitCode, 2);
}

}  // namespace
}  // namespace vellumo
