#include "album/lyric_painting.h"

#include <QFontMetrics>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

#include "skin/skin_texts.h"

namespace vellumo {

bool sameLyricLine(const LyricLine& a, const LyricLine& b) {
    return a.text == b.text && a.look.font == b.look.font && a.look.colour == b.look.colour &&
           a.look.topLeft == b.look.topLeft;
}

LyricLook defaultLyricLook() {
    LyricLook look;
    look.font = QFont(texts::kSongTi);
    look.font.setPixelSize(14);
    look.font.setBold(false);
    look.font.setItalic(false);
    look.colour = Qt::white;
    return look;
}

qreal lyricOutlineWidth(const QFont& font) {
    return std::max(1.0, QFontMetricsF(font).height() / 16.0);
}

void paintLyricText(QPainter& painter, QPointF baseline, const QString& text, const QFont& font,
                    const QColor& colour) {
    const QColor edge =
        colour.lightnessF() < 0.35 ? QColor(255, 255, 255, 200) : QColor(0, 0, 0, 200);
    // The device's right edge, where the painter's transform puts it.
    const QRectF device = painter.device() != nullptr
                              ? painter.transform().inverted().mapRect(QRectF(
                                    0, 0, painter.device()->width(), painter.device()->height()))
                              : QRectF();
    const int room = static_cast<int>(std::ceil(device.right() - baseline.x()));
    if (room <= 0) {
        return;
    }
    QPainterPath path;
    path.addText(baseline, font, fittedLyricText(text, font, room));
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.strokePath(
        path, QPen(edge, 2 * lyricOutlineWidth(font), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.fillPath(path, colour);
    painter.restore();
}

void drawLyricLine(QImage& picture, const LyricLine& line) {
    if (line.text.isEmpty() || picture.isNull()) {
        return;
    }
    QPainter painter(&picture);
    const QFontMetrics metrics(line.look.font);
    paintLyricText(painter,
                   QPointF(line.look.topLeft.x(), line.look.topLeft.y() + metrics.ascent()),
                   line.text, line.look.font, line.look.colour);
}

}  // namespace vellumo
