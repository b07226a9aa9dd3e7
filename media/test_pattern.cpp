#include "media/test_pattern.h"

#include <QFont>
#include <QPainter>

namespace vellumo {

QImage testPattern(QSize size, int frameNumber) {
    static const QColor kBars[] = {Qt::white,   Qt::yellow, Qt::cyan, Qt::green,
                                   Qt::magenta, Qt::red,    Qt::blue, Qt::darkGray};
    constexpr int kBarCount = static_cast<int>(std::size(kBars));
    QImage image(size, QImage::Format_RGB32);
    QPainter painter(&image);
    const int w = size.width();
    const int h = size.height();
    const int barWidth = std::max(1, w / kBarCount);
    const int shift = (frameNumber * std::max(1, w / 100)) % (barWidth * kBarCount);
    for (int x = -shift, i = 0; x < w; x += barWidth, ++i) {
        painter.fillRect(x, 0, barWidth, h * 2 / 3, kBars[i % kBarCount]);
    }
    painter.fillRect(0, h * 2 / 3, w, h - h * 2 / 3, QColor(16, 16, 48));
    const int side = std::max(4, h / 6);
    const int travel = std::max(1, w - side);
    const int x = (frameNumber * std::max(1, w / 50)) % (2 * travel);
    painter.fillRect(x < travel ? x : 2 * travel - x, h * 2 / 3 + (h / 3 - side) / 2, side, side,
                     QColor(255, 160, 0));
    QFont font = painter.font();
    font.setPixelSize(std::max(8, h / 5));
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(QRect(0, 0, w, h * 2 / 3), Qt::AlignCenter, QString::number(frameNumber));
    return image;
}

}  // namespace vellumo
