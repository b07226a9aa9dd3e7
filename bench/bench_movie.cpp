// Rendering a template movie as the preview and the production do: a full-stage background, the
// lead-in picture, four framed photos with shadows that rotate, scale and fade, and a title, at
// 800 x 450, 1280 x 720 and 1920 x 1080. Pictures are staged at each size the way the staging
// step writes them (JPEG files of the size they are shown at), then loaded once; every frame of
// the movie is rendered several times and the time per frame printed. Then every template of
// the installed library, with sample pictures at the sizes staging gives them, every frame once
// at 1280 x 720: the figures per template and over the whole library.
//
//   bench_movie                          measure (the library of the build's program folder)
//   bench_movie --library PROGRAM_DIR    measure the library installed there only
//   bench_movie --stage DIR [WxH]        write the movie and its pictures below DIR and stop

#include <QDir>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <memory>
#include <vector>

#include "catalogue/catalogue.h"
#include "movie/movie_parser.h"
#include "movie/movie_pictures.h"
#include "movie/movie_renderer.h"
#include "movie/template_rules.h"
#include "workspace/data_paths.h"
#include "workspace/errors.h"
#include "workspace/packed_file.h"
#include "workspace/program_folder.h"
#include "workspace/text_codec.h"

namespace {

using namespace vellumo::movie;

// The movie, in the template staging layout: it lies in templates/bench/, its pictures next to
// it and the lead-in picture in pic/ two levels up.
const char kMovie[] = R"(vellumo-movie 1
title "benchmark: four photos"
frames 250

image background "wj_y_l_b_j.jpg"
  box 0 0 1920 1080

image leadin "../../pic/picture_0.jpg"
  box 0 0 1920 1080
  visible 0 40
  at 0  opacity 1 scale 1
  at 40 opacity 0 scale 1.2 ease-in

image photo1 "picture_1.jpg"
  size 720 480
  border 14 #fffdf6
  shadow 10 18 28 #00000088
  at 10  position 520 -300 rotation -30 opacity 0
  at 45  position 520 320 rotation -5 opacity 1 back
  at 200 position 560 300 rotation -2 scale 1.08 opacity 1 ease-in-out
  at 249 position 300 220 rotation -20 scale 0.6 opacity 0 ease-in

image photo2 "picture_2.jpg"
  size 720 480
  border 14 #fffdf6
  shadow 10 18 28 #00000088
  at 30  position 2300 330 rotation 25 opacity 0
  at 65  position 1400 330 rotation 4 opacity 1 back
  at 200 position 1380 310 rotation 1 scale 1.06 opacity 1 ease-in-out
  at 249 position 1650 220 rotation 20 scale 0.6 opacity 0 ease-in

image photo3 "picture_3.jpg"
  size 720 480
  border 14 #fffdf6
  shadow 10 18 28 #00000088
  at 50  position -400 780 rotation -15 opacity 0
  at 85  position 540 770 rotation 3 opacity 1 back
  at 200 position 560 790 rotation 6 scale 1.05 opacity 1 ease-in-out
  at 249 position 300 900 rotation 25 scale 0.6 opacity 0 ease-in

image photo4 "picture_4.jpg"
  size 720 480
  border 14 #fffdf6
  shadow 10 18 28 #00000088
  at 70  position 1400 770 rotation 40 scale 0 opacity 0
  at 105 rotation -4 scale 1 opacity 1 spring
  at 200 position 1380 790 rotation -1 scale 1.07 opacity 1 ease-in-out
  at 249 position 1650 900 rotation -25 scale 0.6 opacity 0 ease-in

text title "春日时光"
  font "Noto Sans CJK SC"
  font-size 84
  bold
  color #ffffff
  shadow 0 6 12 #000000aa
  position 960 545
  reveal-style split-horizontal
  at 110 reveal 0 opacity 0
  at 140 reveal 1 opacity 1 ease-out
  at 230 opacity 1
  at 249 opacity 0
)";

