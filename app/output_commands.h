#pragma once

// The main window's output commands: "画面质量", "同步效果" and the production commands
// (one for each output format the main window offers, album/output_formats.h).

#include <QString>
#include <functional>

#include "production/conversion_driver.h"

class QWidget;

namespace vellumo {

class Album;
class MainWindow;

// What the production commands ask of the desktop; tests stand in for both.
struct OutputCommandServices {
    // The save folder ending in "/", or empty when the user cancels (the folder chooser).
    std::function<QString(QWidget* parent)> chooseFolder;
    // Opens a folder in the file manager.
    std::function<void(const QString& folder)> openFolder;
    // Makes the converter for each production (FFmpeg's by default).
    ConversionDriver::ConverterFactory converterFactory;
    // The album's project file, which the video must not overwrite; empty while there is none.
    std::function<QString()> projectFile;
};

// Creates the album type, picture quality and sync windows (children of the main window) and
// registers the commands that open them. A production command asks for the album type, the
// name and the save folder, then produces the album in the production window.
void wireOutputCommands(MainWindow& window, Album& album, OutputCommandServices services = {});

}  // namespace vellumo
