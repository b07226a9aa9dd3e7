#include <gtest/gtest.h>

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTest>

#include "project/project_session.h"
#include "project/project_texts.h"
#include "settings/system_settings.h"
#include "skin/skin_texts.h"
#include "tests/support/album_builders.h"
#include "tests/support/photo_files.h"
#include "tests/support/test_files.h"
#include "workspace/errors.h"

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

}  // namespace
}  // namespace vellumo
