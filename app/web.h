#pragma once

// Opening the product's web pages in the default browser.

#include <QUrl>
#include <functional>

namespace vellumo {

using WebPageOpener = std::function<bool(const QUrl&)>;

// Opens url in the default browser; false when the platform could not.
bool openWebPage(const QUrl& url);

// Replaces the browser (tests record the addresses instead); an empty opener restores it.
void setWebPageOpener(WebPageOpener opener);

}  // namespace vellumo
