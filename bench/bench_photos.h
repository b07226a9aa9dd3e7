#pragma once

// Photos the benchmarks make up: a gradient with coloured blots, different for every number i,
// every third one portrait.

#include <QColor>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QSize>

namespace vellumo::bench {

// landscape is the size of a landscape photo (a portrait one is turned); blots of radius
// blot.width() x blot.height().
inline QImage madeUpPhoto(int i, QSize landscape, int blots, QSize blot) {
    const bool portrait = i % 3 == 2;
    QImage image(portrait ? landscape.transposed() : landscape, QImage::Format_RGB32);
    QPainter p(&image);
    QLinearGradient g(0, 0, image.width(), image.height());
    g.setColorAt(0, QColor::fromHsv((i * 37) % 360, 140, 230));
    g.setColorAt(1, QColor::fromHsv((i * 37 + 90) % 360, 200, 80));
    p.fillRect(image.rect(), g);
    for (int k = 0; k < blots; ++k) {
        p.setBrush(QColor::fromHsv((i * 13 + k * 7) % 360, 120, 200));
        p.drawEllipse(QPoint((k * 131) % image.width(), (k * 197) % image.height()), blot.width(),
                      blot.height());
    }
    return image;
}

// A photo of a 12-megapixel camera.
inline QImage cameraPhoto(int i) {
    return madeUpPhoto(i, QSize(4000, 3000), 300, QSize(90, 60));
}

}  // namespace vellumo::bench
