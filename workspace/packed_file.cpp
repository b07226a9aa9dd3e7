#include "workspace/packed_file.h"

#include <zlib.h>
#include <QFile>
#include <QSaveFile>

#include <cstring>
#include <limits>

#include "workspace/errors.h"
#include "workspace/regular_file.h"
#include "workspace/workspace_texts.h"

namespace vellumo {

namespace {

constexpr qsizetype kHeaderSize = 4;
// Deflate cannot expand data by more than about 1032 to 1; anything beyond is not a real stream.
constexpr qint64 kMaxInflateRatio = 1032;
// The content buffer starts this small and doubles as the stream fills it.
constexpr qint64 kFirstContentBlock = qint64{1} << 16;

qint32 readLength(const QByteArray& stream) {
    quint32 value = 0;
    for (int i = 3; i >= 0; --i) {
        value = (value << 8) | static_cast<quint8>(stream[i]);
    }
    qint32 length;
    std::memcpy(&length, &value, sizeof length);
    return length;
}

void writeLength(QByteArray& out, quint32 length) {
    for (int i = 0; i < 4; ++i) {
        out[i] = static_cast<char>((length >> (8 * i)) & 0xFF);
    }
}

}  // namespace

void unpack(QByteArray& stream, qint64 limit) {
    if (stream.isEmpty()) {
        return;
    }
    if (stream.size() < kHeaderSize) {
        throw FileError(QString(), texts::kPackedTooShort);
    }
    const qint32 length = readLength(stream);
    if (length < 0) {
        throw FileError(QString(), texts::kPackedNegativeLength);
    }
    const qint64 compressedSize = stream.size() - kHeaderSize;
    if (length > compressedSize * kMaxInflateRatio + 64 || length > kMaxUnpackedBytes) {
        throw FileError(QString(), texts::kPackedAbsurdLength.arg(length).arg(stream.size()));
    }
    if (length > limit) {
        throw FileError(QString(), texts::kPackedOverLimit.arg(length).arg(limit));
    }

    QByteArray out;
    z_stream z{};
    if (inflateInit(&z) != Z_OK) {
        throw FileError(QString(), texts::kPackedDamagedStream);
    }
    z.next_in = reinterpret_cast<Bytef*>(stream.data() + kHeaderSize);
    qint64 inputLeft = compressedSize;
    qint64 produced = 0;
    int status = Z_OK;
    // zlib counts in 32-bit units, so feed both sides in chunks.
    constexpr qint64 kChunk = std::numeric_limits<uInt>::max() / 2;
    while (produced < length) {
        if (z.avail_in == 0) {
            if (inputLeft == 0) {
                break;
            }
            z.avail_in = static_cast<uInt>(std::min(inputLeft, kChunk));
            inputLeft -= z.avail_in;
        }
        if (produced == out.size()) {
            out.resize(std::min<qint64>(length, std::max(kFirstContentBlock, 2 * produced)));
        }
        z.next_out = reinterpret_cast<Bytef*>(out.data() + produced);
        const uInt before = static_cast<uInt>(std::min(out.size() - produced, kChunk));
        z.avail_out = before;
        status = inflate(&z, Z_NO_FLUSH);
        produced += before - z.avail_out;
        if (status == Z_STREAM_END) {
            break;
        }
        if (status != Z_OK && status != Z_BUF_ERROR) {
            inflateEnd(&z);
            throw FileError(QString(), texts::kPackedDamagedStream);
        }
        if (status == Z_BUF_ERROR && z.avail_in == 0 && inputLeft == 0) {
            break;
        }
    }
    inflateEnd(&z);
    if (produced < length) {
        throw FileError(QString(), texts::kPackedTruncated.arg(length).arg(produced));
    }
    stream = std::move(out);
}

QByteArray pack(const QByteArray& content) {
    if (content.isEmpty()) {
        return {};
    }
    uLongf bound = compressBound(static_cast<uLong>(content.size()));
    QByteArray out(kHeaderSize + static_cast<qsizetype>(bound), Qt::Uninitialized);
    const int status = compress2(reinterpret_cast<Bytef*>(out.data() + kHeaderSize), &bound,
                                 reinterpret_cast<const Bytef*>(content.constData()),
                                 static_cast<uLong>(content.size()), Z_BEST_COMPRESSION);
    if (status != Z_OK) {
        throw Error(texts::kPackedDamagedStream);
    }
    out.resize(kHeaderSize + static_cast<qsizetype>(bound));
    writeLength(out, static_cast<quint32>(content.size()));
    return out;
}

QByteArray packNested(QByteArray content, int depth) {
    for (int level = 0; level < depth; ++level) {
        content = pack(content);
    }
    return content;
}

QByteArray unpackNested(QByteArray content, int depth, qint64 limit) {
    for (int level = 0; level < depth; ++level) {
        unpack(content, limit);
    }
    return content;
}

QByteArray readWholeFile(const QString& path) {
    const std::unique_ptr<QFile> file = openRegularFile(path);
    return file->readAll();
}

void writeWholeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    // A full disk may take the bytes into the file's buffer and refuse them only when they go
    // out, so the flush is checked too.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(bytes) != bytes.size() || !file.flush()) {
        throw FileError(path, texts::kCannotWriteFile);
    }
}

void unpackChain(const QString& sourceFile, int depth, const IntermediateNameMaker& names,
                 const QString& destinationFile, qint64 limit) {
    QString current = sourceFile;
    for (int level = 1; level <= depth; ++level) {
        QByteArray bytes = readWholeFile(current);
        try {
            unpack(bytes, limit);
        } catch (const FileError& e) {
            throw FileError(current, e.reason());
        }
        const QString target = level < depth ? names(level) : destinationFile;
        writeWholeFile(target, bytes);
        current = target;
    }
}

}  // namespace vellumo
