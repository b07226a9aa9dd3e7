#pragma once

// Small helpers for tests that work on files.

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

namespace vellumo::test {

// A temporary folder for one test, removed afterwards; path() ends in "/".
class TempFolder {
public:
    TempFolder();
    QString path() const;
    // Writes bytes to path() + relative, creating folders on the way; returns the full path.
    QString write(const QString& relative, const QByteArray& bytes = {}) const;
    QString mkdir(const QString& relative) const;
    // A named pipe (FIFO) at path() + relative with no writer: a reader that opens it plainly
    // waits for ever.
    QString fifo(const QString& relative) const;

private:
    QTemporaryDir dir_;
};

QByteArray readFile(const QString& path);

}  // namespace vellumo::test
