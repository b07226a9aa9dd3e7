#include "app/commands.h"

#include <algorithm>

#include "album/output_formats.h"
#include "app/app_texts.h"
#include "project/project_texts.h"

namespace vellumo {

const QList<CommandInfo>& commandTable() {
    using namespace texts;
    using enum CommandOwner;
    static const QList<CommandInfo> table = [] {
        QList<CommandInfo> commands{
            {Command::NewAlbum, kNewAlbum, {}, Projects},
            {Command::OpenAlbum, kOpenAlbum, {}, Projects},
            {Command::SaveAlbum, kSaveAlbum, {}, Projects},
            {Command::SaveAlbumAs, kSaveAlbumAs, {}, Projects},
            {Command::AddPhotos, kAddPhotos, kAddPhotosHint, PhotoWindows},
            {Command::AddMusic, kAddMusic, kAddMusicHint, MusicLyricsWindows},
            {Command::AddLyrics, kAddLyrics, kAddLyricsHint, MusicLyricsWindows},
            {Command::Sync, kSync, kSyncHint, OutputWindows},
            {Command::Quality, kQuality, kQualityHint, OutputWindows},
            {Command::Crop, kCrop, kCropHint, PhotoWindows},
            {Command::TemplateManager, kTemplateManager, kTemplateManagerHint, TemplateWindows},
            {Command::Backgrounds, kBackgrounds, kBackgroundsHint, PhotoWindows},
            {Command::Settings, kSettings, kSettingsHint, Program},
            {Command::Play, kPlay, kPlayHint, Preview},
            {Command::Stop, kStop, kStopHint, Preview},
            {Command::ZoomIn, kZoomIn, kZoomInHint, PhotoWindows},
            {Command::ZoomOut, kZoomOut, kZoomOutHint, PhotoWindows},
            {Command::ZoomDefault, kZoomDefault, kZoomDefaultHint, PhotoWindows},
            {Command::FirstPage, kFirstPage, {}, PhotoWindows},
            {Command::PreviousPage, kPreviousPage, {}, PhotoWindows},
            {Command::NextPage, kNextPage, {}, PhotoWindows},
            {Command::LastPage, kLastPage, {}, PhotoWindows},
            {Command::ViewPhoto, kViewPhoto, {}, PhotoWindows},
            {Command::PreviewEffect, kPreviewEffect, {}, PhotoWindows},
            {Command::About, kAbout, {}, MainWindow},
            {Command::Help, kHelp, {}, MainWindow},
            // No command opens the insert-video window yet: the button says that it comes later.
            {Command::InsertVideo, kInsertVideo, {}, MainWindow},
            {Command::MusicPreview, {}, kMusicListHint, MusicLyricsWindows},
            {Command::LyricsPreview, {}, kLyricsListHint, MusicLyricsWindows},
            {Command::Exit, kExitCommand, {}, MainWindow},
        };
        // One production command for each format the main window offers.
        for (const OutputFormat& format : outputFormats()) {
            if (format.place != FormatPlace::NotOffered) {
                commands.append(
                    {productionCommand(format.type), format.caption, format.hint, OutputWindows});
            }
        }
        return commands;
    }();
    return table;
}

QList<Command> toolbarProductionCommands() {
    QList<Command> commands;
    for (const OutputFormat& format : outputFormats()) {
        if (format.place == FormatPlace::ToolbarAndMenu) {
            commands.append(productionCommand(format.type));
        }
    }
    return commands;
}

const CommandInfo& commandInfo(Command command) {
    const QList<CommandInfo>& table = commandTable();
    return *std::find_if(table.begin(), table.end(),
                         [command](const CommandInfo& info) { return info.command == command; });
}

const QList<Command>& functionMenuCommands() {
    static const QList<Command> menu = [] {
        QList<Command> items{
            Command::NewAlbum,  Command::OpenAlbum, Command::SaveAlbum,       Command::SaveAlbumAs,
            Command::AddPhotos, Command::AddMusic,  Command::AddLyrics,       Command::Crop,
            Command::Quality,   Command::Sync,      Command::TemplateManager, Command::Backgrounds,
        };
        // The production commands in the formats' order, then the exit.
        for (const OutputFormat& format : outputFormats()) {
            if (format.place != FormatPlace::NotOffered) {
                items.append(productionCommand(format.type));
            }
        }
        items.append(Command::Exit);
        return items;
    }();
    return menu;
}

bool isGuardedWhilePlaying(Command command) {
    return command != Command::Play && command != Command::Stop && command != Command::Exit;
}

}  // namespace vellumo
