#pragma once

// Fixed Chinese texts of the template catalogue.

#include <QString>

namespace vellumo::texts {

// %1 the key.
inline const QString kCombinedCountNotNumber = QStringLiteral("组合模板的数量“%1”不是整数");
// %1 the entry number, %2 the entry text.
inline const QString kCombinedEntryMalformed =
    QStringLiteral("组合模板的第 %1 项“%2”格式不对，应为：模板名称~横照数量~竖照数量~");

}  // namespace vellumo::texts

namespace vellumo::texts {

// Catalogue list words.
inline const QString kKindAdvanced = QStringLiteral("高级模板");
inline const QString kKindSingle = QStringLiteral("单张模板");
inline const QString kClassCombined = QStringLiteral("综合模板");
inline const QString kClassLandscape = QStringLiteral("横照模板");
inline const QString kClassPortrait = QStringLiteral("竖照模板");

// Why a template was left out of the catalogue.
inline const QString kNoTemplatePackage = QStringLiteral("没有与参数文件对应的模板文件");
inline const QString kNoParameterPackage = QStringLiteral("没有与模板文件对应的参数文件");
inline const QString kParameterFileEmpty = QStringLiteral("参数文件是空的");
inline const QString kTemplatePackageEmpty = QStringLiteral("模板文件是空的");
// %1 the key, %2 the value.
inline const QString kParameterNotNumber = QStringLiteral("参数“%1”的值“%2”不是整数");
inline const QString kFramesNotPositive = QStringLiteral("模板总帧数“%1”必须大于 0");
// %1 the key, %2 the 1-based item, %3 the item text.
inline const QString kPictureItemNotNumber = QStringLiteral("参数“%1”的第 %2 项“%3”不是整数");
// %1 the key, %2 the 1-based item, %3 the item text, %4 the largest size allowed.
inline const QString kPictureItemOutOfRange =
    QStringLiteral("参数“%1”的第 %2 项“%3”超出范围（应为 0 到 %4 之间的整数）");
// %1 the key, %2 the picture name.
inline const QString kPictureItemMissing = QStringLiteral("参数“%1”缺少相片“%2”的一项");
// The unpack folder refused a file: nothing can be loaded. %1 the folder.
inline const QString kWorkingFolderUnwritable =
    QStringLiteral("无法写入工作文件夹“%1”（磁盘可能已满），模板库无法载入。");
// Told once after loading, followed by one line per template left out.
inline const QString kTemplatesLeftOut =
    QStringLiteral("以下模板文件已损坏或参数有误，未载入模板库：");
// One such line: %1 the package below the program folder, %2 why.
inline const QString kTemplateLeftOutLine = QStringLiteral("%1：%2");

}  // namespace vellumo::texts
