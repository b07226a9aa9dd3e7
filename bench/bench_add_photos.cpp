// Adding photos as "添加照片" does: 100 photos of 4000 × 3000 (detailed, quality 92) measured
// through their shown picture and placed into templates, with the peak memory of the add; and
// one page of nine such thumbnails (fitted, loaded and captured), once and twice as after
// start-up.
//   bench_add_photos [COUNT]

#include <QBuffer>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QThread>

#include <sys/resource.h>

#include <cstdio>

#include "assignment/photo_adding.h"
#include "assignment/placement.h"
#include "photo/fitting_canvas.h"
#include "project/album.h"

namespace {

// Sky, hills, noise and shapes: a JPEG about as heavy as a camera's.
QImage photoLike(int width, int height, quint32 seed) {
    QImage image(width, height, QImage::Format_RGB32);
    QRandomGenerator random(seed);
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        const int sky = y * 160 / height;
        for (int x = 0; x < width; ++x) {
            const int n = static_cast<int>(random.bounded(48));
            line[x] = qRgb((90 + sky + n) % 256, (130 + sky / 2 + n) % 256,
                           (200 - sky / 3 + n + x * 40 / width) % 256);
        }
    }
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    for (int i = 0; i < 160; ++i) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor::fromHsv(static_cast<int>(random.bounded(360)), 120, 180, 200));
        p.drawEllipse(QPoint(static_cast<int>(random.bounded(width)),
                             height / 2 + static_cast<int>(random.bounded(height / 2))),
                      40 + static_cast<int>(random.bounded(200)),
                      30 + static_cast<int>(random.bounded(120)));
    }
    return image;
}

QByteArray encode(const QImage& image, int quality) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPG", quality);
    return bytes;
}

// The peak resident size of this process so far, in MiB; clearPeak() starts it again.
double peakMiB() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) {
        return -1;
    }
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:")) {
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
        }
    }
    return -1;
}

// Processor time of this process (all threads) so far, in seconds: what the work costs whatever
// else the machine is doing.
double cpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

QByteArray loadAverage() {
    QFile file(QStringLiteral("/proc/loadavg"));
    return file.open(QIODevice::ReadOnly) ? file.readAll().split(' ').mid(0, 3).join(' ')
                                          : QByteArray("?");
}

void clearPeak() {
    QFile refs(QStringLiteral("/proc/self/clear_refs"));
    if (refs.open(QIODevice::WriteOnly)) {
        refs.write("5");
    }
}

vellumo::CatalogueRecord single(const QString& name, const QString& orientation) {
    vellumo::CatalogueRecord r;
    r.name = name;
    r.pictureNames = {QStringLiteral("picture_1")};
    r.orientations = {orientation};
    r.pictureWidths = {0};
    r.pictureHeights = {0};
    r.frames = 250;
    return r;
}

}  // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const int count = argc > 1 ? std::max(9, atoi(argv[1])) : 100;
    QTemporaryDir dir;

    // A few distinct photos, written under as many names as the add needs.
    QElapsedTimer timer;
    timer.start();
    QList<QByteArray> distinct;
    for (quint32 seed = 1; seed <= 4; ++seed) {
        distinct << encode(photoLike(4000, 3000, seed), 92);
    }
    QStringList files;
    qint64 bytes = 0;
    for (int i = 0; i < count; ++i) {
        const QString path =
            dir.path() + QStringLiteral("/IMG_%1.JPG").arg(i, 4, 10, QLatin1Char('0'));
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            return 1;
        }
        bytes += file.write(distinct[i % distinct.size()]);
        files << path;
    }
    std::printf("made %d photos of 4000 x 3000, quality 92, %.1f MB each, in %.1f s\n", count,
                static_cast<double>(bytes) / count / 1e6,
                static_cast<double>(timer.elapsed()) / 1e3);
    distinct.clear();

    vellumo::Catalogue catalogue;
    QVector<vellumo::CatalogueRecord> records;
    for (int i = 0; i < 6; ++i) {
        records << single(QStringLiteral("heng%1").arg(i), QStringLiteral("heng"));
    }
    catalogue.setRecords(records);
    vellumo::Album album(catalogue);
    vellumo::FittingCanvas canvas;

    clearPeak();
    const double before = peakMiB();
    const double cpuBefore = cpuSeconds();
    timer.restart();
    vellumo::PhotoAdder adder(album);
    adder.addAll(files);
    adder.placeAll();
    const double addSeconds = static_cast<double>(timer.nsecsElapsed()) / 1e9;
    std::printf("add %d photos and place them: %.2f s (%.1f ms a photo), %d added, %d templates\n",
                count, addSeconds, addSeconds * 1e3 / count, album.photos().size(),
                album.templates().size());
    std::printf("  processor time of the add: %.2f s on %d threads; load average %s\n",
                cpuSeconds() - cpuBefore, std::max(2, QThread::idealThreadCount()),
                loadAverage().constData());
    std::printf("peak memory during the add: %.1f MiB (%.1f MiB before it)\n", peakMiB(), before);

    // One page: nine thumbnails fitted with the frame rule, loaded and captured.
    const QVector<vellumo::PhotoRecord> firstNine = album.photos().records().mid(0, 9);
    const auto page = [&] {
        vellumo::captureFramedPhotos(canvas, firstNine, QSize(118, 96), [](int, const QImage&) {});
    };
    for (int builds : {1, 2}) {
        double best = 1e9;
        for (int run_ = 0; run_ < 5; ++run_) {
            timer.restart();
            for (int b = 0; b < builds; ++b) {
                page();
            }
            best = std::min(best, static_cast<double>(timer.nsecsElapsed()) / 1e6);
        }
        std::printf("one page of nine thumbnails, built %dx: %.1f ms (best of 5)\n", builds, best);
    }
    std::printf("peak memory overall: %.1f MiB\n", peakMiB());
    return 0;
}
