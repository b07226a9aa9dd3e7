#pragma once

// Fixed texts of photo handling.

#include <QString>

namespace vellumo::texts {

// The tile number badge, %1 the 1-based photo number.
inline const QString kBadgeFormat = QStringLiteral("〔%1〕");

}  // namespace vellumo::texts
