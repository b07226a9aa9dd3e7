#include "workspace/regular_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "workspace/errors.h"
#include "workspace/workspace_texts.h"

namespace vellumo {

QString regularFileProblem(const QString& path) {
    struct stat info {};
    if (path.isEmpty() || ::stat(QFile::encodeName(path).constData(), &info) != 0) {
        return texts::kCannotReadFile;
    }
    return S_ISREG(info.st_mode) ? QString() : texts::kNotRegularFile;
}

std::unique_ptr<QFile> openRegularFile(const QString& path) {
    // O_NONBLOCK: opening a FIFO without a writer returns at once instead of waiting.
    const int fd = path.isEmpty() ? -1
                                  : ::open(QFile::encodeName(path).constData(),
                                           O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        throw FileError(path, texts::kCannotReadFile);
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        throw FileError(path, texts::kNotRegularFile);
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    auto file = std::make_unique<QFile>();
    if (!file->open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        throw FileError(path, texts::kCannotReadFile);
    }
    return file;
}

}  // namespace vellumo
