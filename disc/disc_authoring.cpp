#include "disc/disc_authoring.h"

#include <QFileInfo>
#include <utility>

namespace vellumo::disc {

DiscAuthor::DiscAuthor(DiscRequest request) : request_(std::move(request)) {}

DiscAuthor::~DiscAuthor() = default;

DiscResult DiscAuthor::run() {
    DiscResult result;
    result.error = QStringLiteral("disc authoring is not built yet");
    return result;
}

void DiscAuthor::stop() {
    stopRequested_.store(true);
}

QString missingDiscTool(DiscKind) {
    return {};
}

QStringList discImageFiles(DiscKind kind, const QString& outPath) {
    if (kind == DiscKind::Dvd) {
        return {outPath};
    }
    const QFileInfo info(outPath);
    const QString base = info.path() + QLatin1Char('/') + info.completeBaseName();
    return {base + QStringLiteral(".bin"), base + QStringLiteral(".cue")};
}

}  // namespace vellumo::disc
