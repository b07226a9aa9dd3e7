#pragma once

// The commands of the main window with their captions and hints.

#include <QList>
#include <QString>

#include "album/output_options.h"

namespace vellumo {

enum class Command {
    NewAlbum,
    OpenAlbum,
    SaveAlbum,
    SaveAlbumAs,
    AddPhotos,
    AddMusic,
    AddLyrics,
    Sync,
    Quality,
    Crop,
    TemplateManager,
    Backgrounds,
    Settings,
    Play,
    Stop,
    ZoomIn,
    ZoomOut,
    ZoomDefault,
    FirstPage,
    PreviousPage,
    NextPage,
    LastPage,
    ViewPhoto,
    PreviewEffect,
    About,
    Help,
    InsertVideo,
    MusicPreview,
    LyricsPreview,
    Exit,

    // The production commands: one per output format (album/output_formats.h), numbered after
    // the album type, so that a new format needs no command of its own here. Those the program
    // and its tests call by name are named.
    FirstProduction = 1000,
    Vcd = FirstProduction + static_cast<int>(AlbumType::Vcd),
    Svcd = FirstProduction + static_cast<int>(AlbumType::Svcd),
    Dvd = FirstProduction + static_cast<int>(AlbumType::Dvd),
    Avi = FirstProduction + static_cast<int>(AlbumType::Avi),
    Mp4 = FirstProduction + static_cast<int>(AlbumType::Mp4),
};

// The command that produces an album of type.
constexpr Command productionCommand(AlbumType type) {
    return static_cast<Command>(static_cast<int>(Command::FirstProduction) +
                                static_cast<int>(type));
}

// The part of the program that does a command's work; it alone registers the command's handler.
enum class CommandOwner {
    MainWindow,          // the about window, the help, the insert-video notice, the exit
    PhotoWindows,        // photos, backgrounds, the crop window, the photo pages and the zoom
    MusicLyricsWindows,  // music, lyrics and their preview window
    OutputWindows,       // quality, sync and the production buttons
    Preview,             // the album preview: play and stop
    TemplateWindows,     // the template manager
    Projects,            // new, open and save: menu items only
    Program,             // the system settings window
    None,                // a deliberate no-op: the button is there and nothing runs
};

struct CommandInfo {
    Command command;
    QString caption;
    QString hint;
    CommandOwner owner;
};

// Every command of the main window with its caption, hint and owner.
const QList<CommandInfo>& commandTable();
const CommandInfo& commandInfo(Command command);

// The production commands the toolbar shows as buttons, in order.
QList<Command> toolbarProductionCommands();

// The function menu's items, in order: the project items first, "退出文件" last.
const QList<Command>& functionMenuCommands();

// " 播放" and " 停止" are the only commands that work while the album plays; the exit sequence
// stops the preview itself.
bool isGuardedWhilePlaying(Command command);

}  // namespace vellumo
