#pragma once

// Runs one of Debian's disc programs: the program and its arguments as a list, never a shell.
// Every line it prints goes to the log; while it runs, tick() is called every few milliseconds
// (a window stays alive, a stop button answers) and a stop kills the program. A failure is told
// with the program's last lines; a missing program with the Debian package that provides it.
//
//   ToolRunner runner(stop, log, tick);
//   const ToolOutcome outcome = runner.run(QStringLiteral("dvdauthor"), {"-x", xml});
//   if (!outcome.ok) return outcome.error;   // empty after a stop

#include <QString>
#include <QStringList>
#include <atomic>
#include <chrono>
#include <functional>

namespace vellumo::disc {

struct ToolOptions {
    QString workingFolder;
    QString stdinFile;   // the program reads this file as its standard input
    QString stdoutFile;  // its standard output goes to this file, not to the log
    // Every line, for progress read from the output.
    std::function<void(const QString& line)> onLine;
    std::chrono::minutes limit{120};
};

struct ToolOutcome {
    bool ok = false;
    bool stopped = false;
    QString error;          // Chinese, with the last lines; empty when ok or stopped
    QStringList lastLines;  // the program's last lines, either way
};

class ToolRunner {
public:
    ToolRunner(const std::atomic<bool>& stop, std::function<void(const QString&)> log,
               std::function<void()> tick);

    ToolOutcome run(const QString& program, const QStringList& arguments,
                    const ToolOptions& options = {}) const;

private:
    const std::atomic<bool>& stop_;
    std::function<void(const QString&)> log_;
    std::function<void()> tick_;
};

// The Debian package that provides program ("spumux" -> "dvdauthor").
QString debianPackageOf(const QString& program);
// The missing-program message of the first of programs not found on PATH; empty when all are.
QString missingProgramMessage(const QStringList& programs);

}  // namespace vellumo::disc
