#include <gtest/gtest.h>

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTest>

#include "media/audio_decoder.h"
#include "media/audio_encoder.h"
#include "media/music_player.h"
#include "project/project_session.h"
#include "project/project_texts.h"
#include "settings/system_settings.h"
#include "skin/skin_texts.h"
#include "tests/support/album_builders.h"
#include "tests/support/photo_files.h"
#include "tests/support/test_files.h"
#include "workspace/data_paths.h"
#include "workspace/errors.h"
#include "workspace/program_folder.h"

namespace vellumo {
namespace {

// Runs the event loop until done, for at most timeoutMs.
bool waitUntil(const std::function<bool()>& done, int timeoutMs) {
    QDeadlineTimer deadline(timeoutMs);
    while (!done() && !deadline.hasExpired()) {
        QTest::qWait(10);
    }
    return done();
}

class ProjectSessionTest : public ::testing::Test {
protected:
    void SetUp() override {
        // Never the real home: CTest gives every test a data folder of its own, and this test
        // takes a fresh one below it.
        ASSERT_FALSE(qEnvironmentVariableIsEmpty("XDG_DATA_HOME"));
        qputenv("XDG_DATA_HOME", QFile::encodeName(folder_.path() + QStringLiteral("data")));
        catalogue_.setRecords({test::templateRecord("A", "|picture_1|", "|heng|")});
    }

    // A small photo file of its own, so that opening finds it.
    void addPhoto(const QString& name) {
        PhotoRecord record = test::photoRecord(name, 80, 60);
        record.location =
            test::writeSolidPhoto(folder_.path() + name + QStringLiteral(".jpg"), QSize(80, 60));
        album_.addPhoto(record);
    }

