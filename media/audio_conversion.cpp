#include "media/audio_conversion.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include "workspace/data_paths.h"
#include "workspace/errors.h"
#include "workspace/folders.h"
#include "workspace/packed_file.h"
#include "workspace/program_folder.h"

namespace vellumo {

QString shellQuoted(const QString& word) {
    QString quoted = word;
    quoted.replace(u'\'', QStringLiteral("'\\''"));
    return u'\'' + quoted + u'\'';
}

QString converterCommandLine(const QString& converter, const QString& input,
                             const QString& output) {
    return shellQuoted(converter) + QStringLiteral(" -i ") + shellQuoted(input) + u' ' +
           shellQuoted(output) + QStringLiteral(" -y");
}

bool convertToWav(const QString& input, const QString& output, const std::function<void()>& pump,
                  std::chrono::milliseconds limit) {
    const QString script = workingPath(paths::kConverterScript);
    try {
        ensureFolder(QFileInfo(output).absolutePath());
        ensureFolder(QFileInfo(script).absolutePath());
        QFile::remove(script);
        writeWholeFile(
            script,
            converterCommandLine(dataPath(paths::kConverter), input, output).toUtf8() + '\n');
    } catch (const Error&) {
        return false;
    }
    QFile::remove(output);

    QProcess process;
    process.setProgram(QStringLiteral("/bin/sh"));
    process.setArguments({script});
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    process.start();
    if (!process.waitForStarted(10000)) {
        return false;
    }
    QElapsedTimer timer;
    timer.start();
    while (!process.waitForFinished(20)) {
        if (process.state() == QProcess::NotRunning) {
            break;
        }
        if (timer.elapsed() > limit.count()) {
            process.kill();
            process.waitForFinished(5000);
            return false;
        }
        if (pump) {
            pump();
        }
    }
    return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0 &&
           QFileInfo::exists(output);
}

}  // namespace vellumo
