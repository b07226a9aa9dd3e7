#include "movie/movie_text_shape.h"

#include <QGlyphRun>
#include <QPainter>
#include <QRawFont>
#include <QTextLayout>

#include <algorithm>
#include <cmath>

namespace vellumo::movie {

namespace {

// Lays the lines out at width; the height of all lines.
double layLines(QTextLayout& layout, double width) {
    layout.beginLayout();
    double y = 0.0;
    while (true) {
        QTextLine line = layout.createLine();
        if (!line.isValid()) {
            break;
        }
        line.setLineWidth(width);
        line.setPosition(QPointF(0.0, y));
        y += line.height();
    }
    layout.endLayout();
    return y;
}

QImage maskImage(const TextShape& shape, double scale) {
    QImage mask(std::max(1, static_cast<int>(std::ceil(shape.size.width() * scale))),
                std::max(1, static_cast<int>(std::ceil(shape.size.height() * scale))),
                QImage::Format_ARGB32_Premultiplied);
    mask.fill(Qt::transparent);
    return mask;
}

}  // namespace

TextShape shapeText(const Layer& layer, const QFont& font, double pad) {
    QString text = layer.text;
    text.replace(u'\n', QChar::LineSeparator);
    QTextLayout layout(text, font);
    QTextOption option;
    option.setAlignment(layer.align == TextAlign::Left    ? Qt::AlignLeft
                        : layer.align == TextAlign::Right ? Qt::AlignRight
                                                          : Qt::AlignHCenter);
    option.setWrapMode(layer.wrapWidth > 0.0 ? QTextOption::WrapAtWordBoundaryOrAnywhere
                                             : QTextOption::NoWrap);
    layout.setTextOption(option);
    layout.setCacheEnabled(true);
    double width = layer.wrapWidth;
    double height = 0.0;
    if (width > 0.0) {
        height = layLines(layout, width);
    } else {
        // Unwrapped lines are aligned within the widest of them.
        layLines(layout, 1e6);
        for (int i = 0; i < layout.lineCount(); ++i) {
            width = std::max(width, layout.lineAt(i).naturalTextWidth());
        }
        height = layLines(layout, width);
    }
    TextShape shape;
    shape.size = QSizeF(width + 2.0 * pad, height + 2.0 * pad);
    const QPointF origin(pad, pad);
    for (const QGlyphRun& run : layout.glyphRuns()) {
        const QRawFont raw = run.rawFont();
        const QList<quint32> glyphs = run.glyphIndexes();
        const QList<QPointF> positions = run.positions();
        for (qsizetype i = 0; i < glyphs.size() && i < positions.size(); ++i) {
            shape.letters.addPath(raw.pathForGlyph(glyphs[i]).translated(positions[i] + origin));
        }
    }
    // Each character spans from where it starts to where the next one starts, the first and
    // last of a line to the box's edges, so that together they cover the whole box.
    for (int l = 0; l < layout.lineCount(); ++l) {
        const QTextLine line = layout.lineAt(l);
        const double top = l == 0 ? 0.0 : line.y() + pad;
        const double bottom =
            l == layout.lineCount() - 1 ? shape.size.height() : line.y() + line.height() + pad;
        const int first = line.textStart();
        const int end = first + line.textLength();
        for (int i = first; i < end; ++i) {
            if (text[i] == QChar::LineSeparator) {
                continue;
            }
            double left = line.cursorToX(i) + pad;
            double right = line.cursorToX(i + 1) + pad;
            if (right < left) {
                std::swap(left, right);
            }
            if (i == first) {
                left = 0.0;
            }
            if (i == end - 1 || (i == end - 2 && text[end - 1] == QChar::LineSeparator)) {
                right = shape.size.width();
            }
            shape.characters.emplace_back(left, top, right - left, bottom - top);
        }
    }
    return shape;
}

QImage textFillMask(const TextShape& shape, double scale) {
    QImage mask = maskImage(shape, scale);
    QPainter painter(&mask);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(scale, scale);
    painter.fillPath(shape.letters, Qt::white);
    return mask;
}

QImage textStrokeMask(const TextShape& shape, double width, double scale) {
    QImage mask = maskImage(shape, scale);
    QPainter painter(&mask);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(scale, scale);
    // Half the pen lies inside the letters, under their fill: the outline shows width units.
    QPen pen(Qt::white, 2.0 * width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    painter.strokePath(shape.letters, pen);
    painter.fillPath(shape.letters, Qt::white);
    return mask;
}

QImage colouredText(const QImage& fill, const QImage& stroke, const QColor& fillColor,
                    const QColor& strokeColor) {
    QImage out(fill.size(), QImage::Format_ARGB32_Premultiplied);
    out.fill(Qt::transparent);
    const auto tinted = [](const QImage& mask, const QColor& color) {
        QImage image(mask.size(), QImage::Format_ARGB32_Premultiplied);
        image.fill(color);
        QPainter painter(&image);
        painter.setCompositionMode(QPainter::CompositionMode_DestinationIn);
        painter.drawImage(0, 0, mask);
        return image;
    };
    QPainter painter(&out);
    if (!stroke.isNull()) {
        painter.drawImage(0, 0, tinted(stroke, strokeColor));
    }
    painter.drawImage(0, 0, tinted(fill, fillColor));
    return out;
}

}  // namespace vellumo::movie
