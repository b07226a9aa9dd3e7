#include "tests/support/test_files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

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

QByteArray readFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        throw std::runtime_error("cannot read a test file");
    }
    return file.readAll();
}

QByteArray withExifOrientation(const QByteArray& jpeg, quint16 orientation) {
    QByteArray tiff("II*\0\x08\0\0\0", 8);
    tiff += QByteArray("\x01\0", 2);                    // one entry
    tiff += QByteArray("\x12\x01\x03\0\x01\0\0\0", 8);  // orientation, SHORT, count 1
    tiff += static_cast<char>(orientation & 0xFF);
    tiff += static_cast<char>(orientation >> 8);
    tiff += QByteArray("\0\0\0\0\0\0", 6);  // padding, no next IFD
    const QByteArray payload = QByteArray("Exif\0\0", 6) + tiff;
    const int length = static_cast<int>(payload.size()) + 2;
    QByteArray segment("\xFF\xE1", 2);
    segment += static_cast<char>(length >> 8);
    segment += static_cast<char>(length & 0xFF);
    return jpeg.left(2) + segment + payload + jpeg.mid(2);
}

}  // namespace vellumo::test
