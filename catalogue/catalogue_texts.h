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
