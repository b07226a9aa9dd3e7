#pragma once

// The commands of vellumo-tool. Each takes the words after its name and returns the exit status.

#include <QStringList>

namespace vellumo::tool {

int runPack(const QStringList& args);
int runUnpack(const QStringList& args);
int runCatalogue(const QStringList& args);
int runPlan(const QStringList& args);
int runPreview(const QStringList& args);
int runMovieInfo(const QStringList& args);
int runRenderMovie(const QStringList& args);
int runTemplateSheet(const QStringList& args);
int runLrc(const QStringList& args);
int runEncode(const QStringList& args);

}  // namespace vellumo::tool
