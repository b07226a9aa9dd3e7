// Photo loading and JPEG writing: a detailed 12-megapixel photo decoded for a tile, the main
// display and a full-screen slot, and a 1920 × 1080 picture written at quality 90.

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

#include "photo/fitting_canvas.h"
#include "photo/photo_loader.h"

namespace {

// Detail everywhere (noise over gradients and shapes), so the JPEG is as heavy as a real photo.
QImage detailedPhoto(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    QRandomGenerator random(3);
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const int n = static_cast<int>(random.bounded(60));
            line[x] = qRgb((x * 255 / width + n) % 256, (y * 255 / height + n) % 256,
                           ((x + y) % 256 + n) % 256);
        }
    }
    QPainter p(&image);
    for (int i = 0; i < 200; ++i) {
        p.setBrush(QColor::fromHsv(static_cast<int>(random.bounded(360)), 160, 200));
        p.drawEllipse(QPoint(static_cast<int>(random.bounded(width)),
                             static_cast<int>(random.bounded(height))),
                      60, 40);
    }
    return image;
}

void measure(const char* label, int runs, const std::function<void()>& work) {
    std::vector<double> times;
    for (int run = 0; run < runs; ++run) {
        QElapsedTimer timer;
        timer.start();
        work();
        times.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    std::printf("%-44s median %7.2f ms  (min %.2f, max %.2f, %d runs)\n", label,
                times[times.size() / 2], times.front(), times.back(), runs);
}

}  // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QTemporaryDir dir;
    const QString photo = dir.path() + QStringLiteral("/photo.jpg");
    vellumo::writeJpeg(detailedPhoto(4000, 3000), photo);

    measure("header of a 12 MP JPEG", 50, [&] { (void)vellumo::readJpegHeader(photo); });
    measure("12 MP JPEG for a 300 x 225 tile", 20,
            [&] { (void)vellumo::loadPhoto(photo, QSize(300, 225)); });
    measure("12 MP JPEG for the 800 x 450 display", 20,
            [&] { (void)vellumo::loadPhoto(photo, QSize(800, 450)); });
    measure("12 MP JPEG for a 1920 x 1080 slot", 10,
            [&] { (void)vellumo::loadPhoto(photo, QSize(1920, 1080)); });
    const QImage frame = detailedPhoto(1920, 1080);
    measure("1920 x 1080 written as JPEG, quality 90", 20,
            [&] { vellumo::writeJpeg(frame, dir.path() + QStringLiteral("/out.jpg")); });
    return 0;
}
