// Photo files: any bytes give a header or nothing, and a picture or the icon, never a crash.

#include <QCoreApplication>
#include <QTemporaryFile>

#include <cstddef>
#include <cstdint>

#include "photo/photo_loader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    (void)vellumo::readJpegHeader(bytes);
    if (size > 4096) {
        return 0;
    }
    QTemporaryFile file;
    if (file.open()) {
        file.write(bytes);
        file.flush();
        (void)vellumo::loadPhoto(file.fileName(), QSize(64, 48));
    }
    return 0;
}
