#pragma once

// Shared plumbing of vellumo-tool's commands.

#include <QMap>
#include <QString>
#include <QStringList>

namespace vellumo::tool {

// Command-line words split into "--name value" options, "--flag" switches and positionals.
class Arguments {
public:
    // valueOptions: the options that take a value; every other "--x" is a switch.
    Arguments(const QStringList& words, const QStringList& valueOptions);

    bool ok() const { return error_.isEmpty(); }
    const QString& error() const { return error_; }
    const QStringList& positional() const { return positional_; }
    bool has(const QString& name) const { return options_.contains(name); }
    QString value(const QString& name, const QString& fallback = {}) const;
    // A non-negative decimal option; sets error() and returns -1 when it is not one.
    int integer(const QString& name, int fallback);

private:
    QMap<QString, QString> options_;
    QStringList positional_;
    QString error_;
};

void printOut(const QString& text);
void printError(const QString& text);

// A command's exit status after printing a one-line error.
int fail(const QString& message);

}  // namespace vellumo::tool
