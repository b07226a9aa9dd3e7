// vellumo-tool movie-info / render-movie: what a template movie holds, and its frames as PNG
// files or as one contact sheet, for template authors.

#include <QDir>
#include <QFileInfo>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QRegularExpression>

#include <algorithm>
#include <memory>

#include "movie/movie_parser.h"
#include "movie/movie_pictures.h"
#include "movie/movie_renderer.h"
#include "skin/fonts.h"
#include "tools/tool_commands.h"
#include "tools/tool_common.h"
#include "workspace/errors.h"

namespace vellumo::tool {

namespace {

using namespace vellumo::movie;

QString kindName(const Layer& layer) {
    switch (layer.kind) {
        case LayerKind::Image:
            return QStringLiteral("image");
        case LayerKind::Shape:
            return layer.shape == ShapeKind::Ellipse ? QStringLiteral("ellipse")
                   : layer.radius > 0                ? QStringLiteral("rounded-rect")
                                                     : QStringLiteral("rect");
        case LayerKind::Text:
            return QStringLiteral("text");
        case LayerKind::Group:
            return QStringLiteral("group");
        case LayerKind::Particles:
            return QStringLiteral("particles");
    }
    return {};
}

QString timeText(int frame) {
    const int seconds = frame / kFramesPerSecond;
    return QStringLiteral("%1:%2.%3")
        .arg(seconds / 60)
        .arg(seconds % 60, 2, 10, QLatin1Char('0'))
        .arg(frame % kFramesPerSecond, 2, 10, QLatin1Char('0'));
}

QString layerLine(const Layer& layer, int frames) {
    QString what;
    if (layer.kind == LayerKind::Image) {
        what = layer.picture;
    } else if (layer.kind == LayerKind::Text) {
        what = QStringLiteral("\"%1\"").arg(
            QString(layer.text).replace(QStringLiteral("\n"), QStringLiteral("\\n")));
    }
    const int last = std::min(layer.lastFrame, frames - 1);
    QStringList animated;
    for (int p = 0; p < kPropertyCount; ++p) {
        const size_t keys = layer.tracks[p].keys().size();
        if (keys > 1) {
            animated.append(
                QStringLiteral("%1(%2)").arg(propertyName(static_cast<Property>(p))).arg(keys));
        }
    }
    QStringList extras;
    if (!layer.track(Property::Reveal).empty()) {
        extras.append(QStringLiteral("reveal %1").arg(revealStyleName(layer.reveal)));
    }
    if (layer.border.width > 0) {
        extras.append(QStringLiteral("border %1").arg(layer.border.width));
    }
    if (layer.shadow.enabled) {
        extras.append(QStringLiteral("shadow"));
    }
    return QStringLiteral("  %1 %2 %3 frames %4-%5%6%7")
        .arg(kindName(layer), -12)
        .arg(layer.name, -14)
        .arg(what, -26)
        .arg(layer.firstFrame)
        .arg(last)
        .arg(animated.isEmpty() ? QString() : QStringLiteral("  animates ") + animated.join(u' '))
        .arg(extras.isEmpty() ? QString() : QStringLiteral("  ") + extras.join(u", "));
}

// "800x450" into a size.
bool parseSize(const QString& text, QSize* size) {
    static const QRegularExpression pattern(QStringLiteral("^(\\d{1,5})[xX](\\d{1,5})$"));
    const QRegularExpressionMatch match = pattern.match(text);
    if (!match.hasMatch()) {
        return false;
    }
    *size = QSize(match.captured(1).toInt(), match.captured(2).toInt());
    return size->width() >= 1 && size->height() >= 1 && size->width() <= 8192 &&
           size->height() <= 8192;
}

// "A-B" (or a single frame "A") into a clamped range.
bool parseRange(const QString& text, int frames, int* first, int* last) {
    static const QRegularExpression pattern(QStringLiteral("^(\\d{1,6})(?:-(\\d{1,6}))?$"));
    const QRegularExpressionMatch match = pattern.match(text);
    if (!match.hasMatch()) {
        return false;
    }
    *first = match.captured(1).toInt();
    *last = match.captured(2).isEmpty() ? *first : match.captured(2).toInt();
    if (*first > *last || *first >= frames) {
        return false;
    }
    *last = std::min(*last, frames - 1);
    return true;
}

QImage contactSheet(const MovieRenderer& renderer, const std::vector<int>& frames, int columns) {
    const QSize tile = renderer.size();
    const int label = std::max(22, tile.height() / 14);
    const int gap = 8;
    const int rows = static_cast<int>((frames.size() + static_cast<size_t>(columns) - 1) /
                                      static_cast<size_t>(columns));
    const int cols = std::min(columns, static_cast<int>(frames.size()));
    QImage sheet(gap + cols * (tile.width() + gap), gap + rows * (tile.height() + label + gap),
                 QImage::Format_RGB32);
    sheet.fill(QColor(40, 40, 44));
    QPainter painter(&sheet);
    QFont font;
    font.setPixelSize(label * 6 / 10);
    painter.setFont(font);
    painter.setPen(QColor(220, 220, 220));
    QImage frame;
    for (size_t i = 0; i < frames.size(); ++i) {
        const int x =
            gap + static_cast<int>(i % static_cast<size_t>(columns)) * (tile.width() + gap);
        const int y = gap + static_cast<int>(i / static_cast<size_t>(columns)) *
                                (tile.height() + label + gap);
        renderer.render(frames[i], frame);
        painter.drawImage(x, y, frame);
        painter.drawText(QRect(x, y + tile.height(), tile.width(), label),
                         Qt::AlignLeft | Qt::AlignVCenter,
                         QStringLiteral("frame %1   %2").arg(frames[i]).arg(timeText(frames[i])));
    }
    return sheet;
}

}  // namespace

int runMovieInfo(const QStringList& words) {
    Arguments args(words, {});
    if (!args.ok() || args.positional().size() != 1) {
        return fail(QStringLiteral("usage: movie-info MOVIE"));
    }
    try {
        const Movie movie = readMovie(args.positional()[0]);
        const MoviePictures pictures = readMoviePictures(movie);
        printOut(QStringLiteral("movie     %1").arg(QDir::toNativeSeparators(movie.file)));
        if (!movie.title.isEmpty()) {
            printOut(QStringLiteral("title     %1").arg(movie.title));
        }
        printOut(QStringLiteral("frames    %1 (%2 s at %3 frames a second), loop %4")
                     .arg(movie.frames)
                     .arg(static_cast<double>(movie.frames) / kFramesPerSecond, 0, 'f', 2)
                     .arg(kFramesPerSecond)
                     .arg(movie.loop ? u"yes" : u"no"));
        printOut(QStringLiteral("stage     %1 x %2 reference units, background %3")
                     .arg(kStageWidth)
                     .arg(kStageHeight)
                     .arg(movie.background.name()));
        printOut(QStringLiteral("layers    %1 (first drawn first)").arg(movie.layers.size()));
        for (const Layer& layer : movie.layers) {
            printOut(layerLine(layer, movie.frames));
        }
        printOut(QStringLiteral("pictures  %1 (relative to %2)")
                     .arg(pictures.size())
                     .arg(QDir::toNativeSeparators(movie.folder)));
        for (const QString& name : movie.pictures()) {
            const MoviePicture& p = pictures[name];
            printOut(QStringLiteral("  %1 %2").arg(name, -30).arg(
                p.image.isNull() ? QStringLiteral("missing (draws nothing)")
                                 : QStringLiteral("%1 x %2")
                                       .arg(p.pixelSize.width())
                                       .arg(p.pixelSize.height())));
        }
    } catch (const Error& e) {
        return fail(e.message());
    }
    return 0;
}

int runRenderMovie(const QStringList& words) {
    Arguments args(words,
                   {QStringLiteral("size"), QStringLiteral("frames"), QStringLiteral("out"),
                    QStringLiteral("count"), QStringLiteral("columns")},
                   {QStringLiteral("sheet")});
    const int count = args.integer(QStringLiteral("count"), 12);
    const int columns = args.integer(QStringLiteral("columns"), 4);
    if (!args.ok()) {
        return fail(args.error());
    }
    if (args.positional().size() != 1 || !args.has(QStringLiteral("out"))) {
        return fail(
            QStringLiteral("usage: render-movie MOVIE --size WxH [--frames A-B] --out DIR "
                           "[--sheet [--count N] [--columns N]]"));
    }
    QSize size(800, 450);
    if (args.has(QStringLiteral("size")) && !parseSize(args.value(QStringLiteral("size")), &size)) {
        return fail(QStringLiteral("--size needs WxH between 1x1 and 8192x8192, not \"%1\"")
                        .arg(args.value(QStringLiteral("size"))));
    }
    if (count < 1 || columns < 1) {
        return fail(QStringLiteral("--count and --columns need at least 1"));
    }
    // The installed program maps the two classic Chinese font names to the CJK fonts; so does
    // the tool, so that frames look as they will in the program.
    installFontSubstitutions();
    try {
        auto movie = std::make_shared<const Movie>(readMovie(args.positional()[0]));
        int first = 0;
        int last = movie->frames - 1;
        if (args.has(QStringLiteral("frames")) &&
            !parseRange(args.value(QStringLiteral("frames")), movie->frames, &first, &last)) {
            return fail(QStringLiteral("--frames needs A-B within 0-%1, not \"%2\"")
                            .arg(movie->frames - 1)
                            .arg(args.value(QStringLiteral("frames"))));
        }
        const QString out = args.value(QStringLiteral("out"));
        if (!QDir().mkpath(out)) {
            return fail(QStringLiteral("cannot create the folder \"%1\"").arg(out));
        }
        const MovieRenderer renderer(movie, readMoviePictures(*movie), size);
        if (args.has(QStringLiteral("sheet"))) {
            std::vector<int> frames;
            const int n = std::min(count, last - first + 1);
            for (int i = 0; i < n; ++i) {
                frames.push_back(n == 1 ? first : first + (last - first) * i / (n - 1));
            }
            const QString file = QDir(out).filePath(QStringLiteral("sheet.png"));
            if (!contactSheet(renderer, frames, columns).save(file)) {
                return fail(QStringLiteral("cannot write \"%1\"").arg(file));
            }
            printOut(file);
            return 0;
        }
        QImage frame;
        for (int f = first; f <= last; ++f) {
            renderer.render(f, frame);
            const QString file =
                QDir(out).filePath(QStringLiteral("frame_%1.png").arg(f, 5, 10, QLatin1Char('0')));
            if (!frame.save(file)) {
                return fail(QStringLiteral("cannot write \"%1\"").arg(file));
            }
        }
        printOut(QStringLiteral("%1 frames written to %2").arg(last - first + 1).arg(out));
    } catch (const Error& e) {
        return fail(e.message());
    }
    return 0;
}

}  // namespace vellumo::tool
