// vellumo-tool make-album end to end: a program folder with one template and the closing
// movie, generated photos, a generated MP3 and an LRC file, produced at a small size and read
// back with libavformat.

#include <gtest/gtest.h>

#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>

#include <cmath>

#include "media/audio_decoder.h"
#include "media/audio_encoder.h"
#include "photo/fitting_canvas.h"
#include "tests/support/media_probe.h"
#include "tests/support/test_files.h"
#include "workspace/data_paths.h"
#include "workspace/packed_file.h"
#include "workspace/text_codec.h"

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
    if (!process.waitForFinished(120000)) {
        process.kill();
        process.waitForFinished(5000);
        return run;
    }
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

// The reason a failed run gives, on the last line of the error stream.
QString lastLine(const ToolRun& run) {
    return run.err.trimmed().split(u'\n').last();
}

// A landscape template of 40 frames whose photo fills the stage.
void installProgramFolder(const test::TempFolder& folder) {
    const QByteArray parameters = toGbk(
        QStringLiteral("[1]\r\nxpkd=|0|\r\nxpgd=|0|\r\nszhz=|heng|\r\nxpjpgmc=|picture_1|\r\n"
                       "mbdx=40\r\n[l_x_q_b_x_n_w_j_s_y]\r\nl_x_q_b_x_n_w_j_s_y_m_c=满屏\r\n"));
    folder.write(paths::kParameterPackages + "1.rar", packNested(parameters, 20));
    folder.write(paths::kTemplatePackages + "1.rar",
                 packNested("vellumo-movie 1\nframes 40\n"
                            "image photo \"picture_1.jpg\"\n  box 0 0 1920 1080\n",
                            20));
    folder.write(paths::kClosingMovie,
                 packNested("vellumo-movie 1\nframes 150\n"
                            "image leadin \"../../pic/picture_0.jpg\"\n  box 0 0 1920 1080\n",
                            16));
}

QString writeTone(const QString& path, double seconds) {
    const int samples = static_cast<int>(seconds * kPcmSampleRate);
    QByteArray pcm(samples * kPcmBytesPerFrame, '\0');
    auto* out = reinterpret_cast<qint16*>(pcm.data());
    for (int i = 0; i < samples; ++i) {
        out[2 * i] = out[2 * i + 1] =
            static_cast<qint16>(8000 * std::sin(2 * M_PI * 330 * i / kPcmSampleRate));
    }
    encodeAudio(path, "mp3", AudioCodec::Mp3, 128000, pcm);
    return path;
}

int whiteInLowerBand(const QImage& picture) {
    int white = 0;
    for (int y = picture.height() * 3 / 4; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            const QRgb p = picture.pixel(x, y);
            white += qRed(p) > 190 && qGreen(p) > 190 && qBlue(p) > 190 ? 1 : 0;
        }
    }
    return white;
}

TEST(MakeAlbum, ProducesTheWholeAlbumWithMusicAndLyrics) {
    test::TempFolder temp;
    installProgramFolder(temp);
    QStringList photos;
    for (const QColor colour : {QColor(180, 30, 30), QColor(30, 30, 180)}) {
        QImage photo(480, 320, QImage::Format_RGB32);
        photo.fill(colour);
        photos << temp.path() + colour.name().mid(1) + ".jpg";
        writeJpeg(photo, photos.last());
    }
    const QString music = writeTone(temp.path() + "tone.mp3", 4.0);
    const QString lyrics =
        temp.write("tone.lrc", toGbk(QString::fromUtf16(u"[00:02.00]歌词在这里出现了\n")));
    const QString out = temp.path() + "album.mpg";

    const ToolRun run = tool(QStringList{"make-album", "--program-folder", temp.path(), "--type",
                                         "DVD", "--size", "640x368", "--quality", "standard",
                                         "--music", music, "--lyrics", lyrics, "--out", out} +
                             photos);
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.contains(out));
    EXPECT_TRUE(run.err.contains(QStringLiteral("100%"))) << run.err.toStdString();

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
    EXPECT_LT(whiteInLowerBand(facts.pictures.value(30)), 5);
    EXPECT_GT(whiteInLowerBand(facts.pictures.value(60)), 20);
}

TEST(MakeAlbum, FailsWithOneLineAndLeavesNoFile) {
    test::TempFolder temp;
    installProgramFolder(temp);
    QImage photo(480, 320, QImage::Format_RGB32);
    photo.fill(Qt::darkGreen);
    writeJpeg(photo, temp.path() + "p.jpg");

    const QString unwritable = temp.path() + "no/such/folder/album.mpg";
    ToolRun run = tool({"make-album", "--program-folder", temp.path(), "--type", "VCD", "--size",
                        "320x176", "--out", unwritable, temp.path() + "p.jpg"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(lastLine(run).startsWith("vellumo-tool: ")) << run.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(unwritable));

    run = tool({"make-album", "--program-folder", temp.path(), "--type", "DVD", "--size", "17x9",
                "--out", temp.path() + "x.mpg", temp.path() + "p.jpg"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(lastLine(run).contains("640x368")) << run.err.toStdString();
    // Sync with music without music.
    run = tool({"make-album", "--program-folder", temp.path(), "--type", "DVD", "--sync", "music",
                "--out", temp.path() + "x.mpg", temp.path() + "p.jpg"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(lastLine(run).contains(QStringLiteral("没有找到音乐文件")))
        << run.err.toStdString();
}

}  // namespace
}  // namespace vellumo
