#pragma once

// Fixed texts of the crop window. "没有添加照片文件！" (texts::kNoPhotos), "没有选中照片文件！"
// (texts::kNoPhotoSelected) and the zoom-in refusal (texts::kCannotZoomInFurther) are shared
// with the photo list and defined with it.

#include <QString>

namespace vellumo::texts {

inline const QString kCropTitle = QStringLiteral("照片剪裁");

// Refusals of the crop commands.
inline const QString kNoCropRows = QStringLiteral("添加的照片文件没有与模板文件匹配！");
// Zooming out stops where the photo still covers the frame; the photo stays as it is.
inline const QString kCropCannotZoomOut = QStringLiteral("不能再缩小了！");
inline const QString kCropSaved = QStringLiteral("保存剪裁完成！");

// The crop options of a landscape single.
inline const QString kCropOptionFullScreen = QStringLiteral("照片全屏显示");
inline const QString kCropOptionMedium = QStringLiteral("照片适中显示");

// Buttons.
inline const QString kCropZoomIn = QStringLiteral("放大相片");
inline const QString kCropZoomOut = QStringLiteral("缩小相片");
inline const QString kCropDefaultSize = QStringLiteral("默认大小");
inline const QString kCropSave = QStringLiteral("保存剪裁");
inline const QString kCropCancel = QStringLiteral("取消");

// The list's columns.
inline const QString kCropColumnNumber = QStringLiteral("序号");
inline const QString kCropColumnPhotoName = QStringLiteral("照片名称");
inline const QString kCropColumnUseCount = QStringLiteral("使用次数");
inline const QString kCropColumnPhotoPath = QStringLiteral("照片位置");
inline const QString kCropColumnSlot = QStringLiteral("标注");
inline const QString kCropColumnPhotoRow = QStringLiteral("行号");

// The detail box's labels.
inline const QString kCropDetailNumber = QStringLiteral("序号：");
inline const QString kCropDetailFileName = QStringLiteral("文件名：");
inline const QString kCropDetailUseCount = QStringLiteral("使用次数：");
inline const QString kCropDetailPhotoPath = QStringLiteral("照片位置：");

}  // namespace vellumo::texts
