#pragma once

// Fixed texts of the music list, lyrics list and lyric settings windows.

#include <QString>

#include "album/album_texts.h"  // kDeleteAllButton, the lyric styles and scripts

namespace vellumo::texts {

// Music list window ("添加音乐").
inline const QString kMusicListCaption = QStringLiteral("添加音乐");
inline const QString kAddMusicButton = QStringLiteral("添加音乐");
inline const QString kDeleteMusicButton = QStringLiteral("删除音乐");
inline const QString kMusicPreviewButton = QStringLiteral("音乐预览");
inline const QString kMusicReturnButton = QStringLiteral("返    回");
inline const QString kMusicColumnNumber = QStringLiteral("序号");
inline const QString kMusicColumnName = QStringLiteral("音乐名称");
inline const QString kMusicColumnFormat = QStringLiteral("格式");
inline const QString kMusicColumnDuration = QStringLiteral("音乐时长");
inline const QString kMusicColumnLocation = QStringLiteral("位置");
// The music list's information panel.
inline const QString kMusicInfoNumber = QStringLiteral("音乐序号");
inline const QString kMusicInfoName = QStringLiteral("音乐名称");
inline const QString kMusicInfoFormat = QStringLiteral("音乐格式");
inline const QString kInfoDuration = QStringLiteral("音乐时长");
inline const QString kMusicInfoLocation = QStringLiteral("音乐位置");
inline const QString kAddMusicFilter = QStringLiteral("添加音乐文件(MP3) (*.mp3)");
inline const QString kAddMusicProgress = QStringLiteral("添加音乐");

inline const QString kNoMusic = QStringLiteral("没有添加音乐文件！");
inline const QString kDeleteMusicCaption = QStringLiteral("删除音乐");
inline const QString kDeleteMusicQuestion = QStringLiteral("是否确定要删除当前选中的音乐文件?");
inline const QString kNoMusicSelected = QStringLiteral("没有选中音乐文件！");
inline const QString kMusicDeleted = QStringLiteral("选中的音乐文件已经删除！");
inline const QString kDeleteAllMusicQuestion = QStringLiteral("是否确定要删除全部音乐文件?");
inline const QString kAllMusicDeleted = QStringLiteral("音乐文件已经全部删除！");

// Lyrics list window ("添加歌词").
inline const QString kLyricsListCaption = QStringLiteral("添加歌词");
inline const QString kAddLyricsButton = QStringLiteral("添加歌词");
inline const QString kDeleteLyricsButton = QStringLiteral("删除歌词");
inline const QString kLyricsPreviewButton = QStringLiteral("歌词预览");
inline const QString kLyricSettingsButton = QStringLiteral("设置歌词");
inline const QString kLyricsReturnButton = QStringLiteral("返        回");
inline const QString kLyricsColumnNumber = QStringLiteral("序号");
inline const QString kLyricsColumnName = QStringLiteral("歌词名称");
inline const QString kLyricsColumnFormat = QStringLiteral("类型");
inline const QString kLyricsColumnLocation = QStringLiteral("位置");
// The lyrics list's information panel.
inline const QString kLyricsInfoNumber = QStringLiteral("歌词序号");
inline const QString kLyricsInfoName = QStringLiteral("歌词名称");
inline const QString kLyricsInfoFormat = QStringLiteral("歌词格式");
inline const QString kLyricsInfoLocation = QStringLiteral("歌词位置");
inline const QString kAddLyricsFilter = QStringLiteral("添加歌词文件(LRC) (*.lrc)");
inline const QString kAddLyricsProgress = QStringLiteral("添加歌词");

inline const QString kNoLyrics = QStringLiteral("没有添加歌词文件！");
inline const QString kDeleteLyricsCaption = QStringLiteral("删除歌词");
inline const QString kDeleteLyricsQuestion = QStringLiteral("是否确定要删除当前选中的歌词文件?");
inline const QString kNoLyricsSelected = QStringLiteral("没有选中歌词文件！");
inline const QString kLyricsDeleted = QStringLiteral("选中的歌词文件已经删除！");
inline const QString kDeleteAllLyricsQuestion = QStringLiteral("是否确定要删除全部歌词文件?");
inline const QString kAllLyricsDeleted = QStringLiteral("歌词文件已经全部删除！");

// Lyric settings window ("歌词设置").
inline const QString kLyricSettingsCaption = QStringLiteral("歌词设置");
inline const QString kLyricScreenHint = QStringLiteral("屏幕");
inline const QString kLyricSample = QStringLiteral("此处显示歌词内容");
inline const QString kLyricSampleHint = QStringLiteral("歌词");
inline const QString kDefaultPosition = QStringLiteral("默认显示");
inline const QString kCustomPosition = QStringLiteral("自定义显示");
inline const QString kLyricColour = QStringLiteral("歌词颜色");
inline const QString kLyricFont = QStringLiteral("歌词字体");
inline const QString kLyricSize = QStringLiteral("歌词大小");
inline const QString kLyricStyle = QStringLiteral("歌词字形");
inline const QString kLyricScript = QStringLiteral("简体繁体");
inline const QString kKaraoke = QStringLiteral("卡拉OK效果");
inline const QString kSungColour = QStringLiteral("唱过的颜色");
inline const QString kLyricsAsSubtitles = QStringLiteral("歌词作为字幕");
inline const QString kCustomLeft = QStringLiteral("自定义");
inline const QString kCustomCentred = QStringLiteral("居中显示");
inline const QString kSaveLyricSettings = QStringLiteral("保存设置");
inline const QString kCancelLyricSettings = QStringLiteral("取消");
// Our own captions of the two track bars.
inline const QString kTrackBarX = QStringLiteral("水平位置");
inline const QString kTrackBarY = QStringLiteral("垂直位置");

}  // namespace vellumo::texts
