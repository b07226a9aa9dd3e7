#include "tests/support/tool_runner.h"

#include <QProcess>

namespace vellumo::test {

ToolRun runTool(const QStringList& args, int timeoutMs) {
    QProcess process;
    process.start(qEnvironmentVariable("VELLUMO_TOOL"), args);
    ToolRun run;
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished(5000);
        return run;
    }
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    // A missing XDG_RUNTIME_DIR makes Qt note it on the error stream: not the tool's output.
    QStringList lines = QString::fromUtf8(process.readAllStandardError()).split(u'\n');
    lines.removeIf([](const QString& line) { return line.startsWith(u"QStandardPaths:"); });
    run.err = lines.join(u'\n');
    return run;
}

}  // namespace vellumo::test
