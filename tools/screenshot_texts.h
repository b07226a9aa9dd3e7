#pragma once

// The sample content the screenshots show: two albums of a user, a damaged template value and
// the help section shown.

#include <QString>

namespace vellumo::texts {

inline const QString kScreenshotAlbum = QStringLiteral("夏天");
inline const QString kScreenshotOtherAlbum = QStringLiteral("毕业旅行");
inline const QString kScreenshotAlbumFolder = QStringLiteral("/home/user/相册/");
inline const QString kScreenshotBadNumber = QStringLiteral("十二");
// The section of the help the help window is shown at.
inline const QString kScreenshotHelpSection = QStringLiteral("2-认识主窗口");

}  // namespace vellumo::texts
