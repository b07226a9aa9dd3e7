#pragma once

// Folder work on the data tree: removal, creation, package search.

#include <QString>
#include <QStringList>
#include <chrono>
#include <functional>

namespace vellumo {

// Called once for every entry met, files and folders alike.
using EntryProgress = std::function<void()>;

// Deletes a folder with everything below it. A file without any write permission bit (the
// platform's read-only mark) is left in place, and so is every folder that still holds
// something. Symbolic links are removed, never followed. A missing folder is nothing to do.
// Never reports an error.
void removeFolderTree(const QString& folder, const EntryProgress& progress = {});
// The same, asking goOn before every entry: false stops the removal where it stands, and what is
// left stays. Returns false when it was stopped.
bool removeFolderTreeWhile(const QString& folder, const std::function<bool()>& goOn);

// Waits until the folder no longer exists, calling pump (which may process window events)
// every few milliseconds, at most for limit. True when the folder is gone.
bool waitUntilGone(const QString& folder, std::chrono::milliseconds limit,
                   const std::function<void()>& pump = {});

// How long start-up waits for the unpack folder to vanish before it goes on regardless.
inline constexpr std::chrono::milliseconds kFolderRemovalWait{2000};

// Creates the folder with all missing parents, trying again while it does not exist. Returns
// the number of creation attempts (0 when it already existed). Throws FileError when it still
// does not exist after a bounded number of attempts.
int ensureFolder(const QString& folder);

// Files with extension ".rar" or ".RAR" (exactly) anywhere below folder, in search order: names
// sorted in byte order within each folder, and a subfolder searched at once where it stands.
QStringList findPackages(const QString& folder);
int countPackages(const QString& folder);

}  // namespace vellumo
