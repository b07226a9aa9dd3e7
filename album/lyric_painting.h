#pragma once

// How a lyric line is painted over the frames of the video and on the preview's lyric label, so
// that the preview shows what the video shows: the letters with a thin edge of the opposite
// lightness, which keeps the line legible on any picture.

#include <QImage>
#include <QPainter>
#include <QString>

#include "album/lyric_settings.h"

namespace vellumo {

bool sameLyricLine(const LyricLine& a, const LyricLine& b);

// The lyric label before any settings apply: white "宋体", 14 pixels high, upright.
LyricLook defaultLyricLook();

// Paints a lyric line onto a picture as the transparent lyric label shows it over the display:
// the text's top-left at the look's top-left.
void drawLyricLine(QImage& picture, const LyricLine& line);
// The same painting for any painter (the lyric label draws itself with it); baseline is the
// left end of the text's baseline. Only what fits the painter's device right of the baseline is
// drawn (fittedLyricText), so no line can make the painter take much memory.
// With a valid sung colour, the part of the letters left of sungX (whole pixels from the
// baseline's left end) is filled in it instead: the karaoke fill.
void paintLyricText(QPainter& painter, QPointF baseline, const QString& text, const QFont& font,
                    const QColor& colour, const QColor& sungColour = QColor(), int sungX = 0);
// How far the sung part of a line reaches right of its baseline's left end, in whole pixels:
// the advance of the characters sung, with the one being sung in proportion.
int lyricSungX(const QString& shown, const QFont& font, qreal sungCharacters);
// True when a line is drawn with a karaoke fill.
inline bool hasKaraokeFill(const LyricLine& line) {
    return line.look.sungColour.isValid() && line.sungCharacters >= 0;
}
// How far the edge reaches beyond the letters, in pixels.
qreal lyricOutlineWidth(const QFont& font);

}  // namespace vellumo
