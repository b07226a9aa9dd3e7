#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <sys/stat.h>

#include "album/output_formats.h"
#include "media/music_player.h"
#include "project/project_file.h"
#include "project/project_texts.h"
#include "tests/album/silent_wav.h"
#include "tests/support/album_builders.h"
#include "tests/support/photo_files.h"
#include "tests/support/test_files.h"
#include "tests/support/tool_runner.h"
#include "workspace/data_paths.h"
#include "workspace/errors.h"
#include "workspace/packed_file.h"
#include "workspace/text_codec.h"

namespace vellumo {
namespace {

// Fields compared one by one, so that a failure names the field.
void expectSameAlbum(const Album& a, const Album& b) {
    ASSERT_EQ(a.photos().size(), b.photos().size());
    for (int i = 0; i < a.photos().size(); ++i) {
        const PhotoRecord& x = a.photos().at(i);
        const PhotoRecord& y = b.photos().at(i);
        EXPECT_EQ(x.name, y.name);
        EXPECT_EQ(x.format, y.format);
        EXPECT_EQ(x.width, y.width);
        EXPECT_EQ(x.height, y.height);
        EXPECT_EQ(x.location, y.location);
        EXPECT_EQ(x.inTemplate, y.inTemplate);
    }
    ASSERT_EQ(a.templates().size(), b.templates().size());
    for (int t = 0; t < a.templates().size(); ++t) {
        const UsedTemplate& x = a.templates().at(t);
        const UsedTemplate& y = b.templates().at(t);
        EXPECT_EQ(x.complete, y.complete);
        EXPECT_EQ(x.info->catalogueIndex, y.info->catalogueIndex);
        EXPECT_EQ(x.info->name, y.info->name);
        EXPECT_EQ(x.info->kind, y.info->kind);
        EXPECT_EQ(x.info->templateClass, y.info->templateClass);
        EXPECT_EQ(x.info->duration, y.info->duration);
    }
    ASSERT_EQ(a.templates().slotTable().size(), b.templates().slotTable().size());
    for (int r = 0; r < a.templates().slotTable().size(); ++r) {
        const PhotoSlot& x = a.templates().slot(r);
        const PhotoSlot& y = b.templates().slot(r);
        SCOPED_TRACE(r);
        EXPECT_EQ(x.templateRow, y.templateRow);
        EXPECT_EQ(x.orientation, y.orientation);
        EXPECT_EQ(x.pictureName, y.pictureName);
        EXPECT_EQ(x.slotIndex, y.slotIndex);
        EXPECT_EQ(x.matched, y.matched);
        EXPECT_EQ(x.photoRow, y.photoRow);
        EXPECT_EQ(x.photoPath, y.photoPath);
        EXPECT_EQ(x.mobanchicun_width, y.mobanchicun_width);
        EXPECT_EQ(x.mobanchicun_height, y.mobanchicun_height);
        EXPECT_EQ(x.fullScreen, y.fullScreen);
        EXPECT_EQ(x.cropMark, y.cropMark);
        EXPECT_EQ(x.medium, y.medium);
    }
    ASSERT_EQ(a.backgrounds().rows().size(), b.backgrounds().rows().size());
    for (int t = 0; t < a.backgrounds().rows().size(); ++t) {
        const BackgroundRow& x = a.backgrounds().row(t);
        const BackgroundRow& y = b.backgrounds().row(t);
        EXPECT_EQ(x.pictureName, y.pictureName);
        EXPECT_EQ(x.format, y.format);
        EXPECT_EQ(x.width, y.width);
        EXPECT_EQ(x.height, y.height);
        EXPECT_EQ(x.location, y.location);
    }
    ASSERT_EQ(a.backgrounds().landscapeList().size(), b.backgrounds().landscapeList().size());
    for (int i = 0; i < a.backgrounds().landscapeList().size(); ++i) {
        EXPECT_EQ(a.backgrounds().landscapeList()[i].photoRow,
                  b.backgrounds().landscapeList()[i].photoRow);
        EXPECT_EQ(a.backgrounds().landscapeList()[i].photo.location,
                  b.backgrounds().landscapeList()[i].photo.location);
    }
    ASSERT_EQ(a.music().size(), b.music().size());
    for (int i = 0; i < a.music().size(); ++i) {
        EXPECT_EQ(a.music().at(i).name, b.music().at(i).name);
        EXPECT_EQ(a.music().at(i).format, b.music().at(i).format);
        EXPECT_EQ(a.music().at(i).duration, b.music().at(i).duration);
        EXPECT_EQ(a.music().at(i).location, b.music().at(i).location);
    }
    ASSERT_EQ(a.lyrics().size(), b.lyrics().size());
    for (int i = 0; i < a.lyrics().size(); ++i) {
        EXPECT_EQ(a.lyrics().at(i).name, b.lyrics().at(i).name);
        EXPECT_EQ(a.lyrics().at(i).format, b.lyrics().at(i).format);
        EXPECT_EQ(a.lyrics().at(i).location, b.lyrics().at(i).location);
        EXPECT_EQ(a.lyrics().at(i).settings, b.lyrics().at(i).settings);
    }
    const OutputOptions& x = a.outputOptions();
    const OutputOptions& y = b.outputOptions();
    EXPECT_EQ(x.albumType, y.albumType);
    EXPECT_EQ(x.sizeIndex, y.sizeIndex);
    EXPECT_EQ(x.outputSize, y.outputSize);
    EXPECT_EQ(x.albumName, y.albumName);
    EXPECT_EQ(x.saveFolder, y.saveFolder);
    EXPECT_EQ(x.tvSystem, y.tvSystem);
    EXPECT_EQ(x.quality, y.quality);
    EXPECT_EQ(x.sync, y.sync);
    EXPECT_EQ(x.target, y.target);
    EXPECT_EQ(x.coding, y.coding);
    EXPECT_EQ(a.placementMode(), b.placementMode());
    EXPECT_EQ(a.wrapCursors().landscape, b.wrapCursors().landscape);
    EXPECT_EQ(a.wrapCursors().portrait, b.wrapCursors().portrait);
}

const CatalogueEntry& entryNamed(const Catalogue& catalogue, const QString& name) {
    for (const CatalogueEntry& e : catalogue.entries()) {
        if (e.name == name) {
            return e;
        }
    }
    throw std::logic_error("no such template");
}

class ProjectFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        catalogue_.setRecords({test::templateRecord("A", "|picture_1|", "|heng|", "|640|", "|360|"),
                               test::templateRecord("B", "|picture_1|picture_2|", "|heng|shu|"),
                               test::templateRecord("P", "|picture_1|", "|shu|")});
        player_.setSoundOutput(false);
    }

