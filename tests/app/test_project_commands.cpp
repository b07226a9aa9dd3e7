#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QtTest>

#include "app/app_texts.h"
#include "app/exit_dialog.h"
#include "app/main_display.h"
#include "app/main_title_bar.h"
#include "app/main_window.h"
#include "app/photo_pages.h"
#include "app/program.h"
#include "app/project_commands.h"
#include "app/save_question.h"
#include "app/startup_animation.h"
#include "dialogs/message_dialog.h"
#include "movie/movie_player.h"
#include "project/album.h"
#include "project/project_texts.h"
#include "skin/skin_texts.h"
#include "tests/support/album_builders.h"
#include "tests/support/main_window_parts.h"
#include "tests/support/modal_responder.h"
#include "tests/support/photo_files.h"
#include "tests/support/test_files.h"
#include "workspace/data_paths.h"
#include "workspace/packed_file.h"
#include "workspace/program_folder.h"

namespace vellumo {

using test::ModalResponder;
using test::part;

namespace {

QString uniqueInstanceName() {
    static int counter = 0;
    return QStringLiteral("vellumo-project-test-%1-%2")
        .arg(QCoreApplication::applicationPid())
        .arg(++counter);
}

StartupServices oneTemplate() {
    StartupServices services;
    services.countParameterPackages = [] { return 1; };
    services.buildCatalogue = [](const std::function<void()>& tick) {
        tick();
        return CatalogueLoad{1, {}};
    };
    return services;
}

QAction* menuItem(const MainWindow& window, const QString& caption) {
    for (QAction* action : test::functionMenu(window)->actions()) {
        if (action->text() == caption) {
            return action;
        }
    }
    return nullptr;
}

// Answers the save question with the button chosen by answer.
ModalResponder::Step answerSaveQuestion(SaveAnswer answer, QStringList* log) {
    return [answer, log](QWidget* modal) {
        auto* question = qobject_cast<SaveQuestionDialog*>(modal);
        if (!question) {
            log->append(QStringLiteral("<not the save question>"));
            static_cast<QDialog*>(modal)->reject();
            return;
        }
        log->append(question->caption() + QStringLiteral(": ") + question->message());
        (answer == SaveAnswer::Save       ? question->saveButton()
         : answer == SaveAnswer::DontSave ? question->dontSaveButton()
                                          : question->cancelButton())
            ->click();
    };
}

ModalResponder::Step acceptExit(QStringList* log) {
    return [log](QWidget* modal) {
        auto* dialog = qobject_cast<ExitDialog*>(modal);
        log->append(dialog ? texts::kExitCaption : QStringLiteral("<not the exit dialog>"));
        dialog ? dialog->okButton()->click() : static_cast<QDialog*>(modal)->reject();
    };
}

}  // namespace

class ProjectCommandsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { installLook(); }

    void init() {
        folder_ = std::make_unique<test::TempFolder>();
        setProgramFolder(folder_->path());
        folder_->write(paths::kStartupAnimation,
                       packNested("vellumo-movie 1\nframes 50\nbackground #203040\n",
                                  paths::kStartupAnimationDepth));
        // A data folder of this test's own below the one CTest gives.
        QVERIFY(!qEnvironmentVariableIsEmpty("XDG_DATA_HOME"));
        qputenv("XDG_DATA_HOME", QFile::encodeName(folder_->path() + QStringLiteral("data")));
    }

    void cleanup() {
        QTRY_VERIFY_WITH_TIMEOUT(QApplication::activeModalWidget() == nullptr, 2000);
        setProgramFolder(QString());
        folder_.reset();
    }

