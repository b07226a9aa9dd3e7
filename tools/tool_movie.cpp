// vellumo-tool movie-info / render-movie: arrive with the template movie player.

#include "tools/tool_commands.h"
#include "tools/tool_common.h"

namespace vellumo::tool {

int runMovieInfo(const QStringList&) {
    return fail(QStringLiteral("movie-info: not built yet"));
}
int runRenderMovie(const QStringList&) {
    return fail(QStringLiteral("render-movie: not built yet"));
}

}  // namespace vellumo::tool
