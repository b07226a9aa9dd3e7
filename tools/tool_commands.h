#pragma once

// The commands of vellumo-tool. Each takes the words after its name and returns the exit status.

#include <QStringList>
#include <optional>

#include "album/photo_list.h"

namespace vellumo {
class Album;
struct ProjectSettings;
}  // namespace vellumo

namespace vellumo::tool {

int runPack(const QStringList& args);
int runUnpack(const QStringList& args);
int runCatalogue(const QStringList& args);
int runPlan(const QStringList& args);
int runPreview(const QStringList& args);
int runMovieInfo(const QStringList& args);
int runCheckTemplate(const QStringList& args);
int runRenderMovie(const QStringList& args);
int runTemplateSheet(const QStringList& args);
int runLrc(const QStringList& args);
int runLoudness(const QStringList& args);
int runEncode(const QStringList& args);
int runMakeAlbum(const QStringList& args);
int runIcons(const QStringList& args);

// Adds the photos and places them as "添加照片" does (with combined > 0, as the combined add of
// that combination does); false, after a message, when it cannot.
// The photos are taken in order (as given unless asked otherwise).
bool planAlbum(Album& album, const QStringList& photos, int combined,
               PhotoOrder order = PhotoOrder::Added);
// The value of --order: "date", "name" or "added"; nothing for any other word.
std::optional<PhotoOrder> photoOrderOf(const QString& word);
// The message for a wrong --order.
QString photoOrderProblem();
// Puts an album project into the album (converted music missing from the cache made again),
// telling on the error stream what could not be brought back; returns the project's settings.
// Throws Error when the project cannot be opened.
ProjectSettings openProject(Album& album, const QString& path);

}  // namespace vellumo::tool
