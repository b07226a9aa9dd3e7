#include <gtest/gtest.h>

#include <QApplication>
#include <QFileInfo>
#include <QPushButton>
#include <QTreeWidget>

#include "album/photo_list_texts.h"
#include "app/command_panel.h"
#include "app/main_display.h"
#include "app/main_window.h"
#include "app/photo_pages.h"
#include "app/preview_controller.h"
#include "app/staging_window.h"
#include "app/summary_lists.h"
#include "dialogs/message_dialog.h"
#include "dialogs/progress_window.h"
#include "media/music_player.h"
#include "photo/fitting_canvas.h"
#include "project/album.h"
#include "settings/system_settings.h"
#include "skin/artwork.h"
#include "tests/support/album_builders.h"
#include "tests/support/main_window_parts.h"
#include "tests/support/modal_responder.h"
#include "tests/support/test_files.h"
#include "timeline/album_clock.h"
#include "timeline/timeline_texts.h"
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
        ProgressWindow::shared().setTaskDelay(0);
        photos_ = new PhotoWindows(window_, album_, settings_);
    }
    void TearDown() override { setProgramFolder(QString()); }

    test::TempFolder folder_;
    Catalogue catalogue_;
    Album album_{catalogue_, [](int) { return 0; }};
    MusicPlayer player_;
    SystemSettings settings_;
    MainWindow window_;
    PreviewController controller_{window_, album_, player_};
    PhotoWindows* photos_ = nullptr;

    void addTwoCompleteTemplates() {
        for (int row = 0; row < 2; ++row) {
            album_.addTemplate(entryOf(catalogue_, 0, TemplateClass::LandscapeSingle));
            album_.placePhoto(row, row, 0);
        }
    }

    // Selects the first photo as a click on its thumbnail does (only while idle).
    void selectFirstPhoto() {
        window_.setPlaybackSource([] { return PlaybackState::Stopped; });
        photos_->pages()->showFirstPageAfterAdding();
        photos_->pages()->clickThumbnail(1);
        window_.setPlaybackSource([this] { return controller_.timeline().state(); });
        ASSERT_EQ(photos_->pages()->selectedPhoto(), 0);
    }

    QImage shownPicture() const {
        return part<MainDisplay>(window_)->picture()->pixmap().toImage();
    }

    bool showsStartPicture() const {
        return shownPicture() == window_.startPicture().convertToFormat(shownPicture().format()) &&
               part<MainDisplay>(window_)->picture()->pos() == QPoint(0, 0);
    }
};

TEST_F(PreviewControllerTest, PlaysTheAlbumAndReturnsToIdle) {
    album_.addTemplate(entryOf(catalogue_, 0, TemplateClass::LandscapeSingle));
    album_.placePhoto(0, 0, 0);
    album_.addTemplate(entryOf(catalogue_, 0, TemplateClass::LandscapeSingle));
    album_.placePhoto(1, 1, 0);

    controller_.play();
    EXPECT_EQ(window_.playbackState(), PlaybackState::Playing);
    EXPECT_FALSE(part<CommandPanel>(window_)->button(Command::Play)->isEnabled());
    EXPECT_TRUE(part<CommandPanel>(window_)->button(Command::Stop)->isEnabled());
    EXPECT_EQ(part<CommandPanel>(window_)->totalTimeText(), clockTextOfFrames(30 + 30 + 150));
    for (int i = 0; i < 400 && window_.playbackState() == PlaybackState::Playing; ++i) {
        controller_.timeline().step();
    }
    EXPECT_EQ(window_.playbackState(), PlaybackState::Stopped);
    EXPECT_EQ(part<CommandPanel>(window_)->currentTimeText(), texts::kClockZero);
    EXPECT_TRUE(part<CommandPanel>(window_)->button(Command::Play)->isEnabled());
}

TEST_F(PreviewControllerTest, CancelAtAutoCompleteChangesNothing) {
    album_.addTemplate(entryOf(catalogue_, 0, TemplateClass::LandscapeSingle));
    album_.placePhoto(0, 0, 0);
    QString question;
    auto answer = test::whenModalShown([&](QWidget*) {
        question = ConfirmDialog::shared().message();
        ConfirmDialog::shared().reject();
    });
    controller_.play();
    EXPECT_EQ(question, texts::kAutoCompleteQuestion.arg(1));
    EXPECT_EQ(window_.playbackState(), PlaybackState::Stopped);
    EXPECT_EQ(album_.templates().size(), 1);
    EXPECT_FALSE(QFileInfo::exists(dataPath(paths::kTemplateStagingFolder)));
}

TEST_F(PreviewControllerTest, TheClockShowsTheAlbumsTotalWhileNothingPlays) {
    const CommandPanel* clock = part<CommandPanel>(window_);
    // " 停止" with nothing playing.
    addTwoCompleteTemplates();
    controller_.stop();
    EXPECT_EQ(clock->totalTimeText(), clockTextOfFrames(30 + 30 + 150));
}

