#pragma once

// Fixed texts of the application frame.

#include <QString>

namespace vellumo::texts {

inline const QString kApplicationTitle = QStringLiteral("Vellumo");
inline const QString kSongTi = QStringLiteral("宋体");
inline const QString kHeiTi = QStringLiteral("黑体");

}  // namespace vellumo::texts
