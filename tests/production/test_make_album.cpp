// vellumo-tool make-album end to end: a program folder with one template and the closing
// movie, generated photos, a generated MP3 and an LRC file, produced at a small size and read
// back with libavformat.

#include <gtest/gtest.h>

#include <QDeadlineTimer>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>

#include <csignal>
#include <utility>

#include "album/output_formats.h"
#include "disc/disc_check.h"
#include "production/production_run_texts.h"
#include "tests/support/media_probe.h"
#include "tests/support/photo_files.h"
#include "tests/support/test_files.h"
#include "tests/support/tool_runner.h"
#include "workspace/data_paths.h"
#include "workspace/leftovers.h"
#include "workspace/packed_file.h"
#include "workspace/text_codec.h"

namespace vellumo {
namespace {

using test::runTool;
using test::ToolRun;

// A landscape template of 40 frames (or more) whose photo fills the stage.
void installProgramFolder(const test::TempFolder& folder, int frames = 40) {
    const QByteArray parameters =
        toGbk(QStringLiteral("[1]\r\nxpkd=|0|\r\nxpgd=|0|\r\nszhz=|heng|\r\nxpjpgmc=|picture_1|\r\n"
                             "mbdx=%1\r\n[l_x_q_b_x_n_w_j_s_y]\r\nl_x_q_b_x_n_w_j_s_y_m_c=满屏\r\n")
                  .arg(frames));
    folder.write(paths::kParameterPackages + "1.rar", packNested(parameters, 20));
    folder.write(paths::kTemplatePackages + "1.rar",
                 packNested(QStringLiteral("vellumo-movie 1\nframes %1\n"
                                           "image photo \"picture_1.jpg\"\n  box 0 0 1920 1080\n")
                                .arg(frames)
                                .toUtf8(),
                            20));
    folder.write(paths::kClosingMovie,
                 packNested("vellumo-movie 1\nframes 150\n"
                            "image leadin \"../../pic/picture_0.jpg\"\n  box 0 0 1920 1080\n",
                            16));
}

// Every file below folder, relative to it.
QStringList filesBelow(const QString& folder) {
    QStringList files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        files << QDir(folder).relativeFilePath(it.next());
    }
    files.sort();
    return files;
}

TEST(MakeAlbum, ProducesTheWholeAlbumWithMusicAndLyrics) {
    test::TempFolder temp;
    installProgramFolder(temp);
    QStringList photos;
    for (const QColor colour : {QColor(180, 30, 30), QColor(30, 30, 180)}) {
        photos << test::writeSolidPhoto(temp.path() + colour.name().mid(1) + ".jpg", {480, 320},
                                        colour);
    }
    const QString music = test::writeToneMp3(temp.path() + "tone.mp3", 4.0, 330);
    const QString lyrics =
        temp.write("tone.lrc", toGbk(QString::fromUtf16(u"[00:02.00]歌词在这里出现了\n")));
    const QString out = temp.path() + "album.mpg";
    const QStringList before = filesBelow(temp.path());

    const ToolRun run = runTool(QStringList{"make-album", "--program-folder", temp.path(), "--type",
                                            "DVD", "--size", "640x368", "--quality", "standard",
                                            "--music", music, "--lyrics", lyrics, "--out", out} +
                                    photos,
                                120000);
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.contains(out));
    EXPECT_TRUE(run.err.contains(QStringLiteral("100%"))) << run.err.toStdString();
    // The program folder may be read-only: the tool's working folders are elsewhere, and the
    // album is the one new file.
    QStringList expected = before + QStringList{QStringLiteral("album.mpg")};
    expected.sort();
    EXPECT_EQ(filesBelow(temp.path()), expected);

