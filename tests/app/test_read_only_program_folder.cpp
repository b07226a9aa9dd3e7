// An installed program folder the user cannot write: the catalogue is read from it, while the
// unpack folder, the staging folders and every other working file go below the user's cache
// folder with the same relative names, and the program folder is left exactly as it was.

#include <gtest/gtest.h>

#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QMap>

#include <unistd.h>

#include "app/main_window.h"
#include "app/photo_pages.h"
#include "app/preview_controller.h"
#include "app/staging_window.h"
#include "dialogs/progress_window.h"
#include "media/music_player.h"
#include "photo/fitting_canvas.h"
#include "project/album.h"
#include "settings/system_settings.h"
#include "tests/support/album_builders.h"
#include "tests/support/test_files.h"
#include "workspace/data_paths.h"
#include "workspace/packed_file.h"
#include "workspace/program_folder.h"
#include "workspace/text_codec.h"

namespace vellumo {
namespace {

const QByteArray kParameters = toGbk(QStringLiteral(
    "[1]\r\nmblx=1\r\nmbfl=x\r\nxpsl=1\r\nxpkd=|0|\r\nxpgd=|0|\r\nszhz=|heng|\r\n"
    "xpjpgmc=|picture_1|\r\nmbdx=30\r\n[l_x_q_b_x_n_w_j_s_y]\r\nl_x_q_b_x_n_w_j_s_y_m_c=横一\r\n"));
const QByteArray kMovie =
    "vellumo-movie 1\nframes 30\nimage lead \"../../pic/picture_0.jpg\"\n  box 0 0 1920 1080\n"
    "image photo \"picture_1.jpg\"\n  box 0 0 1920 1080\n";
const QByteArray kClosing =
    "vellumo-movie 1\nframes 150\nimage lead \"../../pic/picture_0.jpg\"\n  box 0 0 1920 1080\n";

// Every file and folder below root with the size of each file.
QMap<QString, qint64> listing(const QString& root) {
    QMap<QString, qint64> entries;
    QDirIterator it(root, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        entries.insert(path.mid(root.size()),
                       QFileInfo(path).isDir() ? -1 : QFileInfo(path).size());
    }
    return entries;
}

void setWritable(const QString& root, bool writable) {
    QStringList paths{root};
    QDirIterator it(root, QDir::AllEntries | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        paths << it.next();
    }
    for (const QString& path : paths) {
        QFileDevice::Permissions p = QFile::permissions(path);
        // Qt sets the owner's write bit from either flag.
        p.setFlag(QFileDevice::WriteOwner, writable);
        p.setFlag(QFileDevice::WriteUser, writable);
        p.setFlag(QFileDevice::WriteGroup, false);
        p.setFlag(QFileDevice::WriteOther, false);
        QFile::setPermissions(path, p);
    }
}

class ReadOnlyProgramFolderTest : public ::testing::Test {
protected:
    void SetUp() override {
        program_.write(paths::kParameterPackages + "01.rar", packNested(kParameters, 20));
        program_.write(paths::kTemplatePackages + "01.rar", packNested(kMovie, 20));
        program_.write(paths::kClosingMovie, packNested(kClosing, 16));
        setWritable(program_.path(), false);
        before_ = listing(program_.path());
        oldCache_ = qgetenv("XDG_CACHE_HOME");
        qputenv("XDG_CACHE_HOME", cache_.path().toUtf8());
        setProgramFolder(program_.path());
        // The superuser may write anywhere; for it the folder only counts as read-only.
        chooseWorkingRoot(
            [](const QString& folder) { return geteuid() != 0 && isWritableFolder(folder); });
        player_.setSoundOutput(false);
        ProgressWindow::shared().setTaskDelay(0);
    }
    void TearDown() override {
        setWorkingRoot(QString());
        setProgramFolder(QString());
        qputenv("XDG_CACHE_HOME", oldCache_);
        setWritable(program_.path(), true);
    }

    test::TempFolder program_;
    test::TempFolder cache_;
    test::TempFolder photos_;
    QByteArray oldCache_;
    QMap<QString, qint64> before_;
    MusicPlayer player_;
};

TEST_F(ReadOnlyProgramFolderTest, WorkingFilesGoBelowTheUsersFolderAndTheProgramFolderStays) {
    const QString root = cache_.path() + "vellumo/";
    ASSERT_EQ(workingRoot(), root);
    if (geteuid() != 0) {
        EXPECT_FALSE(isWritableFolder(program_.path()));
    }

    Catalogue catalogue;
    ASSERT_TRUE(catalogue.build());
    ASSERT_EQ(catalogue.records().size(), 1);
    EXPECT_TRUE(catalogue.leftOut().isEmpty());
    EXPECT_EQ(catalogue.record(0).packagePath,
              program_.path() + paths::kTemplatePackages + "01.rar");
    EXPECT_TRUE(QFileInfo(root + paths::kUnpackFolder).isDir());

    Album album(catalogue, [](int) { return 0; });
    QImage image(400, 300, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    writeJpeg(image, photos_.path() + "cyan.jpg");
    album.addPhoto(*measurePhoto(photos_.path() + "cyan.jpg"));
    album.refreshDefaultBackgrounds();
    album.addTemplate(test::entryOf(catalogue, 0, TemplateClass::LandscapeSingle));
    album.placePhoto(0, 0, 0);

    SystemSettings settings;
    MainWindow window;
    PreviewController controller(window, album, player_);
    controller.stagingWindow()->setDelay(0);
    new PhotoWindows(window, album, settings);
    controller.play();
    ASSERT_EQ(window.playbackState(), PlaybackState::Playing);
    const QString staged = root + paths::kTemplateStagingFolder + "wj_y_l_1/";
    EXPECT_TRUE(QFileInfo::exists(staged + "wj_y_l_1.rar"));
    EXPECT_TRUE(QFileInfo::exists(staged + "picture_1.jpg"));
    EXPECT_TRUE(QFileInfo::exists(staged + paths::kStagedBackground));
    EXPECT_TRUE(QFileInfo::exists(root + paths::kTemplateStagingFolder +
                                  paths::kClosingStagingSubfolder + paths::kStagedClosingMovie));
    EXPECT_TRUE(QFileInfo::exists(root + paths::kLeadInPicture));
    for (int i = 0; i < 400 && window.playbackState() == PlaybackState::Playing; ++i) {
        controller.timeline().step();
    }
    EXPECT_EQ(window.playbackState(), PlaybackState::Stopped);
    // Stopping clears the staging folder where it was made.
    EXPECT_TRUE(QFileInfo::exists(root + paths::kStagingFolder));
    controller.timeline().stop();
    EXPECT_FALSE(QFileInfo::exists(root + paths::kStagingFolder));

    EXPECT_EQ(listing(program_.path()), before_);
}

}  // namespace
}  // namespace vellumo
