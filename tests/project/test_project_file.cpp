#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "media/music_player.h"
#include "project/project_file.h"
#include "project/project_texts.h"
#include "tests/album/silent_wav.h"
#include "tests/support/album_builders.h"
#include "tests/support/photo_files.h"
#include "tests/support/test_files.h"
#include "workspace/errors.h"

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
        UsedTemplates& templates = album.templates();
        templates.addTemplate(entryNamed(catalogue_, "A"));
        templates.addTemplate(entryNamed(catalogue_, "B"));
        templates.addTemplate(entryNamed(catalogue_, "P"));
        ASSERT_EQ(templates.placePhoto(0, 0, 0), PlaceResult::Placed);
        ASSERT_EQ(templates.placePhoto(1, 1, 0), PlaceResult::Placed);
        ASSERT_EQ(templates.placePhoto(2, 1, 1), PlaceResult::Placed);
        templates.updateMatch(0);
        templates.updateMatch(1);
        templates.setPlacements(templates.slotRow(1, 0), {-10, -20, 1940, 1120}, {5, 6, 700, 500},
                                CropMark::Medium);
        album.backgrounds().setRow(2, backgroundFromPhoto(album.photos().at(3)));

        ASSERT_TRUE(album.music()
                        .add(test::writeSilentWav(folder_, "music/歌.wav", 3.5), player_)
                        .isEmpty());
        album.lyrics().add(folder_.write("lyrics/歌.lrc", "[00:01.00]你好\n"));
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
        album.lyrics().setSettings(0, settings);

        OutputOptions& out = album.outputOptions();
        out.beginProduction(AlbumType::Dvd);
        out.chooseSize(2);
        out.albumName = QStringLiteral("夏天");
        out.saveFolder = folder_.path() + QStringLiteral("out/");
        out.tvSystem = TvSystem::Ntsc;
        out.quality = PictureQuality::Standard;
        out.sync = SyncMode::WithMusic;
        album.setPlacementMode(PlacementMode::Combined);
        album.wrapCursors() = WrapCursors{1, 0};
    }

    QString save(const Album& album, const QString& name = QStringLiteral("album.vellumo")) {
        const QString path = folder_.path() + name;
        saveProject(album, settings_, path);
        return path;
    }

    test::TempFolder folder_;
    Catalogue catalogue_;
    MusicPlayer player_;
    ProjectSettings settings_{PhotoFit::Medium, PhotoFit::Medium, TemplateCombination::Use};
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

TEST_F(ProjectFileTest, GoneAndTurnedFilesAreNamedOnceAndTheRestLoads) {
    Album album(catalogue_);
    buildAlbum(album);
    const QString path = save(album);
    // "山" (in template B's landscape slot) is gone; "人像" (B's portrait slot) now stands as
    // landscape; the lyric file is gone.
    QFile::remove(folder_.path() + QStringLiteral("photos/山.jpg"));
    photo("人像.jpg", {1000, 700});
    QFile::remove(folder_.path() + QStringLiteral("lyrics/歌.lrc"));

    const ProjectLoad load = readProject(path, catalogue_);
    EXPECT_EQ(load.missingFiles, (QStringList{folder_.path() + QStringLiteral("photos/山.jpg"),
                                              folder_.path() + QStringLiteral("lyrics/歌.lrc")}));
    EXPECT_EQ(load.turnedPhotos, QStringList{folder_.path() + QStringLiteral("photos/人像.jpg")});
    EXPECT_TRUE(load.missingTemplates.isEmpty());
    const QString report = load.report();
    EXPECT_EQ(report.count(QStringLiteral("山.jpg")), 1);
    EXPECT_TRUE(report.contains(texts::kMissingFiles));
    EXPECT_TRUE(report.contains(texts::kTurnedPhotos));

    Album opened(catalogue_);
    opened.restore(load.album);
    EXPECT_TRUE(opened.templates().invariantViolations().isEmpty())
        << opened.templates().invariantViolations().join(' ').toStdString();
    // The gone photo left the list; the turned one stays, out of every slot, landscape now.
    ASSERT_EQ(opened.photos().size(), 3);
    EXPECT_EQ(opened.photos().at(1).name, QStringLiteral("人像"));
    EXPECT_EQ(opened.photos().at(1).width, 1000);
    EXPECT_FALSE(opened.photos().at(1).inTemplate);
    EXPECT_EQ(opened.templates().slotsUsingPhoto(1), 0);
    // Template B lost both photos and is "未完成"; A keeps its photo.
    EXPECT_TRUE(opened.templates().at(0).complete);
    EXPECT_FALSE(opened.templates().at(1).complete);
    EXPECT_EQ(opened.templates().unmatchedCount(1), 2);
    EXPECT_EQ(opened.lyrics().size(), 0);
    EXPECT_EQ(opened.music().size(), 1);
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

}  // namespace
}  // namespace vellumo
