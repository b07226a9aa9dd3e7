#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QSignalSpy>
#include <QtTest>

#include <ctime>

#include <utime.h>

#include "app/app_texts.h"
#include "app/exit_dialog.h"
#include "app/help_window.h"
#include "app/main_display.h"
#include "app/main_window.h"
#include "app/plugin_notice.h"
#include "app/program.h"
#include "app/single_instance.h"
#include "app/splash_window.h"
#include "app/startup_animation.h"
#include "app/web.h"
#include "catalogue/catalogue_texts.h"
#include "dialogs/message_dialog.h"
#include "movie/movie_player.h"
#include "skin/artwork.h"
#include "skin/skin_widgets.h"
#include "tests/support/main_window_parts.h"
#include "tests/support/modal_responder.h"
#include "tests/support/test_files.h"
#include "workspace/data_paths.h"
#include "workspace/folders.h"
#include "workspace/packed_file.h"
#include "workspace/program_folder.h"

namespace vellumo {

using test::part;
using test::startupBox;

namespace {

const QByteArray kStartupMovie = "vellumo-movie 1\nframes 50\nbackground #203040\n";

QString uniqueInstanceName() {
    static int counter = 0;
    return QStringLiteral("vellumo-startup-test-%1-%2")
        .arg(QCoreApplication::applicationPid())
        .arg(++counter);
}

StartupServices servicesWith(int packages, CatalogueLoad load, int* calls = nullptr) {
    StartupServices services;
    services.countParameterPackages = [packages] { return packages; };
    services.buildCatalogue = [packages, load, calls](const std::function<void()>& tick) {
        if (calls) {
            ++*calls;
        }
        for (int i = 0; i < packages; ++i) {
            tick();
        }
        return load;
    };
    return services;
}

void releaseCloseLabel(SkinnedDialog* dialog) {
    QWidget* label = dialog->closeLabel();
    QTest::mousePress(label, Qt::LeftButton, {}, label->rect().center());
    QTest::mouseRelease(label, Qt::LeftButton, {}, label->rect().center());
}

}  // namespace

class StartupTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        installLook();
        setWebPageOpener([this](const QUrl& url) {
            opened_ << url;
            return true;
        });
    }

    void init() {
        folder_ = std::make_unique<test::TempFolder>();
        setProgramFolder(folder_->path());
    }

    void cleanup() {
        QTRY_VERIFY_WITH_TIMEOUT(QApplication::activeModalWidget() == nullptr, 2000);
        setProgramFolder(QString());
        folder_.reset();
    }

    void secondInstanceEndsAtOnceAndLeavesTheFirstAlone() {
        const QString name = uniqueInstanceName();
        SingleInstance first(name);
        QVERIFY(first.acquire());

        int builds = 0;
        Program second(servicesWith(1, {1, {}}, &builds), {name, 0});
        QSignalSpy ended(&second, &Program::ended);
        QVERIFY(!second.start());
        QCOMPARE(ended.count(), 1);
        QVERIFY(!second.splash()->isVisible());
        QVERIFY(!second.mainWindow()->isVisible());
        QTest::qWait(50);
        QCOMPARE(builds, 0);
        QVERIFY(first.isHeld());

        // Once the first has gone, a new start runs.
        first.release();
        Program third(servicesWith(0, {}), {name, 0});
        QVERIFY(third.start());
        third.endProgram();
    }

    void noPackagesEndsWithoutMessage() {
        bool modalSeen = false;
        auto answer1 = test::whenModalShown([&](QWidget* modal) {
            modalSeen = true;
            static_cast<QDialog*>(modal)->reject();
        });
        Program program(servicesWith(0, {0, {}}), {uniqueInstanceName(), 0});
        QSignalSpy ended(&program, &Program::ended);
        QVERIFY(program.start());
        QVERIFY(program.splash()->isVisible());
        QTRY_COMPARE(ended.count(), 1);
        QVERIFY(!modalSeen);
        QVERIFY(!program.mainWindow()->isVisible());
    }

    void loadingStepClearsUnpackFolderCountsAndTellsLeftOutOnce() {
        folder_->write(paths::kUnpackFolder + "old.rar", "x");
        writeStartupPackage(kStartupMovie);
        const CatalogueLoad load{2, {QStringLiteral("模板三：参数文件已损坏")}};
        Program program(servicesWith(3, load), {uniqueInstanceName(), 0});

        QStringList messages;
        auto answer2 = test::whenModalShown([&](QWidget* modal) {
            auto* message = qobject_cast<MessageDialog*>(modal);
            QVERIFY(message);
            // Shown before the main window opens, after the splash has gone.
            QVERIFY(!program.splash()->isVisible());
            QVERIFY(!program.mainWindow()->isVisible());
            messages << message->message();
            message->okButton()->click();
        });
        QVERIFY(program.start());
        QTRY_VERIFY(program.mainWindow()->isVisible());
        QCOMPARE(messages.size(), 1);
        QCOMPARE(messages.first(),
                 texts::kTemplatesLeftOut + QStringLiteral("\n模板三：参数文件已损坏"));
        QCOMPARE(program.splash()->loadingBar()->maximum(), 3);
        QCOMPARE(program.splash()->loadingBar()->value(), 3);
        QVERIFY(!QFileInfo::exists(dataPath(paths::kUnpackFolder + "old.rar")));
        QTest::qWait(50);
        QCOMPARE(messages.size(), 1);
        program.endProgram();
    }

    void loadingStepRemovesStaleWorkingFoldersOfEndedRuns() {
        // A command-line run killed an hour ago left its working folder; a running one keeps its.
        test::TempFolder temp;
        const QByteArray tmpdir = qgetenv("TMPDIR");
        qputenv("TMPDIR", QFile::encodeName(temp.path()));
        const QString stale = temp.mkdir("vellumo-work-2147480000-aB3dE6");
        temp.write("vellumo-work-2147480000-aB3dE6/smxcwjj/linshi/1.jpg", "x");
        const std::time_t hourAgo = std::time(nullptr) - 3600;
        const utimbuf times{hourAgo, hourAgo};
        QCOMPARE(::utime(QFile::encodeName(stale).constData(), &times), 0);
        const QString running = temp.mkdir(
            QStringLiteral("vellumo-work-%1-aB3dE6").arg(QCoreApplication::applicationPid()));
        writeStartupPackage(kStartupMovie);
        Program program(servicesWith(1, {1, {}}), {uniqueInstanceName(), 0});
        QVERIFY(program.start());
        QTRY_VERIFY(program.mainWindow()->isVisible());
        QVERIFY(!QFileInfo::exists(stale));
        QVERIFY(QFileInfo::exists(running));
        program.endProgram();
        if (tmpdir.isNull()) {
            qunsetenv("TMPDIR");
        } else {
            qputenv("TMPDIR", tmpdir);
        }
    }

    void startupAnimationPlaysAndFirstAddPhotosReleasesIt() {
        auto program = startedProgram();
        MainWindow* window = program->mainWindow();
        QVERIFY(window->isVisible());
        StartupAnimation* animation = part<StartupAnimation>(*window);
        QTRY_VERIFY(animation->player() && animation->player()->isPlaying());
        QCOMPARE(animation->player()->totalFrames(), 50);
        QVERIFY(startupBox(*window)->isVisible());
        QCOMPARE(startupBox(*window)->geometry(), part<MainDisplay>(*window)->geometry());
        // The unpacked movie is deleted once loaded; the twelve intermediate files stay.
        QVERIFY(!QFileInfo::exists(dataPath(paths::kUnpackedStartupAnimation)));
        const QStringList names =
            QDir(dataPath(paths::kUnpackFolder)).entryList(QDir::Files, QDir::Name);
        QCOMPARE(names.size(), 12);
        for (int level = 1; level <= 12; ++level) {
            const QRegularExpression pattern(
                QStringLiteral("^wj_0_or_2_2_d_2%1\\d{6}\\.rar$").arg(level));
            QVERIFY2(!names.filter(pattern).isEmpty(), qPrintable(names.join(u' ')));
        }

        int added = 0;
        window->setCommandHandler(Command::AddPhotos, [&] { ++added; });
        window->runCommand(Command::AddPhotos);
        QCOMPARE(added, 1);
        QCOMPARE(animation->flag(), words::kStartupAnimationReleased);
        QCOMPARE(animation->player(), nullptr);
        QVERIFY(!startupBox(*window)->isVisible());
        QCOMPARE(part<MainDisplay>(*window)->picture()->pos(), QPoint(0, 0));
        QCOMPARE(part<MainDisplay>(*window)->picture()->size(),
                 QSize(artwork::kStartPictureWidth, artwork::kStartPictureHeight));
        window->runCommand(Command::AddPhotos);
        QCOMPARE(added, 2);
        QCOMPARE(animation->flag(), words::kStartupAnimationReleased);
        program->endProgram();
    }

    void anAnimationReleasedBeforeItWasLoadedDoesNotAskForThePlugin() {
        // Photos can arrive (an album recovered or opened) before the animation timer fires.
        StartupAnimation animation(nullptr, nullptr, nullptr);
        QSignalSpy failed(&animation, &StartupAnimation::loadFailed);
        animation.release();
        QVERIFY(animation.load());
        QCOMPARE(failed.count(), 0);
        QCOMPARE(animation.flag(), words::kStartupAnimationReleased);
        // Not released, the same missing player is a failed load.
        StartupAnimation held(nullptr, nullptr, nullptr);
        QSignalSpy heldFailed(&held, &StartupAnimation::loadFailed);
        QVERIFY(!held.load());
        QCOMPARE(heldFailed.count(), 1);
    }

    void everyCommandHasTheHandlerOfItsOwnerOrIsADeliberateNoOp() {
        auto program = startedProgram();
        const MainWindow* window = program->mainWindow();
        for (const CommandInfo& info : commandTable()) {
            QVERIFY2(window->hasCommandHandler(info.command) == (info.owner != CommandOwner::None),
                     qPrintable(info.caption + info.hint));
        }
        // The preview owns " 播放" and " 停止" and the playing state.
        QCOMPARE(window->playbackState(), PlaybackState::Stopped);
        program->endProgram();
    }

    void damagedStartupPackageGivesStartPictureAndPluginNotice() {
        folder_->write(paths::kStartupAnimation, QByteArray("\x10\x00\x00\x00garbage", 11));
        Program program(servicesWith(1, {1, {}}), {uniqueInstanceName(), 0});
        QSignalSpy ended(&program, &Program::ended);

        QString caption;
        QStringList texts;
        auto answer3 = test::whenModalShown([&](QWidget* modal) {
            auto* notice = qobject_cast<PluginNotice*>(modal);
            QVERIFY(notice);
            caption = notice->titleLabel()->text();
            texts << notice->missingLabel()->text() << notice->adviceLabel()->text();
            QCOMPARE(notice->size(), PluginNotice::kSize);
            QCOMPARE(notice->quitButton()->toolTip(), texts::kPluginQuitHint);
            QCOMPARE(notice->downloadButton()->toolTip(), texts::kPluginDownloadHint);
            // The static start picture is already showing, centred, the box hidden.
            MainWindow* window = program.mainWindow();
            QVERIFY(!startupBox(*window)->isVisible());
            const QSize picture(artwork::kStartPictureWidth, artwork::kStartPictureHeight);
            QCOMPARE(part<MainDisplay>(*window)->picture()->geometry(),
                     QRect(MainDisplay::centredPosition(picture), picture));
            notice->quitButton()->click();
        });
        QVERIFY(program.start());
        QTRY_COMPARE(ended.count(), 1);
        QCOMPARE(caption, texts::kPluginCaption);
        QCOMPARE(texts, (QStringList{texts::kPluginMissing, texts::kPluginAdvice}));
        QVERIFY(!program.mainWindow()->isVisible());
    }

    void pluginNoticeLinksAndDownload() {
        // Both lead to the help's section on the start-up animation: it comes with the program.
        folder_->write(paths::kHelpPage, "<html><body>help</body></html>");
        PluginNotice notice;
        opened_.clear();
        const QUrl section = helpPage(texts::kStartupMovieHelpSection);
        QCOMPARE(section.toLocalFile(), dataPath(paths::kHelpPage));
        emit notice.helpLink()->linkActivated(section.toString());
        QString shown;
        auto answer4 = test::whenModalShown([&](QWidget* modal) {
            shown = static_cast<MessageDialog*>(modal)->message();
            static_cast<QDialog*>(modal)->accept();
        });
        notice.downloadButton()->click();
        QCOMPARE(opened_, (QList<QUrl>{section, section}));
        QVERIFY(notice.helpLink()->text().contains(section.toString(QUrl::FullyEncoded)) ||
                notice.helpLink()->text().contains(section.toString()));
        QCOMPARE(shown, texts::kPluginInstallFirstQuit);
        QCOMPARE(notice.helpLink()->toolTip(), texts::kPluginHelpLinkHint);
    }

    void mainWindowOpensCentredOnTheScreen() {
        const QSize size(MainWindow::kClientWidth, MainWindow::kClientHeight);
        QCOMPARE(MainWindow::centredOn(size, QRect(0, 0, 1920, 1080)), QPoint(364, 195));
        QCOMPARE(MainWindow::centredOn(size, QRect(1920, 30, 1600, 900)), QPoint(2124, 135));
        // Larger than the screen: the title bar stays on it.
        QCOMPARE(MainWindow::centredOn(size, QRect(0, 0, 1024, 600)), QPoint(0, 0));

        writeStartupPackage(kStartupMovie);
        Program program(servicesWith(1, {1, {}}), {uniqueInstanceName(), 0});
        QVERIFY(program.start());
        MainWindow* window = program.mainWindow();
        window->move(321, 123);  // anywhere but the centre, before the loading step opens it
        QTRY_VERIFY(window->isVisible());
        const QRect area = window->screen()->availableGeometry();
        QCOMPARE(window->pos(), MainWindow::centredOn(size, area));
        program.endProgram();
    }

    void centring() {
        QCOMPARE(MainDisplay::centredPosition(QSize(640, 360)), QPoint(80, 45));
        QCOMPARE(MainDisplay::centredPosition(QSize(801, 451)), QPoint(0, 0));
        QCOMPARE(MainDisplay::centredPosition(QSize(1194, 671)), QPoint(-197, -110));
    }

    void exitCancelAndCloseLabelLeaveTheWorkingFolders() {
        auto program = startedProgram();
        fillWorkingFolders();
        for (int way = 0; way < 2; ++way) {
            auto answer5 = test::whenModalShown([way](QWidget* modal) {
                auto* dialog = qobject_cast<ExitDialog*>(modal);
                QVERIFY(dialog);
                QCOMPARE(dialog->titleLabel()->text(), texts::kExitCaption);
                QCOMPARE(dialog->messageLabel()->text(), texts::kExitQuestion);
                if (way == 0) {
                    dialog->cancelButton()->click();
                } else {
                    releaseCloseLabel(dialog);
                }
            });
            program->mainWindow()->runCommand(Command::Exit);
            QVERIFY(!program->hasEnded());
            QVERIFY(QFileInfo::exists(dataPath(paths::kUnpackFolder + "a.rar")));
            QVERIFY(QFileInfo::exists(dataPath(paths::kTemplateStagingFolder + "x.jpg")));
        }
        program->endProgram();
    }

    void exitOkRemovesUnpackAndStagingAndEnds() {
        auto program = startedProgram();
        fillWorkingFolders();
        // The preview plays; its " 停止" ends it.
        PlaybackState previewState = PlaybackState::Playing;
        int stops = 0;
        program->mainWindow()->setPlaybackSource([&previewState] { return previewState; });
        program->mainWindow()->setCommandHandler(Command::Stop, [&] {
            ++stops;
            previewState = PlaybackState::Stopped;
        });
        QSignalSpy ended(program.get(), &Program::ended);
        int barMaximum = -1;
        auto answer6 = test::whenModalShown([&](QWidget* modal) {
            auto* dialog = qobject_cast<ExitDialog*>(modal);
            QVERIFY(dialog);
            connect(dialog->loadingBar(), &QProgressBar::valueChanged, dialog, [&, dialog] {
                barMaximum = dialog->loadingBar()->maximum();
                // Nothing can be pressed while the folders go.
                QVERIFY(!dialog->okButton()->isEnabled());
                QVERIFY(!dialog->cancelButton()->isEnabled());
                QVERIFY(!dialog->closeLabel()->isEnabled());
            });
            dialog->okButton()->click();
        });
        const int packages = countPackages(dataPath(paths::kUnpackFolder));
        // The exit stops the preview first; it is not refused while playing.
        program->mainWindow()->runCommand(Command::Exit);
        QCOMPARE(ended.count(), 1);
        QCOMPARE(stops, 1);
        QCOMPARE(program->mainWindow()->playbackState(), PlaybackState::Stopped);
        QCOMPARE(barMaximum, packages);
        QCOMPARE(packages, 12 + 3);  // the animation's intermediate files and ours
        QVERIFY(!QFileInfo::exists(dataPath(paths::kUnpackFolder)));
        QVERIFY(!QFileInfo::exists(dataPath(paths::kStagingFolder)));
        QVERIFY(QFileInfo::exists(dataPath(paths::kStartupAnimation)));
        QVERIFY(!program->mainWindow()->isVisible());
    }

    void exitCleanupIsPacedShowsItsProgressAndIsBounded() {
        // Thousands of working files: window events go through every 50 ms, not after each.
        for (int i = 0; i < 600; ++i) {
            folder_->write(paths::kUnpackFolder + QStringLiteral("p%1.rar").arg(i), "x");
        }
        folder_->write(paths::kTemplateStagingFolder + "x.jpg", "x");
        ExitDialog dialog;
        qint64 now = 0;
        // Each entry takes 2 ms.
        dialog.setClock([&now] { return now += 2; });
        QStringList messages;
        int barHeight = 0;
        bool barText = false;
        connect(dialog.loadingBar(), &QProgressBar::valueChanged, &dialog, [&] {
            if (!messages.contains(dialog.messageLabel()->text())) {
                messages << dialog.messageLabel()->text();
            }
            barHeight = dialog.loadingBar()->height();
            barText = dialog.loadingBar()->isTextVisible();
        });
        auto answer = test::whenModalShown(
            [](QWidget* modal) { static_cast<ExitDialog*>(modal)->okButton()->click(); });
        QCOMPARE(dialog.exec(), int(QDialog::Accepted));
        QVERIFY2(dialog.eventRounds() <= 600 * 2 / ExitDialog::kPumpEveryMs + 1,
                 qPrintable(QString::number(dialog.eventRounds())));
        // Past half a second the dialog says what it does, with a bar that can be seen.
        QVERIFY(dialog.progressShown());
        QCOMPARE(messages, (QStringList{texts::kExitQuestion, texts::kExitCleaning}));
        QCOMPARE(barHeight, ExitDialog::kProgressBarHeight);
        QVERIFY(barText);
        QVERIFY(!dialog.stoppedAtLimit());
        QVERIFY(!QFileInfo::exists(dataPath(paths::kUnpackFolder)));
        QVERIFY(!QFileInfo::exists(dataPath(paths::kStagingFolder)));

        // A clean-up that would take longer stops at the limit; the next start removes the rest.
        for (int i = 0; i < 600; ++i) {
            folder_->write(paths::kUnpackFolder + QStringLiteral("q%1.rar").arg(i), "x");
        }
        now = 0;
        dialog.setClock([&now] { return now += 20; });
        auto again = test::whenModalShown([](QWidget* modal) {
            auto* exit = static_cast<ExitDialog*>(modal);
            // Shown again, it asks again.
            QCOMPARE(exit->messageLabel()->text(), texts::kExitQuestion);
            QVERIFY(exit->okButton()->isVisible());
            exit->okButton()->click();
        });
        QCOMPARE(dialog.exec(), int(QDialog::Accepted));
        QVERIFY(dialog.stoppedAtLimit());
        QVERIFY(QFileInfo::exists(dataPath(paths::kUnpackFolder)));
    }

    void platformCloseRunsTheExitDialog() {
        auto program = startedProgram();
        bool asked = false;
        auto answer7 = test::whenModalShown([&](QWidget* modal) {
            asked = qobject_cast<ExitDialog*>(modal) != nullptr;
            static_cast<ExitDialog*>(modal)->cancelButton()->click();
        });
        program->mainWindow()->close();
        QTRY_VERIFY(asked);
        QVERIFY(program->mainWindow()->isVisible());
        QVERIFY(!program->hasEnded());
        program->endProgram();
    }

