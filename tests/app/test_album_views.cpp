// One user action, one announcement: the album tells its views once, and every view that shows
// the album (summaries, total time, list windows, template manager, the project's unsaved mark)
// shows the new state without being refreshed by hand.

#include <QSignalSpy>
#include <QTreeWidget>
#include <QtTest>

#include "album/album_texts.h"
#include "album/photo_list_texts.h"
#include "app/command_panel.h"
#include "app/main_window.h"
#include "app/music_lyrics_windows.h"
#include "app/photo_pages.h"
#include "app/preview_controller.h"
#include "app/summary_lists.h"
#include "app/template_windows.h"
#include "dialogs/file_chooser.h"
#include "dialogs/progress_window.h"
#include "lists/background_window.h"
#include "lists/photo_list_window.h"
#include "media/music_player.h"
#include "project/album.h"
#include "project/project_session.h"
#include "settings/system_settings.h"
#include "tests/support/album_builders.h"
#include "tests/support/main_window_parts.h"
#include "tests/support/modal_responder.h"
#include "tests/support/photo_files.h"
#include "tests/support/test_files.h"
#include "timeline/timeline_texts.h"

namespace vellumo {

using test::part;

namespace {

QStringList column(const QTreeWidget* list, int c) {
    QStringList texts;
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        texts << list->topLevelItem(i)->text(c);
    }
    return texts;
}

QStringList usedNames(const Album& album) {
    QStringList names;
    for (const UsedTemplate& t : album.templates().templates()) {
        names << t.info->name;
    }
    return names;
}

}  // namespace

class AlbumViewsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { ProgressWindow::shared().setTaskDelay(1); }

    void init() {
        folder_ = std::make_unique<test::TempFolder>();
        qputenv("XDG_DATA_HOME", QFile::encodeName(folder_->path() + QStringLiteral("data")));
        catalogue_ = std::make_unique<Catalogue>();
        catalogue_->setRecords({test::templateRecord("A", "|picture_1|", "|heng|"),
                                test::templateRecord("P", "|picture_1|", "|shu|")});
        album_ = std::make_unique<Album>(*catalogue_, [](int) { return 0; });
        player_ = std::make_unique<MusicPlayer>();
        player_->setSoundOutput(false);
        window_ = std::make_unique<MainWindow>();
        photos_ = new PhotoWindows(*window_, *album_, settings_);
        templates_ = new TemplateWindows(*window_, *album_, photos_->pages());
        new MusicLyricsWindows(*window_, *album_, *player_);
        preview_ = std::make_unique<PreviewController>(*window_, *album_, *player_);
        session_ = std::make_unique<ProjectSession>(*album_, &settings_);
        session_->start();
    }

    void cleanup() {
        QTRY_VERIFY_WITH_TIMEOUT(QApplication::activeModalWidget() == nullptr, 3000);
        session_->stop();
        session_.reset();
        preview_.reset();
        window_.reset();
        player_.reset();
        album_.reset();
    }

    void oneActionOneAnnouncementAndEveryViewFollows() {
        QSignalSpy changed(album_.get(), &Album::changed);
        QTreeWidget* summary = part<SummaryLists>(*window_)->templates();
        CommandPanel* total = part<CommandPanel>(*window_);
        QCOMPARE(summary->topLevelItemCount(), 0);
        QCOMPARE(total->totalTimeText(), texts::kClockZero);

        // Three photos added in the photo list: photos, placement and backgrounds change as one.
        PhotoListWindow* list = photos_->photoList();
        const QStringList files{photo("a.jpg", {400, 300}), photo("b.jpg", {300, 400}),
                                photo("c.jpg", {640, 480})};
        list->setFileChooser([&](QWidget*, const FileRequest&) { return files; });
        list->show();
        {
            test::ModalResponder responder;
            list->addButton()->click();
        }
        QCOMPARE(changed.count(), 1);
        QCOMPARE(album_->photos().size(), 3);
        QCOMPARE(usedNames(*album_), (QStringList{"A", "P", "A"}));
        QCOMPARE(column(summary, 1), usedNames(*album_));
        QCOMPARE(total->totalTimeText(), idleTotalTime(*album_));
        QVERIFY(total->totalTimeText() != texts::kClockZero);
        QVERIFY(session_->isModified());
        QVERIFY(session_->autosavePending());
        // The photo list shows the photos in their templates.
        QCOMPARE(column(list->list(), 6), QStringList(3, texts::kInTemplate));
        list->hide();

        // A photo deleted in the photo list, while the background window is open: its template
        // is no longer complete and leaves the album's length.
        BackgroundWindow* backgrounds = photos_->backgrounds();
        backgrounds->show();
        QCOMPARE(backgrounds->list()->topLevelItemCount(), 3);
        const QString totalBefore = total->totalTimeText();
        changed.clear();
        {
            test::ModalResponder responder;
            responder.answers = {true};
            list->show();
            QTreeWidget* rows = list->list();
            rows->scrollToItem(rows->topLevelItem(1));
            QTest::mouseClick(rows->viewport(), Qt::LeftButton, {},
                              rows->visualItemRect(rows->topLevelItem(1)).center());
            list->deleteButton()->click();
            QCOMPARE(responder.messages, QStringList{texts::kPhotoDeleted});
        }
        QCOMPARE(changed.count(), 1);
        QCOMPARE(album_->photos().size(), 2);
        QCOMPARE(column(list->list(), 1), (QStringList{"a", "c"}));
        QVERIFY(!album_->templates().at(1).complete);
        QCOMPARE(column(summary, 1), usedNames(*album_));
        QCOMPARE(total->totalTimeText(), idleTotalTime(*album_));
        QVERIFY(total->totalTimeText() != totalBefore);
        QCOMPARE(backgrounds->list()->topLevelItemCount(), 3);
        backgrounds->hide();
        list->hide();

        // The options: the total time follows the sync mode at once.
        changed.clear();
        test::changeOptions(*album_,
                            [](OutputOptions& options) { options.sync = SyncMode::WithMusic; });
        QCOMPARE(changed.count(), 1);
        QCOMPARE(total->totalTimeText(), texts::kClockZero);
    }

private:
    QString photo(const QString& name, QSize size) {
        return test::writePhoto(folder_->path() + name, size);
    }

    std::unique_ptr<test::TempFolder> folder_;
    std::unique_ptr<Catalogue> catalogue_;
    std::unique_ptr<Album> album_;
    std::unique_ptr<MusicPlayer> player_;
    SystemSettings settings_;
    std::unique_ptr<MainWindow> window_;
    PhotoWindows* photos_ = nullptr;
    TemplateWindows* templates_ = nullptr;
    std::unique_ptr<PreviewController> preview_;
    std::unique_ptr<ProjectSession> session_;
};

}  // namespace vellumo

QTEST_MAIN(vellumo::AlbumViewsTest)
#include "test_album_views.moc"
