#include "album/lyric_painting.h"

#include <QFontMetrics>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

#include "skin/skin_texts.h"

namespace vellumo {

bool sameLyricLine(const LyricLine& a, const LyricLine& b) {
    return a.text == b.text && a.look.font == b.look.font && a.look.colour == b.look.colour &&
           a.look.topLeft == b.look.topLeft && a.look.sungColour == b.look.sungColour;
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

int lyricSungX(const QString& shown, const QFont& font, qreal sungCharacters) {
    if (sungCharacters <= 0 || shown.isEmpty()) {
        return 0;
    }
    const QFontMetricsF metrics(font);
    const auto whole = static_cast<qsizetype>(std::floor(sungCharacters));
    if (whole >= shown.size()) {
        return static_cast<int>(std::ceil(metrics.horizontalAdvance(shown)));
    }
    const qreal before = metrics.horizontalAdvance(shown.left(whole));
    const qreal through = metrics.horizontalAdvance(shown.left(whole + 1));
    return static_cast<int>(
        std::lround(before + (through - before) * (sungCharacters - static_cast<qreal>(whole))));
}

void paintLyricText(QPainter& painter, QPointF baseline, const QString& text, const QFont& font,
                    const QColor& colour, const QColor& sungColour, int sungX) {
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
    if (!sungColour.isValid()) {
        painter.fillPath(path, colour);
        painter.restore();
        return;
    }
    // Every pixel is filled once, in one colour or the other, as LyricOverlay lays its two
    // layers side by side.
    const int split = static_cast<int>(std::lround(baseline.x())) + sungX;
    const QRectF bounds = path.boundingRect().adjusted(-2, -2, 2, 2);
    painter.save();
    painter.setClipRect(QRectF(QPointF(split, bounds.top()), bounds.bottomRight()));
    painter.fillPath(path, colour);
    painter.restore();
    painter.setClipRect(QRectF(bounds.topLeft(), QPointF(split, bounds.bottom())));
    painter.fillPath(path, sungColour);
    painter.restore();
}

void drawLyricLine(QImage& picture, const LyricLine& line) {
    if (line.text.isEmpty() || picture.isNull()) {
        return;
    }
    QPainter painter(&picture);
    const QFontMetrics metrics(line.look.font);
    const QPointF baseline(line.look.topLeft.x(), line.look.topLeft.y() + metrics.ascent());
    if (hasKaraokeFill(line)) {
        const int room = static_cast<int>(std::ceil(picture.width() - baseline.x()));
        const QString shown = fittedLyricText(line.text, line.look.font, room);
        paintLyricText(painter, baseline, line.text, line.look.font, line.look.colour,
                       line.look.sungColour,
                       lyricSungX(shown, line.look.font, line.sungCharacters));
        return;
    }
    paintLyricText(painter, baseline, line.text, line.look.font, line.look.colour);
}

}  // namespace vellumo
