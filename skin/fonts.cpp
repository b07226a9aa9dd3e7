#include "skin/fonts.h"

#include <QFont>

#include "skin/skin_texts.h"

namespace vellumo {

void installFontSubstitutions() {
    QFont::insertSubstitution(texts::kSongTi, QStringLiteral("Noto Serif CJK SC"));
    QFont::insertSubstitution(texts::kHeiTi, QStringLiteral("Noto Sans CJK SC"));
}

}  // namespace vellumo
