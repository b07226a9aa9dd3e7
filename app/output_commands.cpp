#include "app/output_commands.h"

#include <QFileInfo>

#include <algorithm>

#include <memory>

#include "album/output_formats.h"
#include "app/main_window.h"
#include "app/photo_pages.h"
#include "dialogs/folder_chooser.h"
#include "dialogs/message_dialog.h"
#include "production/output_windows.h"
#include "production/production_run.h"
#include "production/production_texts.h"
#include "production/production_window.h"
#include "project/album.h"
#include "timeline/timeline_texts.h"

namespace vellumo {

namespace {

// A production command, once the playing guard has let it through.
void produce(MainWindow& window, Album& album, OutputOptions& options, AlbumTypeWindow& typeWindow,
             const OutputCommandServices& services, AlbumType type) {
    // No photo, no music for sync with music, no (complete) template: nothing opens.
    if (const QString refusal = checkProductionRequest(album); !refusal.isEmpty()) {
        showMessage(refusal);
        return;
    }
    options = album.outputOptions();
    options.beginProduction(type);
    options.saveFolder.clear();
    album.setOutputOptions(options);
    const AlbumTypeResult chosen = typeWindow.choose();
    album.setOutputOptions(options);
    if (chosen != AlbumTypeResult::Start) {
        return;
    }
    const QString folder = services.chooseFolder(&window);
    if (folder.isEmpty()) {
        return;  // No folder chosen: no production.
    }
    options.saveFolder = folder;
    album.setOutputOptions(options);
    const QString outputFile = options.outputFile();
    // The video never takes the place of a file the album is made from (nor does either file of
    // a disc image).
    const QStringList project =
        services.projectFile ? QStringList{services.projectFile()} : QStringList{};
    const QStringList produced = producedFiles(options, outputFile);
    for (const QString& file : produced) {
        if (const QString refusal = checkOutputFile(album, file, project); !refusal.isEmpty()) {
            showMessage(refusal);
            return;
        }
    }
    // An existing file is replaced only when the user says so (and only once the new one is
    // complete).
    const auto existing = std::find_if(produced.begin(), produced.end(),
                                       [](const QString& file) { return QFileInfo::exists(file); });
    if (existing != produced.end() &&
        !confirm(texts::kReplaceFileCaption, texts::kReplaceFileQuestion.arg(*existing))) {
        return;
    }
    ProductionWindow production(album, &window, services.converterFactory);
    production.setFolderOpener(services.openFolder);
    production.produce(outputFile);
}

}  // namespace

void wireOutputCommands(MainWindow& window, Album& album, OutputCommandServices services) {
    if (!services.chooseFolder) {
        services.chooseFolder = chooseAlbumFolder;
    }
    // The windows change a copy of the album's options, which the album takes when a window
    // closes.
    auto options = std::make_shared<OutputOptions>(album.outputOptions());
    auto* typeWindow = new AlbumTypeWindow(*options, &window);
    auto* quality = new QualityWindow(*options, &window);
    auto* sync = new SyncWindow(*options, &window);

    window.setCommandHandler(Command::Quality, [&album, options, quality] {
        *options = album.outputOptions();
        quality->exec();
        album.setOutputOptions(*options);
    });
    window.setCommandHandler(Command::Sync, [&window, &album, options, sync] {
        *options = album.outputOptions();
        sync->exec();
        album.setOutputOptions(*options);
        // Both clocks start again; with sync with template the total is the album's.
        window.showClock(texts::kClockZero, idleTotalTime(album));
    });
    for (const OutputFormat& format : outputFormats()) {
        if (format.place == FormatPlace::NotOffered) {
            continue;
        }
        window.setCommandHandler(
            productionCommand(format.type),
            [&window, &album, options, typeWindow, services, type = format.type] {
                produce(window, album, *options, *typeWindow, services, type);
            });
    }
}

}  // namespace vellumo