// The same pictures in a movie of format version 2: the background pans and zooms inside the
// stage, the lead-in greys and blurs away, the four photos move inside their frames, lie in a
// group that rises, turns and fades as one, and the last photo warms to sepia.
const char kMovieV2[] = R"(vellumo-movie 2
title "benchmark: version 2"
frames 250

image background "wj_y_l_b_j.jpg"
  box 0 0 1920 1080
  at 0   content-scale 1.2 content-position 0.3 0.4
  at 249 content-scale 1 content-position 0.5 0.5 cubic-bezier(0.25, 0.1, 0.25, 1)

image leadin "../../pic/picture_0.jpg"
  box 0 0 1920 1080
  visible 0 40
  at 0  opacity 1 saturation 1 blur 0
  at 40 opacity 0 saturation 0 blur 40 ease-in

group photos
  at 10  y 1500 rotation -8 opacity 1
  at 60  y 540 rotation 0 cubic-bezier(0.2, 0.9, 0.3, 1.15)
  at 200 scale 1 opacity 1
  at 249 scale 0.8 opacity 0 ease-in

  image photo1 "picture_1.jpg"
    size 720 480
    border 14 #fffdf6
    shadow 10 18 28 #00000088
    position 520 320
    rotation -5
    at 20  content-scale 1.3 content-position 0.2 0.3
    at 249 content-scale 1 content-position 0.5 0.5 ease-in-out

  image photo2 "picture_2.jpg"
    size 720 480
    border 14 #fffdf6
    shadow 10 18 28 #00000088
    position 1400 330
    rotation 4
    at 20  content-scale 1
    at 249 content-scale 1.4 content-position 0.7 0.4 ease-in-out

  image photo3 "picture_3.jpg"
    size 720 480
    border 14 #fffdf6
    shadow 10 18 28 #00000088
    position 540 770
    rotation 3

  image photo4 "picture_4.jpg"
    size 720 480
    border 14 #fffdf6
    shadow 10 18 28 #00000088
    position 1400 770
    rotation -4
    at 100 sepia 0
    at 180 sepia 1 ease-in-out
end photos
)";

