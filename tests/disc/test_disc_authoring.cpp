#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QStandardPaths>

#include <csignal>
#include <functional>

#include <sys/resource.h>

#include "disc/disc_authoring.h"
#include "disc/disc_check.h"
#include "disc/disc_menu.h"
#include "disc/disc_texts.h"
#include "disc/disc_tool.h"
#include "tests/disc/disc_streams.h"
#include "tests/support/media_probe.h"
#include "tests/support/test_files.h"

namespace vellumo::disc {
namespace {

QImage picture(QColor colour, int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    QPainter painter(&image);
    painter.fillRect(width / 4, height / 4, width / 2, height / 2, colour.darker(200));
    return image;
}

DiscRequest dvdRequest(const test::TempFolder& temp, mcl::TvSystem tv, int chapters,
                       double seconds) {
    DiscRequest request;
    request.kind = DiscKind::Dvd;
    request.tv = tv;
    request.albumName = QStringLiteral("Trip to \u6d77\u8fb9 2026");
    request.albumSeconds = seconds;
    for (int i = 0; i < chapters; ++i) {
        request.chapterStarts.append(seconds * i / chapters);
        request.chapterPictures.append(picture(QColor::fromHsv(i * 40, 200, 220), 1024, 576));
    }
    request.menuPhotos = {picture(Qt::red, 400, 300), picture(Qt::green, 300, 400),
                          picture(Qt::blue, 400, 300)};
    request.streamFile = test::makeDiscStream(temp.path() + QStringLiteral("title.mpg"),
                                              DiscKind::Dvd, tv, seconds, request.chapterStarts);
    request.workFolder = temp.mkdir(QStringLiteral("work"));
    return request;
}

// Whether every button of a menu is reached from the first by the arrows.
bool allReachable(const QList<DvdButtonFacts>& buttons) {
    QVector<bool> seen(buttons.size(), false);
    std::function<void(int)> visit = [&](int n) {
        if (n < 1 || n > buttons.size() || seen[n - 1]) {
            return;
        }
        seen[n - 1] = true;
        const DvdButtonFacts& b = buttons[n - 1];
        for (const int next : {b.up, b.down, b.left, b.right}) {
            visit(next);
        }
    };
    visit(1);
    return !seen.contains(false);
}

QStringList entries(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

// PATH for one test, put back afterwards.
class PathFor {
public:
    explicit PathFor(const QByteArray& path) : saved_(qgetenv("PATH")) { qputenv("PATH", path); }
    ~PathFor() { qputenv("PATH", saved_); }

private:
    QByteArray saved_;
};

TEST(DiscAuthoring, PalIsoHasOneTitleChaptersMenusAndItsLabel) {
    const test::TempFolder temp;
    DiscRequest request = dvdRequest(temp, mcl::TvSystem::Pal, 8, 8.0);
    ASSERT_FALSE(request.streamFile.isEmpty());
    const QString out = temp.mkdir(QStringLiteral("out"));
    request.outPath = out + QStringLiteral("/album.iso");
    QStringList steps;
    QStringList log;
    int lastPercent = 0;
    bool ascending = true;
    DiscAuthor author(request);
    author.onProgress = [&](const DiscProgress& p) {
        if (steps.isEmpty() || steps.last() != p.step) {
            steps.append(p.step);
        }
        ascending = ascending && p.percent >= lastPercent && p.percent <= 100;
        lastPercent = p.percent;
    };
    author.onLog = [&](const QString& line) { log.append(line); };
    const DiscResult result = author.run();
    ASSERT_TRUE(result.ok) << result.error.toStdString() << log.join(u'\n').toStdString();
    EXPECT_EQ(result.outputFiles, QStringList{request.outPath});
    EXPECT_EQ(entries(out), QStringList{QStringLiteral("album.iso")});
    EXPECT_EQ(steps, (QStringList{texts::kDiscStepMenu, texts::kDiscStepAuthor,
                                  texts::kDiscStepImage, texts::kDiscStepCheck}));
    EXPECT_TRUE(ascending);
    EXPECT_EQ(lastPercent, 100);
    EXPECT_TRUE(log.filter(QStringLiteral("$ dvdauthor -x")).size() == 1);

    const DvdFacts facts = readDvd(request.outPath);
    ASSERT_TRUE(facts.opened);
    EXPECT_EQ(facts.titles, 1);
    EXPECT_EQ(facts.chapters, 8);
    ASSERT_EQ(facts.chapterStarts.size(), 8);
    for (int i = 0; i < 8; ++i) {
        // A chapter falls on the first GOP (15 frames) at or after its time.
        EXPECT_GE(facts.chapterStarts[i], request.chapterStarts[i] - 0.02) << i;
        EXPECT_LT(facts.chapterStarts[i], request.chapterStarts[i] + 0.6) << i;
    }
    EXPECT_NEAR(facts.seconds, 8.0, 1 / 25.0);
    EXPECT_EQ(facts.width, 720);
    EXPECT_EQ(facts.height, 576);
    EXPECT_TRUE(facts.pal);
    EXPECT_TRUE(facts.wide);
    EXPECT_TRUE(facts.ac3);
    EXPECT_TRUE(facts.firstPlayToMenu);

    // The opening menu and two chapter pages (six chapters, then two).
    ASSERT_EQ(facts.menus.size(), 3);
    ASSERT_EQ(facts.menus[0].size(), 2);
    EXPECT_EQ(facts.menus[0][0].right, 2);
    EXPECT_EQ(facts.menus[0][1].left, 1);
    ASSERT_EQ(facts.menus[1].size(), 8);  // six pictures, "返回", "下一页"
    EXPECT_EQ(facts.menus[1][0].right, 2);
    EXPECT_EQ(facts.menus[1][0].down, 4);
    EXPECT_EQ(facts.menus[1][4].up, 2);
    EXPECT_EQ(facts.menus[1][7].left, 7);  // "下一页" to "返回"
    ASSERT_EQ(facts.menus[2].size(), 4);   // two pictures, "上一页", "返回"
    for (const auto& menu : facts.menus) {
        EXPECT_TRUE(allReachable(menu));
    }
    EXPECT_EQ(facts.menus[1][0].area.top() % 2, 0);

    QFile iso(request.outPath);
    ASSERT_TRUE(iso.open(QIODevice::ReadOnly));
    iso.seek(16 * 2048 + 40);
    EXPECT_EQ(QString::fromLatin1(iso.read(32)).trimmed(), QStringLiteral("TRIP_TO_2026"));
}

TEST(DiscAuthoring, NtscFolderReceivesVideoTsReplacingTheOld) {
    const test::TempFolder temp;
    DiscRequest request = dvdRequest(temp, mcl::TvSystem::Ntsc, 2, 4.0);
    ASSERT_FALSE(request.streamFile.isEmpty());
    request.target = DiscTarget::Folder;
    request.outPath = temp.path() + QStringLiteral("disc");
    temp.write(QStringLiteral("disc/VIDEO_TS/OLD.IFO"), "old");
    const DiscResult result = DiscAuthor(request).run();
    ASSERT_TRUE(result.ok) << result.error.toStdString();
    EXPECT_EQ(result.outputFiles, QStringList{request.outPath + QStringLiteral("/VIDEO_TS")});
    EXPECT_EQ(entries(request.outPath), QStringList{QStringLiteral("VIDEO_TS")});
    EXPECT_FALSE(QFileInfo::exists(request.outPath + QStringLiteral("/VIDEO_TS/OLD.IFO")));
    const DvdFacts facts = readDvd(request.outPath);
    ASSERT_TRUE(facts.opened);
    EXPECT_EQ(facts.titles, 1);
    EXPECT_EQ(facts.chapters, 2);
    EXPECT_EQ(facts.width, 720);
    EXPECT_EQ(facts.height, 480);
    EXPECT_FALSE(facts.pal);
    EXPECT_TRUE(facts.wide);
    EXPECT_TRUE(facts.ac3);
    EXPECT_NEAR(facts.seconds, 4.0, 1001 / 30000.0);
    EXPECT_NEAR(facts.chapterStarts.value(1), 2.0, 18 * 1001 / 30000.0);
    EXPECT_EQ(facts.menus.size(), 2);
    // The menus' stream is flagged 4:3, the shape they are drawn in.
    const test::MediaFacts menus =
        test::probeMedia(request.outPath + QStringLiteral("/VIDEO_TS/VTS_01_0.VOB"));
    EXPECT_EQ(QSize(menus.width, menus.height), QSize(720, 480));
    EXPECT_NEAR(menus.displayAspect, 4.0 / 3, 0.01);
}

TEST(DiscAuthoring, CheckRefusesADiscThatIsNotTheAlbum) {
    const test::TempFolder temp;
    DiscRequest request = dvdRequest(temp, mcl::TvSystem::Pal, 2, 3.0);
    request.target = DiscTarget::Folder;
    request.outPath = temp.path() + QStringLiteral("disc");
    ASSERT_TRUE(DiscAuthor(request).run().ok);

    DiscRequest longer = request;
    longer.albumSeconds = 3.1;
    EXPECT_EQ(checkDvd(request.outPath, longer),
              texts::kDiscCheckFailed.arg(
                  texts::kDiscCheckLength.arg(QStringLiteral("3.00"), QStringLiteral("3.10"))));
    DiscRequest moreChapters = request;
    moreChapters.chapterStarts.append(2.5);
    EXPECT_EQ(checkDvd(request.outPath, moreChapters),
              texts::kDiscCheckFailed.arg(texts::kDiscCheckChapters.arg(3).arg(2)));
    DiscRequest ntsc = request;
    ntsc.tv = mcl::TvSystem::Ntsc;
    EXPECT_EQ(checkDvd(request.outPath, ntsc),
              texts::kDiscCheckFailed.arg(texts::kDiscCheckVideo.arg(
                  QStringLiteral("720 × 576 PAL"), QStringLiteral("720 × 480 NTSC"))));
    EXPECT_EQ(checkDvd(temp.path() + QStringLiteral("nothing"), request),
              texts::kDiscCheckFailed.arg(
                  texts::kDiscCheckCannotRead.arg(temp.path() + QStringLiteral("nothing"))));

    // A 4:3 stream is refused, with dvdauthor's reason.
    DiscRequest narrow = request;
    narrow.streamFile = temp.path() + QStringLiteral("narrow.mpg");
    QProcess ffmpeg;
    ffmpeg.start(QStringLiteral("ffmpeg"),
                 {QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-i"),
                  request.streamFile, QStringLiteral("-c:a"), QStringLiteral("copy"),
                  QStringLiteral("-target"), QStringLiteral("pal-dvd"), QStringLiteral("-aspect"),
                  QStringLiteral("4:3"), narrow.streamFile});
    ASSERT_TRUE(ffmpeg.waitForFinished(60000));
    narrow.outPath = temp.path() + QStringLiteral("narrow.iso");
    const DiscResult result = DiscAuthor(narrow).run();
    EXPECT_FALSE(result.ok);
    EXPECT_TRUE(result.error.startsWith(
        texts::kDiscToolFailed.arg(QStringLiteral("dvdauthor"), QStringLiteral("1"), QString())));
    EXPECT_TRUE(result.error.contains(QStringLiteral("4:3 source material")));
    EXPECT_FALSE(QFileInfo::exists(narrow.outPath));
    EXPECT_EQ(entries(temp.path()).filter(QStringLiteral("vellumo-part")), QStringList());
}

TEST(DiscAuthoring, VcdAndSvcdImagesAreBinCueThatVcdInfoReads) {
    for (const DiscKind kind : {DiscKind::Vcd, DiscKind::Svcd}) {
        const test::TempFolder temp;
        DiscRequest request;
        request.kind = kind;
        request.streamFile = test::makeDiscStream(temp.path() + QStringLiteral("v.mpg"), kind,
                                                  mcl::TvSystem::Pal, 3.0);
        ASSERT_FALSE(request.streamFile.isEmpty());
        request.chapterStarts = {0};
        request.albumSeconds = 3;
        request.outPath = temp.mkdir(QStringLiteral("out")) + QStringLiteral("/album.mpg");
        request.workFolder = temp.mkdir(QStringLiteral("work"));
        const DiscResult result = DiscAuthor(request).run();
        ASSERT_TRUE(result.ok) << result.error.toStdString();
        const QString bin = temp.path() + QStringLiteral("out/album.bin");
        const QString cue = temp.path() + QStringLiteral("out/album.cue");
        EXPECT_EQ(result.outputFiles, (QStringList{bin, cue}));
        EXPECT_EQ(entries(temp.path() + QStringLiteral("out")),
                  (QStringList{QStringLiteral("album.bin"), QStringLiteral("album.cue")}));
        EXPECT_EQ(QFileInfo(bin).size() % 2352, 0);
        EXPECT_EQ(checkVcdImage(bin, cue), QString());

        QProcess info;
        info.setWorkingDirectory(temp.path() + QStringLiteral("out"));
        info.setProcessChannelMode(QProcess::MergedChannels);
        info.start(QStringLiteral("vcd-info"), {QStringLiteral("--cue-file"), cue});
        ASSERT_TRUE(info.waitForFinished(60000));
        const QString text = QString::fromLocal8Bit(info.readAll());
        EXPECT_EQ(info.exitCode(), 0) << text.toStdString();
        EXPECT_TRUE(text.contains(kind == DiscKind::Svcd ? QStringLiteral("SVCD detected")
                                                         : QStringLiteral("VCD 2.0 detected")))
            << text.toStdString();

        // The cue sheet is one the burning program reads.
        QProcess cdrdao;
        cdrdao.setWorkingDirectory(temp.path() + QStringLiteral("out"));
        cdrdao.setProcessChannelMode(QProcess::MergedChannels);
        cdrdao.start(QStringLiteral("cdrdao"), {QStringLiteral("show-toc"), cue});
        ASSERT_TRUE(cdrdao.waitForFinished(60000));
        EXPECT_EQ(cdrdao.exitCode(), 0) << cdrdao.readAll().toStdString();

        // A damaged image is refused.
        QFile::resize(bin, QFileInfo(bin).size() - 100);
        EXPECT_EQ(checkVcdImage(bin, cue),
                  texts::kDiscCheckFailed.arg(
                      texts::kDiscCheckSectors.arg(bin).arg(QFileInfo(bin).size())));
    }
}

TEST(DiscAuthoring, RequestsThatCannotMakeADiscAreRefusedAtOnce) {
    const test::TempFolder temp;
    DiscRequest request;
    request.streamFile = temp.write(QStringLiteral("title.mpg"), "not really");
    request.outPath = temp.path() + QStringLiteral("album.iso");
    request.chapterStarts = {0, 5, 5};
    EXPECT_EQ(DiscAuthor(request).run().error, texts::kDiscChaptersOutOfOrder);
    request.chapterStarts = {1, 5};
    EXPECT_EQ(DiscAuthor(request).run().error, texts::kDiscNoChapters);
    request.chapterStarts = {0};
    request.kind = DiscKind::Vcd;
    request.target = DiscTarget::Folder;
    EXPECT_EQ(DiscAuthor(request).run().error, texts::kDiscFolderOnlyDvd);
    request.streamFile = temp.path() + QStringLiteral("none.mpg");
    EXPECT_EQ(DiscAuthor(request).run().error, texts::kDiscNoStream.arg(request.streamFile));
    EXPECT_EQ(entries(temp.path()), QStringList{QStringLiteral("title.mpg")});
}

TEST(DiscAuthoring, MissingToolIsNamedWithItsPackageAndNothingIsWritten) {
    const test::TempFolder temp;
    DiscRequest request = dvdRequest(temp, mcl::TvSystem::Pal, 1, 1.0);
    request.outPath = temp.path() + QStringLiteral("album.iso");
    const QString bin = temp.mkdir(QStringLiteral("bin"));
    for (const char* tool : {"dvdauthor", "genisoimage"}) {
        QFile::link(QStandardPaths::findExecutable(QString::fromLatin1(tool)),
                    bin + QLatin1Char('/') + QString::fromLatin1(tool));
    }
    {
        const PathFor path(QFile::encodeName(bin));
        EXPECT_EQ(
            missingDiscTool(DiscKind::Dvd),
            texts::kDiscToolMissing.arg(QStringLiteral("spumux"), QStringLiteral("dvdauthor")));
        EXPECT_EQ(
            missingDiscTool(DiscKind::Vcd),
            texts::kDiscToolMissing.arg(QStringLiteral("vcdimager"), QStringLiteral("vcdimager")));
        const DiscResult result = DiscAuthor(request).run();
        EXPECT_FALSE(result.ok);
        EXPECT_EQ(result.error, missingDiscTool(DiscKind::Dvd));
        EXPECT_FALSE(QFileInfo::exists(request.outPath));
    }
    EXPECT_EQ(missingDiscTool(DiscKind::Dvd), QString());
    EXPECT_EQ(missingDiscTool(DiscKind::Svcd), QString());
}

// The file size limit stands in for a full disk: every write past it fails with EFBIG.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &saved_);
        previous_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = saved_;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, previous_);
    }

private:
    rlimit saved_{};
    void (*previous_)(int) = nullptr;
};

