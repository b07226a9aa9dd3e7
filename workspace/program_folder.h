#pragma once

#include <QString>

namespace vellumo {

// The folder of the running executable, ending in "/". Every data path is this folder plus a
// relative path of the data tree. Tools and tests may point it elsewhere.
QString programFolder();
void setProgramFolder(const QString& folder);

// programFolder() + relativePath.
QString dataPath(const QString& relativePath);

}  // namespace vellumo