    QString photo(const QString& name, QSize size) {
        return test::writePhoto(folder_.path() + QStringLiteral("photos/") + name, size);
    }

    // Photos, three templates with every slot kind, crop edits, a chosen background, music,
    // lyrics with their own settings, output options and placement state.
    void buildAlbum(Album& album) {
        QDir().mkpath(folder_.path() + QStringLiteral("photos"));
        for (const QString& path :
             {photo("海边.jpg", {800, 600}), photo("山.jpg", {640, 480}),
              photo("人像.jpg", {600, 800}), photo("square.JPG", {500, 500})}) {
            album.addPhoto(*measurePhoto(path));
        }
        album.refreshDefaultBackgrounds();
        const UsedTemplates& templates = album.templates();
        album.addTemplate(entryNamed(catalogue_, "A"));
        album.addTemplate(entryNamed(catalogue_, "B"));
        album.addTemplate(entryNamed(catalogue_, "P"));
        ASSERT_EQ(album.placePhoto(0, 0, 0), PlaceResult::Placed);
        ASSERT_EQ(album.placePhoto(1, 1, 0), PlaceResult::Placed);
        ASSERT_EQ(album.placePhoto(2, 1, 1), PlaceResult::Placed);
        album.updateMatch(0);
        album.updateMatch(1);
        album.setPlacements(templates.slotRow(1, 0), {-10, -20, 1940, 1120}, {5, 6, 700, 500},
                            CropMark::Medium);
        album.setBackground(2, backgroundFromPhoto(album.photos().at(3)));

        ASSERT_TRUE(
            album.addMusic(test::writeSilentWav(folder_, "music/歌.wav", 3.5), player_).isEmpty());
        album.addLyrics(folder_.write("lyrics/歌.lrc", "[00:01.00]你好\n"));
        LyricSettings settings;
        settings.position = LyricPosition::Custom;
        settings.customLeft = 12;
        settings.customTop = 200;
        settings.font = QStringLiteral("宋体");
        settings.style = LyricStyle::Italic;
        settings.size = 24;
        settings.customCentred = true;
        settings.colourName = QStringLiteral("clRed");
        settings.colourNumber = 255;
        settings.script = LyricScript::Traditional;
        album.setLyricSettings(0, settings);

        OutputOptions out = album.outputOptions();
        out.beginProduction(AlbumType::Dvd);
        out.chooseSize(2);
        out.albumName = QStringLiteral("夏天");
        out.saveFolder = folder_.path() + QStringLiteral("out/");
        out.tvSystem = TvSystem::Ntsc;
        out.quality = PictureQuality::Standard;
        out.sync = SyncMode::WithMusic;
        album.setOutputOptions(out);
        album.setPlacementMode(PlacementMode::Combined);
        album.setWrapCursors(WrapCursors{1, 0});
    }

