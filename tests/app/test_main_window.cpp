#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTextBrowser>
#include <QToolTip>
#include <QTreeWidget>
#include <QtTest>

#include "album/output_formats.h"
#include "app/about_window.h"
#include "app/app_texts.h"
#include "app/command_panel.h"
#include "app/help_window.h"
#include "app/main_display.h"
#include "app/main_layout.h"
#include "app/main_title_bar.h"
#include "app/main_window.h"
#include "app/program.h"
#include "app/startup_animation.h"
#include "app/summary_lists.h"
#include "app/thumbnail_strip.h"
#include "app/web.h"
#include "dialogs/message_dialog.h"
#include "skin/skin.h"
#include "skin/skin_widgets.h"
#include "tests/support/main_window_parts.h"
#include "tests/support/modal_responder.h"
#include "tests/support/test_files.h"
#include "workspace/data_paths.h"
#include "workspace/program_folder.h"

namespace vellumo {

using test::functionMenu;
using test::part;
using test::programIcon;
using test::startupBox;

namespace {

QStringList headers(QTreeWidget* list) {
    QStringList texts;
    for (int i = 0; i < list->columnCount(); ++i) {
        texts << list->headerItem()->text(i);
    }
    return texts;
}

// Runs trigger and answers the message it raises; returns the message shown, or nothing.
QString messageFrom(const std::function<void()>& trigger) {
    QString shown;
    auto answer1 = test::whenModalShown([&shown](QWidget* modal) {
        if (auto* message = qobject_cast<MessageDialog*>(modal)) {
            shown = message->message();
        }
        static_cast<QDialog*>(modal)->accept();
    });
    trigger();
    return shown;
}

}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        installLook();
        restoreOpener();
    }

    void cleanup() { QTRY_VERIFY_WITH_TIMEOUT(QApplication::activeModalWidget() == nullptr, 2000); }

    void everyCommandAnswersTheGuardWhilePlayingAndDoesNothing() {
        MainWindow window;
        window.show();
        int ran = 0;
        for (const CommandInfo& info : commandTable()) {
            window.setCommandHandler(info.command, [&ran] { ++ran; });
        }
        PlaybackState state = PlaybackState::Playing;
        window.setPlaybackSource([&state] { return state; });
        QCOMPARE(window.playbackStateWord(), words::kPlaying);

        // Through every button, every menu item, the arrows and the list double-clicks.
        QList<std::function<void()>> triggers;
        for (Command command : part<CommandPanel>(window)->commands()) {
            if (command != Command::Play && command != Command::Stop) {
                QPushButton* button = part<CommandPanel>(window)->button(command);
                triggers << [button] { button->click(); };
            }
        }
        for (QAction* action : functionMenu(window)->actions()) {
            if (!action->isSeparator() && !action->menu() &&
                action->text() != texts::kExitCommand) {
                triggers << [action] { action->trigger(); };
            }
        }
        for (QAction* action : part<ThumbnailStrip>(window)->contextMenu()->actions()) {
            triggers << [action] { action->trigger(); };
        }
        triggers << [&] { part<ThumbnailStrip>(window)->previousArrow()->click(); }
                 << [&] { part<ThumbnailStrip>(window)->nextArrow()->click(); }
                 << [&] { emit part<SummaryLists>(window)->musicDoubleClicked(); }
                 << [&] { emit part<SummaryLists>(window)->lyricsDoubleClicked(); };
        QVERIFY(triggers.size() >= 40);
        for (const auto& trigger : triggers) {
            QCOMPARE(messageFrom(trigger), texts::kPlayingGuard);
        }
        QCOMPARE(ran, 0);
        // "添加照片" did not release the start-up animation either.
        QCOMPARE(part<StartupAnimation>(window)->flag(), words::kStartupAnimationHeld);

        // " 播放" and " 停止" pass.
        part<CommandPanel>(window)->button(Command::Play)->click();
        QCOMPARE(ran, 1);
        part<CommandPanel>(window)->button(Command::Stop)->click();
        QCOMPARE(ran, 2);
        QCOMPARE(QApplication::activeModalWidget(), nullptr);

        // Stopped, commands run.
        state = PlaybackState::Stopped;
        part<CommandPanel>(window)->button(Command::AddMusic)->click();
        QCOMPARE(ran, 3);
    }

    void thePlayingStateIsThePreviewsAlone() {
        MainWindow window;
        // Without a preview nothing plays, and " 停止" has no work of its own.
        QCOMPARE(window.playbackState(), PlaybackState::Stopped);
        QVERIFY(!window.hasCommandHandler(Command::Stop));
        PlaybackState previewState = PlaybackState::Playing;
        window.setPlaybackSource([&previewState] { return previewState; });
        QCOMPARE(window.playbackStateWord(), words::kPlaying);
        window.setCommandHandler(Command::Stop, [&] { previewState = PlaybackState::Stopped; });
        window.runCommand(Command::Stop);
        QCOMPARE(window.playbackState(), PlaybackState::Stopped);
        QCOMPARE(window.playbackStateWord(), words::kStopped);
    }

    void commandsCarryTheirCaptionsAndHints() {
        MainWindow window;
        const QList<QPair<Command, QPair<QString, QString>>> expected{
            {Command::AddPhotos, {texts::kAddPhotos, texts::kAddPhotosHint}},
            {Command::Quality, {texts::kQuality, texts::kQualityHint}},
            {Command::Dvd, {QStringLiteral("DVD"), QStringLiteral("支持DVD格式相册 － 推荐使用")}},
            {Command::Play, {QStringLiteral(" 播放"), QStringLiteral("预览全部使用模板效果")}},
            {Command::Stop, {QStringLiteral(" 停止"), QStringLiteral("结束预览")}},
            {Command::ZoomDefault, {texts::kZoomDefault, texts::kZoomDefaultHint}},
        };
        for (const auto& [command, captionAndHint] : expected) {
            QPushButton* button = part<CommandPanel>(window)->button(command);
            QVERIFY(button);
            QCOMPARE(button->text(), captionAndHint.first);
            QCOMPARE(button->toolTip(), captionAndHint.second);
        }
        // Every command of the table with a caption has its button, except the exit, the
        // list double-clicks and the menu items only: "MP4" and the project items.
        for (const CommandInfo& info : commandTable()) {
            if (!info.caption.isEmpty() && info.command != Command::Exit &&
                info.command != Command::Mp4 && info.owner != CommandOwner::Projects) {
                QVERIFY2(part<CommandPanel>(window)->button(info.command),
                         qPrintable(info.caption));
            }
        }
        QCOMPARE(part<ThumbnailStrip>(window)->previousArrow()->toolTip(),
                 texts::kPreviousArrowHint);
        QCOMPARE(part<ThumbnailStrip>(window)->nextArrow()->toolTip(), texts::kNextArrowHint);
        QCOMPARE(part<MainTitleBar>(window)->dragPicture()->toolTip(), texts::kDragHint);
        QCOMPARE(part<CommandPanel>(window)->currentTimeText(), QStringLiteral("00:00:00"));
        QCOMPARE(part<CommandPanel>(window)->totalTimeText(), QStringLiteral("00:00:00"));
    }

    // Each format the table offers has its command with the row's caption and hint: a toolbar
    // button (in the table's order) where the row says so, and a menu item after the
    // backgrounds, in the table's order; the others have neither.
    void productionCommandsFollowTheFormatTable() {
        MainWindow window;
        QStringList menuItems;
        for (QAction* action : functionMenu(window)->actions()) {
            menuItems << action->text();
        }
        QStringList offered;
        int lastButtonX = -1;
        for (const OutputFormat& format : outputFormats()) {
            const Command command = productionCommand(format.type);
            QPushButton* button = part<CommandPanel>(window)->button(command);
            QCOMPARE(button != nullptr, format.place == FormatPlace::ToolbarAndMenu);
            if (button != nullptr) {
                QCOMPARE(button->text(), format.caption);
                QCOMPARE(button->toolTip(), format.hint);
                QVERIFY(button->x() > lastButtonX);
                lastButtonX = button->x();
            }
            if (format.place == FormatPlace::NotOffered) {
                QVERIFY(
                    std::none_of(commandTable().begin(), commandTable().end(),
                                 [command](const CommandInfo& i) { return i.command == command; }));
                continue;
            }
            QCOMPARE(commandInfo(command).caption, format.caption);
            QCOMPARE(commandInfo(command).owner, CommandOwner::OutputWindows);
            offered << format.caption;
        }
        const qsizetype first = menuItems.indexOf(texts::kBackgrounds) + 1;
        QCOMPARE(menuItems.mid(first, offered.size()), offered);
    }

    void functionMenuRepeatsTheCommands() {
        MainWindow window;
        QStringList items;
        for (QAction* action : functionMenu(window)->actions()) {
            if (!action->isSeparator()) {
                items << action->text();
            }
        }
        QCOMPARE(items, (QStringList{"新建相册", "打开相册…", "保存相册", "另存为…", "最近的相册",
                                     "添加照片", "添加音乐", "添加歌词", "照片剪裁", "画面质量",
                                     "同步效果", "模板管理", "背景图片", "VCD", "SVCD", "DVD",
                                     "AVI", "MP4", "退出文件"}));
        bool exitAsked = false;
        connect(&window, &MainWindow::exitRequested, this, [&] { exitAsked = true; });
        functionMenu(window)->actions().constLast()->trigger();
        QVERIFY(exitAsked);
    }

    void geometryAndSkinLayout() {
        MainWindow window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(window.size(), QSize(1191, 690));
        QVERIFY(window.windowFlags() & Qt::FramelessWindowHint);
        QCOMPARE(window.font().family(), texts::kSongTi);
        QCOMPARE(window.font().pixelSize(), 12);
        QCOMPARE(part<MainDisplay>(window)->size(), QSize(800, 450));
        QCOMPARE(startupBox(window)->geometry(), part<MainDisplay>(window)->geometry());
        QCOMPARE(programIcon(window)->geometry(), QRect(7, 8, 32, 32));

        MainTitleBar* bar = part<MainTitleBar>(window);
        QCOMPARE(bar->closeLabel()->geometry(), QRect(1191 - 35, 0, 32, 49));
        QCOMPARE(bar->menuLabel()->geometry(), QRect(1191 - 35 - 28, 0, 28, 49));
        QCOMPARE(bar->websiteLabel()->geometry(), QRect(1191 - 35 - 28 - 30, 0, 30, 49));
        QCOMPARE(bar->dragPicture()->geometry().left(), skin::kMainTitleLeft.width);
        const int buttons =
            skin::kMainClose.width + skin::kMainMenu.width + skin::kMainWebsite.width;
        QCOMPARE(bar->dragPicture()->geometry().right() + 1, 1191 - buttons);

        for (int k = 1; k <= 9; ++k) {
            ThumbnailFrame* frame = part<ThumbnailStrip>(window)->thumbnail(k);
            QCOMPARE(frame->size(), QSize(127, 106));
            QCOMPARE(frame->picture()->geometry(), QRect(5, 5, 118, 96));
        }
        // Nothing overlaps the main display.
        const QRect display = part<MainDisplay>(window)->geometry();
        for (QWidget* panel :
             {part<CommandPanel>(window)->toolbar(), part<CommandPanel>(window)->transport(),
              static_cast<QWidget*>(part<SummaryLists>(window)),
              static_cast<QWidget*>(part<ThumbnailStrip>(window))}) {
            QVERIFY(!panel->geometry().intersects(display));
            QVERIFY(QRect(0, 49, 1191, 690 - 49 - 18).contains(panel->geometry()));
        }
    }

    void titleLabelsAct() {
        test::TempFolder folder;
        setProgramFolder(folder.path());
        folder.write(paths::kHelpPage, "<html><body>help</body></html>");
        MainWindow window;
        window.show();
        opened_.clear();
        // The globe opens the help.
        SkinHotspot* website = part<MainTitleBar>(window)->websiteLabel();
        QTest::mouseClick(website, Qt::LeftButton, {}, website->rect().center());
        QCOMPARE(opened_, QList<QUrl>{QUrl::fromLocalFile(folder.path() + paths::kHelpPage)});
        setProgramFolder(QString());

        bool exitAsked = false;
        connect(&window, &MainWindow::exitRequested, this, [&] { exitAsked = true; });
        SkinHotspot* close = part<MainTitleBar>(window)->closeLabel();
        QTest::mousePress(close, Qt::LeftButton, {}, close->rect().center());
        QVERIFY(!exitAsked);  // Mouse-up, not mouse-down.
        QTest::mouseRelease(close, Qt::LeftButton, {}, close->rect().center());
        QVERIFY(exitAsked);
    }

    void helpOpensInTheBrowserOrInOurWindow() {
        test::TempFolder folder;
        setProgramFolder(folder.path());
        MainWindow window;
        window.show();
        const QUrl page = QUrl::fromLocalFile(folder.path() + paths::kHelpPage);

        // Not installed: told, nothing opened.
        opened_.clear();
        QCOMPARE(messageFrom([&] { window.runCommand(Command::Help); }),
                 texts::kHelpMissing.arg(folder.path() + paths::kHelpPage));
        QVERIFY(opened_.isEmpty());

        folder.write(paths::kHelpPage,
                     "<html><head><title>guide</title></head><body><p>first</p>"
                     "<a name=\"later\"></a><p>later</p></body></html>");
        window.runCommand(Command::Help);
        QCOMPARE(opened_, QList<QUrl>{page});

        // No browser could be started: our help window shows the same page, beside the main
        // window (not modal), and a second request reuses it.
        setWebPageOpener([](const QUrl&) { return false; });
        window.runCommand(Command::Help);
        auto* help = window.findChild<HelpWindow*>();
        QVERIFY(help);
        QVERIFY(help->isVisible());
        QVERIFY(!help->isModal());
        QCOMPARE(help->titleLabel()->text(), texts::kHelp);
        QCOMPARE(help->browser()->source(), page);
        QVERIFY(help->browser()->toPlainText().contains(QStringLiteral("first")));
        QCOMPARE(openHelp(&window, QStringLiteral("later")), help);
        QCOMPARE(window.findChildren<HelpWindow*>().size(), 1);
        help->close();
        restoreOpener();
        setProgramFolder(QString());
    }

    void aboutShowsVersionLicenceAndTheWayToTheHelp() {
        test::TempFolder folder;
        setProgramFolder(folder.path());
        folder.write(paths::kHelpPage, "<html><body>help</body></html>");
        MainWindow window;
        window.show();
        opened_.clear();
        QString version;
        QString licence;
        auto answer = test::whenModalShown([&](QWidget* modal) {
            auto* about = qobject_cast<AboutWindow*>(modal);
            QVERIFY(about);
            QCOMPARE(about->titleLabel()->text(), texts::kAbout);
            version = about->versionLabel()->text();
            licence = about->licenceLabel()->text();
            about->helpButton()->click();
        });
        part<CommandPanel>(window)->button(Command::About)->click();
        QCOMPARE(version, texts::kAboutVersion.arg(AboutWindow::version()));
        QVERIFY(!AboutWindow::version().isEmpty());
        QCOMPARE(licence, texts::kAboutLicence);
        // "帮助文件" there closes it and opens the help; no web address anywhere.
        QCOMPARE(opened_, QList<QUrl>{QUrl::fromLocalFile(folder.path() + paths::kHelpPage)});
        QCOMPARE(QApplication::activeModalWidget(), nullptr);
        setProgramFolder(QString());
    }

    void insertVideoSaysItComesLater() {
        MainWindow window;
        window.show();
        QCOMPARE(
            messageFrom([&] { part<CommandPanel>(window)->button(Command::InsertVideo)->click(); }),
            texts::kInsertVideoLater);
    }

    void summaryListsHaveTheirColumnsAndHints() {
        MainWindow window;
        SummaryLists* lists = part<SummaryLists>(window);
        QCOMPARE(headers(lists->templates()), (QStringList{"序号", "模板", "模板时长"}));
        QCOMPARE(headers(lists->music()), (QStringList{"序号", "音乐", "时间长度"}));
        QCOMPARE(headers(lists->lyrics()), (QStringList{"序号", "歌词", "歌词格式"}));
        QVERIFY(!lists->templates()->isEnabled());
        QCOMPARE(lists->music()->toolTip(), texts::kMusicListHint);
        QCOMPARE(lists->lyrics()->toolTip(), texts::kLyricsListHint);

        int musicPreviews = 0;
        window.setCommandHandler(Command::MusicPreview, [&] { ++musicPreviews; });
        SummaryLists::setRows(lists->music(), {{"1", "甜蜜蜜.mp3", "00:01:15"}});
        QCOMPARE(lists->music()->topLevelItemCount(), 1);
        const QRect row = lists->music()->visualItemRect(lists->music()->topLevelItem(0));
        QTest::mouseDClick(lists->music()->viewport(), Qt::LeftButton, {}, row.center());
        QCOMPARE(musicPreviews, 1);
    }

    void openingClearsTheWorkingFolders() {
        QTemporaryDir folder;
        setProgramFolder(folder.path());
        for (const char* path : {"smxcwjj/wj_y_l/wj_y_l/x.jpg", "linshi/a.wav", "wj_to_wj/b",
                                 "smxcwjj/wj_0_or_2/wjj_00_j_y/keep.rar"}) {
            const QString full = folder.path() + u'/' + QString::fromUtf8(path);
            QDir().mkpath(QFileInfo(full).absolutePath());
            QFile file(full);
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        MainWindow window;
        part<MainDisplay>(window)->showLyric({QStringLiteral("歌词"), {}});
        QSignalSpy opened(&window, &MainWindow::opened);
        window.prepareOnOpen();
        QVERIFY(part<MainDisplay>(window)->lyricLabel()->text().isEmpty());
        QCOMPARE(opened.count(), 1);
        QVERIFY(!QFileInfo::exists(folder.path() + "/smxcwjj/wj_y_l"));
        QVERIFY(!QFileInfo::exists(folder.path() + "/linshi"));
        QVERIFY(!QFileInfo::exists(folder.path() + "/wj_to_wj"));
        // The unpack folder holds the unpacked start-up animation; it stays.
        QVERIFY(QFileInfo::exists(folder.path() + "/smxcwjj/wj_0_or_2/wjj_00_j_y/keep.rar"));
        QCOMPARE(QToolTip::palette().color(QPalette::ToolTipBase), QColor(255, 255, 0));
        QCOMPARE(QToolTip::palette().color(QPalette::ToolTipText), QColor(Qt::black));
        QCOMPARE(QToolTip::font().pointSize(), 10);
        setProgramFolder(QString());
    }

private:
    // Pages are recorded, as though a browser had opened them.
    void restoreOpener() {
        setWebPageOpener([this](const QUrl& url) {
            opened_ << url;
            return true;
        });
    }

    QList<QUrl> opened_;
};

}  // namespace vellumo

QTEST_MAIN(vellumo::MainWindowTest)
#include "test_main_window.moc"
