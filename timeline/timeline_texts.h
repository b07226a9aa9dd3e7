#pragma once

// Fixed texts of the album's timeline: staging, the play checks, the clock and the lyric files
// read for it.

#include <QString>

namespace vellumo::texts {

inline const QString kNoMusicForSync =
    QStringLiteral("没有找到音乐文件！使用随音乐文件同步,至少添加一个音乐文件！");
inline const QString kAutoCompleteCaption = QStringLiteral("自动完成");
// %1 the number of photos without a template.
inline const QString kAutoCompleteQuestion =
    QStringLiteral("有 %1 张照片没有与模板匹配,是否自动完成照片与模板的匹配?");
inline const QString kStagingCaption = QStringLiteral("配置文件");
inline const QString kNothingToPlay =
    QStringLiteral("没有已完成照片匹配的模板文件，请先在“模板管理”中为模板添加照片！");
// %1 the files, one a line.
inline const QString kPhotosMissing =
    QStringLiteral("以下照片文件找不到了，预览中以灰色代替：\n%1");
// %1 the template's name, %2 the reason.
inline const QString kTemplateMovieUnplayable = QStringLiteral("模板动画“%1”无法播放，已跳过：%2");
inline const QString kClockZero = QStringLiteral("00:00:00");

// A lyric file that cannot be read. %1 the file.
inline const QString kLyricsUnreadable =
    QStringLiteral("无法读取歌词文件“%1”，此歌词文件不显示歌词。");
// A lyric file in which no line carries a time tag ([mm:ss…]). %1 the file.
inline const QString kLyricsWithoutLines =
    QStringLiteral("歌词文件“%1”中没有带时间标签（如 [01:05.32]）的歌词行，此歌词文件不显示歌词。");

}  // namespace vellumo::texts
