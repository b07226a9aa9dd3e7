#include "disc/disc_burner.h"

#include <QFileInfo>
#include <QRegularExpression>

#include <utility>

#include "disc/disc_texts.h"
#include "disc/disc_tool.h"

namespace vellumo::disc {

QList<DiscWriter> parseDiscWriters(const QStringList& lines) {
    // "0  -dev '/dev/sr0' rwrw-- :  'HL-DT-ST' 'DVDRAM GH24NSD1'"
    static const QRegularExpression device(
        QStringLiteral("^\\d+\\s+-dev\\s+'([^']+)'\\s+\\S+\\s*:\\s*'([^']*)'\\s*'([^']*)'"));
    QList<DiscWriter> writers;
    for (const QString& line : lines) {
        const auto match = device.match(line.trimmed());
        if (match.hasMatch()) {
            writers.append(
                {match.captured(1), match.captured(2).trimmed(), match.captured(3).trimmed()});
        }
    }
    return writers;
}

QList<DiscWriter> listDiscWriters(const std::function<void(const QString&)>& log) {
    const std::atomic<bool> never{false};
    const ToolRunner runner(never, log, {});
    QStringList lines;
    ToolOptions options;
    options.onLine = [&lines](const QString& line) { lines.append(line); };
    options.limit = std::chrono::minutes(2);
    // With no drive xorriso ends with a failure code; the lines decide.
    runner.run(QStringLiteral("xorriso"), {QStringLiteral("-devices")}, options);
    return parseDiscWriters(lines);
}

DiscBurner::DiscBurner(QString image, QString device)
    : image_(std::move(image)), device_(std::move(device)) {}

void DiscBurner::stop() {
    stopRequested_.store(true);
}

DiscResult DiscBurner::run() {
    DiscResult result;
    const QFileInfo image(image_);
    const bool cue = image.suffix().compare(QLatin1String("iso"), Qt::CaseInsensitive) != 0;
    const QString cueFile =
        cue ? image.path() + QLatin1Char('/') + image.completeBaseName() + QStringLiteral(".cue")
            : QString();
    if (!image.isFile() || (cue && !QFileInfo(cueFile).isFile())) {
        result.error = texts::kDiscBurnNoImage.arg(image_);
        return result;
    }
    if (device_.isEmpty()) {
        result.error = texts::kDiscNoWriter;
        return result;
    }
    int percent = 0;
    const auto report = [&] {
        if (onProgress) {
            onProgress({texts::kDiscStepBurn, percent});
        }
    };
    const ToolRunner runner(stopRequested_, onLog, report);
    ToolOptions options;
    // cdrdao finds the .bin a cue sheet names relative to its working folder.
    options.workingFolder = image.path();
    options.onLine = [&](const QString& line) {
        // xorriso: "12 of 30 MB written"; cdrdao: "Wrote 12 of 30 MB".
        static const QRegularExpression written(QStringLiteral("(\\d+) of\\s+(\\d+) MB"));
        const auto match = written.match(line);
        if (match.hasMatch() && match.captured(2).toInt() > 0) {
            percent = std::min(99, match.captured(1).toInt() * 100 / match.captured(2).toInt());
        }
    };
    report();
    const ToolOutcome outcome =
        cue ? runner.run(QStringLiteral("cdrdao"),
                         {QStringLiteral("write"), QStringLiteral("--device"), device_, cueFile},
                         options)
            : runner.run(
                  QStringLiteral("xorriso"),
                  {QStringLiteral("-as"), QStringLiteral("cdrecord"), QStringLiteral("-v"),
                   QStringLiteral("dev=") + device_, QStringLiteral("blank=as_needed"), image_},
                  options);
    result.ok = outcome.ok;
    result.stopped = outcome.stopped;
    result.error = outcome.error;
    if (result.ok) {
        percent = 100;
        report();
        result.outputFiles = {device_};
    }
    return result;
}

}  // namespace vellumo::disc
