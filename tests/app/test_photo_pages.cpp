#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTreeWidget>
#include <QtTest>

#include "album/album_texts.h"
#include "album/photo_list_texts.h"
#include "app/app_texts.h"
#include "app/command_panel.h"
#include "app/main_display.h"
#include "app/main_window.h"
#include "app/photo_pages.h"
#include "app/startup_animation.h"
#include "app/summary_lists.h"
#include "app/thumbnail_strip.h"
#include "dialogs/progress_window.h"
#include "lists/photo_list_window.h"
#include "project/album.h"
#include "settings/system_settings.h"
#include "skin/fonts.h"
#include "skin/skin.h"
#include "tests/support/album_builders.h"
#include "tests/support/main_window_parts.h"
#include "tests/support/modal_responder.h"
#include "tests/support/photo_files.h"
#include "tests/support/test_files.h"
#include "tests/support/window_look.h"

namespace vellumo {

using test::part;

class PhotoPagesTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        test::useWindowLook(1);
        folder_ = std::make_unique<test::TempFolder>();
        wide_ = test::writePhoto(folder_->path() + "wide.jpg", {4000, 3000});
        tall_ = test::writePhoto(folder_->path() + "tall.jpg", {300, 400});
    }

    void init() {
        catalogue_ = std::make_unique<Catalogue>();
        catalogue_->setRecords({test::templateRecord("A", "|picture_1|", "|heng|"),
                                test::templateRecord("P", "|picture_1|", "|shu|")});
        album_ = std::make_unique<Album>(*catalogue_, [](int) { return 0; });
        settings_ = std::make_unique<SystemSettings>();
        window_ = std::make_unique<MainWindow>();
        windows_ = new PhotoWindows(*window_, *album_, *settings_);
        pages_ = windows_->pages();
        emit window_->opened();  // the first page flag goes back to "kaishi"
        window_->show();
    }

    void cleanup() {
        QTRY_VERIFY_WITH_TIMEOUT(QApplication::activeModalWidget() == nullptr, 3000);
        window_.reset();
        album_.reset();
    }

    void pageCommandsSayWhenThereIsNoOtherPage() {
        test::ModalResponder responder;
        for (Command command :
             {Command::FirstPage, Command::NextPage, Command::ZoomIn, Command::ViewPhoto}) {
            window_->runCommand(command);
        }
        clickThumbnail(1);
        QCOMPARE(responder.messages, QStringList(4, texts::kNoPhotos));

        addPhotos(9);
        pages_->showFirstPageAfterAdding();
        const int builds = pages_->pageBuilds();
        responder.messages.clear();
        part<CommandPanel>(*window_)->button(Command::NextPage)->click();
        part<ThumbnailStrip>(*window_)->nextArrow()->click();
        window_->runCommand(Command::LastPage);
        part<CommandPanel>(*window_)->button(Command::PreviousPage)->click();
        part<ThumbnailStrip>(*window_)->previousArrow()->click();
        window_->runCommand(Command::FirstPage);
        QCOMPARE(responder.messages,
                 (QStringList{"已经是最后一页了！", "已经是最后一页了！", "已经是最后一页了！",
                              "已经是第一页了！", "已经是第一页了！", "已经是第一页了！"}));
        QCOMPARE(pages_->pageBuilds(), builds);
        QCOMPARE(pages_->pageNumber(), 0);
    }

    void tenPhotosMakeASecondPageOfOne() {
        addPhotos(10);
        pages_->showFirstPageAfterAdding();
        QVERIFY(!thumbnailPicture(9).isNull());
        QCOMPARE(part<ThumbnailStrip>(*window_)->thumbnail(3)->toolTip(),
                 QStringLiteral("鼠标双击预览模板效果。    第3张, 照片名称: photo3"));
        // Contain with a frame in the 118 × 96 picture box: 112 × 84 inside 3 white pixels.
        QCOMPARE(thumbnailPicture(1).size(), QSize(118, 90));
        QCOMPARE(thumbnailPicture(2).size(), QSize(73, 96));

        part<ThumbnailStrip>(*window_)->nextArrow()->click();
        QCOMPARE(pages_->pageNumber(), 1);
        QCOMPARE(ProgressWindow::shared().caption(), texts::kLoadPhotosTitle);
        QVERIFY(!thumbnailPicture(1).isNull());
        for (int k = 2; k <= 9; ++k) {
            QVERIFY(thumbnailPicture(k).isNull());
            QVERIFY(part<ThumbnailStrip>(*window_)->thumbnail(k)->toolTip().isEmpty());
        }
        // An empty thumbnail does nothing; the one photo of the page is photo row 9.
        clickThumbnail(2);
        QCOMPARE(pages_->selectedPhotoWord(), words::kNone);
        clickThumbnail(1);
        QCOMPARE(pages_->selectedPhoto(), 9);
        QVERIFY(!part<MainDisplay>(*window_)->picture()->pixmap().isNull());

        test::ModalResponder responder;
        window_->runCommand(Command::NextPage);
        QCOMPARE(responder.messages, QStringList{texts::kAlreadyLastPage});
        window_->runCommand(Command::FirstPage);
        QCOMPARE(pages_->pageNumber(), 0);
        window_->runCommand(Command::LastPage);
        QCOMPARE(pages_->pageNumber(), 1);
        // The selected photo stays selected across page changes.
        QCOMPARE(pages_->selectedPhoto(), 9);
        // Emptied pages keep the selection and the hints.
        pages_->clearPages();
        QVERIFY(thumbnailPicture(1).isNull());
        QVERIFY(!part<ThumbnailStrip>(*window_)->thumbnail(1)->toolTip().isEmpty());
        QCOMPARE(pages_->selectedPhoto(), 9);
    }

    void theFirstPageAfterStartUpIsBuiltTwice() {
        addPhotos(3);
        pages_->showFirstPageAfterAdding();
        QCOMPARE(pages_->pageBuilds(), 2);
        QCOMPARE(pages_->firstPageFlag(), words::kFirstPageDone);
        addPhotos(9);
        window_->runCommand(Command::NextPage);
        QCOMPARE(pages_->pageBuilds(), 3);
        window_->runCommand(Command::PreviousPage);
        QCOMPARE(pages_->pageBuilds(), 4);
        QVERIFY(part<CommandPanel>(*window_)->button(Command::PreviousPage)->isEnabled());
    }

    void addPhotosCommandRefreshesSummaryClockAndFirstPage() {
        const QStringList files{wide_, tall_, wide_};
        windows_->photoList()->setFileChooser([&](QWidget*, const FileRequest&) { return files; });
        test::ModalResponder responder;
        responder.other = [](QWidget* modal) {
            if (auto* list = qobject_cast<PhotoListWindow*>(modal)) {
                list->addButton()->click();
                list->returnButton()->click();
            }
        };
        window_->runCommand(Command::AddPhotos);
        QCOMPARE(responder.others, 1);
        QCOMPARE(part<StartupAnimation>(*window_)->flag(), words::kStartupAnimationReleased);
        QCOMPARE(album_->photos().size(), 3);
        QTreeWidget* summary = part<SummaryLists>(*window_)->templates();
        QCOMPARE(summary->topLevelItemCount(), 3);
        QCOMPARE(summary->topLevelItem(1)->text(0), QStringLiteral("2"));
        QCOMPARE(summary->topLevelItem(1)->text(1), QStringLiteral("P"));
        QCOMPARE(summary->topLevelItem(1)->text(2), QStringLiteral("00:00:10"));
        // Three complete templates of 250 frames and the closing movie's 150: 36 seconds.
        QCOMPARE(part<CommandPanel>(*window_)->totalTimeText(), QStringLiteral("00:00:36"));
        QCOMPARE(pages_->pageBuilds(), 2);
        QVERIFY(!thumbnailPicture(3).isNull());
        QVERIFY(thumbnailPicture(4).isNull());
        QCOMPARE(pages_->selectedPhotoWord(), words::kNone);
    }

    void zoomFollowsTheDisplayArithmetic() {
        album_->addPhoto(record(wide_, 4000, 3000));
        album_->addPhoto(record(tall_, 300, 400));
        pages_->showFirstPageAfterAdding();
        test::ModalResponder responder;
        window_->runCommand(Command::ZoomIn);
        QCOMPARE(responder.messages, QStringList{texts::kNoPhotoSelected});

        // Shown in the whole display: "full screen" landscape fills the width, 800 × 600.
        clickThumbnail(1);
        QCOMPARE(pages_->zoomBox().size(), QSize(794, 444));
        QCOMPARE(displayPicture(), QRect(0, -75, 800, 600));
        for (int i = 0; i < 5; ++i) {
            window_->runCommand(Command::ZoomIn);
        }
        QCOMPARE(pages_->zoomBox().size(), QSize(1194, 671));
        QCOMPARE(displayPicture(), QRect(400 - 1194 / 2, 225 - 895 / 2, 1194, 895));
        QVERIFY(displayPicture().left() < 0 && displayPicture().top() < 0);

        window_->runCommand(Command::ZoomDefault);
        QCOMPARE(pages_->zoomBox().size(), QSize(794, 444));
        QCOMPARE(displayPicture().size(), QSize(794, 595));
        for (int i = 0; i < 9; ++i) {
            window_->runCommand(Command::ZoomOut);
        }
        QCOMPARE(pages_->zoomBox().size(), QSize(74, 41));
        QVERIFY(responder.messages.size() == 1);
        window_->runCommand(Command::ZoomOut);
        QCOMPARE(responder.messages.last(), texts::kCannotZoomOutFurther);
        QCOMPARE(pages_->zoomBox().size(), QSize(794, 444));
        QCOMPARE(displayPicture().size(), QSize(794, 595));

        // "横照片适中显示效果": the whole photo inside the box less 6.
        settings_->setLandscapeDisplay(PhotoFit::Medium);
        clickThumbnail(1);
        QCOMPARE(displayPicture(), QRect(104, 3, 592, 444));
        // A portrait photo is always shown whole.
        clickThumbnail(2);
        QCOMPARE(displayPicture(), QRect(400 - 333 / 2, 3, 333, 444));

        ZoomBox box;
        for (int i = 0; i < 40; ++i) {
            QVERIFY(box.zoomIn());
        }
        QCOMPARE(box.width, 3994);
        QVERIFY(!box.zoomIn());
        QCOMPARE(box.width, 3994);
    }

    void thePhotoIsDraggedWithTheLeftButton() {
        album_->addPhoto(record(wide_, 4000, 3000));
        pages_->showFirstPageAfterAdding();
        QLabel* picture = part<MainDisplay>(*window_)->picture();
        // Before a photo is selected the start picture does not move.
        sendButton(QEvent::MouseButtonPress, picture, QPoint(10, 10));
        QCOMPARE(pages_->dragStateWord(), QStringLiteral("anxia"));
        const QPoint before = picture->pos();
        moveMouse(picture, QPoint(40, 40));
        sendButton(QEvent::MouseButtonRelease, picture, QPoint(40, 40));
        QCOMPARE(picture->pos(), before);
        QCOMPARE(pages_->dragStateWord(), QStringLiteral("songkai"));

        clickThumbnail(1);
        const QPoint start = picture->pos();
        sendButton(QEvent::MouseButtonPress, picture, QPoint(100, 120));
        moveMouse(picture, QPoint(150, 90));
        QCOMPARE(picture->pos(), start + QPoint(50, -30));
        moveMouse(picture, QPoint(-900, 100));
        QCOMPARE(picture->pos(), start + QPoint(-950, -50));
        sendButton(QEvent::MouseButtonRelease, picture, QPoint(-900, 100));
        QCOMPARE(pages_->dragStateWord(), QStringLiteral("songkai"));
        moveMouse(picture, QPoint(300, 300));
        QCOMPARE(picture->pos(), start + QPoint(-950, -50));
    }

    void viewPhotoMenuAndDoubleClick() {
        addPhotos(4);
        pages_->showFirstPageAfterAdding();
        QMenu* menu = part<ThumbnailStrip>(*window_)->contextMenu();
        // Before the mouse has been over a thumbnail "查看照片" does nothing.
        menu->actions().at(0)->trigger();
        QCOMPARE(pages_->selectedPhotoWord(), words::kNone);
        QCOMPARE(pages_->pointedThumbnail(), QString());
        QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
        QApplication::sendEvent(part<ThumbnailStrip>(*window_)->thumbnail(3), &enter);
        QCOMPARE(pages_->pointedThumbnail(), QStringLiteral("Image3"));
        menu->actions().at(0)->trigger();
        QCOMPARE(pages_->selectedPhoto(), 2);

        test::ModalResponder responder;
        menu->actions().at(1)->trigger();
        QCOMPARE(responder.messages, QStringList{texts::kDoubleClickToPreview});

        QList<int> opened;
        pages_->setTemplatesOfPhotoHandler([&](int row) { opened << row; });
        QTest::mouseDClick(part<ThumbnailStrip>(*window_)->thumbnail(4), Qt::LeftButton);
        QCOMPARE(opened, QList<int>{3});
        QCOMPARE(pages_->selectedPhoto(), 3);

        // While the album plays a click on a thumbnail only shows the guard.
        window_->setPlaybackSource([] { return PlaybackState::Playing; });
        clickThumbnail(1);
        QCOMPARE(responder.messages.last(), texts::kPlayingGuard);
        QCOMPARE(pages_->selectedPhoto(), 3);
    }

