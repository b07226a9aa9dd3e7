#include "tests/support/production_album.h"

#include <algorithm>

#include "media/audio_decoder.h"
#include "media/mcl.h"
#include "tests/support/album_builders.h"
#include "tests/support/media_probe.h"
#include "tests/support/photo_files.h"
#include "workspace/data_paths.h"
#include "workspace/packed_file.h"
#include "workspace/program_folder.h"
#include "workspace/text_codec.h"

namespace vellumo::test {

namespace {

QByteArray templateMovie(int frames) {
    return QStringLiteral(
               "vellumo-movie 1\nframes %1\n"
               "image photo \"picture_1.jpg\"\n  box 0 0 1920 1080\n")
        .arg(frames)
        .toUtf8();
}

// The closing movie shows the lead-in picture.
const QByteArray kClosingMovie =
    "vellumo-movie 1\nframes 150\nimage leadin \"../../pic/picture_0.jpg\"\n  box 0 0 1920 1080\n";

}  // namespace

ProductionAlbum::ProductionAlbum(const QVector<int>& templateFrames,
                                 const QVector<QColor>& colours) {
    setProgramFolder(folder_.path());
    silenceFfmpegLog();
    folder_.write(paths::kClosingMovie, packNested(kClosingMovie, 16));
    QVector<CatalogueRecord> records;
    for (int k = 0; k < templateFrames.size(); ++k) {
        const int frames = templateFrames[k];
        const QString file = QStringLiteral("packages/%1_%2.rar").arg(k).arg(frames);
        folder_.write(file, packNested(templateMovie(frames), 20));
        CatalogueRecord r = templateRecord(QString::number(k), "|picture_1|", "|heng|");
        r.packagePath = folder_.path() + file;
        r.frames = frames;
        records.append(r);
    }
    catalogue_.setRecords(records);
    for (int k = 0; k < templateFrames.size(); ++k) {
        album_.addPhoto(*measurePhoto(
            writeSolidPhoto(folder_.path() + QStringLiteral("photo%1.jpg").arg(k), {400, 300},
                            colours.value(k % std::max<qsizetype>(colours.size(), 1), Qt::gray))));
        album_.addTemplate(entryOf(catalogue_, k, TemplateClass::LandscapeSingle));
        album_.placePhoto(k, k, 0);
    }
    album_.refreshDefaultBackgrounds();
    OutputOptions options = album_.outputOptions();
    options.beginProduction(AlbumType::Dvd);
    options.chooseSize(0);  // 320 × 176
    options.quality = PictureQuality::Standard;
    album_.setOutputOptions(options);
    player_.setSoundOutput(false);
}

ProductionAlbum::~ProductionAlbum() {
    setProgramFolder(QString());
}

void ProductionAlbum::addMusic(double seconds, const QString& lyricLine) {
    album_.addMusic(writeToneMp3(folder_.path() + "tone.mp3", seconds), player_);
    if (!lyricLine.isEmpty()) {
        album_.addLyrics(
            folder_.write("tone.lrc", toGbk(QStringLiteral("[00:01.00]") + lyricLine + u'\n')));
        LyricSettings big;
        big.size = 40;
        album_.setLyricSettings(0, big);
    }
}

}  // namespace vellumo::test
