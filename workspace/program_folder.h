#pragma once

#include <QString>
#include <functional>

namespace vellumo {

// The folder of the running executable, ending in "/". Every data path is this folder plus a
// relative path of the data tree. Tools and tests may point it elsewhere.
QString programFolder();
void setProgramFolder(const QString& folder);

// programFolder() + relativePath: the installed data, which is only read.
QString dataPath(const QString& relativePath);

// The folder the working folders lie below, ending in "/", with the same relative names as in
// the program folder: the program folder itself unless another root has been set.
QString workingRoot();
// An empty folder makes the working root follow the program folder again.
void setWorkingRoot(const QString& folder);
// workingRoot() + relativePath: every folder and file the program writes.
QString workingPath(const QString& relativePath);

// The per-user working root: $XDG_CACHE_HOME/vellumo/, or ~/.cache/vellumo/ when that variable
// is unset or not an absolute path.
QString userWorkingRoot();

// Whether the current user may create files in folder.
bool isWritableFolder(const QString& folder);

// Chosen once at start-up: the program folder when it can be written, else the per-user root,
// created if missing. Sets the working root and returns it. Throws FileError when the per-user
// root cannot be created.
QString chooseWorkingRoot(const std::function<bool(const QString&)>& writable = isWritableFolder);

}  // namespace vellumo