    test::TempFolder folder_;
    Catalogue catalogue_;
    Album album_{catalogue_};
    SystemSettings settings_;
};

TEST_F(ProjectSessionTest, UserFilesLiveInTheDataFolderOfTheEnvironment) {
    EXPECT_EQ(userDataFolder(), folder_.path() + QStringLiteral("data/vellumo"));
    EXPECT_EQ(recoveryFilePath(), folder_.path() + QStringLiteral("data/vellumo/recovery.vellumo"));
}

TEST_F(ProjectSessionTest, TheTitleCarriesTheNameAndTheUnsavedMark) {
    ProjectSession session(album_, &settings_);
    QSignalSpy changed(&session, &ProjectSession::stateChanged);
    EXPECT_EQ(session.title(),
              texts::kUntitledAlbum + QStringLiteral(" - ") + texts::kApplicationTitle);
    EXPECT_FALSE(session.isModified());

    addPhoto("a");
    session.checkForChanges();
    EXPECT_TRUE(session.isModified());
    EXPECT_EQ(session.title(),
              texts::kUntitledAlbum + QStringLiteral("* - ") + texts::kApplicationTitle);
    EXPECT_EQ(changed.count(), 1);
    // A settings change counts too: it is kept in the project.
    session.save(folder_.path() + QStringLiteral("夏天.vellumo"));
    EXPECT_EQ(session.title(), QStringLiteral("夏天 - ") + texts::kApplicationTitle);
    settings_.setTemplateCombination(TemplateCombination::Use);
    session.checkForChanges();
    EXPECT_TRUE(session.isModified());
    // Changed back, the mark goes.
    settings_.setTemplateCombination(TemplateCombination::DoNotUse);
    session.checkForChanges();
    EXPECT_FALSE(session.isModified());
}

TEST_F(ProjectSessionTest, OpenSaveAndNewKeepTheProjectAndTheRecentList) {
    ProjectSession session(album_, &settings_);
    addPhoto("a");
    settings_.setLandscapeDisplay(PhotoFit::Medium);
    QStringList paths;
    for (int i = 0; i < 7; ++i) {
        paths << folder_.path() + QStringLiteral("p%1.vellumo").arg(i);
        session.save(paths.last());
    }
    // Five, newest first.
    EXPECT_EQ(session.recent().list(),
              (QStringList{paths[6], paths[5], paths[4], paths[3], paths[2]}));

    session.startNew();
    EXPECT_EQ(album_.photos().size(), 0);
    EXPECT_TRUE(session.path().isEmpty());
    EXPECT_FALSE(session.isModified());
    settings_.setLandscapeDisplay(PhotoFit::FullScreen);

    session.open(paths[3]);
    EXPECT_EQ(album_.photos().size(), 1);
    EXPECT_EQ(settings_.landscapeDisplay(), PhotoFit::Medium);
    EXPECT_EQ(session.path(), paths[3]);
    EXPECT_EQ(session.recent().list().first(), paths[3]);

    // A refused file changes nothing; one that is gone leaves the recent list.
    addPhoto("b");
    session.checkForChanges();
    QFile::remove(paths[5]);
    EXPECT_THROW(session.open(paths[5]), Error);
    EXPECT_EQ(album_.photos().size(), 2);
    EXPECT_EQ(session.path(), paths[3]);
    EXPECT_TRUE(session.isModified());
    EXPECT_FALSE(session.recent().list().contains(paths[5]));
    // A save that cannot be written leaves the project as it was.
    EXPECT_THROW(session.save(folder_.path() + QStringLiteral("none/x.vellumo")), Error);
    EXPECT_EQ(session.path(), paths[3]);
    EXPECT_TRUE(session.isModified());
}

TEST_F(ProjectSessionTest, AutosaveWritesTheRecoveryFileAfterAMinuteOfChanges) {
    ProjectSession session(album_, &settings_);
    session.setAutosaveInterval(50);
    session.start();
    EXPECT_FALSE(ProjectSession::hasRecovery());
    addPhoto("a");
    session.checkForChanges();
    EXPECT_TRUE(session.autosavePending());
    EXPECT_FALSE(ProjectSession::hasRecovery());
    EXPECT_TRUE(waitUntil([] { return ProjectSession::hasRecovery(); }, 5000));

    // Restored in another run: the album comes back with its unsaved mark.
    Album next(catalogue_);
    ProjectSession restored(next, &settings_);
    const ProjectLoad load = restored.restoreRecovery();
    EXPECT_EQ(next.photos().size(), 1);
    EXPECT_TRUE(restored.isModified());
    EXPECT_TRUE(restored.path().isEmpty());

    // Saving makes the recovery file unnecessary.
    session.save(folder_.path() + QStringLiteral("saved.vellumo"));
    EXPECT_FALSE(ProjectSession::hasRecovery());
    session.stop();
}

TEST_F(ProjectSessionTest, ACrashDuringAutosaveLeavesThePreviousRecoveryFile) {
    ProjectSession session(album_, &settings_);
    session.save(folder_.path() + QStringLiteral("mine.vellumo"));
    addPhoto("first");
    ASSERT_TRUE(session.writeRecovery());
    const QByteArray before = test::readFile(recoveryFilePath());

    for (int i = 0; i < 200; ++i) {
        addPhoto(QStringLiteral("more%1").arg(i));
    }
    EXPECT_THROW(session.writeRecovery([](qint64 written) {
        if (written >= 4096) {
            throw std::runtime_error("crash");
        }
    }),
                 std::runtime_error);
    EXPECT_EQ(test::readFile(recoveryFilePath()), before);

    // The next start restores the album as the last complete autosave had it.
    Album next(catalogue_);
    ProjectSession restored(next, &settings_);
    restored.restoreRecovery();
    ASSERT_EQ(next.photos().size(), 1);
    EXPECT_EQ(next.photos().at(0).name, QStringLiteral("first"));
    EXPECT_EQ(restored.path(), folder_.path() + QStringLiteral("mine.vellumo"));
    EXPECT_EQ(restored.title(), QStringLiteral("mine* - ") + texts::kApplicationTitle);
}

TEST_F(ProjectSessionTest, ADamagedRecoveryFileIsRefusedAndTheAlbumKept) {
    QDir().mkpath(userDataFolder());
    QFile file(recoveryFilePath());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("{\"format\": \"vellumo-album\", \"vers");
    file.close();
    addPhoto("kept");
    ProjectSession session(album_, &settings_);
    EXPECT_THROW(session.restoreRecovery(), Error);
    EXPECT_EQ(album_.photos().size(), 1);
    EXPECT_FALSE(session.isModified());
}

TEST_F(ProjectSessionTest, ConvertedMusicComesBackWithTheAlbumAndItsRecovery) {
    // A program folder with the converter, whose working folder "linshi/" start-up clears, and
    // a cache of this test's own.
    setProgramFolder(folder_.path() + QStringLiteral("program"));
    QDir().mkpath(programFolder());
    ASSERT_TRUE(
        QFile::copy(qEnvironmentVariable("VELLUMO_CONVERTER"), dataPath(paths::kConverter)));
    const QByteArray cache = qgetenv("XDG_CACHE_HOME");
    qputenv("XDG_CACHE_HOME", QFile::encodeName(folder_.path() + QStringLiteral("cache")));
    const auto restore = qScopeGuard([&cache] {
        qputenv("XDG_CACHE_HOME", cache);
        setProgramFolder(QString());
    });

    // Music the player cannot open itself.
    const QString song = folder_.path() + QStringLiteral("歌.aac");
    encodeAudio(song, "adts", AudioCodec::Aac, 128000,
                QByteArray(2 * kPcmSampleRate * kPcmBytesPerFrame, '\0'));
    MusicPlayer player;
    player.setSoundOutput(false);
    ASSERT_TRUE(album_.addMusic(song, player).isEmpty());
    ASSERT_TRUE(album_.music().at(0).isConverted());
    ProjectSession session(album_, &settings_);
    const QString project = folder_.path() + QStringLiteral("songs.vellumo");
    session.save(project);
    addPhoto("a");
    ASSERT_TRUE(session.writeRecovery());

    // The next start clears the working folders; the user has emptied the cache too.
    QDir(workingPath(paths::kConvertedMusicFolder)).removeRecursively();
    QDir(convertedMusicFolder()).removeRecursively();

    const auto expectSong = [&](const Album& album, const ProjectLoad& load) {
        EXPECT_TRUE(load.report().isEmpty()) << load.report().toStdString();
        ASSERT_EQ(album.music().size(), 1);
        const MusicRecord& record = album.music().at(0);
        EXPECT_EQ(record.location, song);
        EXPECT_EQ(record.format, QStringLiteral(".wav"));
        EXPECT_EQ(record.duration, QStringLiteral("00:00:02"));
        ASSERT_TRUE(QFileInfo::exists(record.playedFile()));
        player.setFileName(record.playedFile());
        player.open();
        EXPECT_EQ(player.lengthMs() / 1000, 2);
    };
    Album recovered(catalogue_);
    ProjectSession restoring(recovered, &settings_);
    const ProjectLoad fromRecovery = restoring.restoreRecovery();
    expectSong(recovered, fromRecovery);
    EXPECT_EQ(recovered.photos().size(), 1);

    QDir(convertedMusicFolder()).removeRecursively();
    Album next(catalogue_);
    ProjectSession reopened(next, &settings_);
    const ProjectLoad opened = reopened.open(project);
    expectSong(next, opened);

    // A song whose copy cannot be made again stays, and is named.
    QDir(convertedMusicFolder()).removeRecursively();
    QFile::remove(dataPath(paths::kConverter));
    Album third(catalogue_);
    ProjectSession again(third, &settings_);
    const ProjectLoad failed = again.open(project);
    EXPECT_EQ(failed.unconvertedMusic, QStringList{song});
    EXPECT_TRUE(failed.report().contains(texts::kMusicNotConverted));
    EXPECT_EQ(third.music().size(), 1);
}

TEST_F(ProjectSessionTest, AFailedAutosaveIsToldOnceUntilTheAlbumIsKeptAgain) {
    ProjectSession session(album_, &settings_);
    QSignalSpy failed(&session, &ProjectSession::autosaveFailed);
    QSignalSpy restored(&session, &ProjectSession::autosaveRestored);
    session.setAutosaveInterval(20);
    session.start();
    // The data folder cannot be made: a file stands in its way.
    const QString blocked = folder_.write(QStringLiteral("blocked"), "x");
    qputenv("XDG_DATA_HOME", QFile::encodeName(blocked + QStringLiteral("/data")));

    for (int round = 0; round < 3; ++round) {
        addPhoto(QStringLiteral("p%1").arg(round));
        session.checkForChanges();
        ASSERT_TRUE(session.autosavePending());
        ASSERT_TRUE(QTest::qWaitFor([&session] { return !session.autosavePending(); }, 5000));
        EXPECT_TRUE(session.autosaveFailing());
    }
    ASSERT_EQ(failed.count(), 1);
    EXPECT_EQ(failed.first().first().toString(), recoveryFilePath());
    EXPECT_EQ(restored.count(), 0);

    // Writable again: the next autosave keeps the album and says so.
    qputenv("XDG_DATA_HOME", QFile::encodeName(folder_.path() + QStringLiteral("data")));
    addPhoto(QStringLiteral("last"));
    session.checkForChanges();
    ASSERT_TRUE(QTest::qWaitFor([] { return ProjectSession::hasRecovery(); }, 5000));
    EXPECT_FALSE(session.autosaveFailing());
    EXPECT_EQ(restored.count(), 1);
    EXPECT_EQ(failed.count(), 1);
    session.stop();
}

}  // namespace
}  // namespace vellumo
