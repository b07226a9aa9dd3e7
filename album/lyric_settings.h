#pragma once

// How a lyric file's lines look: position, font, size, colour, style and script, stored for the
// 679 × 390 reference screen and scaled to every display that shows lyrics.

#include <QColor>
#include <QFont>
#include <QPoint>
#include <QString>

#include "skin/skin_texts.h"

namespace vellumo {

inline constexpr int kLyricScreenWidth = 679;
inline constexpr int kLyricScreenHeight = 390;
// The smallest lyric size the settings offer, in points on the reference screen; a line too
// wide for its display shrinks down to it.
inline constexpr int kSmallestLyricSize = 10;

enum class LyricPosition { Default, Custom };  // "moren_xianshi" / "zidingyi_xianshi"
enum class LyricStyle { Regular, Bold, Italic, BoldItalic };  // changgui, cuti, xieti, cutixieti
enum class LyricScript { Simplified, Traditional, Other };    // "jianti" / "fanti"

struct LyricSettings {
    LyricPosition position = LyricPosition::Default;
    int defaultTop = kLyricScreenHeight - kLyricScreenHeight / 7;  // 335
    int customLeft = 0;
    int customTop = kLyricScreenHeight - kLyricScreenHeight / 7;
    QString font = texts::kHeiTi;
    LyricStyle style = LyricStyle::Bold;
    int size = 10;               // points, 10 to 60
    bool customCentred = false;  // "zidingyi_juzhong" rather than "wu"
    QString colourName = QStringLiteral("clWhite");
    quint32 colourNumber = 16777215;  // RGB with red in the low byte
    LyricScript script = LyricScript::Simplified;
    // "卡拉OK效果": the line being sung fills with the sung colour ("唱过的颜色") from the left.
    bool karaoke = false;
    QString sungColourName = QStringLiteral("clAqua");
    quint32 sungColourNumber = 0xFFFF00;  // cyan, red in the low byte
    // "歌词作为字幕": the lines go into the video as a subtitle track (or an SRT file beside it)
    // instead of being drawn on the pictures.
    bool asSubtitles = false;

    QColor colour() const;
    QColor sungColour() const;
    friend bool operator==(const LyricSettings&, const LyricSettings&) = default;
};

// The words the records and choosers use.
QString lyricPositionWord(LyricPosition position);
QString lyricStyleWord(LyricStyle style);
QString lyricStyleCaption(LyricStyle style);  // "常规", "粗体", "倾斜", "粗体 倾斜"
QString lyricScriptWord(LyricScript script);
QString lyricScriptCaption(LyricScript script);  // "简体", "繁体"
// A colour as the records store it: red in the low byte.
quint32 colourNumber(const QColor& colour);

// No display shows more characters of one lyric line than this, even at the smallest size.
inline constexpr qsizetype kLongestShownLyric = 1000;

// The line's text in the record's script ("jianti" simplified, "fanti" traditional, other
// scripts unchanged). Only what can be shown is converted: a line longer than
// kLongestShownLyric keeps one character more, enough for fitLyricLine to see it is cut.
QString lyricInScript(const LyricSettings& settings, const QString& text);

// Where and how a line is shown on a W × H display.
struct LyricLook {
    QFont font;
    QColor colour;
    QPoint topLeft;
    QColor sungColour;  // invalid: no karaoke fill
};
LyricLook applyLyricSettings(const LyricSettings& settings, const QString& text, int W, int H);

// A lyric label's text and look; an empty text is a cleared label.
struct LyricLine {
    QString text;
    LyricLook look;
    // Characters of text sung so far (fractional within a character); with a valid sung colour
    // they are drawn in it. Negative: none.
    qreal sungCharacters = -1;
};

// The line a text makes on a W × H display: never wider than the display. A line too wide at
// its size is drawn smaller, down to kSmallestLyricSize, and beyond that cut to end in "…".
// applyLyricSettings() gives the same look.
LyricLine fitLyricLine(const LyricSettings& settings, const QString& text, int W, int H);

// The part of text that fits width in font: the whole text, or its start ending in "…". Text
// beyond what any display can show is never measured, so a line of millions of characters
// costs no more than a short one.
QString fittedLyricText(const QString& text, const QFont& font, int width);

}  // namespace vellumo
