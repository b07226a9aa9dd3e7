#pragma once

// The sample content the screenshots show: two albums of a user and a damaged template value.

#include <QString>

namespace vellumo::texts {

inline const QString kScreenshotAlbum = QStringLiteral("夏天");
inline const QString kScreenshotOtherAlbum = QStringLiteral("毕业旅行");
inline const QString kScreenshotAlbumFolder = QStringLiteral("/home/user/相册/");
inline const QString kScreenshotBadNumber = QStringLiteral("十二");

}  // namespace vellumo::texts
