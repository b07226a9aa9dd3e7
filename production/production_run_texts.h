#pragma once

// Fixed texts of the production run.

#include <QString>

namespace vellumo::texts {

// The production state.
inline const QString kProductionPreparing = QStringLiteral("bofang_tingzhi");
inline const QString kProductionRunning = QStringLiteral("zhizuo_kaishi");
inline const QString kProductionStopped = QStringLiteral("zhizuo_tingzhi");

// The stage log, each line after its number.
inline const QString kStageUnloaded = QStringLiteral("B-卸载创建的FLASH完成！");
inline const QString kStageCreated = QStringLiteral("B-创建FLASH控件完成！");
inline const QString kStageError = QStringLiteral("发现错误执行 B-卸载创建的FLASH完成！");
// The error list: the last good check ("1- " + frames of the movie) and " : 错误".
inline const QString kHealthFirst = QStringLiteral("1- ");
inline const QString kHealthError = QStringLiteral(" : 错误");

// Told to the user with a complete album.
inline const QString kMusicTooShort =
    QStringLiteral("音乐文件都短于一秒，无法循环铺满整个相册：音乐只播放一遍，其余部分没有声音。");
// %1 the files, one a line.
inline const QString kPhotosMissingInVideo =
    QStringLiteral("以下照片文件找不到了，视频中以灰色代替：\n%1");
// %1 the template's name (or kClosingMovieName), %2 the reason.
inline const QString kMovieNotProduced =
    QStringLiteral("模板动画“%1”无法播放，视频中保持上一画面：%2");
inline const QString kClosingMovieName = QStringLiteral("结束动画");

// The output would overwrite a file the album is made from. %1 the output, %2 that file.
inline const QString kOutputIsAnInput = QStringLiteral(
    "视频文件“%1”就是相册所用的文件“%2”，制作会覆盖它。请换一个相册名称或保存位置。");

// The production ended without a file, for want of a reason from the encoder.
inline const QString kProductionFailed = QStringLiteral("相册制作失败，没有生成视频文件！");

}  // namespace vellumo::texts
