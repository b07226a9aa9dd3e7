#pragma once

// Fixed texts of the album content: photo, background lists and their records.

#include <QString>

namespace vellumo::texts {

// The in-template mark of a photo that has been put into a slot.
inline const QString kInTemplate = QStringLiteral("完成");
// The mark of a photo kept in the album whose file is not there (a drive not mounted); it is
// used again once the file is back.
inline const QString kFileMissingMark = QStringLiteral("文件不存在");

// The button of the photo, music and lyrics lists that empties the list.
inline const QString kDeleteAllButton = QStringLiteral("全部删除");

// The photo list is empty (the photo list window, the preview).
inline const QString kNoPhotos = QStringLiteral("没有添加照片文件！");

// A chosen music or lyric file that is a folder, a device or a pipe. %1 the path.
inline const QString kNotARegularFileNotAdded =
    QStringLiteral("“%1”不是普通文件（是文件夹、设备或管道），此文件没有添加。");

// A chosen photo that has no picture at all. %1 the file.
inline const QString kPhotoUnreadable = QStringLiteral("无法读取照片文件“%1”，此文件没有添加。");

// The lyric styles and scripts as the lyric settings name them and the window's
// choosers list them.
inline const QString kStyleRegular = QStringLiteral("常规");
inline const QString kStyleBold = QStringLiteral("粗体");
inline const QString kStyleItalic = QStringLiteral("倾斜");
inline const QString kStyleBoldItalic = QStringLiteral("粗体 倾斜");
inline const QString kScriptSimplified = QStringLiteral("简体");
inline const QString kScriptTraditional = QStringLiteral("繁体");

}  // namespace vellumo::texts
