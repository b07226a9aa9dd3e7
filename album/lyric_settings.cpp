#include "album/lyric_settings.h"

#include <QFontMetrics>

#include "album/album_texts.h"
#include "album/lyrics.h"
#include "media/chinese_script.h"

namespace vellumo {

namespace {

constexpr char16_t kEllipsis = u'\u2026';

// The text cut to at most count characters, never between the two halves of a surrogate pair.
QString leftPart(const QString& text, qsizetype count) {
    if (count >= text.size()) {
        return text;
    }
    if (count > 0 && text.at(count - 1).isHighSurrogate()) {
        --count;
    }
    return text.left(count);
}

// Shrinks font until text fits width or the font reaches smallest points.
void shrinkToFit(QFont& font, const QString& text, int width, int smallest) {
    int advance = QFontMetrics(font).horizontalAdvance(text);
    while (advance > width && font.pointSize() > smallest) {
        // In proportion first; a point at a time when rounding leaves the line too wide.
        const int proportional = static_cast<int>(qint64{font.pointSize()} * width / advance);
        font.setPointSize(std::max(smallest, std::min(font.pointSize() - 1, proportional)));
        advance = QFontMetrics(font).horizontalAdvance(text);
    }
}

}  // namespace

QColor LyricSettings::colour() const {
    return QColor(static_cast<int>(colourNumber & 0xFF),
                  static_cast<int>((colourNumber >> 8) & 0xFF),
                  static_cast<int>((colourNumber >> 16) & 0xFF));
}

QColor LyricSettings::sungColour() const {
    return QColor(static_cast<int>(sungColourNumber & 0xFF),
                  static_cast<int>((sungColourNumber >> 8) & 0xFF),
                  static_cast<int>((sungColourNumber >> 16) & 0xFF));
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

QString lyricInScript(const LyricSettings& settings, const QString& line) {
    const QString text = leftPart(line, kLongestShownLyric + 1);
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

QString fittedLyricText(const QString& text, const QFont& font, int width) {
    const QString shown = leftPart(text, kLongestShownLyric);
    const QFontMetrics metrics(font);
    if (shown.size() == text.size() && metrics.horizontalAdvance(shown) <= width) {
        return shown;
    }
    // Cut: the line must say so even when its first part would fit.
    const QString marked =
        shown.size() < text.size() ? leftPart(shown, shown.size() - 1) + kEllipsis : shown;
    if (metrics.horizontalAdvance(marked) <= width) {
        return marked;
    }
    return metrics.elidedText(shown, Qt::ElideRight, std::max(0, width));
}

LyricLine fitLyricLine(const LyricSettings& settings, const QString& text, int W, int H) {
    LyricLine line;
    LyricLook& look = line.look;
    look.colour = settings.colour();
    if (settings.karaoke) {
        look.sungColour = settings.sungColour();
    }
    look.font = QFont(settings.font);
    look.font.setPointSize(std::max(1, settings.size * H / kLyricScreenHeight));
    look.font.setBold(settings.style == LyricStyle::Bold ||
                      settings.style == LyricStyle::BoldItalic);
    look.font.setItalic(settings.style == LyricStyle::Italic ||
                        settings.style == LyricStyle::BoldItalic);
    const QString measured = leftPart(text, kLongestShownLyric);
    shrinkToFit(
        look.font, measured, W,
        std::min(look.font.pointSize(), std::max(1, kSmallestLyricSize * H / kLyricScreenHeight)));
    line.text = fittedLyricText(text, look.font, W);
    const int labelWidth = QFontMetrics(look.font).horizontalAdvance(line.text);
    const int centred = W / 2 - labelWidth / 2;
    if (settings.position == LyricPosition::Default) {
        look.topLeft = QPoint(centred, settings.defaultTop * H / kLyricScreenHeight);
    } else {
        const int left =
            settings.customCentred ? centred : settings.customLeft * W / kLyricScreenWidth;
        look.topLeft = QPoint(left, settings.customTop * H / kLyricScreenHeight);
    }
    return line;
}

LyricLook applyLyricSettings(const LyricSettings& settings, const QString& text, int W, int H) {
    return fitLyricLine(settings, text, W, H).look;
}

}  // namespace vellumo
