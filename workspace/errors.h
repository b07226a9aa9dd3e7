#pragma once

#include <QByteArray>
#include <QString>
#include <exception>

namespace vellumo {

// An error the user is told about: the message is Chinese text ready for the message dialog.
class Error : public std::exception {
public:
    explicit Error(QString message);
    const QString& message() const { return message_; }
    const char* what() const noexcept override { return utf8_.constData(); }

private:
    QString message_;
    QByteArray utf8_;
};

// An error about one file: carries the file name and the reason separately.
class FileError : public Error {
public:
    FileError(QString file, QString reason);
    const QString& file() const { return file_; }
    const QString& reason() const { return reason_; }

private:
    QString file_;
    QString reason_;
};

}  // namespace vellumo
