#include "preview/lyric_overlay.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>

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
        QPainterPath path;
        path.addText(baseline, line.look.font, line.text);
        // The edge and the antialiasing reach a little beyond the letters' outlines; the layer
        // lies on whole pixels, so its letters are where drawLyricLine puts them.
        const qreal reach = lyricOutlineWidth(line.look.font) + 2;
        const QRect box =
            path.boundingRect().adjusted(-reach, -reach, reach, reach).toAlignedRect();
        layer_ = QImage();
        if (!box.isEmpty()) {
            layer_ = QImage(box.size(), QImage::Format_ARGB32_Premultiplied);
            layer_.fill(Qt::transparent);
            QPainter painter(&layer_);
            painter.translate(-box.topLeft());
            paintLyricText(painter, baseline, line.text, line.look.font, line.look.colour);
        }
        at_ = box.topLeft();
    }
    if (!layer_.isNull()) {
        QPainter painter(&picture);
        painter.drawImage(at_, layer_);
    }
}

}  // namespace vellumo
