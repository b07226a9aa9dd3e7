#pragma once

// Fixed texts of the photo list window, the background window and the photo pages of the main
// window.

#include <QString>

#include "album/album_texts.h"  // kNoPhotos and kDeleteAllButton, shared with other windows

namespace vellumo::texts {

// The add-photo dialog's filter: a description, then the patterns between "|" and ";".
inline const QString kPhotoFileFilter = QStringLiteral("添加照片文件(JPG)|*.jpg;");

// The photo list window.
inline const QString kPhotoListCaption = QStringLiteral("添加照片");
inline const QString kPhotoColumnNumber = QStringLiteral("序号");
inline const QString kPhotoColumnName = QStringLiteral("照片");
inline const QString kPhotoColumnFormat = QStringLiteral("格式");
inline const QString kPhotoColumnWidth = QStringLiteral("宽度");
inline const QString kPhotoColumnHeight = QStringLiteral("高度");
inline const QString kPhotoColumnLocation = QStringLiteral("位置");
inline const QString kPhotoColumnInTemplate = QStringLiteral("套版");
inline const QString kPhotoFieldNumber = QStringLiteral("照片序号");
inline const QString kPhotoFieldName = QStringLiteral("照片名称");
inline const QString kPhotoFieldFormat = QStringLiteral("照片格式");
inline const QString kPhotoFieldWidth = QStringLiteral("照片宽度");
inline const QString kPhotoFieldHeight = QStringLiteral("照片高度");
inline const QString kPhotoFieldLocation = QStringLiteral("照片位置");
inline const QString kAddPhotoButton = QStringLiteral("添加照片");
inline const QString kDeletePhotoButton = QStringLiteral("删除照片");
inline const QString kAutoPlaceButton = QStringLiteral("自动套版");
inline const QString kPhotoListClose = QStringLiteral("返    回");

// Progress window titles.
inline const QString kAddPhotosTitle = QStringLiteral("添加照片");
inline const QString kAutoPlacementTitle = QStringLiteral("自动匹配模板");
inline const QString kLoadPhotosTitle = QStringLiteral("加载照片");

inline const QString kNoPhotoSelected = QStringLiteral("没有选中照片文件！");
inline const QString kDeletePhotoCaption = QStringLiteral("删除照片");
inline const QString kDeletePhotoQuestion = QStringLiteral("是否确定要删除当前选中的照片文件?");
// %1 the number of photo slots holding the photo.
inline const QString kDeleteUsedPhotoQuestion = QStringLiteral(
    "此张照片文件在 %1 个模板文件中使用,删除后,模板文件中的照片文件也会被删除,"
    "是否确定要删除当前选中的照片文件?");
inline const QString kPhotoDeleted = QStringLiteral("选中的照片文件已经删除！");
inline const QString kDeleteAllQuestion = QStringLiteral("是否确定要删除全部照片文件?");
inline const QString kAllPhotosDeleted = QStringLiteral("照片文件已经全部删除！");
inline const QString kAutoPlacementDone = QStringLiteral("照片与模板自动匹配已完成！");
// %1 the 1-based photo number, %2 the photo's name.
inline const QString kPhotoPreviewHint = QStringLiteral("第%1张, 照片名称: %2");

// Files of one add that hold no picture, followed by one line per file.
inline const QString kPhotosLeftOut = QStringLiteral("以下照片文件无法读取，没有添加：");
// Photos of one add whose data ends early, followed by one line per file.
inline const QString kPhotosIncomplete =
    QStringLiteral("以下照片文件不完整或部分损坏，已经添加，缺少的部分显示为灰色：");

// Photos a placement could not put into a template: one line each, then why.
// %1 the photo number, %2 its name, %3 its orientation.
inline const QString kUnplacedPhotoLine = QStringLiteral("第%1张, 照片名称: %2（%3）");
inline const QString kLandscapePhoto = QStringLiteral("横照片");
inline const QString kPortraitPhoto = QStringLiteral("竖照片");
inline const QString kNoTemplateForLandscape =
    QStringLiteral("模板库中没有能放入剩余横照片的模板（单张横照模板或照片张数合适的高级模板）。");
inline const QString kNoTemplateForPortrait =
    QStringLiteral("模板库中没有能放入剩余竖照片的模板（单张竖照模板或照片张数合适的高级模板）。");
inline const QString kCombinationTakesNoLandscape =
    QStringLiteral("选中的组合模板中没有能放入剩余横照片的模板。");
inline const QString kCombinationTakesNoPortrait =
    QStringLiteral("选中的组合模板中没有能放入剩余竖照片的模板。");

// The background window.
inline const QString kBackgroundCaption = QStringLiteral("背景图片");
inline const QString kBackgroundColumnNumber = QStringLiteral("编号");
inline const QString kBackgroundColumnName = QStringLiteral("名称");
inline const QString kBackgroundColumnKind = QStringLiteral("类型");
inline const QString kBackgroundColumnClass = QStringLiteral("分类");
inline const QString kBackgroundColumnPicture = QStringLiteral("图片名称");
inline const QString kBackgroundColumnFormat = QStringLiteral("图片类型");
inline const QString kBackgroundColumnWidth = QStringLiteral("宽度");
inline const QString kBackgroundColumnHeight = QStringLiteral("高度");
inline const QString kBackgroundColumnLocation = QStringLiteral("图片位置");
inline const QString kBackgroundFieldNumber = QStringLiteral("图片编号");
inline const QString kBackgroundFieldName = QStringLiteral("图片名称");
inline const QString kBackgroundFieldFormat = QStringLiteral("图片格式");
inline const QString kBackgroundFieldWidth = QStringLiteral("图片宽度");
inline const QString kBackgroundFieldHeight = QStringLiteral("图片高度");
inline const QString kBackgroundFieldLocation = QStringLiteral("图片位置");
inline const QString kChangeBackgroundButton = QStringLiteral("更换背景图片");
inline const QString kBackgroundClose = QStringLiteral("返  回");
inline const QString kRowHasNoBackground = QStringLiteral("当前选中项没有添加背景图片文件！");
inline const QString kNoBackgrounds = QStringLiteral("没有找到背景图片文件！");
inline const QString kNoBackgroundSelected = QStringLiteral("没有选中背景图片文件！");
inline const QString kBackgroundNotLandscape =
    QStringLiteral("此张照片不是横照片,请重新更换一张横照片!");
// %1 the 1-based row number, %2 the picture's name.
inline const QString kBackgroundPreviewHint = QStringLiteral("第%1张, 背景图片名称: %2");
// A chosen background file that holds no picture. %1 the file.
inline const QString kBackgroundUnreadable =
    QStringLiteral("无法读取图片文件“%1”，背景图片没有更换。");

// The photo pages of the main window.
inline const QString kAlreadyFirstPage = QStringLiteral("已经是第一页了！");
inline const QString kAlreadyLastPage = QStringLiteral("已经是最后一页了！");
inline const QString kDoubleClickToPreview = QStringLiteral("双击照片预览效果！");
inline const QString kCannotZoomOutFurther =
    QStringLiteral("不能再缩小了,点[确定]按钮，照片大小恢复到默认大小！");
inline const QString kCannotZoomInFurther = QStringLiteral("不能再放大了！");
// %1 the 1-based photo number, %2 the photo's name.
inline const QString kThumbnailHint =
    QStringLiteral("鼠标双击预览模板效果。    第%1张, 照片名称: %2");

}  // namespace vellumo::texts