private:
    PhotoRecord record(const QString& path, int w, int h) {
        PhotoRecord r = test::photoRecord(QFileInfo(path).completeBaseName(), w, h);
        r.location = path;
        return r;
    }

    void addPhotos(int count) {
        for (int i = 0; i < count; ++i) {
            PhotoRecord r = record(i % 2 == 0 ? wide_ : tall_, i % 2 == 0 ? 4000 : 300,
                                   i % 2 == 0 ? 3000 : 400);
            r.name = QStringLiteral("photo%1").arg(album_->photos().size() + 1);
            album_->addPhoto(r);
        }
    }

    QPixmap thumbnailPicture(int k) const {
        return part<ThumbnailStrip>(*window_)->thumbnail(k)->picture()->pixmap();
    }

    QRect displayPicture() const { return part<MainDisplay>(*window_)->picture()->geometry(); }

    void clickThumbnail(int k) {
        QTest::mouseClick(part<ThumbnailStrip>(*window_)->thumbnail(k), Qt::LeftButton, {},
                          QPoint(20, 20));
    }

    static void sendButton(QEvent::Type type, QWidget* widget, QPoint at) {
        QMouseEvent event(type, at, widget->mapToGlobal(at), Qt::LeftButton,
                          type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                          Qt::NoModifier);
        QApplication::sendEvent(widget, &event);
    }

    // A move with the left button held, delivered to the picture that took the press.
    static void moveMouse(QWidget* widget, QPoint at) {
        QMouseEvent move(QEvent::MouseMove, at, widget->mapToGlobal(at), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(widget, &move);
    }

    std::unique_ptr<test::TempFolder> folder_;
    QString wide_;
    QString tall_;
    std::unique_ptr<Catalogue> catalogue_;
    std::unique_ptr<Album> album_;
    std::unique_ptr<SystemSettings> settings_;
    std::unique_ptr<MainWindow> window_;
    PhotoWindows* windows_ = nullptr;
    PhotoPages* pages_ = nullptr;
};

}  // namespace vellumo

QTEST_MAIN(vellumo::PhotoPagesTest)
#include "test_photo_pages.moc"
