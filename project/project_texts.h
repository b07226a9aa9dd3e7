#pragma once

// Fixed Chinese texts of album projects: the menu items, the title, the questions and the
// messages about project files.

#include <QString>

namespace vellumo::texts {

// Function menu items.
inline const QString kNewAlbum = QStringLiteral("新建相册");
inline const QString kOpenAlbum = QStringLiteral("打开相册…");
inline const QString kSaveAlbum = QStringLiteral("保存相册");
inline const QString kSaveAlbumAs = QStringLiteral("另存为…");
inline const QString kRecentAlbums = QStringLiteral("最近的相册");
inline const QString kNoRecentAlbums = QStringLiteral("(无)");

// The window title: the album name with its unsaved mark, the program's name.
inline const QString kUntitledAlbum = QStringLiteral("未命名相册");
inline const QString kUnsavedMark = QStringLiteral("*");
inline const QString kAlbumTitle = QStringLiteral("%1 - %2");

// File choosers.
inline const QString kOpenAlbumCaption = QStringLiteral("打开相册");
inline const QString kSaveAlbumAsCaption = QStringLiteral("相册另存为");
inline const QString kAlbumFileFilter = QStringLiteral("相册文件|*.vellumo;");

// "另存为…" onto a file that is there already. %1 the file.
inline const QString kReplaceAlbumFile = QStringLiteral("文件“%1”已经存在，是否替换?");

// The status line when the autosave cannot keep the album. %1 the recovery file.
inline const QString kAutosaveFailed =
    QStringLiteral("自动保存失败，无法写入恢复文件“%1”，请尽快保存相册。");

// The question before the album is replaced or the program ends.
inline const QString kSaveQuestionCaption = QStringLiteral("保存相册");
inline const QString kSaveQuestion = QStringLiteral("相册“%1”有未保存的更改，是否保存?");
inline const QString kSaveAnswer = QStringLiteral("保存");
inline const QString kDontSaveAnswer = QStringLiteral("不保存");

// Recovery after the program ended without its exit.
inline const QString kRecoveryCaption = QStringLiteral("恢复相册");
inline const QString kRecoveryQuestion = QStringLiteral("恢复上次未保存的相册?");

// Reading and writing project files.
inline const QString kAlbumFileUnreadable = QStringLiteral("无法读取相册文件：%1");
inline const QString kAlbumFileDamaged = QStringLiteral("相册文件已损坏，无法打开：%1");
inline const QString kAlbumFileNewer =
    QStringLiteral("相册文件由较新版本的 Vellumo 保存，无法打开：%1");
inline const QString kAlbumFileNotWritten = QStringLiteral("无法保存相册文件：%1");

// What opening a project could not bring back: one message, a section per kind.
inline const QString kAlbumOpenedWithGaps = QStringLiteral("相册已打开，但有些内容未能载入。");
inline const QString kMissingFiles = QStringLiteral("以下文件已不存在，已从相册中去掉：");
inline const QString kNotFiles = QStringLiteral("以下路径上的不是音乐文件，已从相册中去掉：");
inline const QString kLyricsWithMusic =
    QStringLiteral("以下歌词文件与缺少的音乐成对，已随音乐一起去掉：");
inline const QString kMissingFilesKept =
    QStringLiteral("以下文件已不存在，仍留在相册中，文件找回后即可使用：");
inline const QString kUnusableFilesKept =
    QStringLiteral("以下路径上的不是可用的照片或歌词文件，仍留在相册中：");
inline const QString kTurnedPhotos = QStringLiteral("以下照片的方向已改变，已从模板中取出：");
inline const QString kMissingTemplates = QStringLiteral("以下模板未安装，已从相册中去掉：");
inline const QString kMusicNotConverted =
    QStringLiteral("以下音乐文件的转换副本无法重新生成，暂时不能播放：");

}  // namespace vellumo::texts
