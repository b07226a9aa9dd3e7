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
inline const QString kCancel = QStringLiteral("取消");
// The picture quality and sync windows.
inline const QString kQualityCaption = QStringLiteral("画面质量");
inline const QString kTvSystemGroup = QStringLiteral("制式");
inline const QString kQualityGroup = QStringLiteral("画质");
inline const QString kSyncCaption = QStringLiteral("同步效果");
inline const QString kSyncGroup = QStringLiteral("同步");

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