    // Two templates of 40 frames and the closing movie.
    const test::MediaFacts facts = test::probeMedia(out, {30, 60});
    EXPECT_EQ(facts.container, "mpeg");
    EXPECT_EQ(facts.videoCodec, "mpeg2video");
    EXPECT_EQ(facts.audioCodec, "ac3");
    EXPECT_EQ(facts.width, 640);
    EXPECT_EQ(facts.height, 368);
    EXPECT_EQ(facts.videoFrames, 40 + 40 + 150);
    EXPECT_NEAR(facts.videoSeconds, 9.2, 0.01);
    EXPECT_LE(facts.audioSeconds, facts.videoSeconds + 0.001);
    EXPECT_GT(facts.audioSeconds, 9.0);
    // The default lyric line (white, below the middle) from 00:02 on, not before.
    EXPECT_LT(test::whitePixelsInLyricBand(facts.pictures.value(30)), 5);
    EXPECT_GT(test::whitePixelsInLyricBand(facts.pictures.value(60)), 20);
}

TEST(MakeAlbum, FailsWithOneLineAndLeavesNoFile) {
    test::TempFolder temp;
    installProgramFolder(temp);
    test::writeSolidPhoto(temp.path() + "p.jpg", {480, 320}, Qt::darkGreen);

    const QString unwritable = temp.path() + "no/such/folder/album.mpg";
    ToolRun run = runTool({"make-album", "--program-folder", temp.path(), "--type", "VCD", "--size",
                           "320x176", "--out", unwritable, temp.path() + "p.jpg"},
                          120000);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.lastErrLine().startsWith("vellumo-tool: ")) << run.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(unwritable));

    run = runTool({"make-album", "--program-folder", temp.path(), "--type", "DVD", "--size", "17x9",
                   "--out", temp.path() + "x.mpg", temp.path() + "p.jpg"},
                  120000);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.lastErrLine().contains("640x368")) << run.err.toStdString();
    // Sync with music without music.
    run = runTool({"make-album", "--program-folder", temp.path(), "--type", "DVD", "--sync",
                   "music", "--out", temp.path() + "x.mpg", temp.path() + "p.jpg"},
                  120000);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.lastErrLine().contains(QStringLiteral("没有找到音乐文件")))
        << run.err.toStdString();
}

TEST(MakeAlbum, ADvdDiscOfThreePhotosPlaysWithAChapterAtEveryTemplate) {
    test::TempFolder temp;
    installProgramFolder(temp);
    QStringList photos;
    for (const QColor colour : {Qt::darkRed, Qt::darkGreen, Qt::darkBlue}) {
        photos << test::writeSolidPhoto(temp.path() + QColor(colour).name().mid(1) + ".jpg",
                                        {480, 320}, colour);
    }
    // Three templates of 40 frames and the closing movie: 270 frames, 10.8 s.
    const QString iso = temp.path() + "album.iso";
    ToolRun run = runTool(QStringList{"make-album", "--program-folder", temp.path(), "--type",
                                      "DVD", "--disc", "iso", "--out", iso} +
                              photos,
                          240000);
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.outLines().first(), iso);
    disc::DvdFacts dvd = disc::readDvd(iso);
    ASSERT_TRUE(dvd.opened);
    EXPECT_EQ(dvd.titles, 1);
    EXPECT_EQ(dvd.width, 720);
    EXPECT_EQ(dvd.height, 576);
    EXPECT_TRUE(dvd.pal);
    EXPECT_TRUE(dvd.wide);
    EXPECT_TRUE(dvd.ac3);
    EXPECT_NEAR(dvd.seconds, 10.8, 0.04);
    ASSERT_EQ(dvd.chapters, 4);
    ASSERT_EQ(dvd.chapterStarts.size(), 4);
    const double starts[] = {0, 1.6, 3.2, 4.8};
    for (int i = 0; i < 4; ++i) {
        EXPECT_NEAR(dvd.chapterStarts[i], starts[i], 0.04) << "chapter " << i;
    }
    // Only the image is left beside the photos.
    EXPECT_EQ(filesBelow(temp.path()).filter(QStringLiteral("album")), QStringList{"album.iso"});

    // NTSC into a folder receiving VIDEO_TS.
    const QString folder = temp.path() + "ntsc";
    run =
        runTool(QStringList{"make-album", "--program-folder", temp.path(), "--type", "dvd", "--tv",
                            "ntsc", "--disc", "folder", "--size", "720x480", "--out", folder} +
                    photos,
                240000);
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    dvd = disc::readDvd(folder);
    ASSERT_TRUE(dvd.opened);
    EXPECT_EQ(dvd.height, 480);
    EXPECT_FALSE(dvd.pal);
    EXPECT_TRUE(dvd.wide);
    EXPECT_EQ(dvd.chapters, 4);
    EXPECT_NEAR(dvd.seconds, 10.8, 0.04);
}