    QString save(const Album& album, const QString& name = QStringLiteral("album.vellumo")) {
        const QString path = folder_.path() + name;
        saveProject(album, settings_, path);
        return path;
    }

    test::TempFolder folder_;
    Catalogue catalogue_;
    MusicPlayer player_;
    // Each setting away from its default, and the two fits apart, so that a setting read from
    // another's key shows.
    ProjectSettings settings_{PhotoFit::Medium, PhotoFit::FullScreen, TemplateCombination::Use};
};

TEST_F(ProjectFileTest, SaveAndOpenGiveTheSameAlbumInEveryField) {
    Album album(catalogue_);
    buildAlbum(album);
    ASSERT_TRUE(album.templates().invariantViolations().isEmpty());
    const QString path = save(album);

    const ProjectLoad load = readProject(path, catalogue_);
    EXPECT_TRUE(load.report().isEmpty()) << load.report().toStdString();
    EXPECT_EQ(load.settings, settings_);
    Album opened(catalogue_);
    opened.restore(load.album);
    expectSameAlbum(album, opened);
    EXPECT_TRUE(opened.templates().invariantViolations().isEmpty());
    // A template and its slots share one record, as when they were added.
    EXPECT_TRUE(opened.templates().slot(1).info.sameRecord(opened.templates().at(1).info));
    // Saving the opened album again gives the same text.
    EXPECT_EQ(projectBytes(opened, load.settings, path), test::readFile(path));
}

TEST_F(ProjectFileTest, EveryAlbumTypeIsStoredUnderItsProjectWordAndReadBack) {
    for (const OutputFormat& format : outputFormats()) {
        SCOPED_TRACE(format.projectWord.toStdString());
        Album album(catalogue_);
        test::changeOptions(album,
                            [&](OutputOptions& options) { options.beginProduction(format.type); });
        const QString path = save(album);
        const QJsonObject output =
            QJsonDocument::fromJson(test::readFile(path)).object().value("output").toObject();
        EXPECT_EQ(output.value("type").toString(), format.projectWord);
        Album opened(catalogue_);
        opened.restore(readProject(path, catalogue_).album);
        EXPECT_EQ(opened.outputOptions().albumType, format.type);
    }
}

TEST_F(ProjectFileTest, TheDiscImageChoiceIsRememberedAndOldProjectsMakeAFile) {
    Album album(catalogue_);
    buildAlbum(album);
    OutputOptions out = album.outputOptions();
    out.beginProduction(AlbumType::Dvd);
    ASSERT_TRUE(out.chooseDiscImage());
    album.setOutputOptions(out);
    const QString path = save(album);
    QJsonObject root = QJsonDocument::fromJson(test::readFile(path)).object();
    QJsonObject output = root.value("output").toObject();
    EXPECT_EQ(output.value("target").toString(), "disc-image");
    Album opened(catalogue_);
    opened.restore(readProject(path, catalogue_).album);
    expectSameAlbum(album, opened);
    EXPECT_TRUE(opened.outputOptions().isDiscImage());
    EXPECT_EQ(opened.outputOptions().outputSize, QSize(720, 480));  // NTSC
    // The next production of a disc type keeps the choice; of a file type it makes a file.
    OutputOptions next = opened.outputOptions();
    next.beginProduction(AlbumType::Vcd);
    EXPECT_TRUE(next.isDiscImage());
    EXPECT_EQ(next.outputSize, QSize(352, 240));
    next.beginProduction(AlbumType::Mp4);
    EXPECT_EQ(next.target, OutputTarget::File);
    EXPECT_EQ(next.outputSize, QSize(1280, 720));

    // A project without the key (all projects before discs, and every file album since) makes a
    // file, and a file album writes no key.
    output.remove("target");
    output.insert("width", 1280);
    output.insert("height", 720);
    root.insert("output", output);
    const QString old = folder_.write("old.vellumo", QJsonDocument(root).toJson());
    Album older(catalogue_);
    older.restore(readProject(old, catalogue_).album);
    EXPECT_EQ(older.outputOptions().target, OutputTarget::File);
    EXPECT_EQ(older.outputOptions().outputFile(), older.outputOptions().saveFolder + "夏天.mpg");
    const QString resaved = save(older, QStringLiteral("resaved.vellumo"));
    EXPECT_FALSE(QJsonDocument::fromJson(test::readFile(resaved))
                     .object()
                     .value("output")
                     .toObject()
                     .contains("target"));

    // A disc image of a type that cannot be one, at a size no standard has, or an unknown
    // target: the project is damaged.
    const auto opens = [&](const QString& type, int width, const QJsonValue& target) {
        QJsonObject changed = output;
        changed.insert("type", type);
        changed.insert("width", width);
        changed.insert("height", 576);
        changed.insert("target", target);
        root.insert("output", changed);
        const QString file = folder_.write("edited.vellumo", QJsonDocument(root).toJson());
        try {
            readProject(file, catalogue_);
        } catch (const Error&) {
            return false;
        }
        return true;
    };
    EXPECT_TRUE(opens("DVD", 720, "disc-image"));
    EXPECT_FALSE(opens("AVI", 720, "disc-image"));
    EXPECT_FALSE(opens("DVD", 1024, "disc-image"));
    EXPECT_FALSE(opens("DVD", 720, "floppy"));
    EXPECT_FALSE(opens("DVD", 720, 1));
}

