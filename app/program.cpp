#include "app/program.h"

#include <QApplication>
#include <QTimer>

#include "app/app_texts.h"
#include "app/exit_dialog.h"
#include "app/main_window.h"
#include "app/music_lyrics_windows.h"
#include "app/output_commands.h"
#include "app/photo_pages.h"
#include "app/plugin_notice.h"
#include "app/preview_controller.h"
#include "app/project_commands.h"
#include "app/splash_window.h"
#include "app/template_windows.h"
#include "catalogue/catalogue.h"
#include "catalogue/catalogue_texts.h"
#include "dialogs/insert_video_window.h"
#include "dialogs/message_dialog.h"
#include "manager/template_install.h"
#include "manager/template_manager_window.h"
#include "media/music_player.h"
#include "project/album.h"
#include "settings/settings_window.h"
#include "settings/system_settings.h"
#include "skin/fonts.h"
#include "skin/qt_texts.h"
#include "skin/skin.h"
#include "workspace/data_paths.h"
#include "workspace/errors.h"
#include "workspace/folders.h"
#include "workspace/leftovers.h"
#include "workspace/program_folder.h"

namespace vellumo {

namespace {

QString leftOutMessage(const QStringList& leftOut) {
    return texts::kTemplatesLeftOut + u'\n' + leftOut.join(u'\n');
}

void pumpEvents() {
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

}  // namespace

void installLook() {
    installFontSubstitutions();
    installQtChineseTexts();
    qApp->setStyleSheet(skinStyleSheet());
}

Program::Program(StartupServices services, ProgramOptions options, QObject* parent)
    : QObject(parent),
      services_(std::move(services)),
      options_(std::move(options)),
      instance_(options_.instanceName.isEmpty() ? texts::kApplicationTitle : options_.instanceName),
      settings_(std::make_unique<SystemSettings>()),
      catalogue_(std::make_unique<Catalogue>()),
      album_(std::make_unique<Album>(*catalogue_)),
      musicPlayer_(std::make_unique<MusicPlayer>()) {
    // Without services of its own the program reads the installed catalogue.
    if (!services_.countParameterPackages) {
        services_.countParameterPackages = [] {
            return countPackages(dataPath(paths::kParameterPackages)) +
                   countPackages(workingPath(paths::kUserParameterPackages));
        };
    }
    if (!services_.buildCatalogue) {
        services_.buildCatalogue = [this](const std::function<void()>& tick) {
            CatalogueLoad load;
            if (catalogue_->build(tick)) {
                load.templateCount = static_cast<int>(catalogue_->records().size());
                load.leftOut = catalogue_->leftOutLines();
            }
            return load;
        };
    }
}

Program::~Program() {
    // The dialogs are children of the main window and go with it.
    preview_.reset();
    main_.reset();
    splash_.reset();
    musicPlayer_.reset();
    album_.reset();
}

SettingsWindow* Program::settingsWindow() const {
    return settingsWindow_;
}

ExitDialog* Program::exitDialog() const {
    return exitDialog_;
}

InsertVideoWindow* Program::insertVideoWindow() const {
    return insertVideo_;
}

PluginNotice* Program::pluginNotice() const {
    return pluginNotice_;
}

ProjectCommands* Program::projects() const {
    return projects_;
}

PhotoWindows* Program::photoWindows() const {
    return photoWindows_;
}

void Program::createWindows() {
    splash_ = std::make_unique<SplashWindow>();
    main_ = std::make_unique<MainWindow>();
    // The music list, lyrics list, music preview and lyric settings windows, with their commands.
    new MusicLyricsWindows(*main_, *album_, *musicPlayer_);
    // The photo list, background and template options windows, the photo pages, their commands.
    auto* photoWindows = new PhotoWindows(*main_, *album_, *settings_);
    photoWindows_ = photoWindows;
    // The template preview window and the photo template chooser, opened from the photo pages.
    auto* templateWindows = new TemplateWindows(*main_, *album_, photoWindows->pages());
    // Templates the user adds there go into the catalogue the album uses.
    templateWindows->manager()->setTemplateInstaller(
        [this](const QString& parameterPackage, const QString& moviePackage) {
            return installUserTemplate(*catalogue_, parameterPackage, moviePackage);
        });
    projects_ = new ProjectCommands(*main_, *album_, *settings_);
    connect(projects_, &ProjectCommands::albumReplaced, photoWindows,
            &PhotoWindows::showReplacedAlbum);
    MessageDialog::shared();
    exitDialog_ = new ExitDialog(main_.get());
    ConfirmDialog::shared();
    settingsWindow_ = new SettingsWindow(*settings_, main_.get());
    insertVideo_ = new InsertVideoWindow(main_.get());
    pluginNotice_ = new PluginNotice(main_.get());
    preview_ = std::make_unique<PreviewController>(*main_, *album_, *musicPlayer_);
    OutputCommandServices output;
    output.projectFile = [this] { return projects_ ? projects_->session().path() : QString(); };
    wireOutputCommands(*main_, *album_, output);
    wireCommands();
}

void Program::wireCommands() {
    MainWindow* window = main_.get();
    window->setCommandHandler(Command::Settings, [this] {
        if (settingsWindow_) {
            settingsWindow_->exec();
        }
    });
    connect(window, &MainWindow::exitRequested, this, &Program::runExitSequence);
    connect(window, &MainWindow::startupAnimationFailed, this, [this] {
        if (pluginNotice_ && !hasEnded()) {
            pluginNotice_->exec();
        }
    });
    connect(pluginNotice_, &PluginNotice::quitRequested, this, &Program::endProgram);
}

bool Program::start() {
    if (stage_ != Stage::New) {
        return !hasEnded();
    }
    stage_ = Stage::Running;
    installLook();
    createWindows();
    if (!instance_.acquire()) {
        endProgram();
        return false;
    }
    splash_->show();
    QTimer::singleShot(options_.splashDelayMs, this, [this] {
        // The main window's loading timer.
        QTimer::singleShot(1, this, &Program::runLoadingStep);
    });
    return true;
}

void Program::runLoadingStep() {
    if (hasEnded()) {
        return;
    }
    // What killed runs of ours left in the temporary folder goes first.
    removeStaleWorkingFolders();
    const QString unpackFolder = workingPath(paths::kUnpackFolder);
    removeFolderTree(unpackFolder);
    waitUntilGone(unpackFolder, kFolderRemovalWait, pumpEvents);

    const int packages = services_.countParameterPackages ? services_.countParameterPackages() : 0;
    splash_->startLoading(packages);

    CatalogueLoad load;
    try {
        if (services_.buildCatalogue) {
            load = services_.buildCatalogue([this] { splash_->advance(); });
        }
    } catch (const Error& error) {
        splash_->hide();
        showMessage(error.message());
        endProgram();
        return;
    }
    splash_->hide();
    if (!load.leftOut.isEmpty()) {
        showMessage(leftOutMessage(load.leftOut));
    }
    // Without templates there is nothing to make an album from.
    if (load.templateCount <= 0) {
        endProgram();
        return;
    }
    if (!hasEnded()) {
        openMainWindow();
    }
}

void Program::openMainWindow() {
    MainWindow* window = main_.get();
    window->centreOnScreen();
    window->show();
    window->activateWindow();
    window->prepareOnOpen();
    window->startStartupAnimation();
}

void Program::runExitSequence() {
    if (stage_ == Stage::Exiting || stage_ == Stage::Ended || !exitDialog_) {
        return;
    }
    const Stage before = stage_;
    stage_ = Stage::Exiting;
    // A running preview stops first; an idle one keeps its staged files until "确定".
    if (main_->playbackState() == PlaybackState::Playing) {
        main_->runCommand(Command::Stop);
    }
    // Unsaved changes are settled first; "取消" there keeps the program running.
    if (projects_ && !projects_->settleUnsavedChanges()) {
        if (stage_ == Stage::Exiting) {
            stage_ = before;
        }
        return;
    }
    QPointer<ExitDialog> dialog = exitDialog_;
    const int result = dialog->exec();
    if (stage_ == Stage::Exiting) {  // not ended while the dialog was open
        stage_ = before;
    }
    if (dialog && result == QDialog::Accepted) {
        endProgram();
    }
}

void Program::endProgram() {
    if (stage_ == Stage::Ended) {
        return;
    }
    stage_ = Stage::Ended;
    if (projects_) {
        projects_->programEnded();
    }
    for (QDialog* dialog :
         {static_cast<QDialog*>(pluginNotice_.data()), static_cast<QDialog*>(exitDialog_.data()),
          static_cast<QDialog*>(settingsWindow_.data()), static_cast<QDialog*>(insertVideo_.data()),
          static_cast<QDialog*>(&MessageDialog::shared()),
          static_cast<QDialog*>(&ConfirmDialog::shared())}) {
        if (dialog && dialog->isVisible()) {
            dialog->reject();
        }
    }
    if (main_) {
        main_->allowClose();
        main_->close();
    }
    if (splash_) {
        splash_->close();
    }
    instance_.release();
    emit ended();
}

}  // namespace vellumo
