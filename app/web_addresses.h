#pragma once

// The product's web pages, opened in the default browser.

#include <QUrl>

namespace vellumo::web {

inline const QUrl kProductPage{QStringLiteral("https://vellumo.example/")};
inline const QUrl kPluginHelpPage{QStringLiteral("https://vellumo.example/help/plugin.html")};
inline const QUrl kPluginDownloadPage{QStringLiteral("https://vellumo.example/download/")};

}  // namespace vellumo::web