TEST_F(ProjectFileTest, AnH265Mp4At4kIsRememberedAndOlderProjectsKeepH264) {
    Album album(catalogue_);
    buildAlbum(album);
    OutputOptions out = album.outputOptions();
    out.beginProduction(AlbumType::Mp4);
    out.chooseSize(9);
    out.coding = VideoCoding::H265;
    album.setOutputOptions(out);
    const QString path = save(album);
    QJsonObject root = QJsonDocument::fromJson(test::readFile(path)).object();
    QJsonObject output = root.value("output").toObject();
    EXPECT_EQ(output.value("coding").toString(), "h265");
    Album opened(catalogue_);
    opened.restore(readProject(path, catalogue_).album);
    expectSameAlbum(album, opened);
    EXPECT_TRUE(opened.outputOptions().isH265());
    EXPECT_EQ(opened.outputOptions().outputSize, QSize(3840, 2160));

    // Without the key the video is H.264, and H.264 writes no key; an unknown word is damage.
    output.remove("coding");
    root.insert("output", output);
    Album older(catalogue_);
    older.restore(
        readProject(folder_.write("old.vellumo", QJsonDocument(root).toJson()), catalogue_).album);
    EXPECT_EQ(older.outputOptions().coding, VideoCoding::H264);
    EXPECT_FALSE(QJsonDocument::fromJson(test::readFile(save(older, "resaved.vellumo")))
                     .object()
                     .value("output")
                     .toObject()
                     .contains("coding"));
    output.insert("coding", "h266");
    root.insert("output", output);
    EXPECT_THROW(
        readProject(folder_.write("bad.vellumo", QJsonDocument(root).toJson()), catalogue_), Error);
}

TEST_F(ProjectFileTest, KaraokeLevellingAndCrossfadeAreKeptAndOldProjectsOpenUnchanged) {
    Album album(catalogue_);
    buildAlbum(album);
    ASSERT_TRUE(album.music().at(0).loudness.has_value());  // measured when it was added
    LyricSettings lyric = album.lyrics().at(0).settings;
    lyric.karaoke = true;
    lyric.sungColourName = QStringLiteral("clRed");
    lyric.sungColourNumber = 0xFF;
    lyric.asSubtitles = true;
    album.setLyricSettings(0, lyric);
    OutputOptions out = album.outputOptions();
    out.levelMusic = false;
    out.crossfadeSongs = true;
    album.setOutputOptions(out);
    const QString path = save(album);
    Album opened(catalogue_);
    opened.restore(readProject(path, catalogue_).album);
    EXPECT_EQ(opened.music().at(0).loudness, album.music().at(0).loudness);
    EXPECT_EQ(opened.lyrics().at(0).settings, lyric);
    EXPECT_FALSE(opened.outputOptions().levelMusic);
    EXPECT_TRUE(opened.outputOptions().crossfadeSongs);

    // Older projects: no measurement, no karaoke, levelled music joined plainly.
    QJsonObject root = QJsonDocument::fromJson(test::readFile(path)).object();
    QJsonArray music = root.value("music").toArray();
    QJsonObject song = music[0].toObject();
    song.remove("loudness");
    music[0] = song;
    root.insert("music", music);
    QJsonArray lyrics = root.value("lyrics").toArray();
    QJsonObject lyricFile = lyrics[0].toObject();
    QJsonObject settings = lyricFile.value("settings").toObject();
    for (const char* key : {"karaoke", "sungColourName", "sungColourNumber", "subtitles"}) {
        settings.remove(key);
    }
    lyricFile.insert("settings", settings);
    lyrics[0] = lyricFile;
    root.insert("lyrics", lyrics);
    QJsonObject output = root.value("output").toObject();
    output.remove("levelMusic");
    output.remove("crossfadeSongs");
    root.insert("output", output);
    Album older(catalogue_);
    older.restore(
        readProject(folder_.write("old.vellumo", QJsonDocument(root).toJson()), catalogue_).album);
    EXPECT_FALSE(older.music().at(0).loudness.has_value());
    EXPECT_FALSE(older.lyrics().at(0).settings.karaoke);
    EXPECT_FALSE(older.lyrics().at(0).settings.asSubtitles);
    EXPECT_EQ(older.lyrics().at(0).settings.sungColourName, LyricSettings().sungColourName);
    EXPECT_TRUE(older.outputOptions().levelMusic);
    EXPECT_FALSE(older.outputOptions().crossfadeSongs);

    // A measurement that is no number is damage, as in any other field.
    song.insert("loudness", QJsonObject{{"integrated", "loud"}, {"truePeak", -1.0}});
    music[0] = song;
    root.insert("music", music);
    EXPECT_THROW(
        readProject(folder_.write("bad.vellumo", QJsonDocument(root).toJson()), catalogue_), Error);
}

