#pragma once

// Fixed texts of template assignment.

#include <QString>

#include "album/used_templates_texts.h"

namespace vellumo::texts {

// Photo match of a used template.
inline const QString kMatchComplete = QStringLiteral("已完成");
inline const QString kMatchIncomplete = QStringLiteral("未完成");

// The used-template list is empty (the template manager, the preview).
inline const QString kNoTemplates = QStringLiteral("没有添加模板文件！");

// %1 the number of empty slots.
inline const QString kTemplateNotMatched =
    QStringLiteral("选中的模板文件,照片与此模板还有 %1 处没有完成匹配！");

}  // namespace vellumo::texts

namespace vellumo::texts {

// Automatic placement stopped with photos that no template can take. %1 the number of photos.
inline const QString kPhotosLeftUnplaced = QStringLiteral(
    "有 %1 张照片没有找到合适的模板，未能自动套版，可以在“模板管理”中为它们选择模板。");

}  // namespace vellumo::texts

namespace vellumo::texts {

// The template options window and the combined add.
inline const QString kOptionsCaption = QStringLiteral("模板选项：自动为添加的照片分配模板方式");
inline const QString kUseCombination = QStringLiteral("使用模板组合添加照片   ← 推荐使用");
inline const QString kUseRandom = QStringLiteral("使用随机模板添加照片              ");
inline const QString kOptionsButtonHint = QStringLiteral("点此按钮，开始添加照片。");
inline const QString kCombinationCaption = QStringLiteral("组合模板");
// %1 the package number k.
inline const QString kCombinationName = QStringLiteral("模板组合 - %1");
inline const QString kNoCombination = QStringLiteral("没有找到组合模板！");
inline const QString kNoCombinationSelected = QStringLiteral("没有选中组合模板！");
inline const QString kExplanationEmpty = QStringLiteral("说明：");
inline const QString kExplanationLandscape =
    QStringLiteral("说明：选中的组合模板至少需要 1 张横照片");
inline const QString kExplanationPortrait =
    QStringLiteral("说明：选中的组合模板至少需要 1 张竖照片");
inline const QString kExplanationBoth =
    QStringLiteral("说明：选中的组合模板至少需要 1 张横照片和 1 张竖照片");
inline const QString kNeedLandscapeForCombination =
    QStringLiteral("当前选中的组合模板，至少需要添加 1 张横照片,点[确定]按钮继续添加照片");
inline const QString kNeedPortraitForCombination =
    QStringLiteral("当前选中的组合模板，至少需要添加 1 张竖照片,点[确定]按钮继续添加照片");
// A member of the chosen combination that names no installed template; follows the unplaced
// photos. %1 the member as written (name~landscape~portrait~).
inline const QString kCombinationMemberMissing =
    QStringLiteral("组合模板中的“%1”在模板库中没有对应的模板。");
// A combined-template package that cannot be read. %1 the package, %2 the reason.
inline const QString kCombinationUnreadable = QStringLiteral("组合模板文件“%1”无法读取：%2");

}  // namespace vellumo::texts

namespace vellumo::texts {

// The template options window's list, fields and note.
inline const QString kCombinationColumnName = QStringLiteral("模板组合");
inline const QString kCombinationColumnLandscape = QStringLiteral("横照片(张)");
inline const QString kCombinationColumnPortrait = QStringLiteral("竖照片(张)");
inline const QString kCombinationColumnTotal = QStringLiteral("照片总数(张)");
inline const QString kCombinationNameField = QStringLiteral("组合模板名称");
inline const QString kNeededLandscapeField = QStringLiteral("需要横照片");
inline const QString kNeededPortraitField = QStringLiteral("需要竖照片");
// Appended to the needed totals.
inline const QString kSheetsSuffix = QStringLiteral(" 张");
// No combined-template package is installed.
inline const QString kNoCombinationInstalled =
    QStringLiteral("没有安装组合模板，只能使用随机模板添加照片。");

}  // namespace vellumo::texts
