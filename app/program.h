#pragma once

// The program: creates every window once, in a fixed order, runs the splash window's steps
// (single instance, loading step), opens the main window with its start-up animation and ends
// through the exit sequence. ended() tells the entry to leave the event loop.

#include <QObject>
#include <QPointer>
#include <memory>

#include "app/single_instance.h"
#include "app/startup_services.h"

namespace vellumo {

class Album;
class Catalogue;
class ExitDialog;
class MusicPlayer;
class InsertVideoWindow;
class MainWindow;
class PhotoWindows;
class PluginNotice;
class PreviewController;
class ProjectCommands;
class SettingsWindow;
class SplashWindow;
class SystemSettings;

struct ProgramOptions {
    // The name that keeps a second instance out.
    QString instanceName;
    // The splash window's timer before the loading step starts.
    int splashDelayMs = 1000;
};

// Font substitutions, the skin's style sheet and the hint colours, for the whole application.
void installLook();

class Program : public QObject {
    Q_OBJECT
public:
    explicit Program(StartupServices services, ProgramOptions options = {},
                     QObject* parent = nullptr);
    ~Program() override;

    // Creates the windows and runs the splash window's first steps. False when another
    // instance is running: this one has ended at once and the other is left alone.
    bool start();

    // The loading step: the unpack folder removed (bounded wait), the catalogue built with the
    // loading bar advancing, then the main window, or the end when no template was found.
    void runLoadingStep();
    void openMainWindow();
    // The exit dialog; "确定" there ends the program.
    void runExitSequence();
    // Closes every window and emits ended(), once.
    void endProgram();
    bool hasEnded() const { return stage_ == Stage::Ended; }

    SplashWindow* splash() const { return splash_.get(); }
    MainWindow* mainWindow() const { return main_.get(); }
    PhotoWindows* photoWindows() const;
    SystemSettings& settings() const { return *settings_; }
    // The template catalogue (built by the loading step), the album being made and the music
    // player the windows share.
    Catalogue& catalogue() const { return *catalogue_; }
    Album& album() const { return *album_; }
    MusicPlayer& musicPlayer() const { return *musicPlayer_; }
    PreviewController* preview() const { return preview_.get(); }
    SettingsWindow* settingsWindow() const;
    ExitDialog* exitDialog() const;
    InsertVideoWindow* insertVideoWindow() const;
    PluginNotice* pluginNotice() const;
    // The album project commands: save, open, autosave and recovery.
    ProjectCommands* projects() const;

signals:
    void ended();

private:
    void createWindows();
    void wireCommands();

    StartupServices services_;
    ProgramOptions options_;
    SingleInstance instance_;
    std::unique_ptr<SystemSettings> settings_;
    std::unique_ptr<Catalogue> catalogue_;
    std::unique_ptr<Album> album_;
    std::unique_ptr<MusicPlayer> musicPlayer_;
    std::unique_ptr<PreviewController> preview_;
    std::unique_ptr<SplashWindow> splash_;
    std::unique_ptr<MainWindow> main_;
    QPointer<ExitDialog> exitDialog_;
    QPointer<SettingsWindow> settingsWindow_;
    QPointer<InsertVideoWindow> insertVideo_;
    QPointer<PluginNotice> pluginNotice_;
    QPointer<ProjectCommands> projects_;
    QPointer<PhotoWindows> photoWindows_;
    // Exiting: the exit dialog is open.
    enum class Stage { New, Running, Exiting, Ended };
    Stage stage_ = Stage::New;
};

}  // namespace vellumo