// A deterministic picture that looks enough like a photograph (gradients, shapes and grain)
// to cost what a photo costs to decode and to draw.
QImage scene(int kind, QSize size) {
    QImage image(size, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size.width() / 960.0, size.height() / 640.0);
    QRandomGenerator random(static_cast<quint32>(kind * 7919 + 17));
    auto gradient = [](QPointF a, QPointF b, std::initializer_list<QColor> colors) {
        QLinearGradient g(a, b);
        int i = 0;
        const int n = static_cast<int>(colors.size());
        for (const QColor& c : colors) {
            g.setColorAt(static_cast<double>(i++) / (n - 1), c);
        }
        return g;
    };
    switch (kind) {
        case 0: {  // evening sea
            p.fillRect(QRectF(0, 0, 960, 400),
                       gradient({0, 0}, {0, 400},
                                {QColor(40, 30, 90), QColor(230, 110, 70), QColor(255, 200, 120)}));
            p.setBrush(QColor(255, 230, 170));
            p.setPen(Qt::NoPen);
            p.drawEllipse(QPointF(620, 370), 60, 60);
            p.fillRect(QRectF(0, 400, 960, 240),
                       gradient({0, 400}, {0, 640}, {QColor(200, 100, 80), QColor(30, 30, 70)}));
            for (int i = 0; i < 60; ++i) {
                const double y = 405 + i * 4.0;
                const double w = 40 + random.bounded(160);
                p.fillRect(QRectF(620 - w / 2 + random.bounded(40) - 20, y, w, 2),
                           QColor(255, 210, 150, 90));
            }
            break;
        }
        case 1: {  // mountains
            p.fillRect(QRectF(0, 0, 960, 640),
                       gradient({0, 0}, {0, 640}, {QColor(90, 150, 220), QColor(200, 225, 245)}));
            const QColor ranges[] = {QColor(120, 140, 170), QColor(80, 105, 130),
                                     QColor(50, 80, 70), QColor(35, 60, 40)};
            for (int r = 0; r < 4; ++r) {
                QPainterPath path;
                path.moveTo(0, 640);
                double y = 300 + r * 70;
                for (int x = 0; x <= 960; x += 60) {
                    y = std::clamp(y + random.bounded(120) - 60.0, 180.0 + r * 70, 520.0);
                    path.lineTo(x, y);
                }
                path.lineTo(960, 640);
                p.fillPath(path, ranges[r]);
            }
            break;
        }
        case 2: {  // meadow
            p.fillRect(QRectF(0, 0, 960, 300),
                       gradient({0, 0}, {0, 300}, {QColor(150, 200, 250), QColor(235, 245, 250)}));
            p.fillRect(QRectF(0, 300, 960, 340),
                       gradient({0, 300}, {0, 640}, {QColor(120, 180, 70), QColor(40, 110, 30)}));
            const QColor petals[] = {QColor(250, 80, 110), QColor(255, 210, 60),
                                     QColor(240, 240, 255), QColor(180, 90, 220)};
            for (int i = 0; i < 500; ++i) {
                const double y = 310 + random.bounded(330);
                const double r = 2 + (y - 300) / 50.0;
                p.setBrush(petals[random.bounded(4)]);
                p.setPen(Qt::NoPen);
                p.drawEllipse(QPointF(random.bounded(960), y), r, r * 0.8);
            }
            break;
        }
        case 3: {  // city at night
            p.fillRect(QRectF(0, 0, 960, 640),
                       gradient({0, 0}, {0, 640}, {QColor(10, 15, 40), QColor(40, 50, 100)}));
            p.setBrush(QColor(250, 245, 220));
            p.setPen(Qt::NoPen);
            p.drawEllipse(QPointF(780, 110), 40, 40);
            for (int x = 0; x < 960;) {
                const int w = 50 + random.bounded(70);
                const int h = 150 + random.bounded(330);
                p.fillRect(QRect(x, 640 - h, w - 4, h), QColor(25, 30, 45));
                for (int wy = 640 - h + 10; wy < 630; wy += 18) {
                    for (int wx = x + 6; wx < x + w - 12; wx += 14) {
                        if (random.bounded(3) == 0) {
                            p.fillRect(QRect(wx, wy, 7, 9), QColor(255, 210, 120));
                        }
                    }
                }
                x += w;
            }
            break;
        }
        case 4: {  // soft background
            p.fillRect(QRectF(0, 0, 960, 640),
                       gradient({0, 0}, {960, 640},
                                {QColor(60, 40, 70), QColor(120, 80, 90), QColor(50, 60, 90)}));
            for (int i = 0; i < 40; ++i) {
                const QPointF c(random.bounded(960), random.bounded(640));
                const double r = 20 + random.bounded(70);
                QRadialGradient g(c, r);
                g.setColorAt(0, QColor(255, 220, 200, 70));
                g.setColorAt(1, QColor(255, 220, 200, 0));
                p.setBrush(g);
                p.setPen(Qt::NoPen);
                p.drawEllipse(c, r, r);
            }
            break;
        }
        default: {  // the lead-in: the last frame of some earlier template
            p.fillRect(QRectF(0, 0, 960, 640),
                       gradient({0, 0}, {960, 0}, {QColor(230, 170, 190), QColor(250, 230, 200)}));
            p.setBrush(QColor(255, 255, 255, 160));
            p.setPen(Qt::NoPen);
            p.drawRoundedRect(QRectF(230, 120, 500, 400), 30, 30);
            break;
        }
    }
    p.end();
    // Grain.
    QRandomGenerator grain(99);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const int n = static_cast<int>(grain.bounded(13)) - 6;
            line[x] =
                qRgb(std::clamp(qRed(line[x]) + n, 0, 255), std::clamp(qGreen(line[x]) + n, 0, 255),
                     std::clamp(qBlue(line[x]) + n, 0, 255));
        }
    }
    return image;
}

