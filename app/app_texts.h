#pragma once

// Fixed texts of the application frame: start-up, main window, plug-in notice, exit.

#include <QString>

#include "skin/skin_texts.h"

namespace vellumo::texts {

// The playing guard of every command.
inline const QString kPlayingGuard = QStringLiteral("正在播放相册,点停止按钮后,再操作！");

// An unexpected error that ended a command; %1 the error's text.
inline const QString kCommandFailed =
    QStringLiteral("操作没有完成，出现了意外错误：\n%1\n相册保持在这次操作之前的样子。");
inline const QString kUnknownError = QStringLiteral("未知错误");

// Command captions and hints.
inline const QString kAddPhotos = QStringLiteral("添加照片");
inline const QString kAddPhotosHint =
    QStringLiteral("支持JPG格式的照片文件,支持多个照片文件一起添加使用");
inline const QString kAddMusic = QStringLiteral("添加音乐");
inline const QString kAddMusicHint =
    QStringLiteral("支持添加MP3格式的音乐文件,支持多个音乐文件一起添加使用");
inline const QString kAddLyrics = QStringLiteral("添加歌词");
inline const QString kAddLyricsHint =
    QStringLiteral("支持添加LRC格式的歌词文件,支持多个歌词文件一起添加使用");
inline const QString kSync = QStringLiteral("同步效果");
inline const QString kSyncHint = QStringLiteral("支持两种同步效果,随模板同步效果和随照片同步效果");
inline const QString kQuality = QStringLiteral("画面质量");
inline const QString kQualityHint =
    QStringLiteral("支持一般画质效果,高清画质效果,超清画质效果,推荐使用超清画质效果,画面更细腻");
inline const QString kCrop = QStringLiteral("照片剪裁");
inline const QString kCropHint = QStringLiteral(
    "支持不失真放大或缩小照片文件,可以对照片文件的局部放大或缩小,达到超清最佳显示效果");
inline const QString kTemplateManager = QStringLiteral("模板管理");
inline const QString kTemplateManagerHint =
    QStringLiteral("此功能强大,可以照片更换模板或模板指定照片,支持模板预览效果");
inline const QString kBackgrounds = QStringLiteral("背景图片");
inline const QString kBackgroundsHint = QStringLiteral("支持对每个使用的模板文件添加背景图片文件");
inline const QString kSettings = QStringLiteral("系统设置");
inline const QString kSettingsHint = QStringLiteral("对此软件的一些常用设置");
inline const QString kPlay = QStringLiteral(" 播放");
inline const QString kPlayHint = QStringLiteral("预览全部使用模板效果");
inline const QString kStop = QStringLiteral(" 停止");
inline const QString kStopHint = QStringLiteral("结束预览");
inline const QString kZoomIn = QStringLiteral("放大");
inline const QString kZoomInHint = QStringLiteral("对选中照片进行放大显示");
inline const QString kZoomOut = QStringLiteral("缩小");
inline const QString kZoomOutHint = QStringLiteral("对选中照片进行缩小显示");
inline const QString kZoomDefault = QStringLiteral("默认");
inline const QString kZoomDefaultHint = QStringLiteral("对选中照片进行默认大小显示");
inline const QString kAbout = QStringLiteral("软件简介");
inline const QString kHelp = QStringLiteral("帮助文件");
inline const QString kInsertVideo = QStringLiteral("插入视频");
inline const QString kExitCommand = QStringLiteral("退出文件");

// Photo pages below the main display.
inline const QString kFirstPage = QStringLiteral("第一页");
inline const QString kPreviousPage = QStringLiteral("上一页");
inline const QString kNextPage = QStringLiteral("下一页");
inline const QString kLastPage = QStringLiteral("末一页");
inline const QString kViewPhoto = QStringLiteral("查看照片");
inline const QString kPreviewEffect = QStringLiteral("预览效果");
inline const QString kPreviousArrow = QStringLiteral("←");
inline const QString kPreviousArrowHint = QStringLiteral("显示上一页照片");
inline const QString kNextArrow = QStringLiteral("→");
inline const QString kNextArrowHint = QStringLiteral("显示下一页照片");

// Title bar.
inline const QString kDragHint = QStringLiteral("按住左键移动软件位置");

// Summary lists.
inline const QString kColumnNumber = QStringLiteral("序号");
inline const QString kColumnTemplate = QStringLiteral("模板");
inline const QString kColumnTemplateDuration = QStringLiteral("模板时长");
inline const QString kColumnMusic = QStringLiteral("音乐");
inline const QString kColumnMusicDuration = QStringLiteral("时间长度");
inline const QString kColumnLyrics = QStringLiteral("歌词");
inline const QString kColumnLyricsFormat = QStringLiteral("歌词格式");
inline const QString kMusicListHint =
    QStringLiteral("双击此处打开音乐预览窗口,即可预览已经添加的音乐文件");
inline const QString kLyricsListHint =
    QStringLiteral("双击此处打开歌词预览窗口,即可预览已经添加的歌词文件");

// Plug-in notice.
inline const QString kPluginCaption = QStringLiteral("《Vellumo》插件安装");
inline const QString kPluginMissing =
    QStringLiteral("检测到系统缺少插件，插件安装后，重新启动软件即可使用");
inline const QString kPluginAdvice = QStringLiteral(
    "温馨提示：安装插件的时候，一定要先退出软件，安装插件完成后，再重新启动软件即可使用。");
inline const QString kPluginHelpLink = QStringLiteral("插件安装方法（图解）");
inline const QString kPluginHelpLinkHint =
    QStringLiteral("鼠标点击此链接查看【插件】图解安装的方法");
inline const QString kPluginDownload = QStringLiteral("下载插件");
inline const QString kPluginDownloadHint =
    QStringLiteral("鼠标点击此按钮，打开下载插件页面，插件下载后，按提示安装即可。");
inline const QString kPluginQuit = QStringLiteral("退出软件");
inline const QString kPluginQuitHint = QStringLiteral("插件安装后，需要重新启动此软件");
// The section of the help on a start-up animation that cannot be played (its heading's anchor).
inline const QString kStartupMovieHelpSection = QStringLiteral("启动时提示检测到系统缺少插件");
inline const QString kPluginInstallFirstQuit =
    QStringLiteral("安装插件，请先退出软件,然后再安装插件");

// Help and about: the help window and the about window take the captions of their commands.
// The installed help page is missing; %1 is where it should be.
inline const QString kHelpMissing = QStringLiteral("没有找到帮助文件：\n%1");
inline const QString kAboutProduct = QStringLiteral("Vellumo 电子相册制作");
// %1 is the version.
inline const QString kAboutVersion = QStringLiteral("版本 %1");
inline const QString kAboutDescription =
    QStringLiteral("把照片、音乐和歌词做成可以在 VCD、SVCD、DVD 播放机和电脑上观看的相册视频。");
inline const QString kAboutLicence = QStringLiteral(
    "本软件是自由软件，按 GNU 通用公共许可证第 3 版或（由您选择）任何更新版本"
    "（GPL-3.0-or-later）发布，不提供任何担保。它使用 Qt、FFmpeg、libjpeg-turbo、libexif 和 "
    "OpenCC 等自由软件库，各库按其自己的许可证使用。");
// The insert-video command until it gets its work.
inline const QString kInsertVideoLater = QStringLiteral("插入视频功能将在以后的版本中提供。");

// Exit dialog.
inline const QString kExitCaption = QStringLiteral("退出软件");
inline const QString kExitQuestion = QStringLiteral("是否退出软件?");
// Shown when removing the working files takes a while.
inline const QString kExitCleaning = QStringLiteral("正在清理临时文件，请稍候……");

}  // namespace vellumo::texts

namespace vellumo::words {

// State words of the main window.
inline const QString kPlaying = QStringLiteral("bofang_kaishi");
inline const QString kStopped = QStringLiteral("bofang_tingzhi");
inline const QString kFirstPageStart = QStringLiteral("kaishi");
inline const QString kFirstPageDone = QStringLiteral("jieshu");
inline const QString kNone = QStringLiteral("wu");
inline const QString kStartupAnimationHeld = QStringLiteral("0");
inline const QString kStartupAnimationReleased = QStringLiteral("1");

}  // namespace vellumo::words