TEST_F(ProjectFileTest, AProjectMovedWithItsFilesOpensFromItsNewFolder) {
    Album album(catalogue_);
    buildAlbum(album);
    save(album);
    // The whole folder moves; the old one is gone.
    test::TempFolder target;
    const QString moved = target.path() + QStringLiteral("moved");
    ASSERT_TRUE(QDir().rename(folder_.path(), moved));

    const ProjectLoad load = readProject(moved + QStringLiteral("/album.vellumo"), catalogue_);
    ASSERT_TRUE(QDir().rename(moved, folder_.path()));
    EXPECT_TRUE(load.report().isEmpty()) << load.report().toStdString();
    ASSERT_EQ(load.album.photos.size(), 4);
    EXPECT_EQ(load.album.photos.at(0).location, moved + QStringLiteral("/photos/海边.jpg"));
    EXPECT_EQ(load.album.slotTable.at(0).photoPath, load.album.photos.at(0).location);
    EXPECT_EQ(load.album.music.at(0).location, moved + QStringLiteral("/music/歌.wav"));
    EXPECT_EQ(load.album.lyrics.at(0).location, moved + QStringLiteral("/lyrics/歌.lrc"));
    EXPECT_EQ(load.album.backgroundRows.at(2).location,
              moved + QStringLiteral("/photos/square.JPG"));
}

TEST_F(ProjectFileTest, GoneFilesStayInTheAlbumUntilTheyAreBack) {
    Album album(catalogue_);
    buildAlbum(album);
    const QString path = save(album);
    const QJsonObject saved = QJsonDocument::fromJson(test::readFile(path)).object();
    // "山" (in template B's landscape slot, with a crop of its own) is on a drive not mounted;
    // "人像" (B's portrait slot) now stands as landscape; the lyric file is gone.
    const QString mountain = folder_.path() + QStringLiteral("photos/山.jpg");
    const QString portrait = folder_.path() + QStringLiteral("photos/人像.jpg");
    const QString lyric = folder_.path() + QStringLiteral("lyrics/歌.lrc");
    QFile::remove(mountain);
    photo("人像.jpg", {1000, 700});
    QFile::remove(lyric);

    const ProjectLoad load = readProject(path, catalogue_);
    EXPECT_EQ(load.missingKept, (QStringList{mountain, lyric}));
    EXPECT_TRUE(load.missingFiles.isEmpty());
    EXPECT_EQ(load.turnedPhotos, QStringList{portrait});
    EXPECT_TRUE(load.missingTemplates.isEmpty());
    const QString report = load.report();
    EXPECT_EQ(report.count(QStringLiteral("山.jpg")), 1);
    EXPECT_TRUE(report.contains(texts::kMissingFilesKept));
    EXPECT_FALSE(report.contains(texts::kMissingFiles));
    EXPECT_TRUE(report.contains(texts::kTurnedPhotos));

    Album opened(catalogue_);
    opened.restore(load.album);
    EXPECT_TRUE(opened.templates().invariantViolations().isEmpty())
        << opened.templates().invariantViolations().join(' ').toStdString();
    // The gone photo stays with its slot and its crop.
    ASSERT_EQ(opened.photos().size(), 4);
    EXPECT_EQ(opened.photos().at(1).location, mountain);
    EXPECT_TRUE(opened.photos().at(1).inTemplate);
    const PhotoSlot& kept = opened.templates().slot(opened.templates().slotRow(1, 0));
    EXPECT_TRUE(kept.matched);
    EXPECT_EQ(kept.photoRow, 1);
    EXPECT_EQ(kept.photoPath, mountain);
    EXPECT_EQ(kept.fullScreen, (Placement{-10, -20, 1940, 1120}));
    EXPECT_EQ(kept.medium, (Placement{5, 6, 700, 500}));
    EXPECT_EQ(kept.cropMark, CropMark::Medium);
    // The turned one stays, out of every slot, landscape now; B is "未完成" for it alone.
    EXPECT_EQ(opened.photos().at(2).width, 1000);
    EXPECT_FALSE(opened.photos().at(2).inTemplate);
    EXPECT_EQ(opened.templates().slotsUsingPhoto(2), 0);
    EXPECT_TRUE(opened.templates().at(0).complete);
    EXPECT_FALSE(opened.templates().at(1).complete);
    EXPECT_EQ(opened.templates().unmatchedCount(1), 1);
    // The lyric file stays beside its song.
    ASSERT_EQ(opened.lyrics().size(), 1);
    EXPECT_EQ(opened.lyrics().at(0).location, lyric);
    EXPECT_EQ(opened.lyrics().at(0).settings, album.lyrics().at(0).settings);
    EXPECT_EQ(opened.music().size(), 1);

    // Saved again, the gone photo and lyric file are written as they were.
    const QJsonObject again =
        QJsonDocument::fromJson(projectBytes(opened, load.settings, path)).object();
    EXPECT_EQ(again.value("photos").toArray()[1], saved.value("photos").toArray()[1]);
    EXPECT_EQ(again.value("slots").toArray()[1], saved.value("slots").toArray()[1]);
    EXPECT_EQ(again.value("lyrics"), saved.value("lyrics"));

    // With the files back, everything is found again without a word.
    photo("山.jpg", {640, 480});
    photo("人像.jpg", {600, 800});
    folder_.write("lyrics/歌.lrc", "[00:01.00]你好\n");
    const ProjectLoad back = readProject(path, catalogue_);
    EXPECT_TRUE(back.report().isEmpty()) << back.report().toStdString();
    Album reopened(catalogue_);
    reopened.restore(back.album);
    expectSameAlbum(album, reopened);
}

