#pragma once

// The packed file format: a signed 32-bit little-endian length N followed by one zlib stream
// that inflates to exactly N bytes. Installed files are packed several times over.

#include <QByteArray>
#include <QString>
#include <functional>

namespace vellumo {

// Replaces a packed stream by its content. An empty stream stays empty. A damaged stream, one
// that ends before N bytes, or a length that is negative or impossible for the input throws
// FileError (with an empty file name; file-level callers add it).
void unpack(QByteArray& stream);

// The packed form of content, one level. Empty content stays empty, so packing and unpacking
// round-trip every file at every depth.
QByteArray pack(const QByteArray& content);

// Packs or unpacks depth levels in memory.
QByteArray packNested(QByteArray content, int depth);
QByteArray unpackNested(QByteArray content, int depth);

// Gives the file name of intermediate level 1 ... depth - 1 of an unpack chain.
using IntermediateNameMaker = std::function<QString(int level)>;

// Unpacks source depth times. Every level but the last is written to the file the maker names
// and read back from it; the last level is written to destination. Throws FileError naming the
// file that could not be read, unpacked or written.
void unpackChain(const QString& sourceFile, int depth, const IntermediateNameMaker& names,
                 const QString& destinationFile);

// Whole-file helpers that throw FileError.
QByteArray readWholeFile(const QString& path);
void writeWholeFile(const QString& path, const QByteArray& bytes);

}  // namespace vellumo
