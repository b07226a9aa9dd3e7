#pragma once

// Fixed texts of the media stand-ins: music player and audio conversion.

#include <QString>

namespace vellumo::texts {

inline const QString kAudioCannotOpen = QStringLiteral("无法打开音乐文件");
inline const QString kAudioNotPlayable = QStringLiteral("不是可以直接播放的 MP3 或 WAV 音乐");
inline const QString kAudioDamaged = QStringLiteral("音乐数据已损坏，无法解码");
inline const QString kAudioNoSound = QStringLiteral("文件中没有声音");
inline const QString kAudioCannotWrite = QStringLiteral("无法写入转换后的音乐文件");
// The converter gave up or could not be run. %1 the music file.
inline const QString kConversionFailed =
    QStringLiteral("音乐文件“%1”无法播放，转换也没有成功，此文件没有添加。");

}  // namespace vellumo::texts
