#pragma once

// Fixed texts of music and lyrics in the preview and of the music and lyrics preview window.

#include <QString>

namespace vellumo::texts {

// Music and lyrics preview window ("音乐歌词预览").
inline const QString kMusicPreviewCaption = QStringLiteral("音乐歌词预览");
inline const QString kMusicChooser = QStringLiteral("音乐文件");
inline const QString kLyricChooser = QStringLiteral("歌词文件");
inline const QString kPlayMusic = QStringLiteral("播放音乐");
inline const QString kStopMusic = QStringLiteral("停止播放");
inline const QString kReturn = QStringLiteral("返回");
inline const QString kIdleTime = QStringLiteral("00:00");
inline const QString kTimeSeparator = QStringLiteral("|");
inline const QString kNoMusicChosen = QStringLiteral("没有选择音乐文件！");
inline const QString kNoLyricChosen = QStringLiteral("没有选择歌词文件！");

// The preview window's modes.
inline const QString kModeMusic = QStringLiteral("bofangyingyue");
inline const QString kModeLyrics = QStringLiteral("bofanggeci");

// A music file the player cannot open. %1 the file.
inline const QString kMusicCannotPlay = QStringLiteral("无法播放音乐文件“%1”。");
// The same during the album preview, which goes on with the next file. %1 the file.
inline const QString kMusicSkipped = QStringLiteral("无法播放音乐文件“%1”，已跳过此文件。");

}  // namespace vellumo::texts
