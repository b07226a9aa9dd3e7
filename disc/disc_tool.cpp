#include "disc/disc_tool.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QStandardPaths>

#include <utility>

#include "disc/disc_texts.h"

namespace vellumo::disc {

namespace {

constexpr int kLastLines = 8;
constexpr int kPollMs = 20;

// Splits what a program printed into lines at "\n" and at "\r" (progress lines rewrite
// themselves with "\r"), keeping an unfinished line for the next read.
class LineSplitter {
public:
    template <typename Each>
    void feed(const QByteArray& bytes, Each each) {
        pending_.append(bytes);
        qsizetype start = 0;
        for (qsizetype i = 0; i < pending_.size(); ++i) {
            if (pending_[i] == '\n' || pending_[i] == '\r') {
                each(QString::fromLocal8Bit(pending_.mid(start, i - start)));
                start = i + 1;
            }
        }
        pending_.remove(0, start);
    }
    template <typename Each>
    void finish(Each each) {
        if (!pending_.isEmpty()) {
            each(QString::fromLocal8Bit(pending_));
            pending_.clear();
        }
    }

private:
    QByteArray pending_;
};

bool tellsOfFullDisk(const QStringList& lines) {
    for (const QString& line : lines) {
        if (line.contains(QLatin1String("No space left"), Qt::CaseInsensitive) ||
            line.contains(QLatin1String("File too large"), Qt::CaseInsensitive) ||
            line.contains(QLatin1String("Disk full"), Qt::CaseInsensitive) ||
            // dvdauthor on a short write, whose errno says nothing.
            line.contains(QLatin1String("writing data"), Qt::CaseInsensitive)) {
            return true;
        }
    }
    return false;
}

}  // namespace

ToolRunner::ToolRunner(const std::atomic<bool>& stop, std::function<void(const QString&)> log,
                       std::function<void()> tick)
    : stop_(stop), log_(std::move(log)), tick_(std::move(tick)) {}

ToolOutcome ToolRunner::run(const QString& program, const QStringList& arguments,
                            const ToolOptions& options) const {
    ToolOutcome outcome;
    const QString missing = missingProgramMessage({program});
    if (!missing.isEmpty()) {
        outcome.error = missing;
        return outcome;
    }
    if (stop_.load()) {
        outcome.stopped = true;
        return outcome;
    }
    if (log_) {
        log_(QStringLiteral("$ ") + program + QLatin1Char(' ') + arguments.join(QLatin1Char(' ')));
    }

    QProcess process;
    process.setProgram(program);
    process.setArguments(arguments);
    if (!options.workingFolder.isEmpty()) {
        process.setWorkingDirectory(options.workingFolder);
    }
    if (!options.stdinFile.isEmpty()) {
        process.setStandardInputFile(options.stdinFile);
    }
    if (!options.stdoutFile.isEmpty()) {
        process.setStandardOutputFile(options.stdoutFile);
    } else {
        process.setProcessChannelMode(QProcess::MergedChannels);
    }

    LineSplitter splitter;
    const auto takeLine = [&](const QString& raw) {
        const QString line = raw.trimmed();
        if (line.isEmpty()) {
            return;
        }
        if (log_) {
            log_(line);
        }
        if (options.onLine) {
            options.onLine(line);
        }
        outcome.lastLines.append(line);
        if (outcome.lastLines.size() > kLastLines) {
            outcome.lastLines.removeFirst();
        }
    };
    const auto readOutput = [&] {
        const QByteArray bytes = options.stdoutFile.isEmpty() ? process.readAllStandardOutput()
                                                              : process.readAllStandardError();
        if (!bytes.isEmpty()) {
            splitter.feed(bytes, takeLine);
        }
    };

    process.start(QIODevice::ReadOnly);
    if (!process.waitForStarted(30000)) {
        outcome.error = texts::kDiscToolNotStarted.arg(program, process.errorString());
        process.kill();
        process.waitForFinished(5000);
        return outcome;
    }

    QElapsedTimer clock;
    clock.start();
    bool killed = false;
    bool timedOut = false;
    while (!process.waitForFinished(kPollMs)) {
        readOutput();
        if (tick_) {
            tick_();
        }
        if (process.state() == QProcess::NotRunning) {
            break;
        }
        if (stop_.load() || clock.elapsed() > std::chrono::milliseconds(options.limit).count()) {
            timedOut = !stop_.load();
            killed = true;
            process.kill();
            process.waitForFinished(10000);
            break;
        }
    }
    readOutput();
    splitter.finish(takeLine);

    if (killed && !timedOut) {
        outcome.stopped = true;
        return outcome;
    }
    const QString tail = outcome.lastLines.join(QLatin1Char('\n'));
    if (timedOut) {
        outcome.error =
            texts::kDiscToolTimedOut.arg(program, QString::number(options.limit.count()));
    } else if (process.exitStatus() == QProcess::CrashExit) {
        outcome.error = texts::kDiscToolCrashed.arg(program, tail);
    } else if (process.exitCode() != 0) {
        outcome.error =
            texts::kDiscToolFailed.arg(program, QString::number(process.exitCode()), tail);
    } else {
        outcome.ok = true;
        return outcome;
    }
    if (tellsOfFullDisk(outcome.lastLines)) {
        outcome.error += QLatin1Char('\n') + texts::kDiscDiskFull;
    }
    return outcome;
}

QString debianPackageOf(const QString& program) {
    if (program == QLatin1String("spumux")) {
        return QStringLiteral("dvdauthor");
    }
    // dvdauthor, genisoimage, vcdimager and xorriso come in packages of their own names.
    return program;
}

QString missingProgramMessage(const QStringList& programs) {
    for (const QString& program : programs) {
        if (QStandardPaths::findExecutable(program).isEmpty()) {
            return texts::kDiscToolMissing.arg(program, debianPackageOf(program));
        }
    }
    return {};
}

}  // namespace vellumo::disc