    void exitAsksToSaveUnsavedChangesWithEachAnswer() {
        for (const SaveAnswer answer :
             {SaveAnswer::Cancel, SaveAnswer::DontSave, SaveAnswer::Save}) {
            auto program = startedProgram();
            ProjectCommands* projects = program->projects();
            const QString saveTo = folder_->path() + QStringLiteral("kept.vellumo");
            QStringList presets;
            projects->setChoosers({}, [&](QWidget*, const QString& preset) {
                presets << preset;
                return saveTo;
            });
            addPhoto(*program, QStringLiteral("one"));
            QVERIFY(projects->session().writeRecovery());
            QSignalSpy ended(program.get(), &Program::ended);

            QStringList log;
            QList<ModalResponder::Step> steps{answerSaveQuestion(answer, &log)};
            if (answer != SaveAnswer::Cancel) {
                steps << acceptExit(&log);
            }
            ModalResponder responder(steps, 5000);
            program->mainWindow()->runCommand(Command::Exit);
            QTRY_VERIFY(responder.finished());
            const QString question = texts::kSaveQuestionCaption + QStringLiteral(": ") +
                                     texts::kSaveQuestion.arg(texts::kUntitledAlbum);
            if (answer == SaveAnswer::Cancel) {
                // Nothing more is asked, nothing saved, the program and its recovery file stay.
                QTest::qWait(100);
                QCOMPARE(log, QStringList{question});
                QCOMPARE(ended.count(), 0);
                QVERIFY(!QFileInfo::exists(saveTo));
                QVERIFY(ProjectSession::hasRecovery());
                program->endProgram();
                continue;
            }
            QCOMPARE(log, (QStringList{question, texts::kExitCaption}));
            QCOMPARE(ended.count(), 1);
            // A normal end removes the recovery file.
            QVERIFY(!ProjectSession::hasRecovery());
            if (answer == SaveAnswer::Save) {
                // Offered in the user's pictures (or home) folder, not where the program runs.
                QCOMPARE(presets, QStringList{albumsFolder() + u'/' + texts::kUntitledAlbum +
                                              kProjectExtension});
                QVERIFY(QFileInfo(albumsFolder()).isDir());
                QVERIFY(albumsFolder() == QDir::homePath() ||
                        albumsFolder() ==
                            QStandardPaths::writableLocation(QStandardPaths::PicturesLocation));
                Catalogue catalogue;
                QCOMPARE(readProject(saveTo, catalogue).album.photos.size(), 1);
            } else {
                QVERIFY(presets.isEmpty());
                QVERIFY(!QFileInfo::exists(saveTo));
            }
        }
    }

    void aSaveThatDoesNotHappenKeepsTheProgramRunning() {
        auto program = startedProgram();
        // The file chooser is cancelled.
        program->projects()->setChoosers({}, [](QWidget*, const QString&) { return QString(); });
        addPhoto(*program, QStringLiteral("one"));
        QSignalSpy ended(program.get(), &Program::ended);
        QStringList log;
        ModalResponder responder({answerSaveQuestion(SaveAnswer::Save, &log)}, 5000);
        program->mainWindow()->runCommand(Command::Exit);
        QTRY_VERIFY(responder.finished());
        QTest::qWait(100);
        QCOMPARE(ended.count(), 0);
        QCOMPARE(QApplication::activeModalWidget(), nullptr);
        program->endProgram();
    }