TEST(MakeAlbum, AVcdDiscIsABinAndCueImage) {
    test::TempFolder temp;
    installProgramFolder(temp);
    const QString photo = test::writeSolidPhoto(temp.path() + "p.jpg", {480, 320}, Qt::darkGreen);
    // The extension given is replaced.
    const ToolRun run = runTool({"make-album", "--program-folder", temp.path(), "--type", "VCD",
                                 "--disc", "iso", "--out", temp.path() + "vcd.img", photo},
                                240000);
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.outLines().mid(0, 2),
              (QStringList{temp.path() + "vcd.bin", temp.path() + "vcd.cue"}));
    EXPECT_FALSE(QFileInfo::exists(temp.path() + "vcd.img"));
    EXPECT_EQ(disc::checkVcdImage(temp.path() + "vcd.bin", temp.path() + "vcd.cue"), QString());
}

TEST(MakeAlbum, DiscOptionsThatCannotBeAreRefusedBeforeAnythingIsMade) {
    test::TempFolder temp;
    installProgramFolder(temp);
    const QString photo = test::writeSolidPhoto(temp.path() + "p.jpg", {480, 320}, Qt::darkGreen);
    const auto refusal = [&](const QStringList& options) {
        const ToolRun run = runTool(QStringList{"make-album", "--program-folder", temp.path()} +
                                        options + QStringList{"--out", temp.path() + "x", photo},
                                    120000);
        EXPECT_EQ(run.exitCode, 1);
        return run.lastErrLine();
    };
    EXPECT_EQ(refusal({"--type", "AVI", "--disc", "iso"}),
              "vellumo-tool: --disc is for VCD, SVCD and DVD; AVI is made as a file");
    EXPECT_EQ(refusal({"--type", "MP4", "--disc", "folder"}),
              "vellumo-tool: --disc is for VCD, SVCD and DVD; MP4 is made as a file");
    EXPECT_EQ(refusal({"--type", "DVD", "--disc", "iso", "--size", "1280x720"}),
              "vellumo-tool: --size for a DVD disc (PAL) must be the standard's 720x576, or left "
              "out");
    EXPECT_EQ(refusal({"--type", "SVCD", "--tv", "ntsc", "--disc", "iso", "--size", "480x576"}),
              "vellumo-tool: --size for a SVCD disc (NTSC) must be the standard's 480x480, or "
              "left out");
    EXPECT_TRUE(
        refusal({"--type", "VCD", "--disc", "folder"}).contains("--disc folder is for DVD"));
    EXPECT_EQ(refusal({"--type", "DVD", "--disc", "floppy"}),
              "vellumo-tool: --disc must be iso or folder");
    // H.265 is an MP4's choice only.
    EXPECT_EQ(refusal({"--type", "DVD", "--codec", "h265"}),
              "vellumo-tool: --codec is for MP4; DVD has its own");
    EXPECT_EQ(refusal({"--type", "MP4", "--codec", "vp9"}),
              "vellumo-tool: --codec must be h264 or h265");
    EXPECT_EQ(filesBelow(temp.path()).filter(QRegularExpression("^x")), QStringList());
}

