#pragma once

// The commands of the main window with their captions and hints.

#include <QList>
#include <QString>

namespace vellumo {

enum class Command {
    AddPhotos,
    AddMusic,
    AddLyrics,
    Sync,
    Quality,
    Crop,
    TemplateManager,
    Backgrounds,
    Settings,
    Vcd,
    Svcd,
    Dvd,
    Avi,
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
};

struct CommandInfo {
    Command command;
    QString caption;
    QString hint;
};

// Every command that has a caption, in the order of the command table.
const QList<CommandInfo>& commandTable();
const CommandInfo& commandInfo(Command command);

// The function menu's items, in order ("退出文件" last).
const QList<Command>& functionMenuCommands();

// " 播放" and " 停止" are the only commands that work while the album plays; the exit sequence
// stops the preview itself.
bool isGuardedWhilePlaying(Command command);

}  // namespace vellumo
