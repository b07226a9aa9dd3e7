#pragma once

// Fixed texts of the skin: the title, the two font names and our own artwork.

#include <QString>

namespace vellumo::texts {

inline const QString kApplicationTitle = QStringLiteral("Vellumo");
inline const QString kSongTi = QStringLiteral("宋体");
inline const QString kHeiTi = QStringLiteral("黑体");

// Our own artwork.
inline const QString kProductTagline = QStringLiteral("电子相册制作");
inline const QString kSplashSubtitle = QStringLiteral("照片、音乐、歌词，一键生成精美相册");
inline const QString kSplashLoading = QStringLiteral("正在加载模板……");
inline const QString kStartPictureHint = QStringLiteral("点击「添加照片」，开始制作您的电子相册");

}  // namespace vellumo::texts