TEST(MakeAlbum, TakesEachFormatsToolWordAndOffersItsSizes) {
    test::TempFolder temp;
    installProgramFolder(temp);
    const QString photo = test::writeSolidPhoto(temp.path() + "p.jpg", {480, 320}, Qt::darkGreen);
    // A size no format offers stops the command after the type was taken, naming the type's
    // own sizes: nothing is produced.
    for (const OutputFormat& format : outputFormats()) {
        SCOPED_TRACE(format.typeWord.toStdString());
        const QString word = format.toolWord.isEmpty() ? format.typeWord : format.toolWord;
        const ToolRun run =
            runTool({"make-album", "--program-folder", temp.path(), "--type", word.toLower(),
                     "--size", "30x20", "--out", temp.path() + "x" + format.extension, photo},
                    120000);
        EXPECT_EQ(run.exitCode, 1);
        if (format.toolWord.isEmpty()) {
            EXPECT_TRUE(run.lastErrLine().contains("unknown --type")) << run.err.toStdString();
            continue;
        }
        const QSize last = format.sizes.constLast();
        EXPECT_TRUE(run.lastErrLine().contains(
            QStringLiteral("--size for %1 must be one of").arg(format.toolWord)))
            << run.err.toStdString();
        EXPECT_TRUE(run.lastErrLine().endsWith(
            QStringLiteral("%1x%2").arg(last.width()).arg(last.height())))
            << run.err.toStdString();
    }
    EXPECT_TRUE(runTool({"make-album"}).err.contains(toolWords(QStringLiteral("|"))));
}

TEST(MakeAlbum, AnAlbumProjectPlannedOnTheCommandLineIsOpenedAndProduced) {
    test::TempFolder temp;
    installProgramFolder(temp);
    const QStringList photos{
        test::writeSolidPhoto(temp.path() + "a.jpg", {480, 320}, QColor(180, 30, 30)),
        test::writeSolidPhoto(temp.path() + "b.jpg", {480, 320}, QColor(30, 30, 180))};
    const QString project = temp.path() + "album.vellumo";
    const ToolRun planned =
        runTool(QStringList{"plan", "--program-folder", temp.path(), "--save", project} + photos);
    ASSERT_EQ(planned.exitCode, 0) << planned.err.toStdString();
    ASSERT_TRUE(QFileInfo::exists(project));

    // Opened, the same album is printed.
    const ToolRun opened = runTool({"plan", "--program-folder", temp.path(), "--open", project});
    ASSERT_EQ(opened.exitCode, 0) << opened.err.toStdString();
    EXPECT_EQ(opened.out, planned.out);

    const QString out = temp.path() + "album.mpg";
    const ToolRun made = runTool({"make-album", "--program-folder", temp.path(), "--open", project,
                                  "--type", "VCD", "--size", "320x176", "--out", out},
                                 120000);
    ASSERT_EQ(made.exitCode, 0) << made.err.toStdString();
    const test::MediaFacts facts = test::probeMedia(out);
    EXPECT_EQ(facts.videoFrames, 40 + 40 + 150);
    EXPECT_EQ(facts.width, 320);
    // The album type must come from somewhere: the planned project has none.
    const ToolRun noType = runTool(
        {"make-album", "--program-folder", temp.path(), "--open", project, "--out", out}, 120000);
    EXPECT_EQ(noType.exitCode, 1);

    // A project whose photo is gone opens without it and names it; a damaged one is refused.
    QFile::remove(photos[1]);
    const ToolRun gap = runTool({"plan", "--program-folder", temp.path(), "--open", project});
    EXPECT_EQ(gap.exitCode, 0) << gap.err.toStdString();
    EXPECT_TRUE(gap.err.contains(photos[1])) << gap.err.toStdString();
    temp.write("album.vellumo", "{\"format\": \"vellumo-album\"");
    const ToolRun damaged = runTool({"plan", "--program-folder", temp.path(), "--open", project});
    EXPECT_EQ(damaged.exitCode, 1);
    EXPECT_TRUE(damaged.lastErrLine().contains(project)) << damaged.err.toStdString();
}