TEST_F(ProjectFileTest, PathsHoldingSomethingElseAreNotCalledGone) {
    Album album(catalogue_);
    buildAlbum(album);
    const QString path = save(album);
    // A folder where "山" was, a pipe where the song was (opening must not wait on it), and a
    // file that is no picture where "海边" was.
    const QString mountain = folder_.path() + QStringLiteral("photos/山.jpg");
    const QString song = folder_.path() + QStringLiteral("music/歌.wav");
    const QString sea = folder_.path() + QStringLiteral("photos/海边.jpg");
    ASSERT_TRUE(QFile::remove(mountain));
    ASSERT_TRUE(QDir().mkdir(mountain));
    ASSERT_TRUE(QFile::remove(song));
    ASSERT_EQ(::mkfifo(QFile::encodeName(song).constData(), 0600), 0);
    folder_.write("photos/海边.jpg", "no picture");

    const ProjectLoad load = readProject(path, catalogue_);
    EXPECT_TRUE(load.missingFiles.isEmpty());
    EXPECT_TRUE(load.missingKept.isEmpty());
    EXPECT_EQ(load.unusableFiles, (QStringList{sea, mountain}));
    EXPECT_EQ(load.notFiles, QStringList{song});
    // The song's lyric file goes with it.
    EXPECT_EQ(load.lyricsWithMusic, QStringList{folder_.path() + QStringLiteral("lyrics/歌.lrc")});
    const QString report = load.report();
    EXPECT_FALSE(report.contains(texts::kMissingFiles));
    EXPECT_FALSE(report.contains(texts::kMissingFilesKept));
    EXPECT_TRUE(report.contains(texts::kUnusableFilesKept));
    EXPECT_TRUE(report.contains(texts::kNotFiles));

    Album opened(catalogue_);
    opened.restore(load.album);
    EXPECT_TRUE(opened.templates().invariantViolations().isEmpty());
    ASSERT_EQ(opened.photos().size(), 4);
    EXPECT_EQ(opened.templates().slotsUsingPhoto(1), 1);
    EXPECT_EQ(opened.music().size(), 0);
    EXPECT_EQ(opened.lyrics().size(), 0);
}

