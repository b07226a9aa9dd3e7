#pragma once

#include <QImage>
#include <QPoint>

#include "album/lyric_settings.h"

namespace vellumo {

// A lyric line laid over many pictures in turn, as drawLyricLine draws it: the line is painted
// once into a transparent picture of its own and laid over each picture, which costs a small
// part of painting the letters' outlines every time. A karaoke line is painted once in each
// colour, and each picture takes the sung layer left of the fill and the plain layer right of
// it. One overlay serves one thread.
class LyricOverlay {
public:
    void draw(QImage& picture, const LyricLine& line);

private:
    LyricLine line_;
    QImage layer_;      // premultiplied; null when the line draws nothing
    QImage sungLayer_;  // the same line all in the sung colour, made when first needed
    QString shown_;     // what of the line's text the picture shows
    QPoint at_;         // where its top left corner goes on the picture
    bool made_ = false;
};

}  // namespace vellumo
