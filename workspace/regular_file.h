#pragma once

// Files a user names can be anything: a folder, a device that never ends, a FIFO whose reader
// waits for a writer forever. These helpers open a path only when it is a regular file, and
// never wait while they find out.

#include <QFile>
#include <QString>
#include <memory>

namespace vellumo {

// Empty when path names a regular file (after following links); otherwise the reason it
// cannot be read: kCannotReadFile when it is missing, kNotRegularFile when it is something else.
QString regularFileProblem(const QString& path);

// Opens path for reading without blocking and checks, on the opened file, that it is a regular
// file. Throws FileError with the path and the reason otherwise.
std::unique_ptr<QFile> openRegularFile(const QString& path);

}  // namespace vellumo
