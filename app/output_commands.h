#pragma once

// The main window's output commands: "画面质量", "同步效果" and the production buttons.

namespace vellumo {

class Album;
class MainWindow;

// Creates the album type, picture quality and sync windows (children of the main window) and
// registers the commands that open them.
void wireOutputCommands(MainWindow& window, Album& album);

}  // namespace vellumo
