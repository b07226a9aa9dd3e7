#pragma once

// Fixed Chinese texts of vellumo-tool: the headings of its tables and the captions of its
// template sheets.

#include <QString>

namespace vellumo::texts {

// catalogue
inline const QString kToolCatalogueHeading =
    QStringLiteral("序号\t模板\t类型\t横照片\t竖照片\t时长\t分类");

// lrc: the table, then the look-up of each time asked for.
inline const QString kToolLyricsHeading = QStringLiteral("序号\t标签\t歌词");
// Before the word times of a karaoke line: each word's time and text follow.
inline const QString kToolWordTimes = QStringLiteral("\t\t逐字时间:");
inline const QString kToolLookupHeading = QStringLiteral("时间\t查找\t序号\t歌词");
// %1 the time, %2 the time text looked up.
inline const QString kToolLookupMissing = QStringLiteral("%1\t%2\t-\t(没有找到，保留上一句)");

// plan: the used templates, their photo slots and the photo list.
inline const QString kToolPlanTemplatesHeading =
    QStringLiteral("编号\t模板\t类型\t横照片\t竖照片\t时长\t分类\t照片匹配");
inline const QString kToolPlanSlotsHeading = QStringLiteral(
    "行号\t模板\tpicture\t横照或竖照\t尺寸\t照片位置行号\t全屏剪裁\t适中剪裁\t剪裁标记");
inline const QString kToolPlanPhotosHeading =
    QStringLiteral("照片位置行号\t照片位置\t宽度x高度\t横照或竖照");

// template-sheet. %1 the sample photo's number.
inline const QString kSheetLandscapePhoto = QStringLiteral("横照片 %1");
inline const QString kSheetPortraitPhoto = QStringLiteral("竖照片 %1");
inline const QString kSheetLeadIn = QStringLiteral("上一段");
inline const QString kSheetPhotoUnreadable = QStringLiteral("示例照片无法读取");
inline const QString kSheetCannotWrite = QStringLiteral("无法写入");
// %1 the frame, %2 its time.
inline const QString kSheetFrameLabel = QStringLiteral("帧 %1   %2");
// %1 the catalogue number, %2 the name, %3 the kind, %4 the class, %5 and %6 the landscape and
// portrait slots, %7 the duration, %8 the frames, %9 the package file.
inline const QString kSheetHeading =
    QStringLiteral("%1   %2   %3 · %4   横照片 %5  竖照片 %6   %7 (%8 帧)   %9");

}  // namespace vellumo::texts