TEST_F(ProjectFileTest, MusicAndLyricsKeepTheirPairsWhenFilesAreGone) {
    Album album(catalogue_);
    QStringList music;
    QStringList lyrics;
    for (int i = 0; i < 4; ++i) {
        music << test::writeSilentWav(folder_, QStringLiteral("music/%1.wav").arg(i), 1.5);
        ASSERT_TRUE(album.addMusic(music.last(), player_).isEmpty());
        // The fourth song has no lyrics.
        if (i < 3) {
            lyrics << folder_.write(QStringLiteral("lyrics/%1.lrc").arg(i),
                                    QStringLiteral("[00:01.00]%1\n").arg(i).toUtf8());
            album.addLyrics(lyrics.last());
        }
    }
    const QString path = save(album);
    // The second song is gone, and the third song's lyric file.
    QFile::remove(music[1]);
    QFile::remove(lyrics[2]);

    const ProjectLoad load = readProject(path, catalogue_);
    EXPECT_EQ(load.missingFiles, QStringList{music[1]});
    EXPECT_EQ(load.lyricsWithMusic, QStringList{lyrics[1]});
    EXPECT_EQ(load.missingKept, QStringList{lyrics[2]});
    const QString report = load.report();
    EXPECT_TRUE(report.contains(texts::kLyricsWithMusic));
    EXPECT_EQ(report.count(QStringLiteral("1.lrc")), 1);

    // Row by row, each song keeps its own lyric file; the third has none until its file is back.
    Album opened(catalogue_);
    opened.restore(load.album);
    ASSERT_EQ(opened.music().size(), 3);
    ASSERT_EQ(opened.lyrics().size(), 2);
    EXPECT_EQ(opened.music().at(0).location, music[0]);
    EXPECT_EQ(opened.lyrics().at(0).location, lyrics[0]);
    EXPECT_EQ(opened.music().at(1).location, music[2]);
    EXPECT_EQ(opened.lyrics().at(1).location, lyrics[2]);
    EXPECT_EQ(opened.music().at(2).location, music[3]);
}

TEST_F(ProjectFileTest, ATemplateNoLongerInstalledIsLeftOutAndNamed) {
    Album album(catalogue_);
    buildAlbum(album);
    const QString path = save(album);

    // The library has changed: B is gone, a new template stands first, so every catalogue row
    // moved.
    Catalogue changed;
    changed.setRecords({test::templateRecord("N", "|picture_1|", "|heng|"),
                        test::templateRecord("P", "|picture_1|", "|shu|"),
                        test::templateRecord("A", "|picture_1|", "|heng|", "|640|", "|360|")});
    const ProjectLoad load = readProject(path, changed);
    EXPECT_EQ(load.missingTemplates, QStringList{"B"});
    EXPECT_TRUE(load.report().contains(texts::kMissingTemplates));
    Album opened(changed);
    opened.restore(load.album);
    EXPECT_TRUE(opened.templates().invariantViolations().isEmpty());
    ASSERT_EQ(opened.templates().size(), 2);
    EXPECT_EQ(opened.templates().at(0).info->name, "A");
    EXPECT_EQ(opened.templates().at(0).info->catalogueIndex, 2);
    EXPECT_EQ(opened.templates().at(1).info->name, "P");
    // Slots and background rows follow their templates; P's chosen background stays.
    EXPECT_EQ(opened.templates().slotTable().size(), 2);
    EXPECT_EQ(opened.templates().slot(1).templateRow, 1);
    EXPECT_EQ(opened.backgrounds().row(1).pictureName, QStringLiteral("square"));
    // The in-template mark follows the slots: the photos only B held wait for placement again.
    EXPECT_TRUE(opened.photos().at(0).inTemplate);
    EXPECT_FALSE(opened.photos().at(1).inTemplate);
    EXPECT_FALSE(opened.photos().at(2).inTemplate);
    EXPECT_EQ(opened.photos().size(), 4);
}

