#pragma once

// The working folders a session clears: what earlier previews, placements and conversions left
// when the main window opens, and the unpacked templates and staged movies when the program
// ends. Everything lies below the working root.

#include <functional>

namespace vellumo {

// The staging folder, the unused-photo folder and the converted music. The unpack folder stays:
// it holds the unpacked start-up animation.
void clearSessionFolders();

// The unpack folder, then the staging folder, asking goOn before every entry: false stops the
// removal where it stands. Returns false when it was stopped.
bool clearFoldersOnExit(const std::function<bool()>& goOn);

}  // namespace vellumo
