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

// The conversion library. FFmpeg's own reason, where there is one, follows after kMclReason.
inline const QString kMclReason = QStringLiteral("%1：%2");
inline const QString kMclNoOutputFile = QStringLiteral("没有设置视频文件名");
inline const QString kMclBadSize = QStringLiteral("视频尺寸 %1 × %2 无效");
inline const QString kMclNoPictures = QStringLiteral("没有可以转换的画面");
inline const QString kMclCannotWrite = QStringLiteral("无法写入视频文件“%1”");
inline const QString kMclWriteFailed = QStringLiteral("写入视频文件“%1”时出错");
inline const QString kMclCannotRename = QStringLiteral("无法把临时文件改名为视频文件“%1”");
inline const QString kMclEncoderFailed = QStringLiteral("视频编码出错");
// %1 the sound file, %2 why.
inline const QString kMclSoundFile = QStringLiteral("音乐文件“%1”无法转换：%2");
inline const QString kMclFrameUnreadable = QStringLiteral("无法读取画面文件“%1”");
// A song cut short in the video. %1 the music file, %2 how much of it was read ("hh:mm:ss"),
// %3 FFmpeg's reason, or the length the file announces.
inline const QString kMclSoundReadError =
    QStringLiteral("音乐文件“%1”在 %2 处读取出错，视频中这首音乐只到此处：%3");
inline const QString kMclSoundEndedEarly =
    QStringLiteral("音乐文件“%1”只读出了 %2（应有 %3），视频中这首音乐只到此处。");

}  // namespace vellumo::texts
