#include "album/lyric_settings.h"

#include <QFontMetrics>

#include "album/lyrics.h"
#include "album/music_lyrics_texts.h"
#include "media/chinese_script.h"

namespace vellumo {

QColor LyricSettings::colour() const {
    return QColor(static_cast<int>(colourNumber & 0xFF),
                  static_cast<int>((colourNumber >> 8) & 0xFF),
                  static_cast<int>((colourNumber >> 16) & 0xFF));
}

quint32 colourNumber(const QColor& colour) {
    return static_cast<quint32>(colour.red()) | (static_cast<quint32>(colour.green()) << 8) |
           (static_cast<quint32>(colour.blue()) << 16);
}

QString lyricPositionWord(LyricPosition position) {
    return position == LyricPosition::Default ? QStringLiteral("moren_xianshi")
                                              : QStringLiteral("zidingyi_xianshi");
}

QString lyricStyleWord(LyricStyle style) {
    switch (style) {
        case LyricStyle::Regular:
            return QStringLiteral("changgui");
        case LyricStyle::Bold:
            return QStringLiteral("cuti");
        case LyricStyle::Italic:
            return QStringLiteral("xieti");
        case LyricStyle::BoldItalic:
            return QStringLiteral("cutixieti");
    }
    return {};
}

QString lyricStyleCaption(LyricStyle style) {
    switch (style) {
        case LyricStyle::Regular:
            return texts::kStyleRegular;
        case LyricStyle::Bold:
            return texts::kStyleBold;
        case LyricStyle::Italic:
            return texts::kStyleItalic;
        case LyricStyle::BoldItalic:
            return texts::kStyleBoldItalic;
    }
    return {};
}

QString lyricScriptWord(LyricScript script) {
    switch (script) {
        case LyricScript::Simplified:
            return QStringLiteral("jianti");
        case LyricScript::Traditional:
            return QStringLiteral("fanti");
        case LyricScript::Other:
            break;
    }
    return {};
}

QString lyricScriptCaption(LyricScript script) {
    return script == LyricScript::Traditional ? texts::kScriptTraditional
                                              : texts::kScriptSimplified;
}

QString lyricInScript(const LyricSettings& settings, const QString& text) {
    switch (settings.script) {
        case LyricScript::Simplified:
            return toSimplified(text);
        case LyricScript::Traditional:
            return toTraditional(text);
        case LyricScript::Other:
            break;
    }
    return text;
}

LyricLook applyLyricSettings(const LyricSettings& settings, const QString& text, int W, int H) {
    LyricLook look;
    look.colour = settings.colour();
    look.font = QFont(settings.font);
    look.font.setPointSize(std::max(1, settings.size * H / kLyricScreenHeight));
    look.font.setBold(settings.style == LyricStyle::Bold ||
                      settings.style == LyricStyle::BoldItalic);
    look.font.setItalic(settings.style == LyricStyle::Italic ||
                        settings.style == LyricStyle::BoldItalic);
    const int labelWidth = QFontMetrics(look.font).horizontalAdvance(text);
    const int centred = W / 2 - labelWidth / 2;
    if (settings.position == LyricPosition::Default) {
        look.topLeft = QPoint(centred, settings.defaultTop * H / kLyricScreenHeight);
    } else {
        const int left =
            settings.customCentred ? centred : settings.customLeft * W / kLyricScreenWidth;
        look.topLeft = QPoint(left, settings.customTop * H / kLyricScreenHeight);
    }
    return look;
}

}  // namespace vellumo