// Writes the movie and its pictures below root, staged for the size.
QString stage(const QString& root, QSize size, const char* text = kMovie) {
    QDir().mkpath(root + QStringLiteral("/templates/bench"));
    QDir().mkpath(root + QStringLiteral("/pic"));
    const QString folder = root + QStringLiteral("/templates/bench/");
    const QSize full = size;
    const QSize photo(720 * size.width() / 1920, 480 * size.height() / 1080);
    scene(4, full).save(folder + QStringLiteral("wj_y_l_b_j.jpg"), "JPEG", 90);
    scene(5, full).save(root + QStringLiteral("/pic/picture_0.jpg"), "JPEG", 90);
    for (int i = 1; i <= 4; ++i) {
        scene(i - 1, photo).save(folder + QStringLiteral("picture_%1.jpg").arg(i), "JPEG", 90);
    }
    const QString movie = folder + QStringLiteral("bench.movie");
    vellumo::writeWholeFile(movie, text);
    return movie;
}

// CPU time of the whole process (the frame is painted on a pool thread), in ms.
double cpuMs() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

struct Figures {
    double median, p90, p95, max, mean;
};

Figures figures(std::vector<double> times) {
    std::sort(times.begin(), times.end());
    double sum = 0;
    for (double t : times) {
        sum += t;
    }
    return {times[times.size() / 2], times[times.size() * 9 / 10], times[times.size() * 19 / 20],
            times.back(), sum / static_cast<double>(times.size())};
}

void measure(QSize size, int passes, const char* text = kMovie) {
    QTemporaryDir dir;
    const QString path = stage(dir.path(), size, text);

    QElapsedTimer timer;
    timer.start();
    auto movie = std::make_shared<const Movie>(readMovie(path));
    const MoviePictures pictures = readMoviePictures(*movie);
    const MovieRenderer renderer(movie, pictures, size);
    const double loadMs = static_cast<double>(timer.nsecsElapsed()) / 1e6;

    QImage frame;
    renderer.render(0, frame);  // warm up
    std::vector<double> times;
    std::vector<double> cpu;
    for (int pass = 0; pass < passes; ++pass) {
        for (int f = 0; f < movie->frames; ++f) {
            const double cpuStart = cpuMs();
            timer.start();
            renderer.render(f, frame);
            times.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
            cpu.push_back(cpuMs() - cpuStart);
        }
    }
    const Figures all = figures(times);
    const Figures allCpu = figures(cpu);
    // The busiest stretch: all four photos, shadows and the title on screen.
    std::vector<double> busy;
    for (int pass = 0; pass < passes; ++pass) {
        for (int f = 110; f < 230; ++f) {
            busy.push_back(times[static_cast<size_t>(pass * movie->frames + f)]);
        }
    }
    const Figures b = figures(busy);
    std::printf(
        "%4d x %-4d  load %6.1f ms   frame median %5.2f ms  p90 %5.2f  p95 %5.2f  max %5.2f  "
        "mean %5.2f   busiest frames 110-229: median %5.2f, p95 %5.2f   CPU per frame: median "
        "%5.2f, mean %5.2f   (%d frames)\n",
        size.width(), size.height(), loadMs, all.median, all.p90, all.p95, all.max, all.mean,
        b.median, b.p95, allCpu.median, allCpu.mean, static_cast<int>(times.size()));
}

