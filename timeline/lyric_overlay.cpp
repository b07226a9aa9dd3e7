#include "timeline/lyric_overlay.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

#include "album/lyric_painting.h"

namespace vellumo {

void LyricOverlay::draw(QImage& picture, const LyricLine& line) {
    if (line.text.isEmpty() || picture.isNull()) {
        return;
    }
    if (!made_ || !sameLyricLine(line, line_)) {
        line_ = line;
        made_ = true;
        const QFontMetrics metrics(line.look.font);
        const QPointF baseline(line.look.topLeft.x(), line.look.topLeft.y() + metrics.ascent());
        // What paintLyricText draws of the line on this picture.
        const int room = static_cast<int>(std::ceil(picture.width() - baseline.x()));
        const QString shown = fittedLyricText(line.text, line.look.font, room);
        QPainterPath path;
        if (room > 0) {
            path.addText(baseline, line.look.font, shown);
        }
        // The edge and the antialiasing reach a little beyond the letters' outlines; the layer
        // lies on whole pixels, so its letters are where drawLyricLine puts them.
        // The layer spans the text's advance too, so that paintLyricText finds room for all of it
        // (trailing spaces advance without drawing).
        const qreal reach = lyricOutlineWidth(line.look.font) + 2;
        const QRectF advance(baseline.x(), baseline.y(), metrics.horizontalAdvance(shown), 1);
        const QRect box = room > 0 ? path.boundingRect()
                                         .united(advance)
                                         .adjusted(-reach, -reach, reach, reach)
                                         .toAlignedRect()
                                   : QRect();
        layer_ = QImage();
        sungLayer_ = QImage();
        shown_ = shown;
        if (!box.isEmpty()) {
            layer_ = QImage(box.size(), QImage::Format_ARGB32_Premultiplied);
            layer_.fill(Qt::transparent);
            QPainter painter(&layer_);
            painter.translate(-box.topLeft());
            paintLyricText(painter, baseline, shown, line.look.font, line.look.colour);
        }
        at_ = box.topLeft();
    }
    if (layer_.isNull()) {
        return;
    }
    QPainter painter(&picture);
    if (!hasKaraokeFill(line)) {
        painter.drawImage(at_, layer_);
        return;
    }
    if (sungLayer_.isNull()) {
        const QFontMetrics metrics(line.look.font);
        const QPointF baseline(line.look.topLeft.x(), line.look.topLeft.y() + metrics.ascent());
        sungLayer_ = QImage(layer_.size(), QImage::Format_ARGB32_Premultiplied);
        sungLayer_.fill(Qt::transparent);
        QPainter sung(&sungLayer_);
        sung.translate(-at_);
        paintLyricText(sung, baseline, shown_, line.look.font, line.look.sungColour);
    }
    // The column where the fill ends, in the layers' own pixels.
    const int split = std::clamp(
        line.look.topLeft.x() + lyricSungX(shown_, line.look.font, line.sungCharacters) - at_.x(),
        0, layer_.width());
    // (An empty source rectangle would draw the whole layer.)
    if (split > 0) {
        painter.drawImage(at_, sungLayer_, QRect(0, 0, split, sungLayer_.height()));
    }
    if (split < layer_.width()) {
        painter.drawImage(at_ + QPoint(split, 0), layer_,
                          QRect(split, 0, layer_.width() - split, layer_.height()));
    }
}

}  // namespace vellumo