    void menuItemsSaveNewAndOpenWithTheTitleFollowing() {
        auto program = startedProgram();
        MainWindow* window = program->mainWindow();
        ProjectCommands* projects = program->projects();
        const QString path = folder_->path() + QStringLiteral("夏天");
        projects->setChoosers(
            [&](QWidget*, const FileRequest& request) {
                chooserCaptions_ << request.caption;
                return QStringList{path + kProjectExtension};
            },
            [&](QWidget*, const QString&) { return path; });
        const MainTitleBar* titleBar = part<MainTitleBar>(*window);
        QCOMPARE(window->windowTitle(), texts::kUntitledAlbum + " - " + texts::kApplicationTitle);
        QCOMPARE(titleBar->albumName(), texts::kUntitledAlbum);

        // Changes show the mark within the change check.
        addPhoto(*program, QStringLiteral("one"));
        QTRY_COMPARE(titleBar->albumName(), texts::kUntitledAlbum + texts::kUnsavedMark);
        QCOMPARE(menuItem(*window, texts::kSaveAlbum)->shortcut(),
                 QKeySequence(QKeySequence::Save));
        QCOMPARE(menuItem(*window, texts::kNewAlbum)->shortcut(), QKeySequence(QKeySequence::New));
        QCOMPARE(menuItem(*window, texts::kOpenAlbum)->shortcut(),
                 QKeySequence(QKeySequence::Open));
        QVERIFY(window->actions().contains(menuItem(*window, texts::kSaveAlbum)));

        // "保存相册" of an album never saved asks for a file; ".vellumo" is added.
        menuItem(*window, texts::kSaveAlbum)->trigger();
        QVERIFY(QFileInfo::exists(path + kProjectExtension));
        QCOMPARE(window->windowTitle(), QStringLiteral("夏天 - ") + texts::kApplicationTitle);
        QCOMPARE(titleBar->albumName(), QStringLiteral("夏天"));
        const QList<QAction*> recent = window->recentAlbumsMenu()->actions();
        QCOMPARE(recent.size(), 1);
        QCOMPARE(recent.first()->text(), path + kProjectExtension);

        // "新建相册" with changes asks first; "不保存" empties the album.
        addPhoto(*program, QStringLiteral("two"));
        QStringList log;
        {
            ModalResponder responder({answerSaveQuestion(SaveAnswer::DontSave, &log)}, 5000);
            menuItem(*window, texts::kNewAlbum)->trigger();
            QTRY_VERIFY(responder.finished());
        }
        QCOMPARE(log.size(), 1);
        QVERIFY(log.first().contains(QStringLiteral("夏天")));
        QCOMPARE(program->album().photos().size(), 0);
        QCOMPARE(titleBar->albumName(), texts::kUntitledAlbum);

        // The recent item opens the saved album (nothing unsaved: no question).
        window->recentAlbumsMenu()->actions().first()->trigger();
        QCOMPARE(program->album().photos().size(), 1);
        QCOMPARE(titleBar->albumName(), QStringLiteral("夏天"));

        // "打开相册…" of a damaged file tells it and keeps the album.
        folder_->write(QStringLiteral("夏天.vellumo"), "{\"format\":");
        {
            ModalResponder responder({test::acceptMessage(&log)}, 5000);
            menuItem(*window, texts::kOpenAlbum)->trigger();
            QTRY_VERIFY(responder.finished());
        }
        QCOMPARE(chooserCaptions_, QStringList{texts::kOpenAlbumCaption});
        QCOMPARE(log.last(), texts::kAlbumFileDamaged.arg(path + kProjectExtension));
        QCOMPARE(program->album().photos().size(), 1);
        program->endProgram();
    }

    void anAlbumOpenedDuringTheStartupAnimationShowsItsPhotos() {
        const QString path = folder_->path() + QStringLiteral("旧相册.vellumo");
        {
            Catalogue catalogue;
            Album album(catalogue);
            album.addPhoto(photoRecord(QStringLiteral("one")));
            ProjectSession session(album, nullptr);
            session.save(path);
        }
        auto program = startedProgram();
        MainWindow* window = program->mainWindow();
        StartupAnimation* animation = part<StartupAnimation>(*window);
        QTRY_VERIFY(animation->player() && animation->player()->isPlaying());

        program->projects()->openAlbum(path);
        QCOMPARE(program->album().photos().size(), 1);
        // The animation has made way for the photos, which show where it played.
        QCOMPARE(animation->flag(), words::kStartupAnimationReleased);
        QVERIFY(!test::startupBox(*window)->isVisible());
        QCOMPARE(part<MainDisplay>(*window)->picture()->pixmap().toImage(),
                 window->startPicture().convertToFormat(
                     part<MainDisplay>(*window)->picture()->pixmap().toImage().format()));

        // A thumbnail click and "查看照片" show the photo there.
        PhotoPages* pages = program->photoWindows()->pages();
        emit window->thumbnailClicked(1);
        QCOMPARE(pages->selectedPhoto(), 0);
        QVERIFY(part<MainDisplay>(*window)->picture()->isVisible());
        pages->clearSelection();
        emit window->thumbnailPointed(1);
        window->runCommand(Command::ViewPhoto);
        QCOMPARE(pages->selectedPhoto(), 0);
        QVERIFY(!test::startupBox(*window)->isVisible());
        program->endProgram();
    }