// Every installed template at size, each frame once; false when there is none.
bool measureLibrary(const QString& programFolder, QSize size) {
    vellumo::setProgramFolder(programFolder);
    const QString parameters = vellumo::dataPath(vellumo::paths::kParameterPackages);
    const QString templates = vellumo::dataPath(vellumo::paths::kTemplatePackages);
    const QStringList packages =
        QDir(parameters).entryList({QStringLiteral("*.rar")}, QDir::Files, QDir::Name);
    if (packages.isEmpty()) {
        std::printf("no installed templates in %s\n", qPrintable(parameters));
        return false;
    }
    std::printf("the installed library at %d x %d, each frame once\n", size.width(), size.height());
    std::vector<double> all;
    std::vector<double> allCpu;
    double worstP95 = 0.0;
    QString worst;
    for (const QString& package : packages) {
        try {
            const vellumo::CatalogueRecord record = vellumo::catalogueRecordFromParameters(
                vellumo::unpackNested(vellumo::readWholeFile(parameters + package),
                                      vellumo::paths::kParameterPackageDepth));
            auto movie = std::make_shared<const Movie>(
                parseMovie(vellumo::unpackNested(vellumo::readWholeFile(templates + package),
                                                 vellumo::paths::kTemplatePackageDepth),
                           templates + package));
            const MovieRenderer renderer(movie, samplePictures(*movie, record, size), size);
            QImage frame;
            renderer.render(0, frame);  // warm up
            std::vector<double> times;
            std::vector<double> cpu;
            QElapsedTimer timer;
            for (int f = 0; f < movie->frames; ++f) {
                const double cpuStart = cpuMs();
                timer.start();
                renderer.render(f, frame);
                times.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
                cpu.push_back(cpuMs() - cpuStart);
            }
            all.insert(all.end(), times.begin(), times.end());
            allCpu.insert(allCpu.end(), cpu.begin(), cpu.end());
            const Figures t = figures(times);
            const Figures c = figures(cpu);
            std::printf(
                "  %-28s median %5.2f ms  p95 %5.2f  max %6.2f   CPU median %5.2f  p95 "
                "%5.2f\n",
                qPrintable(package), t.median, t.p95, t.max, c.median, c.p95);
            if (t.p95 > worstP95) {
                worstP95 = t.p95;
                worst = package;
            }
        } catch (const vellumo::Error& e) {
            std::printf("  %-28s %s\n", qPrintable(package), e.what());
            return false;
        }
    }
    const Figures a = figures(all);
    const Figures c = figures(allCpu);
    std::printf(
        "library: %d templates, %d frames: median %5.2f ms  p90 %5.2f  p95 %5.2f  max "
        "%6.2f  mean %5.2f; highest p95 %5.2f (%s); CPU per frame median %5.2f  p95 "
        "%5.2f\n",
        static_cast<int>(packages.size()), static_cast<int>(all.size()), a.median, a.p90, a.p95,
        a.max, a.mean, worstP95, qPrintable(worst), c.median, c.p95);
    return true;
}

}  // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() >= 3 && args[1] == QStringLiteral("--stage")) {
        QSize size(800, 450);
        if (args.size() >= 4) {
            const QStringList wh = args[3].split(u'x');
            if (wh.size() == 2) {
                size = QSize(wh[0].toInt(), wh[1].toInt());
            }
        }
        std::printf("%s\n", qPrintable(stage(args[2], size)));
        return 0;
    }
    if (args.size() == 3 && args[1] == QStringLiteral("--library")) {
        return measureLibrary(args[2], QSize(1280, 720)) ? 0 : 1;
    }
    std::printf("template movie rendering, one thread, %s\n", qVersion());
    for (const QSize size : {QSize(800, 450), QSize(1280, 720), QSize(1920, 1080)}) {
        measure(size, 4);
    }
    std::printf(
        "the same pictures in a movie of format version 2 (content motion, a group, "
        "filters)\n");
    for (const QSize size : {QSize(800, 450), QSize(1280, 720), QSize(1920, 1080)}) {
        measure(size, 2, kMovieV2);
    }
    return measureLibrary(QStringLiteral(VELLUMO_PROGRAM_FOLDER), QSize(1280, 720)) ? 0 : 1;
}