TEST(DiscAuthoring, FullDiskFailsWithTheToolsReasonAndLeavesNoImage) {
    const test::TempFolder temp;
    DiscRequest vcd;
    vcd.kind = DiscKind::Vcd;
    vcd.streamFile = test::makeDiscStream(temp.path() + QStringLiteral("v.mpg"), DiscKind::Vcd,
                                          mcl::TvSystem::Pal, 4.0);
    ASSERT_FALSE(vcd.streamFile.isEmpty());
    vcd.chapterStarts = {0};
    vcd.outPath = temp.mkdir(QStringLiteral("out")) + QStringLiteral("/album");
    vcd.workFolder = temp.mkdir(QStringLiteral("work"));
    // The menus fit, the title's copy does not.
    DiscRequest dvd = dvdRequest(temp, mcl::TvSystem::Pal, 2, 12.0);
    dvd.outPath = temp.path() + QStringLiteral("out/album.iso");
    ASSERT_GT(QFileInfo(dvd.streamFile).size(), 4'000'000);
    DiscResult vcdResult;
    DiscResult dvdResult;
    {
        const FileSizeLimit limit(QFileInfo(vcd.streamFile).size() / 2);
        vcdResult = DiscAuthor(vcd).run();
    }
    {
        const FileSizeLimit limit(3'000'000);
        dvdResult = DiscAuthor(dvd).run();
    }
    for (const auto& [result, tool] : {std::pair{vcdResult, QStringLiteral("vcdimager")},
                                       std::pair{dvdResult, QStringLiteral("dvdauthor")}}) {
        EXPECT_FALSE(result.ok);
        EXPECT_FALSE(result.stopped);
        EXPECT_TRUE(result.error.startsWith(texts::kDiscToolFailed.section(u'%', 0, 1).arg(tool)))
            << result.error.toStdString();
        EXPECT_TRUE(result.error.endsWith(texts::kDiscDiskFull)) << result.error.toStdString();
    }
    EXPECT_EQ(entries(temp.path() + QStringLiteral("out")), QStringList());
}

