#include "app/commands.h"

#include <algorithm>

#include "app/app_texts.h"

namespace vellumo {

const QList<CommandInfo>& commandTable() {
    using namespace texts;
    static const QList<CommandInfo> table{
        {Command::AddPhotos, kAddPhotos, kAddPhotosHint},
        {Command::AddMusic, kAddMusic, kAddMusicHint},
        {Command::AddLyrics, kAddLyrics, kAddLyricsHint},
        {Command::Sync, kSync, kSyncHint},
        {Command::Quality, kQuality, kQualityHint},
        {Command::Crop, kCrop, kCropHint},
        {Command::TemplateManager, kTemplateManager, kTemplateManagerHint},
        {Command::Backgrounds, kBackgrounds, kBackgroundsHint},
        {Command::Settings, kSettings, kSettingsHint},
        {Command::Vcd, kVcd, kVcdHint},
        {Command::Svcd, kSvcd, kSvcdHint},
        {Command::Dvd, kDvd, kDvdHint},
        {Command::Avi, kAvi, kAviHint},
        {Command::Play, kPlay, kPlayHint},
        {Command::Stop, kStop, kStopHint},
        {Command::ZoomIn, kZoomIn, kZoomInHint},
        {Command::ZoomOut, kZoomOut, kZoomOutHint},
        {Command::ZoomDefault, kZoomDefault, kZoomDefaultHint},
        {Command::FirstPage, kFirstPage, {}},
        {Command::PreviousPage, kPreviousPage, {}},
        {Command::NextPage, kNextPage, {}},
        {Command::LastPage, kLastPage, {}},
        {Command::ViewPhoto, kViewPhoto, {}},
        {Command::PreviewEffect, kPreviewEffect, {}},
        {Command::About, kAbout, {}},
        {Command::Help, kHelp, {}},
        {Command::InsertVideo, kInsertVideo, {}},
        {Command::MusicPreview, {}, kMusicListHint},
        {Command::LyricsPreview, {}, kLyricsListHint},
        {Command::Exit, kExitCommand, {}},
    };
    return table;
}

const CommandInfo& commandInfo(Command command) {
    const QList<CommandInfo>& table = commandTable();
    return *std::find_if(table.begin(), table.end(),
                         [command](const CommandInfo& info) { return info.command == command; });
}

const QList<Command>& functionMenuCommands() {
    static const QList<Command> menu{
        Command::AddPhotos,
        Command::AddMusic,
        Command::AddLyrics,
        Command::Crop,
        Command::Quality,
        Command::Sync,
        Command::TemplateManager,
        Command::Backgrounds,
        Command::Vcd,
        Command::Svcd,
        Command::Dvd,
        Command::Avi,
        Command::Exit,
    };
    return menu;
}

bool isGuardedWhilePlaying(Command command) {
    return command != Command::Play && command != Command::Stop && command != Command::Exit;
}

}  // namespace vellumo
