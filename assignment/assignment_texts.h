#pragma once

// Fixed texts of template assignment.

#include <QString>

namespace vellumo::texts {

// Photo match of a used template.
inline const QString kMatchComplete = QStringLiteral("已完成");
inline const QString kMatchIncomplete = QStringLiteral("未完成");

// Placing a photo of the wrong orientation.
inline const QString kNeedLandscapePhoto = QStringLiteral("此处需要一张横照片！");
inline const QString kNeedPortraitPhoto = QStringLiteral("此处需要一张竖照片！");

// %1 the number of empty slots.
inline const QString kTemplateNotMatched =
    QStringLiteral("选中的模板文件,照片与此模板还有 %1 处没有完成匹配！");

}  // namespace vellumo::texts

namespace vellumo::texts {

// Automatic placement stopped with photos that no template can take. %1 the number of photos.
inline const QString kPhotosLeftUnplaced = QStringLiteral(
    "有 %1 张照片没有找到合适的模板，未能自动套版，可以在“模板管理”中为它们选择模板。");

}  // namespace vellumo::texts
