#pragma once

// Runs vellumo-tool (the path in VELLUMO_TOOL, set by CTest) for the tool tests.

#include <QString>
#include <QStringList>

namespace vellumo::test {

struct ToolRun {
    int exitCode = -1;  // -1 when the tool crashed or did not finish in time
    QString out;
    QString err;  // the tool's own lines; Qt's start-up notes are left out
    QStringList outLines() const { return out.split(u'\n'); }
    // The reason a failed run gives, on the last line of the error stream.
    QString lastErrLine() const { return err.trimmed().split(u'\n').last(); }
};

// Runs the tool with the arguments and waits at most timeoutMs (then kills it).
ToolRun runTool(const QStringList& args, int timeoutMs = 60000);

}  // namespace vellumo::test