TEST(DiscAuthoring, StopWhileAToolRunsKillsItAndLeavesNoImage) {
    const test::TempFolder temp;
    DiscRequest request = dvdRequest(temp, mcl::TvSystem::Pal, 2, 2.0);
    request.outPath = temp.mkdir(QStringLiteral("out")) + QStringLiteral("/album.iso");
    // An image writer that never finishes by itself.
    const QString bin = temp.mkdir(QStringLiteral("bin"));
    temp.write(QStringLiteral("bin/genisoimage"), "#!/bin/sh\nexec sleep 600\n");
    QFile::setPermissions(bin + QStringLiteral("/genisoimage"), QFile::ReadOwner | QFile::ExeOwner);
    const PathFor path(QFile::encodeName(bin) + ':' + qgetenv("PATH"));
    DiscAuthor author(request);
    int ticks = 0;
    author.onProgress = [&](const DiscProgress& p) {
        if (p.step == texts::kDiscStepImage && ++ticks == 10) {
            author.stop();
        }
    };
    const DiscResult result = author.run();
    EXPECT_FALSE(result.ok);
    EXPECT_TRUE(result.stopped);
    EXPECT_EQ(result.error, QString());
    EXPECT_EQ(result.outputFiles, QStringList());
    EXPECT_GE(ticks, 10);
    EXPECT_EQ(entries(temp.path() + QStringLiteral("out")), QStringList());

    // A stop while the menus are encoded.
    DiscAuthor early(request);
    early.onProgress = [&](const DiscProgress& p) {
        if (p.step == texts::kDiscStepMenu && p.percent > 0) {
            early.stop();
        }
    };
    const DiscResult stopped = early.run();
    EXPECT_TRUE(stopped.stopped);
    EXPECT_EQ(stopped.error, QString());
    EXPECT_EQ(entries(temp.path() + QStringLiteral("out")), QStringList());
    EXPECT_EQ(entries(request.workFolder), QStringList());
}

