#include "tests/support/test_files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>

#include <stdexcept>

namespace vellumo::test {

TempFolder::TempFolder() : dir_(QDir::tempPath() + QStringLiteral("/vellumo-test-XXXXXX")) {
    if (!dir_.isValid()) {
        throw std::runtime_error("cannot create a temporary folder");
    }
}

QString TempFolder::path() const {
    return dir_.path() + u'/';
}

QString TempFolder::write(const QString& relative, const QByteArray& bytes) const {
    const QString full = path() + relative;
    QDir().mkpath(QFileInfo(full).absolutePath());
    QFile file(full);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        throw std::runtime_error("cannot write a test file");
    }
    return full;
}

QString TempFolder::mkdir(const QString& relative) const {
    const QString full = path() + relative;
    QDir().mkpath(full);
    return full;
}

QString TempFolder::fifo(const QString& relative) const {
    const QString full = path() + relative;
    QDir().mkpath(QFileInfo(full).absolutePath());
    if (::mkfifo(QFile::encodeName(full).constData(), 0600) != 0) {
        throw std::runtime_error("cannot make a test pipe");
    }
    return full;
}

QByteArray readFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        throw std::runtime_error("cannot read a test file");
    }
    return file.readAll();
}

}  // namespace vellumo::test
