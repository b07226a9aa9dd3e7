#include "album/lyric_label.h"

#include <QFontMetrics>
#include <QPainter>

#include <cmath>

namespace vellumo {

LyricLabel::LyricLabel(Edge edge, QWidget* parent) : QLabel(parent), edge_(edge) {
    setAttribute(Qt::WA_TranslucentBackground);
}

int LyricLabel::margin() const {
    return edge_ == Edge::Outlined ? static_cast<int>(std::ceil(lyricOutlineWidth(font()))) : 0;
}

int LyricLabel::widthFor(const QString& text) const {
    const QFontMetrics metrics(font());
    const int advance = metrics.horizontalAdvance(text);
    return edge_ == Edge::Outlined ? advance + 2 * margin()
                                   : advance + metrics.averageCharWidth() / 2;
}

void LyricLabel::showLine(const LyricLine& line) {
    setFont(line.look.font);
    setColour(line.look.colour);
    if (edge_ == Edge::Plain) {
        setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    }
    setText(line.text);
    sungColour_ = line.look.sungColour;
    sungCharacters_ = line.sungCharacters;
    const int m = margin();
    setGeometry(QRect(line.look.topLeft - QPoint(m, m),
                      QSize(widthFor(line.text), QFontMetrics(font()).height() + 2 * m)));
    update();
}

void LyricLabel::setColour(const QColor& colour) {
    colour_ = colour;
    if (edge_ == Edge::Plain) {
        setStyleSheet(
            QStringLiteral("color: %1; background: transparent;").arg(colour.name(QColor::HexRgb)));
    }
    update();
}

void LyricLabel::setSung(const QColor& sungColour, qreal sungCharacters) {
    if (sungColour == sungColour_ && sungCharacters == sungCharacters_) {
        return;
    }
    sungColour_ = sungColour;
    sungCharacters_ = sungCharacters;
    update();
}

void LyricLabel::setLineText(const QString& text) {
    setText(text);
    resize(widthFor(text), height());
}

void LyricLabel::paintEvent(QPaintEvent* event) {
    if (edge_ == Edge::Plain) {
        QLabel::paintEvent(event);
        return;
    }
    if (text().isEmpty()) {
        return;
    }
    QPainter painter(this);
    // The whole-pixel ascent, as drawLyricLine places the line on a frame, so that the label
    // and the frame agree to the pixel.
    const QPointF baseline(margin(), margin() + QFontMetrics(font()).ascent());
    if (sungColour_.isValid() && sungCharacters_ >= 0) {
        const QString shown =
            fittedLyricText(text(), font(), static_cast<int>(std::ceil(width() - baseline.x())));
        paintLyricText(painter, baseline, text(), font(), colour_, sungColour_,
                       lyricSungX(shown, font(), sungCharacters_));
        return;
    }
    paintLyricText(painter, baseline, text(), font(), colour_);
}

}  // namespace vellumo
