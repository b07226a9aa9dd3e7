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
    paintLyricText(painter, QPointF(margin(), margin() + QFontMetricsF(font()).ascent()), text(),
                   font(), colour_);
}

}  // namespace vellumo
