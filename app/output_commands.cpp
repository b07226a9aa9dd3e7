#include "app/output_commands.h"

#include "app/main_window.h"
#include "dialogs/folder_chooser.h"
#include "preview/preview_timeline.h"
#include "preview/timeline_texts.h"
#include "production/output_windows.h"
#include "project/album.h"

namespace vellumo {

namespace {

void produce(MainWindow& window, AlbumTypeWindow& typeWindow, OutputOptions& options,
             AlbumType type) {
    options.beginProduction(type);
    if (typeWindow.choose() != AlbumTypeResult::Start) {
        return;
    }
    const QString folder = chooseAlbumFolder(&window);
    if (folder.isEmpty()) {
        return;  // No folder chosen: no production.
    }
    options.saveFolder = folder;
    // The production run joins here with the production window.
}

}  // namespace

void wireOutputCommands(MainWindow& window, Album& album) {
    OutputOptions& options = album.outputOptions();
    auto* typeWindow = new AlbumTypeWindow(options, &window);
    auto* quality = new QualityWindow(options, &window);
    auto* sync = new SyncWindow(options, &window);

    window.setCommandHandler(Command::Quality, [quality] { quality->exec(); });
    window.setCommandHandler(Command::Sync, [&window, &album, sync] {
        sync->exec();
        // Both clocks start again; with sync with template the total is the album's.
        window.showClock(texts::kClockZero, album.outputOptions().sync == SyncMode::WithTemplate
                                                ? clockTextOfFrames(albumTotalFrames(album))
                                                : texts::kClockZero);
    });
    for (auto [command, type] :
         {std::pair{Command::Vcd, AlbumType::Vcd}, std::pair{Command::Svcd, AlbumType::Svcd},
          std::pair{Command::Dvd, AlbumType::Dvd}}) {
        window.setCommandHandler(command, [&window, typeWindow, &options, type = type] {
            produce(window, *typeWindow, options, type);
        });
    }
}

}  // namespace vellumo