TEST(MakeAlbum, AStopSignalEndsItCleanlyLeavingNothingBesideTheOutput) {
    test::TempFolder temp;
    installProgramFolder(temp, 3000);  // two minutes of album: the signal comes long before
    const QString photo = test::writeSolidPhoto(temp.path() + "p.jpg", {480, 320}, Qt::darkRed);
    const QString outFolder = temp.mkdir("out") + "/";
    // The tool's working folder goes below this temporary folder.
    const QString tmp = temp.mkdir("tmp");
    const auto ours = [](const QString& folder) {
        return QDir(folder).entryList({"vellumo-*", ".*vellumo-part", "*.mpg*"},
                                      QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    };
    for (const auto& [signal, status] :
         {std::pair{SIGINT, 130}, std::pair{SIGTERM, 143}, std::pair{SIGHUP, 129}}) {
        QProcess tool;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("TMPDIR", tmp);
        tool.setProcessEnvironment(environment);
        tool.start(qEnvironmentVariable("VELLUMO_TOOL"),
                   {"make-album", "--program-folder", temp.path(), "--type", "DVD", "--size",
                    "640x368", "--out", outFolder + "album.mpg", photo});
        ASSERT_TRUE(tool.waitForStarted(10000));
        // Until the partial file is there: the conversion has begun.
        QString partial;
        QDeadlineTimer deadline(60000);
        while (partial.isEmpty() && !deadline.hasExpired() && tool.state() == QProcess::Running) {
            const QStringList names = QDir(outFolder).entryList(QDir::Files | QDir::Hidden);
            if (names.isEmpty()) {
                tool.waitForFinished(20);
            } else {
                partial = names.first();
            }
        }
        ASSERT_TRUE(isPartialFileName(partial)) << partial.toStdString();
        EXPECT_FALSE(ours(tmp).isEmpty());  // its working folder
        ASSERT_EQ(::kill(static_cast<pid_t>(tool.processId()), signal), 0);
        ASSERT_TRUE(tool.waitForFinished(30000));
        EXPECT_EQ(tool.exitStatus(), QProcess::NormalExit) << signal;
        EXPECT_EQ(tool.exitCode(), status) << signal;
        EXPECT_EQ(ours(outFolder), QStringList{}) << signal;
        EXPECT_EQ(ours(tmp), QStringList{}) << signal;
    }
}

TEST(MakeAlbum, RefusesAnOutputThatIsOneOfItsInputs) {
    test::TempFolder temp;
    installProgramFolder(temp);
    const QString photo = test::writeSolidPhoto(temp.path() + "p.jpg", {480, 320}, Qt::darkGreen);
    const QByteArray photoBytes = test::readFile(photo);
    ToolRun run = runTool({"make-album", "--program-folder", temp.path(), "--type", "VCD", "--size",
                           "320x176", "--out", photo, photo},
                          120000);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.lastErrLine(), "vellumo-tool: " + texts::kOutputIsAnInput.arg(photo, photo));
    EXPECT_EQ(test::readFile(photo), photoBytes);

    // The album project it opens.
    const QString project = temp.path() + "album.vellumo";
    ASSERT_EQ(runTool({"plan", "--program-folder", temp.path(), "--save", project, photo}).exitCode,
              0);
    const QByteArray projectBytes = test::readFile(project);
    run = runTool({"make-album", "--program-folder", temp.path(), "--open", project, "--type",
                   "VCD", "--size", "320x176", "--out", project},
                  120000);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.lastErrLine(), "vellumo-tool: " + texts::kOutputIsAnInput.arg(project, project));
    EXPECT_EQ(test::readFile(project), projectBytes);
}

}  // namespace
}  // namespace vellumo