TEST(DiscTool, FailureCarriesTheLastLinesAndLogsEveryLine) {
    const std::atomic<bool> stop{false};
    QStringList log;
    const ToolRunner runner(stop, [&](const QString& line) { log.append(line); }, {});
    QStringList script;
    for (int i = 1; i <= 10; ++i) {
        script.append(QStringLiteral("echo line%1").arg(i));
    }
    script.append(QStringLiteral("echo 'to error' >&2; exit 3"));
    const ToolOutcome outcome =
        runner.run(QStringLiteral("sh"), {QStringLiteral("-c"), script.join(u';')});
    EXPECT_FALSE(outcome.ok);
    QStringList last;
    for (int i = 4; i <= 10; ++i) {
        last.append(QStringLiteral("line%1").arg(i));
    }
    last.append(QStringLiteral("to error"));
    EXPECT_EQ(outcome.lastLines, last);
    EXPECT_EQ(outcome.error, texts::kDiscToolFailed.arg(QStringLiteral("sh"), QStringLiteral("3"),
                                                        last.join(u'\n')));
    EXPECT_EQ(log.size(), 12);  // the command and its eleven lines
    EXPECT_TRUE(log.first().startsWith(QStringLiteral("$ sh -c")));
    EXPECT_EQ(debianPackageOf(QStringLiteral("spumux")), QStringLiteral("dvdauthor"));
}

}  // namespace
}  // namespace vellumo::disc
