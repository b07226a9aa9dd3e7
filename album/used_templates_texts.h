#pragma once

// Fixed texts of the used templates and their slots: why a photo was not placed.

#include <QString>

namespace vellumo::texts {

// Placing a photo of the wrong orientation.
inline const QString kNeedLandscapePhoto = QStringLiteral("此处需要一张横照片！");
inline const QString kNeedPortraitPhoto = QStringLiteral("此处需要一张竖照片！");
// Placing into a slot or from a photo row that does not exist.
inline const QString kNoSuchSlot = QStringLiteral("选中的模板中没有这个照片位置！");
inline const QString kNoSuchPhoto = QStringLiteral("照片列表中没有这张照片！");

}  // namespace vellumo::texts
