#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include "disc/disc_burner.h"
#include "disc/disc_texts.h"
#include "tests/support/test_files.h"

namespace vellumo::disc {
namespace {

QString makeIso(const test::TempFolder& temp) {
    QByteArray content;
    for (int i = 0; i < 300000; ++i) {
        content.append(static_cast<char>(i * 7 % 251));
    }
    temp.write(QStringLiteral("tree/VIDEO_TS/DATA.BIN"), content);
    const QString iso = temp.path() + QStringLiteral("disc.iso");
    QProcess genisoimage;
    genisoimage.start(QStringLiteral("genisoimage"),
                      {QStringLiteral("-quiet"), QStringLiteral("-V"), QStringLiteral("TEST"),
                       QStringLiteral("-o"), iso, temp.path() + QStringLiteral("tree")});
    return genisoimage.waitForFinished(60000) && genisoimage.exitCode() == 0 ? iso : QString();
}

TEST(DiscBurner, IsoBurntOnXorrisosFilePseudoDriveIsTheImage) {
    const test::TempFolder temp;
    const QString iso = makeIso(temp);
    ASSERT_FALSE(iso.isEmpty());
    const QString target = temp.path() + QStringLiteral("burnt.img");
    DiscBurner burner(iso, QStringLiteral("stdio:") + target);
    QList<int> percents;
    QStringList log;
    burner.onProgress = [&](const DiscProgress& p) {
        EXPECT_EQ(p.step, texts::kDiscStepBurn);
        percents.append(p.percent);
    };
    burner.onLog = [&](const QString& line) { log.append(line); };
    const DiscResult result = burner.run();
    ASSERT_TRUE(result.ok) << result.error.toStdString();
    EXPECT_EQ(log.first(),
              QStringLiteral("$ xorriso -as cdrecord -v dev=stdio:%1 blank=as_needed %2")
                  .arg(target, iso));
    EXPECT_EQ(percents.last(), 100);
    EXPECT_TRUE(std::is_sorted(percents.begin(), percents.end()));
    const QByteArray image = test::readFile(iso);
    const QByteArray burnt = test::readFile(target);
    // The drive pads the last block; what follows the image is zeros.
    ASSERT_GE(burnt.size(), image.size());
    EXPECT_TRUE(burnt.startsWith(image));
    EXPECT_EQ(burnt.mid(image.size()).count('\0'), burnt.size() - image.size());
}

TEST(DiscBurner, StopMissingImageAndMissingProgramAreTold) {
    const test::TempFolder temp;
    const QString iso = makeIso(temp);
    ASSERT_FALSE(iso.isEmpty());
    {
        DiscBurner burner(iso, QStringLiteral("stdio:") + temp.path() + QStringLiteral("x.img"));
        burner.stop();
        const DiscResult result = burner.run();
        EXPECT_TRUE(result.stopped);
        EXPECT_EQ(result.error, QString());
    }
    const QString missing = temp.path() + QStringLiteral("none.iso");
    EXPECT_EQ(DiscBurner(missing, QStringLiteral("/dev/sr0")).run().error,
              texts::kDiscBurnNoImage.arg(missing));
    EXPECT_EQ(DiscBurner(iso, QString()).run().error, texts::kDiscNoWriter);

    // A VCD image goes to cdrdao, which is named with its package when it is missing.
    const QString bin = temp.write(QStringLiteral("v.bin"), QByteArray(2352, '\0'));
    temp.write(QStringLiteral("v.cue"), "FILE \"v.bin\" BINARY\n");
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", QFile::encodeName(temp.mkdir(QStringLiteral("empty"))));
    const DiscResult result = DiscBurner(bin, QStringLiteral("/dev/sr0")).run();
    qputenv("PATH", path);
    EXPECT_EQ(result.error,
              texts::kDiscToolMissing.arg(QStringLiteral("cdrdao"), QStringLiteral("cdrdao")));
}

TEST(DiscBurner, VcdImageGoesToCdrdaoWhoseReasonIsTold) {
    const test::TempFolder temp;
    const QString bin = temp.write(QStringLiteral("v.bin"), QByteArray(2352 * 300, '\0'));
    temp.write(QStringLiteral("v.cue"),
               "FILE \"v.bin\" BINARY\n  TRACK 01 MODE2/2352\n    INDEX 01 00:00:00\n");
    DiscBurner burner(bin, temp.path() + QStringLiteral("no-such-writer"));
    QStringList log;
    burner.onLog = [&](const QString& line) { log.append(line); };
    const DiscResult result = burner.run();
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(log.value(0), QStringLiteral("$ cdrdao write --device %1 %2")
                                .arg(temp.path() + QStringLiteral("no-such-writer"),
                                     temp.path() + QStringLiteral("v.cue")));
    EXPECT_TRUE(result.error.startsWith(
        texts::kDiscToolFailed.section(u'%', 0, 1).arg(QStringLiteral("cdrdao"))));
    EXPECT_TRUE(result.error.contains(QStringLiteral("Cannot setup device")))
        << result.error.toStdString();
}

TEST(DiscBurner, WritersAreReadFromXorrisosDeviceList) {
    const QStringList lines = {
        QStringLiteral("xorriso 1.5.4 : RockRidge filesystem manipulator, libburnia project."),
        QStringLiteral("Beginning to scan for devices ..."),
        QStringLiteral("Full drive scan done."),
        QStringLiteral(
            "-----------------------------------------------------------------------------"),
        QStringLiteral("0  -dev '/dev/sr0' rwrw-- :  'HL-DT-ST' 'DVDRAM GH24NSD1'"),
        QStringLiteral("1  -dev '/dev/sr1' rwrw-- :  'ASUS    ' 'DRW-24D5MT      '"),
        QStringLiteral(
            "-----------------------------------------------------------------------------")};
    const QList<DiscWriter> writers = parseDiscWriters(lines);
    ASSERT_EQ(writers.size(), 2);
    EXPECT_EQ(writers[0].device, QStringLiteral("/dev/sr0"));
    EXPECT_EQ(writers[0].vendor, QStringLiteral("HL-DT-ST"));
    EXPECT_EQ(writers[1].model, QStringLiteral("DRW-24D5MT"));
    EXPECT_TRUE(parseDiscWriters({QStringLiteral("xorriso : SORRY : No drives found")}).isEmpty());
}

}  // namespace
}  // namespace vellumo::disc
