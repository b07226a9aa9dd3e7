#pragma once

// Opening a page (the installed help) in the desktop's browser.

#include <QUrl>
#include <functional>

namespace vellumo {

using WebPageOpener = std::function<bool(const QUrl&)>;

// Opens url in the desktop's browser; false when none could be started.
bool openWebPage(const QUrl& url);

// Replaces the browser (tests record the addresses instead); an empty opener restores it.
void setWebPageOpener(WebPageOpener opener);

}  // namespace vellumo
