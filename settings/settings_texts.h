#pragma once

// Fixed Chinese texts of the system settings.

#include <QString>

namespace vellumo::texts {

inline const QString kSettingsCaption = QStringLiteral("系统设置");

inline const QString kLandscapeImportCropGroup =
    QStringLiteral("导入照片时，对横照片的剪裁效果   (支持单张照片模板效果)");
inline const QString kLandscapeImportCropMedium = QStringLiteral("横照片剪裁成适中效果");
inline const QString kLandscapeImportCropFullScreen = QStringLiteral("横照片剪裁成全屏效果");

inline const QString kPortraitImportCropGroup =
    QStringLiteral("导入照片时，对竖照片的剪裁效果   (支持单张照片模板效果)");
inline const QString kPortraitImportCropMedium = QStringLiteral("竖照片剪裁成适中效果");

inline const QString kLandscapeDisplayGroup = QStringLiteral("主界面横照片显示效果");
inline const QString kLandscapeDisplayMedium = QStringLiteral("横照片适中显示效果");
inline const QString kLandscapeDisplayFullScreen = QStringLiteral("横照片全屏显示效果");

inline const QString kPortraitDisplayGroup = QStringLiteral("主界面竖照片显示效果");
inline const QString kPortraitDisplayMedium = QStringLiteral("竖照片适中显示效果");

inline const QString kTemplateCombinationGroup = QStringLiteral("导入照片时，使用模板组合效果");
inline const QString kTemplateCombinationOn = QStringLiteral("使用模板组合效果");
inline const QString kTemplateCombinationOff = QStringLiteral("不使用模板组合效果");

inline const QString kOrderByTimeTaken = QStringLiteral("按拍摄时间排列照片");

}  // namespace vellumo::texts