TEST_F(ProjectFileTest, DamagedAndNewerFilesAreRefusedWithTheAlbumUnchanged) {
    Album album(catalogue_);
    buildAlbum(album);
    const QString path = save(album);
    const QByteArray good = test::readFile(path);

    Album current(catalogue_);
    current.addPhoto(test::photoRecord("kept", 800, 600));
    const auto refused = [&](const QByteArray& bytes) {
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
        file.close();
        try {
            current.restore(readProject(path, catalogue_).album);
        } catch (const Error& e) {
            EXPECT_EQ(current.photos().size(), 1);
            EXPECT_EQ(current.photos().at(0).name, "kept");
            return e.message();
        }
        return QStringLiteral("opened");
    };
    const QString damaged = texts::kAlbumFileDamaged.arg(path);
    EXPECT_EQ(refused(good.left(good.size() / 2)), damaged);
    EXPECT_EQ(refused(QByteArray()), damaged);
    EXPECT_EQ(refused("[1, 2]"), damaged);

    QJsonObject root = QJsonDocument::fromJson(good).object();
    const auto edited = [&root](const QString& key, const QJsonValue& value) {
        QJsonObject copy = root;
        copy.insert(key, value);
        return QJsonDocument(copy).toJson();
    };
    EXPECT_EQ(refused(edited("version", kProjectFormatVersion + 1)),
              texts::kAlbumFileNewer.arg(path));
    EXPECT_EQ(refused(edited("format", "something-else")), damaged);
    EXPECT_EQ(refused(edited("photos", "none")), damaged);
    // An output size no chooser offers would reach the encoder.
    QJsonObject output = root.value("output").toObject();
    output.insert("width", 0);
    EXPECT_EQ(refused(edited("output", output)), damaged);
    // A slot naming a photo row that is not there, or a template row out of range.
    QJsonArray slotArray = root.value("slots").toArray();
    QJsonObject slot = slotArray[0].toObject();
    slot.insert("photo", 99);
    slotArray[0] = slot;
    EXPECT_EQ(refused(edited("slots", slotArray)), damaged);
    slot.insert("photo", 0);
    slot.insert("template", 7);
    slotArray[0] = slot;
    EXPECT_EQ(refused(edited("slots", slotArray)), damaged);
    // A slot twice over is damage, not a template that is no longer installed.
    slotArray = root.value("slots").toArray();
    slotArray.append(slotArray[0]);
    EXPECT_EQ(refused(edited("slots", slotArray)), damaged);
    // A matched portrait slot holding a landscape photo.
    slotArray = root.value("slots").toArray();
    slot = slotArray[2].toObject();
    slot.insert("photo", 0);
    slotArray[2] = slot;
    EXPECT_EQ(refused(edited("slots", slotArray)), damaged);

    const QString none = folder_.path() + "none.vellumo";
    try {
        readProject(none, catalogue_);
        ADD_FAILURE() << "a file that is not there opened";
    } catch (const Error& e) {
        EXPECT_EQ(e.message(), texts::kAlbumFileUnreadable.arg(none));
    }
}

TEST_F(ProjectFileTest, ASafeWriteInterruptedMidwayLeavesTheOldFile) {
    const QString path = folder_.path() + "file.vellumo";
    writeFileSafely(path, QByteArray(10000, 'a'));
    EXPECT_THROW(writeFileSafely(path, QByteArray(20000, 'b'),
                                 [](qint64 written) {
                                     if (written > 5000) {
                                         throw std::runtime_error("power cut");
                                     }
                                 }),
                 std::runtime_error);
    EXPECT_EQ(test::readFile(path), QByteArray(10000, 'a'));
    // The next write goes through over the half-written temporary file.
    writeFileSafely(path, QByteArray(300, 'c'));
    EXPECT_EQ(test::readFile(path), QByteArray(300, 'c'));
    // A folder that cannot be written to: the reason is told.
    EXPECT_THROW(writeFileSafely(folder_.path() + "no/such/folder/x.vellumo", "x"), Error);
}

TEST(ProjectTool, PlanOpeningAndSavingAProjectKeepsItsOwnSettings) {
    test::TempFolder temp;
    // A program folder with one landscape template.
    const QByteArray parameters = toGbk(
        QStringLiteral("[1]\r\nxpkd=|0|\r\nxpgd=|0|\r\nszhz=|heng|\r\nxpjpgmc=|picture_1|\r\n"
                       "mbdx=40\r\n[l_x_q_b_x_n_w_j_s_y]\r\nl_x_q_b_x_n_w_j_s_y_m_c=满屏\r\n"));
    temp.write(paths::kParameterPackages + "1.rar", packNested(parameters, 20));
    temp.write(paths::kTemplatePackages + "1.rar",
               packNested("vellumo-movie 1\nframes 40\nimage photo \"picture_1.jpg\"\n", 20));
    const QString photo = test::writeSolidPhoto(temp.path() + "a.jpg", {480, 320});
    const QString first = temp.path() + "first.vellumo";
    const test::ToolRun planned =
        test::runTool({"plan", "--program-folder", temp.path(), "--save", first, photo});
    ASSERT_EQ(planned.exitCode, 0) << planned.err.toStdString();

    // The user's settings, none of them the default.
    QJsonObject root = QJsonDocument::fromJson(test::readFile(first)).object();
    const QJsonObject settings{{"landscapeImportCrop", "medium"},
                               {"landscapeDisplay", "medium"},
                               {"templateCombination", "use"}};
    root.insert("settings", settings);
    temp.write("first.vellumo", QJsonDocument(root).toJson());

    const QString second = temp.path() + "second.vellumo";
    const test::ToolRun copied =
        test::runTool({"plan", "--program-folder", temp.path(), "--open", first, "--save", second});
    ASSERT_EQ(copied.exitCode, 0) << copied.err.toStdString();
    EXPECT_EQ(QJsonDocument::fromJson(test::readFile(second)).object().value("settings"),
              QJsonValue(settings));
}

}  // namespace
}  // namespace vellumo