private:
    void writeStartupPackage(const QByteArray& movie) {
        folder_->write(paths::kStartupAnimation, packNested(movie, paths::kStartupAnimationDepth));
    }

    void fillWorkingFolders() {
        folder_->write(paths::kUnpackFolder + "a.rar", "x");
        folder_->write(paths::kUnpackFolder + "sub/b.RAR", "x");
        folder_->write(paths::kUnpackFolder + "c.rar", "x");
        folder_->write(paths::kUnpackFolder + "d.ini", "x");
        folder_->write(paths::kTemplateStagingFolder + "x.jpg", "x");
    }

    std::unique_ptr<Program> startedProgram() {
        writeStartupPackage(kStartupMovie);
        auto program = std::make_unique<Program>(servicesWith(1, {1, {}}),
                                                 ProgramOptions{uniqueInstanceName(), 0});
        if (!program->start()) {
            return program;
        }
        const bool loaded = QTest::qWaitFor(
            [&] {
                const StartupAnimation* animation = part<StartupAnimation>(*program->mainWindow());
                return animation->player() && animation->player()->isLoaded();
            },
            5000);
        Q_UNUSED(loaded);  // The tests check what they need.
        return program;
    }

    std::unique_ptr<test::TempFolder> folder_;
    QList<QUrl> opened_;
};

}  // namespace vellumo

QTEST_MAIN(vellumo::StartupTest)
#include "test_startup.moc"