    void saveAsAsksBeforeReplacingTheFileWithItsExtension() {
        auto program = startedProgram();
        ProjectCommands* projects = program->projects();
        // The name is typed without its extension; the file with it is another album.
        const QString file = folder_->path() + QStringLiteral("旅行") + kProjectExtension;
        folder_->write(QStringLiteral("旅行") + kProjectExtension, "another album");
        projects->setChoosers(
            {}, [&](QWidget*, const QString&) { return folder_->path() + QStringLiteral("旅行"); });
        addPhoto(*program, QStringLiteral("one"));
        for (const bool replace : {false, true}) {
            QStringList log;
            bool saved = !replace;
            {
                ModalResponder responder({test::answerQuestion(replace, &log)}, 5000);
                saved = projects->saveAlbumAs();
                QTRY_VERIFY(responder.finished());
            }
            QCOMPARE(log, QStringList{texts::kSaveAlbumAsCaption + QStringLiteral(": ") +
                                      texts::kReplaceAlbumFile.arg(file)});
            QCOMPARE(saved, replace);
            if (!replace) {
                QCOMPARE(test::readFile(file), QByteArray("another album"));
                QVERIFY(projects->session().path().isEmpty());
            } else {
                Catalogue catalogue;
                QCOMPARE(readProject(file, catalogue).album.photos.size(), 1);
                QCOMPARE(projects->session().path(), file);
            }
        }
        program->endProgram();
    }

    void aFailedAutosaveIsToldInTheStatusLine() {
        auto program = startedProgram();
        MainWindow* window = program->mainWindow();
        ProjectCommands* projects = program->projects();
        projects->session().setAutosaveInterval(20);
        // The data folder cannot be made: a file stands in its way.
        const QByteArray data = qgetenv("XDG_DATA_HOME");
        qputenv("XDG_DATA_HOME", QFile::encodeName(folder_->write("blocked", "x") + "/data"));
        const QString recovery = recoveryFilePath();
        addPhoto(*program, QStringLiteral("one"));
        QTRY_COMPARE_WITH_TIMEOUT(window->statusText(), texts::kAutosaveFailed.arg(recovery), 5000);
        // Saved, the album is kept again and the line goes.
        qputenv("XDG_DATA_HOME", data);
        projects->setChoosers(
            {}, [&](QWidget*, const QString&) { return folder_->path() + QStringLiteral("kept"); });
        QVERIFY(projects->saveAlbumAs());
        QCOMPARE(window->statusText(), QString());
        program->endProgram();
    }

    void recoveryIsOfferedAtStartAndRestoresTheAlbum() {
        for (const bool restore : {true, false}) {
            {
                // A run that ended without its exit left its album.
                Catalogue catalogue;
                Album album(catalogue);
                album.addPhoto(photoRecord(QStringLiteral("left")));
                ProjectSession session(album, nullptr);
                QVERIFY(session.writeRecovery());
            }
            QStringList log;
            ModalResponder responder({test::answerQuestion(restore, &log)}, 30000);
            auto program = startedProgram();
            QTRY_VERIFY(responder.finished());
            QCOMPARE(log, QStringList{texts::kRecoveryCaption + QStringLiteral(": ") +
                                      texts::kRecoveryQuestion});
            const MainTitleBar* titleBar = part<MainTitleBar>(*program->mainWindow());
            if (restore) {
                QCOMPARE(program->album().photos().size(), 1);
                QCOMPARE(titleBar->albumName(), texts::kUntitledAlbum + texts::kUnsavedMark);
                // Kept until the album is saved or the program ends normally.
                QVERIFY(ProjectSession::hasRecovery());
            } else {
                QCOMPARE(program->album().photos().size(), 0);
                QVERIFY(!ProjectSession::hasRecovery());
            }
            program->projects()->session().stop();
            program->endProgram();
            QVERIFY(!ProjectSession::hasRecovery());
        }
    }

private:
    PhotoRecord photoRecord(const QString& name) {
        PhotoRecord record = test::photoRecord(name, 80, 60);
        record.location =
            test::writeSolidPhoto(folder_->path() + name + QStringLiteral(".jpg"), QSize(80, 60));
        return record;
    }

    void addPhoto(Program& program, const QString& name) {
        program.album().addPhoto(photoRecord(name));
    }

    std::unique_ptr<Program> startedProgram() {
        auto program =
            std::make_unique<Program>(oneTemplate(), ProgramOptions{uniqueInstanceName(), 0});
        if (program->start()) {
            const bool shown =
                QTest::qWaitFor([&] { return program->mainWindow()->isVisible(); }, 5000);
            Q_UNUSED(shown);  // The tests check what they need.
        }
        return program;
    }

    std::unique_ptr<test::TempFolder> folder_;
    QStringList chooserCaptions_;
};

}  // namespace vellumo

QTEST_MAIN(vellumo::ProjectCommandsTest)
#include "test_project_commands.moc"
