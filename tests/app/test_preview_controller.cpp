#include <gtest/gtest.h>

#include <QApplication>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

#include "app/command_panel.h"
#include "app/main_window.h"
#include "app/preview_controller.h"
#include "app/staging_window.h"
#include "dialogs/message_dialog.h"
#include "media/music_player.h"
#include "photo/fitting_canvas.h"
#include "preview/timeline_texts.h"
#include "project/album.h"
#include "tests/support/album_builders.h"
#include "tests/support/main_window_parts.h"
#include "tests/support/test_files.h"
#include "workspace/data_paths.h"
#include "workspace/packed_file.h"
#include "workspace/program_folder.h"

namespace vellumo {
namespace {

using test::entryOf;
using test::part;
using test::templateRecord;

class PreviewControllerTest : public ::testing::Test {
protected:
    void SetUp() override {
        setProgramFolder(folder_.path());
        folder_.write(paths::kClosingMovie,
                      packNested("vellumo-movie 1\nframes 150\n"
                                 "image leadin \"../../pic/picture_0.jpg\"\n  box 0 0 1920 1080\n",
                                 16));
        folder_.write("packages/a.rar",
                      packNested("vellumo-movie 1\nframes 30\n"
                                 "image photo \"picture_1.jpg\"\n  box 0 0 1920 1080\n",
                                 20));
        CatalogueRecord a = templateRecord("A", "|picture_1|", "|heng|");
        a.packagePath = folder_.path() + "packages/a.rar";
        a.frames = 30;
        catalogue_.setRecords({a});
        QImage image(400, 300, QImage::Format_RGB32);
        image.fill(Qt::red);
        writeJpeg(image, folder_.path() + "red.jpg");
        album_.addPhoto(*measurePhoto(folder_.path() + "red.jpg"));
        album_.addPhoto(*measurePhoto(folder_.path() + "red.jpg"));
        player_.setSoundOutput(false);
        controller_.stagingWindow()->setDelay(0);
    }
    void TearDown() override { setProgramFolder(QString()); }

    test::TempFolder folder_;
    Catalogue catalogue_;
    Album album_{catalogue_, [](int) { return 0; }};
    MusicPlayer player_;
    MainWindow window_;
    PreviewController controller_{window_, album_, player_};
};

TEST_F(PreviewControllerTest, PlaysTheAlbumAndReturnsToIdle) {
    album_.templates().addTemplate(entryOf(catalogue_, 0, TemplateClass::LandscapeSingle));
    album_.templates().placePhoto(0, 0, 0);
    album_.templates().addTemplate(entryOf(catalogue_, 0, TemplateClass::LandscapeSingle));
    album_.templates().placePhoto(1, 1, 0);

    controller_.play();
    EXPECT_EQ(window_.playbackState(), PlaybackState::Playing);
    EXPECT_FALSE(part<CommandPanel>(window_)->button(Command::Play)->isEnabled());
    EXPECT_TRUE(part<CommandPanel>(window_)->button(Command::Stop)->isEnabled());
    EXPECT_EQ(part<CommandPanel>(window_)->totalTime()->text(), clockTextOfFrames(30 + 30 + 150));
    for (int i = 0; i < 400 && window_.playbackState() == PlaybackState::Playing; ++i) {
        controller_.timeline().step();
    }
    EXPECT_EQ(window_.playbackState(), PlaybackState::Stopped);
    EXPECT_EQ(part<CommandPanel>(window_)->currentTime()->text(), texts::kClockZero);
    EXPECT_TRUE(part<CommandPanel>(window_)->button(Command::Play)->isEnabled());
}

TEST_F(PreviewControllerTest, CancelAtAutoCompleteChangesNothing) {
    album_.templates().addTemplate(entryOf(catalogue_, 0, TemplateClass::LandscapeSingle));
    album_.templates().placePhoto(0, 0, 0);
    QString question;
    QTimer::singleShot(0, [&] {
        question = ConfirmDialog::shared().message();
        ConfirmDialog::shared().reject();
    });
    controller_.play();
    EXPECT_EQ(question, texts::kAutoCompleteQuestion.arg(1));
    EXPECT_EQ(window_.playbackState(), PlaybackState::Stopped);
    EXPECT_EQ(album_.templates().size(), 1);
    EXPECT_FALSE(QFileInfo::exists(dataPath(paths::kTemplateStagingFolder)));
}

TEST_F(PreviewControllerTest, StopEndsPlaybackAndRemovesTheStagedFiles) {
    album_.templates().addTemplate(entryOf(catalogue_, 0, TemplateClass::LandscapeSingle));
    album_.templates().placePhoto(0, 0, 0);
    album_.templates().addTemplate(entryOf(catalogue_, 0, TemplateClass::LandscapeSingle));
    album_.templates().placePhoto(1, 1, 0);
    controller_.play();
    ASSERT_EQ(window_.playbackState(), PlaybackState::Playing);
    controller_.tick();
    controller_.stop();
    EXPECT_EQ(window_.playbackState(), PlaybackState::Stopped);
    EXPECT_FALSE(QFileInfo::exists(dataPath(paths::kStagingFolder)));
}

}  // namespace
}  // namespace vellumo
