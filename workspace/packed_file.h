#pragma once

// The packed file format: a signed 32-bit little-endian length N followed by one zlib stream
// that inflates to exactly N bytes. Installed files are packed several times over.

#include <QByteArray>
#include <QString>
#include <functional>

namespace vellumo {

// The most bytes one level of any packed file may unpack to.
inline constexpr qint64 kMaxUnpackedBytes = qint64{1} << 30;

// Replaces a packed stream by its content. An empty stream stays empty. A damaged stream, one
// that ends before N bytes, or a length that is negative or impossible for the input throws
// FileError (with an empty file name; file-level callers add it). A length above limit is
// refused before anything is inflated, and the content grows only as the stream yields it, so
// a small file that announces much costs no more memory than it really holds.
void unpack(QByteArray& stream, qint64 limit = kMaxUnpackedBytes);

// The packed form of content, one level. Empty content stays empty, so packing and unpacking
// round-trip every file at every depth.
QByteArray pack(const QByteArray& content);

// Packs or unpacks depth levels in memory. The limit holds for every level: the levels above
// the last are packed forms of the content, never much larger than it, so a few hundred bytes
// nested a few times over cannot grow to gigabytes on the way down.
QByteArray packNested(QByteArray content, int depth);
QByteArray unpackNested(QByteArray content, int depth, qint64 limit = kMaxUnpackedBytes);

// Gives the file name of intermediate level 1 ... depth - 1 of an unpack chain.
using IntermediateNameMaker = std::function<QString(int level)>;

// Unpacks source depth times. Every level but the last is written to the file the maker names
// and read back from it; the last level is written to destination. Throws FileError naming the
// file that could not be read, unpacked or written. The limit holds for every level.
void unpackChain(const QString& sourceFile, int depth, const IntermediateNameMaker& names,
                 const QString& destinationFile, qint64 limit = kMaxUnpackedBytes);

// Whole-file helpers that throw FileError. Reading refuses what is not a regular file (a
// folder, a device, a pipe) without waiting on it; writing checks that every byte reached the
// file.
QByteArray readWholeFile(const QString& path);
void writeWholeFile(const QString& path, const QByteArray& bytes);

}  // namespace vellumo
