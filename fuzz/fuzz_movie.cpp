// Template movies: any bytes are a movie or a FileError, never a crash; a movie that parses is
// laid out and drawn at a small size, every picture it names a small one of its own (so that
// fits and content motion are exercised). Texts are parsed and timed but
// not drawn: every new font family and size the fuzzer invents stays in Qt's and fontconfig's
// process-wide font caches, which the leak check would report on every input.

#include <QGuiApplication>
#include <QImage>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>

#include "movie/movie_animation.h"
#include "movie/movie_parser.h"
#include "movie/movie_pictures.h"
#include "movie/movie_renderer.h"
#include "workspace/errors.h"

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    // Texts need fonts, fonts need a GUI application; the offscreen platform needs no display.
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static QGuiApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    vellumo::movie::Movie parsed;
    try {
        parsed = vellumo::movie::parseMovie(bytes, QStringLiteral("fuzz.movie"));
    } catch (const vellumo::FileError&) {
        return 0;
    }
    for (vellumo::movie::Layer& layer : parsed.layers) {
        if (layer.kind == vellumo::movie::LayerKind::Text) {
            layer.text.clear();
        }
    }
    const auto movie = std::make_shared<const vellumo::movie::Movie>(std::move(parsed));
    for (const vellumo::movie::Layer& layer : movie->layers) {
        (void)vellumo::movie::layerStateAt(layer, movie->frames / 2.0, QSizeF(640, 480));
    }
    if (movie->layers.size() > 64) {
        return 0;  // drawing hundreds of layers proves nothing more and takes long
    }
    static const QImage picture = [] {
        QImage image(8, 6, QImage::Format_RGB32);
        image.fill(Qt::darkCyan);
        image.setPixel(0, 0, qRgb(255, 0, 0));
        return image;
    }();
    vellumo::movie::MoviePictures pictures;
    for (const QString& name : movie->pictures()) {
        pictures.insert(name, {picture, picture.size()});
    }
    const vellumo::movie::MovieRenderer renderer(movie, pictures, QSize(48, 27));
    QImage frame;
    for (int f : {0, movie->frames / 2, movie->frames - 1}) {
        renderer.render(f, frame);
    }
    return 0;
}
