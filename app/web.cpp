#include "app/web.h"

#include <QDesktopServices>

namespace vellumo {

namespace {

WebPageOpener& opener() {
    static WebPageOpener current;
    return current;
}

}  // namespace

bool openWebPage(const QUrl& url) {
    if (opener()) {
        return opener()(url);
    }
    return QDesktopServices::openUrl(url);
}

void setWebPageOpener(WebPageOpener replacement) {
    opener() = std::move(replacement);
}

}  // namespace vellumo