TEST_F(PreviewControllerTest, TheClockShowsTheAlbumsTotalWhileTheAutoCompleteQuestionIsOpen) {
    const CommandPanel* clock = part<CommandPanel>(window_);
    album_.addTemplate(entryOf(catalogue_, 0, TemplateClass::LandscapeSingle));
    album_.placePhoto(0, 0, 0);
    // While the question is open, and after it is cancelled.
    QString shownWhileAsked;
    auto answer = test::whenModalShown([&](QWidget*) {
        shownWhileAsked = clock->totalTimeText();
        ConfirmDialog::shared().reject();
    });
    controller_.play();
    EXPECT_EQ(shownWhileAsked, clockTextOfFrames(30 + 150));
    EXPECT_EQ(clock->totalTimeText(), clockTextOfFrames(30 + 150));
}

TEST_F(PreviewControllerTest, StopEndsPlaybackAndRemovesTheStagedFiles) {
    album_.addTemplate(entryOf(catalogue_, 0, TemplateClass::LandscapeSingle));
    album_.placePhoto(0, 0, 0);
    album_.addTemplate(entryOf(catalogue_, 0, TemplateClass::LandscapeSingle));
    album_.placePhoto(1, 1, 0);
    controller_.play();
    ASSERT_EQ(window_.playbackState(), PlaybackState::Playing);
    controller_.tick();
    controller_.stop();
    EXPECT_EQ(window_.playbackState(), PlaybackState::Stopped);
    EXPECT_FALSE(QFileInfo::exists(dataPath(paths::kStagingFolder)));
}

TEST_F(PreviewControllerTest, TheStartPictureStaysWhenPlaybackEndsOrStops) {
    addTwoCompleteTemplates();
    controller_.play();
    ASSERT_EQ(window_.playbackState(), PlaybackState::Playing);
    // Up to the closing movie's last but one frame; the display's tick shows the last one.
    PreviewTimeline& timeline = controller_.timeline();
    for (int i = 0; i < 400 && !(timeline.phase() == PreviewTimeline::Phase::Closing &&
                                 timeline.frameCounter() == kClosingMovieFrames - 2);
         ++i) {
        timeline.step();
    }
    ASSERT_EQ(timeline.phase(), PreviewTimeline::Phase::Closing);
    controller_.tick();
    EXPECT_EQ(window_.playbackState(), PlaybackState::Stopped);
    EXPECT_TRUE(showsStartPicture());
    controller_.tick();
    QCoreApplication::processEvents();
    EXPECT_TRUE(showsStartPicture());

    // " 停止" in the middle of a template.
    controller_.play();
    ASSERT_EQ(window_.playbackState(), PlaybackState::Playing);
    controller_.tick();
    EXPECT_FALSE(showsStartPicture());
    controller_.stop();
    EXPECT_TRUE(showsStartPicture());
    controller_.tick();
    QCoreApplication::processEvents();
    EXPECT_TRUE(showsStartPicture());
}

TEST_F(PreviewControllerTest, PlaybackClearsThePhotoSelectionWhenItStartsStopsAndEnds) {
    addTwoCompleteTemplates();
    selectFirstPhoto();
    controller_.play();
    ASSERT_EQ(window_.playbackState(), PlaybackState::Playing);
    EXPECT_EQ(photos_->pages()->selectedPhoto(), -1);
    EXPECT_EQ(photos_->pages()->selectedPhotoWord(), QStringLiteral("wu"));

    selectFirstPhoto();
    controller_.stop();
    EXPECT_EQ(photos_->pages()->selectedPhoto(), -1);

    controller_.play();
    selectFirstPhoto();
    for (int i = 0; i < 400 && window_.playbackState() == PlaybackState::Playing; ++i) {
        controller_.timeline().step();
    }
    ASSERT_EQ(window_.playbackState(), PlaybackState::Stopped);
    EXPECT_EQ(photos_->pages()->selectedPhoto(), -1);
}

TEST_F(PreviewControllerTest, AutoCompleteRunsThePlacementInItsProgressWindow) {
    album_.addTemplate(entryOf(catalogue_, 0, TemplateClass::LandscapeSingle));
    album_.placePhoto(0, 0, 0);
    ProgressWindow::shared().setCaption(QString());
    QString question;
    auto answer = test::whenModalShown([&](QWidget*) {
        question = ConfirmDialog::shared().message();
        ConfirmDialog::shared().okButton()->click();
    });
    controller_.play();
    EXPECT_EQ(question, texts::kAutoCompleteQuestion.arg(1));
    EXPECT_EQ(ProgressWindow::shared().caption(), texts::kAutoPlacementTitle);
    EXPECT_EQ(ProgressWindow::shared().maximum(), 1);  // one step a photo to place
    EXPECT_EQ(album_.templates().size(), 2);
    // The main window shows the template the placement added, and the time with it.
    EXPECT_EQ(part<SummaryLists>(window_)->templates()->topLevelItemCount(), 2);
    EXPECT_EQ(part<CommandPanel>(window_)->totalTimeText(), clockTextOfFrames(30 + 30 + 150));
    // Staged, not playing: playback starts with the next " 播放".
    EXPECT_EQ(window_.playbackState(), PlaybackState::Stopped);
    EXPECT_TRUE(QFileInfo::exists(dataPath(paths::kTemplateStagingFolder)));
}

}  // namespace
}  // namespace vellumo
