#pragma once

// Fixed texts of album production: the output option windows.

#include <QString>

#include "album/output_texts.h"

namespace vellumo::texts {

// The album type window.
inline const QString kAlbumTypeCaption = QStringLiteral("选择相册类型");
inline const QString kChooseOutputSize = QStringLiteral("选择相册输出尺寸");
inline const QString kCurrentOutputSize = QStringLiteral("当前输出相册尺寸");
inline const QString kDefaultSize = QStringLiteral("默认");
inline const QString kOutputAlbumType = QStringLiteral("输出电子相册类型");
inline const QString kEnterAlbumName = QStringLiteral("输入相册名称");
inline const QString kStartProduction = QStringLiteral("开始制作");
// The picture quality and sync windows.
inline const QString kQualityCaption = QStringLiteral("画面质量");
inline const QString kTvSystemGroup = QStringLiteral("制式");
inline const QString kQualityGroup = QStringLiteral("画质");
inline const QString kSyncCaption = QStringLiteral("同步效果");
inline const QString kSyncGroup = QStringLiteral("同步");
inline const QString kLevelMusic = QStringLiteral("音量均衡");
inline const QString kCrossfadeSongs = QStringLiteral("歌曲淡入淡出");

// The production window: its caption is "制作" + album type + "相册".
inline const QString kProductionCaptionBefore = QStringLiteral("制作");
inline const QString kProductionCaptionAfter = QStringLiteral("相册");
inline const QString kFileNameLabel = QStringLiteral("文件名:");
inline const QString kStopProduction = QStringLiteral("停止制作");
inline const QString kOpenFolderWhenDone = QStringLiteral("完成后打开保存文件夹");
inline const QString kOpenSaveLocation = QStringLiteral("打开保存位置");
// The line under the bars: %1 time spent, %2 time left, %3 frames per second.
inline const QString kProductionTimes =
    QStringLiteral("已用时间 %1      剩余时间 %2      速度 %3 帧/秒");
// The time left while it cannot be known yet.
inline const QString kTimeUnknown = QStringLiteral("--:--:--");

// The message of a complete production. %1 the video file.
inline const QString kCompletionCaption = QStringLiteral("制作完成");
inline const QString kCompletionMessage = QStringLiteral("制作完成！视频文件保存在：\n%1");
inline const QString kOpenFolder = QStringLiteral("打开文件夹");
inline const QString kPlayAlbum = QStringLiteral("播放");
// No file manager or player could be started. %1 the video file.
inline const QString kCannotOpenFolder =
    QStringLiteral("无法打开文件管理器，请自己打开视频文件所在的位置：\n%1");
inline const QString kCannotPlay = QStringLiteral("无法启动播放器，请自己播放视频文件：\n%1");

// The message of a complete disc image. %1 its files, one a line.
inline const QString kDiscImageMessage = QStringLiteral("光盘映像制作完成！映像文件保存在：\n%1");
// Added when no disc writer is found.
inline const QString kDiscImageNoWriter =
    QStringLiteral("没有找到光盘刻录机：映像已经做好，可以以后用刻录程序把它写到空白光盘上。");
inline const QString kBurnToDisc = QStringLiteral("刻录到光盘");
// The burning: its progress window, its end, its failure (%1 the reason).
inline const QString kBurnCaption = QStringLiteral("正在刻录光盘");
inline const QString kBurnDone = QStringLiteral("光盘刻录完成！");
inline const QString kBurnFailed = QStringLiteral("光盘刻录失败：%1");

// An output file of that name is already there; %1 the file.
inline const QString kReplaceFileCaption = QStringLiteral("替换文件");
inline const QString kReplaceFileQuestion = QStringLiteral(
    "文件“%1”已经存在，是否替换它？\n（制作完成后才会替换，停止或失败时原文件保留）");

}  // namespace vellumo::texts

namespace vellumo::texts {

// The conversion log.
inline const QString kLogTotalFrames = QStringLiteral("Total frames:  ");
inline const QString kLogTotalSamples = QStringLiteral("Total samples: ");
inline const QString kLogStarting = QStringLiteral("Starting conversion...");
inline const QString kLogEnded = QStringLiteral("Conversion ended.");
inline const QString kLogNothingToConvert = QStringLiteral("Nothing to convert.");
inline const QString kLogProcessingTime = QStringLiteral("Processing time: ");
inline const QString kLogPreparing = QStringLiteral("Preparing conversion...");
inline const QString kLogReducingColors = QStringLiteral("Reducing colors, done frames: ");
// %1 frames, %2 samples, %3 the time left.
inline const QString kLogFrame = QStringLiteral("Frame: %1, Sample: %2, Time Left: %3");
inline const QString kLogMultiplexing = QStringLiteral("Multiplexing done: %1%");
inline const QString kLogUnrecognizedStatus = QStringLiteral("Unrecognized status code");

}  // namespace vellumo::texts
