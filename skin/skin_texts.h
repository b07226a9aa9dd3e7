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

// Words of Qt's file dialog that Qt's own Chinese catalogues lack.
inline const QString kQtDrive = QStringLiteral("驱动器");
inline const QString kQtFile = QStringLiteral("文件");
inline const QString kQtFolder = QStringLiteral("文件夹");
inline const QString kQtShortcut = QStringLiteral("快捷方式");
inline const QString kQtUnknown = QStringLiteral("未知");
inline const QString kQtBytes = QStringLiteral("字节");

}  // namespace vellumo::texts
