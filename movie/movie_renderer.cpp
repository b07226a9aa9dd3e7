#include "movie/movie_renderer.h"

#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QRunnable>
#include <QSemaphore>
#include <QThread>
#include <QThreadPool>

#include <algorithm>
#include <cmath>
#include <functional>

#include "movie/movie_animation.h"
#include "movie/movie_filters.h"
#include "movie/movie_particles.h"
#include "movie/movie_text_shape.h"
#include "workspace/thread_handover.h"

namespace vellumo::movie {

namespace {

constexpr int kMaxSpriteSide = 4096;
constexpr int kMaxShadowSide = 2048;
// Prepared images: one takes at most this many times the player's pixels (or the minimum), all
// together at most the budget below; past it they are made coarser.
constexpr double kPixelsPerImage = 4.0;
constexpr double kMinPixelsPerImage = 1024.0 * 1024.0;
constexpr double kBudgetPlayerAreas = 24.0;
constexpr double kBudgetExtraPixels = 16.0 * 1024.0 * 1024.0;
constexpr double kFloorPixels = 64.0 * 64.0;
constexpr size_t kMaxSampledFrames = 2000;
// Blurred shadows are prepared at a resolution where the blur spans about this many pixels;
// finer would cost memory and time without showing.
constexpr double kShadowBlurPixels = 6.0;
// A blurred picture is blurred on the coarsest level where its blur's deviation still spans
// about this many pixels, and at most at half the resolution it is drawn at.
constexpr double kBlurLevelPixels = 0.5;
constexpr double kBlurCoarsening = 2.0;
// Room around a text for italic overhang and accents that its metrics leave out.
constexpr double kTextPadding = 0.2;
// Particle sprites are drawn once at most this many pixels across.
constexpr int kMaxParticleSprite = 256;
// A mask's soft edge fades over its width, a Gaussian of a quarter of it to either side of the
// outline; the mask is made where that deviation spans about this many pixels, and enlarged.
constexpr double kSoftDeviationPerWidth = 0.25;
constexpr double kSoftMaskPixels = 1.5;

QPainter::CompositionMode compositionMode(BlendMode mode) {
    switch (mode) {
        case BlendMode::Normal:
            break;
        case BlendMode::Screen:
            return QPainter::CompositionMode_Screen;
        case BlendMode::Multiply:
            return QPainter::CompositionMode_Multiply;
        case BlendMode::Overlay:
            return QPainter::CompositionMode_Overlay;
    }
    return QPainter::CompositionMode_SourceOver;
}

// The frames at which a layer's largest on-screen size is looked for: every frame it is
// visible, or evenly spaced ones and its keys when there are very many.
std::vector<double> sampleFrames(const Layer& layer, int frames) {
    const int first = std::clamp(layer.firstFrame, 0, std::max(0, frames - 1));
    const int last = std::clamp(layer.lastFrame, first, std::max(first, frames - 1));
    std::vector<double> samples;
    const size_t count = static_cast<size_t>(last - first) + 1;
    if (count <= kMaxSampledFrames) {
        for (int f = first; f <= last; ++f) {
            samples.push_back(f);
        }
        return samples;
    }
    for (size_t i = 0; i < kMaxSampledFrames; ++i) {
        samples.push_back(first + static_cast<double>(i) * (last - first) /
                                      static_cast<double>(kMaxSampledFrames - 1));
    }
    for (const Track& track : layer.tracks) {
        for (const Keyframe& key : track.keys()) {
            if (key.frame >= first && key.frame <= last) {
                samples.push_back(key.frame);
            }
        }
    }
    return samples;
}

struct PictureGeometry {
    QRectF target;  // where the picture goes, in the layer's own units, centred on 0,0
    QRectF source;  // the part of the picture shown, in its pixels
};

// Places a picture of the source size in a w x h box centred on the origin.
PictureGeometry fitPicture(Fit fit, double w, double h, QSizeF source) {
    PictureGeometry g{QRectF(-w / 2.0, -h / 2.0, w, h), QRectF(QPointF(0, 0), source)};
    if (fit == Fit::Stretch || w <= 0.0 || h <= 0.0 || source.isEmpty()) {
        return g;
    }
    const double boxAspect = w / h;
    const double pictureAspect = source.width() / source.height();
    if (fit == Fit::Cover) {
        if (pictureAspect > boxAspect) {
            const double shown = source.height() * boxAspect;
            g.source = QRectF((source.width() - shown) / 2.0, 0.0, shown, source.height());
        } else {
            const double shown = source.width() / boxAspect;
            g.source = QRectF(0.0, (source.height() - shown) / 2.0, source.width(), shown);
        }
    } else {
        const double scale = std::min(w / source.width(), h / source.height());
        const double tw = source.width() * scale;
        const double th = source.height() * scale;
        g.target = QRectF(-tw / 2.0, -th / 2.0, tw, th);
    }
    return g;
}

// Where a picture lies when it moves inside its box: fitted as at rest, zoomed by the content
// scale about the box's middle, with the picture's point (cx, cy) (fractions of its size) at the
// middle. A picture larger than the box always covers it: the point is kept far enough from
// the picture's edges; one smaller than the box along an axis is centred on it. The target is
// the part of the box the picture covers.
PictureGeometry movingPicture(Fit fit, double w, double h, QSizeF source, double zoom, double cx,
                              double cy) {
    const PictureGeometry rest = fitPicture(fit, w, h, source);
    if (source.isEmpty() || rest.target.isEmpty() || rest.source.isEmpty()) {
        return rest;
    }
    const QRectF window = rest.target;
    // Box units per picture pixel.
    const double kx = window.width() / rest.source.width() * zoom;
    const double ky = window.height() / rest.source.height() * zoom;
    // The box's span in picture pixels, and the picture point at its middle.
    const double spanX = window.width() / kx;
    const double spanY = window.height() / ky;
    const auto middle = [](double c, double side, double span) {
        return span >= side ? side / 2.0 : std::clamp(c * side, span / 2.0, side - span / 2.0);
    };
    const double px = middle(cx, source.width(), spanX);
    const double py = middle(cy, source.height(), spanY);
    const QRectF shown = QRectF(px - spanX / 2.0, py - spanY / 2.0, spanX, spanY)
                             .intersected(QRectF(QPointF(0, 0), source));
    if (shown.isEmpty()) {
        return rest;
    }
    return {QRectF(window.center().x() + (shown.left() - px) * kx,
                   window.center().y() + (shown.top() - py) * ky, shown.width() * kx,
                   shown.height() * ky),
            shown};
}

// The part of an image layer's picture shown at a state, and where it goes.
PictureGeometry shownPicture(const Layer& layer, const LayerState& s, QSizeF source) {
    if (!layer.movesContent()) {
        return fitPicture(layer.fit, s.width, s.height, source);
    }
    return movingPicture(layer.fit, s.width, s.height, source, s.contentScale, s.contentX,
                         s.contentY);
}

// Whether covered (the picture's place) fills window, give or take a hundredth of a unit.
bool fills(const QRectF& covered, const QRectF& window) {
    return covered.adjusted(-0.01, -0.01, 0.01, 0.01).contains(window);
}

QPainterPath shapePath(ShapeKind kind, const QRectF& rect, double radius) {
    QPainterPath path;
    if (kind == ShapeKind::Ellipse) {
        path.addEllipse(rect);
    } else if (radius > 0.0) {
        const double r = std::min({radius, rect.width() / 2.0, rect.height() / 2.0});
        path.addRoundedRect(rect, r, r);
    } else {
        path.addRect(rect);
    }
    return path;
}

// The part of the area r that a reveal at progress p (0 to 1) shows.
QPainterPath revealPath(RevealStyle style, int slats, const QRectF& r, double p) {
    QPainterPath path;
    const QPointF c = r.center();
    switch (style) {
        case RevealStyle::FromLeft:
            path.addRect(QRectF(r.left(), r.top(), r.width() * p, r.height()));
            break;
        case RevealStyle::FromRight:
            path.addRect(QRectF(r.right() - r.width() * p, r.top(), r.width() * p, r.height()));
            break;
        case RevealStyle::FromTop:
            path.addRect(QRectF(r.left(), r.top(), r.width(), r.height() * p));
            break;
        case RevealStyle::FromBottom:
            path.addRect(QRectF(r.left(), r.bottom() - r.height() * p, r.width(), r.height() * p));
            break;
        case RevealStyle::SplitHorizontal:
            path.addRect(QRectF(c.x() - r.width() * p / 2.0, r.top(), r.width() * p, r.height()));
            break;
        case RevealStyle::SplitVertical:
            path.addRect(QRectF(r.left(), c.y() - r.height() * p / 2.0, r.width(), r.height() * p));
            break;
        case RevealStyle::Iris: {
            const double radius = p * std::hypot(r.width(), r.height()) / 2.0;
            path.addEllipse(c, radius, radius);
            break;
        }
        case RevealStyle::Clock: {
            const double radius = std::hypot(r.width(), r.height()) / 2.0 + 1.0;
            path.moveTo(c);
            path.arcTo(QRectF(c.x() - radius, c.y() - radius, 2.0 * radius, 2.0 * radius), 90.0,
                       -360.0 * p);
            path.closeSubpath();
            break;
        }
        case RevealStyle::Blinds: {
            const double h = r.height() / slats;
            for (int i = 0; i < slats; ++i) {
                path.addRect(QRectF(r.left(), r.top() + i * h, r.width(), h * p));
            }
            break;
        }
        case RevealStyle::Characters:
            // A text reveals its characters itself; anything else shows whole.
            path.addRect(r);
            break;
        case RevealStyle::BlindsVertical: {
            const double w = r.width() / slats;
            for (int i = 0; i < slats; ++i) {
                path.addRect(QRectF(r.left() + i * w, r.top(), w * p, r.height()));
            }
            break;
        }
    }
    return path;
}

QBrush fillBrush(const Fill& fill, const QRectF& box) {
    if (fill.kind == FillKind::Solid || fill.stops.size() < 2) {
        return QBrush(fill.stops.empty() ? QColor(Qt::white) : fill.stops.front().color);
    }
    QGradientStops stops;
    for (const GradientStop& s : fill.stops) {
        stops.append({s.position, s.color});
    }
    if (fill.kind == FillKind::Linear) {
        // The gradient runs along the angle across the whole box, corner to corner.
        const double a = qDegreesToRadians(fill.angle);
        const QPointF d(std::cos(a), std::sin(a));
        const double half = (std::abs(box.width() * d.x()) + std::abs(box.height() * d.y())) / 2.0;
        QLinearGradient gradient(box.center() - d * half, box.center() + d * half);
        gradient.setStops(stops);
        return QBrush(gradient);
    }
    // Radial: from the centre to the edges of the box, an ellipse in a box that is not square.
    QRadialGradient gradient(QPointF(0.0, 0.0), 1.0);
    gradient.setStops(stops);
    QBrush brush(gradient);
    brush.setTransform(QTransform::fromScale(box.width() / 2.0, box.height() / 2.0) *
                       QTransform::fromTranslate(box.center().x(), box.center().y()));
    return brush;
}

bool wholeTurns(double degrees) {
    return std::abs(std::remainder(degrees, 360.0)) < 1e-9;
}

bool nearInteger(double v) {
    return std::abs(v - std::round(v)) < 0.01;
}

// The length in device pixels of one unit along each of the layer's own axes.
double axisLengthX(const QTransform& t) {
    return std::hypot(t.m11(), t.m12());
}
double axisLengthY(const QTransform& t) {
    return std::hypot(t.m21(), t.m22());
}

// Narrows target (in the layer's units) to the part that can land on the painter's device, and
// source (the part of the picture drawn into target) with it, so that a filter works only on
// what shows. False when nothing shows.
bool clipToDevice(const QPainter& painter, const QTransform& world, QRectF& target,
                  QRectF& source) {
    // The painter's window: the device, or the part of the stage a masked layer is drawn in.
    const QRectF shown = world.mapRect(target).intersected(QRectF(painter.window()));
    if (shown.isEmpty()) {
        return false;
    }
    bool invertible = false;
    const QTransform back = world.inverted(&invertible);
    if (!invertible || target.isEmpty()) {
        return true;
    }
    // A pixel of room keeps the smoothing at the edge of the device.
    const double px = 1.0 / std::max(1e-9, std::min(axisLengthX(world), axisLengthY(world)));
    const QRectF part = back.mapRect(shown).adjusted(-px, -px, px, px).intersected(target);
    if (part.isEmpty()) {
        return false;
    }
    const double sx = source.width() / target.width();
    const double sy = source.height() / target.height();
    source =
        QRectF(source.x() + (part.x() - target.x()) * sx, source.y() + (part.y() - target.y()) * sy,
               part.width() * sx, part.height() * sy);
    target = part;
    return true;
}

}  // namespace

struct MovieRenderer::PreparedLayer {
    const Layer* layer = nullptr;
    bool drawable = false;
    QSizeF natural;               // the layer's box where the movie sets none, reference units
    MipChain content;             // a picture, or a text drawn once
    bool opaque = false;          // content without transparent pixels
    bool opaqueFill = false;      // a shape whose fill has no transparent colour
    QSizeF pictureSize;           // the decoded picture's size in pixels
    bool baked = false;           // content is the whole layer: picture or fill with its frame
    double bakedPad = 0.0;        // room round the baked layer, reference units
    QImage shadow;                // the blurred, coloured silhouette
    double shadowMargin = 0.0;    // reference units the shadow reaches past the silhouette
    MipChain maskPicture;         // a mask's picture
    std::vector<QImage> sprites;  // particles: one per colour of the emitter
    // A text with an outline, a changing colour or a reveal by characters: its letters and
    // outline in white at the content's resolution, where it is coloured each frame, and each
    // character's place in the content's pixels.
    QImage textFill;
    QImage textStroke;
    bool colourEachFrame = false;
    std::vector<QRectF> characters;
};

MovieRenderer::MovieRenderer() = default;
MovieRenderer::~MovieRenderer() = default;
MovieRenderer::MovieRenderer(MovieRenderer&&) noexcept = default;
MovieRenderer& MovieRenderer::operator=(MovieRenderer&&) noexcept = default;

// How much a layer's groups enlarge it at a frame: 1 for a layer at the top.
double MovieRenderer::groupScale(const Layer& layer, double frame) const {
    QTransform t;
    bool grouped = false;
    for (int p = layer.parent; p >= 0 && static_cast<size_t>(p) < movie_->layers.size();
         p = movie_->layers[static_cast<size_t>(p)].parent) {
        t = t * groupTransformAt(movie_->layers[static_cast<size_t>(p)], frame);
        grouped = true;
    }
    return grouped ? std::max(axisLengthX(t), axisLengthY(t)) : 1.0;
}

MovieRenderer::MovieRenderer(std::shared_ptr<const Movie> movie, const MoviePictures& pictures,
                             QSize size)
    : movie_(std::move(movie)), size_(size) {
    if (isNull()) {
        return;
    }
    pixelBudget_ = kBudgetPlayerAreas * size_.width() * size_.height() + kBudgetExtraPixels;
    pxPerRefX_ = size_.width() / kStageWidth;
    pxPerRefY_ = size_.height() / kStageHeight;
    layers_.resize(movie_->layers.size());
    for (size_t i = 0; i < layers_.size(); ++i) {
        prepareLayer(movie_->layers[i], pictures, layers_[i]);
    }
}

bool MovieRenderer::layerDrawable(size_t i) const {
    return i < layers_.size() && layers_[i].drawable;
}

// Lowers scale, in pixels per unit of a w x h area, so that the image it makes stays within one
// prepared image's share and within what is left of the renderer's budget, and books its
// pixels. A movie asking for absurd sizes gets coarse images, not exhausted memory.
double MovieRenderer::bookPixels(double scale, double w, double h, int maxSide) {
    w = std::max(w, 1e-6);
    h = std::max(h, 1e-6);
    const double playerArea = static_cast<double>(size_.width()) * size_.height();
    const double share = std::max(kPixelsPerImage * playerArea, kMinPixelsPerImage);
    const double allowed = std::max(std::min(share, pixelBudget_), kFloorPixels);
    scale = std::min({scale, maxSide / w, maxSide / h});
    if (w * h * scale * scale > allowed) {
        scale = std::sqrt(allowed / (w * h));
    }
    pixelBudget_ -= w * h * scale * scale;
    return scale;
}

void MovieRenderer::prepareLayer(const Layer& layer, const MoviePictures& pictures,
                                 PreparedLayer& out) {
    out.layer = &layer;
    if (layer.kind == LayerKind::Group) {
        out.drawable = true;
        return;
    }
    const std::vector<double> samples = sampleFrames(layer, movie_->frames);
    const double pxPerRef = std::max(pxPerRefX_, pxPerRefY_);
    const double b = layer.border.width;

    QImage picture;
    QFont font;
    int textFlags = 0;
    QRectF textRect;
    TextShape richText;
    if (layer.mask.kind == MaskKind::Picture) {
        // Nothing shows through a mask whose picture is missing.
        const QImage mask = pictures.value(layer.mask.picture).image;
        if (mask.isNull()) {
            return;
        }
        out.maskPicture = MipChain(mask, 1.0);
    }
    switch (layer.kind) {
        case LayerKind::Image: {
            const MoviePicture found = pictures.value(layer.picture);
            if (found.image.isNull()) {
                return;
            }
            picture = found.image;
            out.pictureSize = picture.size();
            out.natural =
                QSizeF(found.pixelSize.width() / pxPerRefX_, found.pixelSize.height() / pxPerRefY_);
            break;
        }
        case LayerKind::Shape:
            out.natural = QSizeF(kStageWidth, kStageHeight);
            out.opaqueFill =
                std::all_of(layer.fill.stops.begin(), layer.fill.stops.end(),
                            [](const GradientStop& s) { return s.color.alpha() == 255; });
            break;
        case LayerKind::Group:
            return;
        case LayerKind::Particles:
            if (layer.emitter.count <= 0 || layer.emitter.colors.empty()) {
                return;
            }
            out.natural = QSizeF(kStageWidth, kStageHeight);
            break;
        case LayerKind::Text: {
            if (layer.text.trimmed().isEmpty()) {
                return;
            }
            font = layer.fontFamily.isEmpty() ? QFont() : QFont(layer.fontFamily);
            font.setPixelSize(std::max(1, static_cast<int>(std::lround(layer.fontSize))));
            font.setBold(layer.bold);
            font.setItalic(layer.italic);
            font.setHintingPreference(QFont::PreferNoHinting);
            textFlags = Qt::AlignTop | (layer.align == TextAlign::Left    ? Qt::AlignLeft
                                        : layer.align == TextAlign::Right ? Qt::AlignRight
                                                                          : Qt::AlignHCenter);
            QImage probe(1, 1, QImage::Format_ARGB32_Premultiplied);
            const QFontMetricsF metrics(font, &probe);
            QSizeF measured;
            if (layer.wrapWidth > 0.0) {
                textFlags |= Qt::TextWordWrap;
                measured =
                    metrics.boundingRect(QRectF(0, 0, layer.wrapWidth, 1e6), textFlags, layer.text)
                        .size();
                measured.setWidth(layer.wrapWidth);
            } else {
                measured = metrics.boundingRect(QRectF(), textFlags, layer.text).size();
            }
            const double pad = std::ceil(layer.fontSize * kTextPadding);
            if (layer.richText()) {
                richText = shapeText(layer, font, pad + layer.stroke.width);
                out.natural = richText.size;
                break;
            }
            textRect = QRectF(QPointF(pad, pad), measured);
            out.natural = QSizeF(measured.width() + 2.0 * pad, measured.height() + 2.0 * pad);
            break;
        }
    }

    // The most device pixels one reference unit of the layer ever takes.
    double largestScale = 0.0;
    for (double f : samples) {
        const LayerState s = layerStateAt(layer, f, out.natural);
        largestScale = std::max(largestScale, std::max(std::abs(s.scaleX), std::abs(s.scaleY)) *
                                                  pxPerRef * groupScale(layer, f));
    }
    const LayerState first =
        layerStateAt(layer, std::clamp(layer.firstFrame, 0, movie_->frames), out.natural);

    if (layer.kind == LayerKind::Image) {
        const bool fixedBox = layer.track(Property::Width).keys().size() <= 1 &&
                              layer.track(Property::Height).keys().size() <= 1;
        if (b > 0.0 && fixedBox && !layer.movesContent() && !layer.filtered()) {
            prepareFramedPicture(layer, picture, first, largestScale, out);
        } else {
            double largest = 0.0;  // device pixels per picture pixel
            for (double f : samples) {
                const LayerState s = layerStateAt(layer, f, out.natural);
                const PictureGeometry g = shownPicture(layer, s, out.pictureSize);
                const double scale = std::max(std::abs(s.scaleX), std::abs(s.scaleY)) * pxPerRef *
                                     groupScale(layer, f);
                largest = std::max({largest, g.target.width() * scale / g.source.width(),
                                    g.target.height() * scale / g.source.height()});
            }
            // At full size the chain shares the decoded picture; smaller, it is new pixels.
            double scale = std::clamp(largest, 1.0 / 4096.0, 1.0);
            if (scale < 1.0) {
                scale = bookPixels(scale, picture.width(), picture.height(), kMaxSpriteSide);
            }
            out.content = MipChain(picture, scale);
            out.opaque = !picture.hasAlphaChannel();
        }
    } else if (layer.kind == LayerKind::Shape) {
        if (layer.track(Property::Width).keys().size() <= 1 &&
            layer.track(Property::Height).keys().size() <= 1) {
            prepareShapeSprite(layer, first, largestScale, out);
        }
    } else if (layer.kind == LayerKind::Particles) {
        const int side = std::clamp(
            static_cast<int>(std::ceil(layer.emitter.size.high * std::max(largestScale, 0.02))), 8,
            kMaxParticleSprite);
        for (const QColor& color : layer.emitter.colors) {
            out.sprites.push_back(particleSprite(layer.emitter.kind, color, side));
        }
    } else if (layer.richText()) {
        const double scale = bookPixels(std::max(largestScale, 0.02), out.natural.width(),
                                        out.natural.height(), kMaxSpriteSide);
        out.textFill = textFillMask(richText, scale);
        if (layer.stroke.width > 0.0) {
            out.textStroke = textStrokeMask(richText, layer.stroke.width, scale);
        }
        const double sx = out.textFill.width() / out.natural.width();
        const double sy = out.textFill.height() / out.natural.height();
        for (const QRectF& c : richText.characters) {
            out.characters.emplace_back(c.x() * sx, c.y() * sy, c.width() * sx, c.height() * sy);
        }
        out.colourEachFrame = !layer.colorTrack(ColorProperty::Text).empty() ||
                              !layer.colorTrack(ColorProperty::Stroke).empty();
        out.content = MipChain(
            colouredText(out.textFill, out.textStroke, first.textColor, first.strokeColor), 1.0);
    } else if (layer.kind == LayerKind::Text) {
        // The text is drawn once, at the largest size it is shown at.
        const double scale = bookPixels(std::max(largestScale, 0.02), out.natural.width(),
                                        out.natural.height(), kMaxSpriteSide);
        QImage sprite(std::max(1, static_cast<int>(std::ceil(out.natural.width() * scale))),
                      std::max(1, static_cast<int>(std::ceil(out.natural.height() * scale))),
                      QImage::Format_ARGB32_Premultiplied);
        sprite.fill(Qt::transparent);
        QPainter painter(&sprite);
        painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
        painter.scale(sprite.width() / out.natural.width(), sprite.height() / out.natural.height());
        painter.setFont(font);
        painter.setPen(layer.textColor);
        painter.drawText(textRect, textFlags, layer.text);
        painter.end();
        out.content = MipChain(sprite, 1.0);
    }
    out.drawable = true;

    if (layer.shadow.enabled && layer.shadow.color.alpha() > 0) {
        prepareShadow(layer, first, largestScale, out);
    }
}

// A picture with a frame of a fixed size is drawn once with its frame, so that each frame it
// is one image to draw, and fading it shows no seam between picture and frame.
void MovieRenderer::prepareFramedPicture(const Layer& layer, const QImage& picture,
                                         const LayerState& first, double largestScale,
                                         PreparedLayer& out) {
    const PictureGeometry g = fitPicture(layer.fit, first.width, first.height, out.pictureSize);
    const double b = layer.border.width;
    // Pixels per reference unit: as many as it is ever shown at, so that the frame stays sharp
    // even where the picture itself is enlarged.
    const double scale = bookPixels(std::max(largestScale, 0.02), g.target.width() + 2.0 * b,
                                    g.target.height() + 2.0 * b, kMaxSpriteSide);
    const int w = std::max(1, static_cast<int>(std::lround(g.target.width() * scale)));
    const int h = std::max(1, static_cast<int>(std::lround(g.target.height() * scale)));
    const int border = std::max(1, static_cast<int>(std::lround(b * scale)));
    out.opaque = !picture.hasAlphaChannel() && layer.border.color.alpha() == 255;
    QImage sprite(w + 2 * border, h + 2 * border,
                  out.opaque ? QImage::Format_RGB32 : QImage::Format_ARGB32_Premultiplied);
    sprite.fill(layer.border.color);
    const QImage shown = picture.copy(g.source.toAlignedRect())
                             .scaled(w, h, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    QPainter painter(&sprite);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(border, border, shown);
    painter.end();
    out.content = MipChain(sprite, 1.0);
    out.baked = true;
}

// A shape whose size does not change is drawn once, fill and frame, at the largest size it is
// shown at; each frame then draws it as an image, which costs far less than filling a large
// gradient again.
void MovieRenderer::prepareShapeSprite(const Layer& layer, const LayerState& first,
                                       double largestScale, PreparedLayer& out) {
    const double b = layer.border.width;
    const QRectF box(-first.width / 2.0, -first.height / 2.0, first.width, first.height);
    if (box.isEmpty()) {
        return;
    }
    const QRectF outer = box.adjusted(-b, -b, b, b);
    const bool sharpRect = layer.shape == ShapeKind::Rectangle && layer.radius <= 0.0;
    const double scale =
        bookPixels(std::max(largestScale, 0.02), outer.width(), outer.height(), kMaxSpriteSide - 2);
    // Curved edges keep a pixel of room, so that their smoothing is not cut off.
    const double pad = sharpRect ? 0.0 : 1.0 / scale;
    const QRectF area = outer.adjusted(-pad, -pad, pad, pad);
    QImage sprite(std::max(1, static_cast<int>(std::lround(area.width() * scale))),
                  std::max(1, static_cast<int>(std::lround(area.height() * scale))),
                  out.opaqueFill && sharpRect && (b <= 0.0 || layer.border.color.alpha() == 255)
                      ? QImage::Format_RGB32
                      : QImage::Format_ARGB32_Premultiplied);
    sprite.fill(Qt::transparent);
    QPainter painter(&sprite);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(sprite.width() / area.width(), sprite.height() / area.height());
    painter.translate(-area.topLeft());
    if (b > 0.0 && layer.border.color.alpha() > 0) {
        painter.fillPath(shapePath(layer.shape, outer, layer.radius > 0.0 ? layer.radius + b : 0.0),
                         layer.border.color);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
    }
    painter.fillPath(shapePath(layer.shape, box, layer.radius), fillBrush(layer.fill, box));
    painter.end();
    out.content = MipChain(sprite, 1.0);
    out.baked = true;
    out.bakedPad = pad;
    out.opaque = sprite.format() == QImage::Format_RGB32;
}

// The shadow is the blurred silhouette of the layer as it first appears; it is stretched with
// the layer when its box changes.
void MovieRenderer::prepareShadow(const Layer& layer, const LayerState& first, double largestScale,
                                  PreparedLayer& out) {
    QRectF silhouette(-first.width / 2.0, -first.height / 2.0, first.width, first.height);
    if (layer.kind == LayerKind::Image) {
        silhouette = fitPicture(layer.fit, first.width, first.height, out.pictureSize).target;
    }
    const double b = layer.border.width;
    silhouette.adjust(-b, -b, b, b);
    const double m = layer.shadow.blur;
    const QRectF area = silhouette.adjusted(-m, -m, m, m);
    if (area.isEmpty()) {
        return;
    }
    double scale = std::max(largestScale, 0.02);
    if (m > 0.0) {
        scale = std::min(scale, kShadowBlurPixels / m);
    }
    scale = bookPixels(scale, area.width(), area.height(), kMaxShadowSide);
    QImage mask(std::max(1, static_cast<int>(std::ceil(area.width() * scale))),
                std::max(1, static_cast<int>(std::ceil(area.height() * scale))),
                QImage::Format_ARGB32_Premultiplied);
    mask.fill(Qt::transparent);
    QPainter painter(&mask);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
    painter.scale(mask.width() / area.width(), mask.height() / area.height());
    painter.translate(-area.topLeft());
    if (layer.kind == LayerKind::Shape) {
        painter.fillPath(
            shapePath(layer.shape, silhouette, layer.radius > 0 ? layer.radius + b : 0.0),
            Qt::black);
    } else if (layer.kind == LayerKind::Text && b <= 0.0) {
        painter.drawImage(silhouette, out.content.largest());
    } else {
        painter.fillRect(silhouette, Qt::black);
    }
    painter.end();
    const int radius = static_cast<int>(std::lround(m * mask.width() / area.width() / 3.0));
    out.shadow = shadowFromAlpha(mask, radius, layer.shadow.color);
    out.shadowMargin = m;
}

bool MovieRenderer::coversStage(const PreparedLayer& prepared, double frame) const {
    const Layer& layer = *prepared.layer;
    if (!prepared.drawable || !layer.visibleAt(frame) || layer.parent >= 0 ||
        layer.kind == LayerKind::Group || layer.blend != BlendMode::Normal ||
        layer.mask.kind != MaskKind::None) {
        return false;
    }
    const bool opaqueImage = layer.kind == LayerKind::Image && prepared.opaque;
    const bool opaqueRect = layer.kind == LayerKind::Shape && layer.shape == ShapeKind::Rectangle &&
                            layer.radius <= 0.0 && prepared.opaqueFill;
    if (!opaqueImage && !opaqueRect) {
        return false;
    }
    const LayerState s = layerStateAt(layer, frame, prepared.natural);
    if (s.opacity < 1.0 || s.reveal < 1.0 || !wholeTurns(s.rotation) || s.scaleX <= 0.0 ||
        s.scaleY <= 0.0) {
        return false;
    }
    QRectF rect(-s.width / 2.0, -s.height / 2.0, s.width, s.height);
    if (opaqueImage) {
        rect = fitPicture(layer.fit, s.width, s.height, prepared.pictureSize).target;
        if (layer.movesContent() &&
            !fills(shownPicture(layer, s, prepared.pictureSize).target, rect)) {
            return false;
        }
    }
    const QRectF device(
        (s.x + rect.left() * s.scaleX) * pxPerRefX_, (s.y + rect.top() * s.scaleY) * pxPerRefY_,
        rect.width() * s.scaleX * pxPerRefX_, rect.height() * s.scaleY * pxPerRefY_);
    return device.left() <= 0.01 && device.top() <= 0.01 &&
           device.right() >= size_.width() - 0.01 && device.bottom() >= size_.height() - 0.01;
}

// Draws the part source (in the content's own pixels) of content into target, in the layer's
// units, choosing the resolution that matches the size it lands at. An active filter is applied
// to that part at that resolution.
void MovieRenderer::drawContent(QPainter& painter, const MipChain& content,
                                const QRectF& wholeTarget, const QRectF& wholeSource,
                                const QTransform& world, const ImageFilter* filter) const {
    QRectF target = wholeTarget;
    QRectF source = wholeSource;
    if (filter && filter->active() && !clipToDevice(painter, world, target, source)) {
        return;
    }
    double drawScale = std::max(target.width() * axisLengthX(world) / source.width(),
                                target.height() * axisLengthY(world) / source.height());
    if (filter && filter->blur > 0.0) {
        // A blur hides the finest pixels: it is made on a level of at most half the resolution
        // drawn, coarser still where its deviation spans more than half a pixel there, and
        // drawn enlarged from there. That costs a quarter or less of blurring at full
        // resolution, and a wide blur costs no more than a narrow one.
        const double devicePerUnit = std::max(axisLengthX(world), axisLengthY(world));
        drawScale /= std::max(kBlurCoarsening,
                              filter->blur * devicePerUnit * kDeviationPerBlur / kBlurLevelPixels);
    }
    double lx = 1.0;
    double ly = 1.0;
    const QImage* level = &content.level(drawScale, &lx, &ly);
    QRectF from(source.x() * lx, source.y() * ly, source.width() * lx, source.height() * ly);
    QImage filtered;
    if (filter && filter->active()) {
        filtered = filterImage(*level, from, *filter, from.width() / target.width());
        if (filtered.isNull()) {
            return;
        }
        level = &filtered;
    }
    const QImage& image = *level;
    const QRectF device = world.mapRect(target);
    if (world.type() <= QTransform::TxScale && world.m11() > 0.0 && world.m22() > 0.0 &&
        std::abs(device.width() - from.width()) < 0.01 &&
        std::abs(device.height() - from.height()) < 0.01 && nearInteger(device.x()) &&
        nearInteger(device.y()) && nearInteger(from.x()) && nearInteger(from.y())) {
        // Pixel for pixel: a plain copy, no filtering.
        painter.resetTransform();
        painter.drawImage(QPoint(static_cast<int>(std::lround(device.x())),
                                 static_cast<int>(std::lround(device.y()))),
                          image, from.toRect());
        painter.setTransform(world);
    } else {
        painter.setTransform(world);
        painter.drawImage(target, image, from);
    }
}

// Draws the layer's shadow for its silhouette (the layer's box with its frame, in the layer's
// units). When the layer covers its silhouette with opaque pixels, the shadow under it cannot
// show, so only the band round it is drawn.
void MovieRenderer::drawShadow(QPainter& painter, const PreparedLayer& prepared,
                               const QTransform& local, const QTransform& group,
                               const QRectF& silhouette, bool covered) const {
    const Layer& layer = *prepared.layer;
    const double m = prepared.shadowMargin;
    const QRectF area = silhouette.adjusted(-m, -m, m, m);
    const QImage& sprite = prepared.shadow;
    const double sx = sprite.width() / area.width();
    const double sy = sprite.height() / area.height();
    const QTransform toDevice = QTransform::fromScale(pxPerRefX_, pxPerRefY_);
    // Inside a group the offset is in the group's units and turns with it.
    const QTransform offset = QTransform::fromTranslate(layer.shadow.dx, layer.shadow.dy);
    painter.setTransform(group.isIdentity() ? local * offset * toDevice
                                            : local * offset * group * toDevice);
    // Soft edges need no antialiasing, and without it the pieces below meet without seams.
    painter.setRenderHint(QPainter::Antialiasing, false);
    const auto piece = [&](const QRectF& r) {
        if (r.width() > 0.0 && r.height() > 0.0) {
            painter.drawImage(r, sprite,
                              QRectF((r.x() - area.x()) * sx, (r.y() - area.y()) * sy,
                                     r.width() * sx, r.height() * sy));
        }
    };
    QRectF hidden;
    if (covered) {
        // A shadow point p lies under the layer when p plus the offset, taken into the layer's
        // own units, is inside the silhouette.
        const QTransform linear(local.m11(), local.m12(), local.m21(), local.m22(), 0.0, 0.0);
        bool invertible = false;
        const QTransform back = linear.inverted(&invertible);
        if (invertible) {
            const QPointF d = back.map(QPointF(layer.shadow.dx, layer.shadow.dy));
            const QTransform world =
                group.isIdentity() ? local * toDevice : local * group * toDevice;
            // Keep a pixel and a half under the layer's antialiased edge.
            const double keep = 1.5 / std::min(axisLengthX(world), axisLengthY(world));
            hidden = silhouette.translated(-d).intersected(area).adjusted(keep, keep, -keep, -keep);
        }
    }
    if (hidden.width() <= 0.0 || hidden.height() <= 0.0) {
        piece(area);
    } else {
        piece(QRectF(area.left(), area.top(), area.width(), hidden.top() - area.top()));
        piece(QRectF(area.left(), hidden.bottom(), area.width(), area.bottom() - hidden.bottom()));
        piece(QRectF(area.left(), hidden.top(), hidden.left() - area.left(), hidden.height()));
        piece(QRectF(hidden.right(), hidden.top(), area.right() - hidden.right(), hidden.height()));
    }
    painter.setRenderHint(QPainter::Antialiasing, true);
}

void MovieRenderer::drawLayer(QPainter& painter, const PreparedLayer& prepared,
                              const QTransform& group, double frame) const {
    const Layer& layer = *prepared.layer;
    if (!prepared.drawable || !layer.visibleAt(frame)) {
        return;
    }
    const LayerState s = layerStateAt(layer, frame, prepared.natural);
    if (s.opacity <= 0.0 || s.reveal <= 0.0 || s.scaleX == 0.0 || s.scaleY == 0.0 ||
        s.width <= 0.0 || s.height <= 0.0) {
        return;
    }
    QTransform local;
    local.translate(s.x, s.y);
    local.rotate(s.rotation);
    local.scale(s.scaleX, s.scaleY);
    const QTransform toDevice = QTransform::fromScale(pxPerRefX_, pxPerRefY_);
    const QTransform world = group.isIdentity() ? local * toDevice : local * group * toDevice;

    PictureGeometry g{QRectF(-s.width / 2.0, -s.height / 2.0, s.width, s.height), QRectF()};
    // The box the frame and shadow hug; a picture moving inside it may cover less of it.
    QRectF window = g.target;
    bool contentFills = true;
    if (layer.kind == LayerKind::Image) {
        g = fitPicture(layer.fit, s.width, s.height, prepared.pictureSize);
        window = g.target;
        if (layer.movesContent()) {
            g = shownPicture(layer, s, prepared.pictureSize);
            contentFills = fills(g.target, window);
        }
    }
    const double b = layer.border.width;
    const QRectF outer = window.adjusted(-b, -b, b, b);
    if (prepared.baked || layer.kind == LayerKind::Text) {
        // The content image already is the whole layer.
        if (prepared.baked) {
            const double pad = prepared.bakedPad;
            g.target = outer.adjusted(-pad, -pad, pad, pad);
        }
        g.source = QRectF(QPointF(0, 0), prepared.content.sourceSize());
    }

    painter.setOpacity(s.opacity);
    painter.setCompositionMode(compositionMode(layer.blend));
    if (layer.kind == LayerKind::Particles) {
        drawParticles(painter, prepared, s, world, frame);
        painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
        return;
    }
    const bool byCharacters = layer.reveal == RevealStyle::Characters;
    const bool clipped = s.reveal < 1.0 && !byCharacters;
    if (clipped) {
        double reach = 0.0;
        if (!prepared.shadow.isNull()) {
            reach = prepared.shadowMargin +
                    std::max(std::abs(layer.shadow.dx), std::abs(layer.shadow.dy));
        }
        painter.setTransform(world);
        painter.setClipPath(revealPath(layer.reveal, layer.revealSlats,
                                       outer.adjusted(-reach, -reach, reach, reach), s.reveal));
    }
    if (!prepared.shadow
             .isNull()) {  // Opaque pictures and sharp rectangles cover their whole silhouette.
        const bool covered = prepared.opaque && s.opacity >= 1.0 && !clipped && contentFills;
        if (byCharacters && s.reveal < 1.0) {
            // Only the characters shown so far cast their shadow.
            const double m = prepared.shadowMargin;
            QPainterPath shown;
            const double n = static_cast<double>(prepared.characters.size());
            const double sx = g.target.width() / g.source.width();
            const double sy = g.target.height() / g.source.height();
            for (size_t i = 0; i < prepared.characters.size(); ++i) {
                if (s.reveal * n - static_cast<double>(i) <= 0.0) {
                    break;
                }
                const QRectF& c = prepared.characters[i];
                shown.addRect(QRectF(g.target.x() + c.x() * sx, g.target.y() + c.y() * sy,
                                     c.width() * sx, c.height() * sy)
                                  .adjusted(-m, -m, m, m)
                                  .translated(layer.shadow.dx, layer.shadow.dy));
            }
            painter.setTransform(world);
            painter.setClipPath(shown);
            drawShadow(painter, prepared, local, group, outer, false);
            painter.setClipping(false);
        } else {
            drawShadow(painter, prepared, local, group, outer, covered);
        }
    }
    painter.setTransform(world);

    const double radius = layer.kind == LayerKind::Shape ? layer.radius : 0.0;
    const ShapeKind shape = layer.kind == LayerKind::Shape ? layer.shape : ShapeKind::Rectangle;
    if (b > 0.0 && !prepared.baked && layer.border.color.alpha() > 0) {
        if (layer.kind == LayerKind::Image && prepared.opaque && s.opacity >= 1.0 && contentFills) {
            // The picture covers the middle, so one rectangle makes a seamless frame.
            painter.fillRect(outer, layer.border.color);
        } else {
            QPainterPath ring = shapePath(shape, outer, radius > 0.0 ? radius + b : 0.0);
            ring.addPath(shapePath(shape, window, radius));
            ring.setFillRule(Qt::OddEvenFill);
            painter.fillPath(ring, layer.border.color);
        }
    }
    if (layer.kind == LayerKind::Shape && !prepared.baked) {
        painter.fillPath(shapePath(shape, g.target, radius), fillBrush(layer.fill, g.target));
    } else if (layer.richText()) {
        drawRichText(painter, prepared, s, g.target, world);
    } else {
        const ImageFilter filter =
            layer.kind == LayerKind::Image ? imageFilterAt(s) : ImageFilter();
        drawContent(painter, prepared.content, g.target, g.source, world, &filter);
    }
    if (clipped) {
        painter.setClipping(false);
    }
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
}

// A text in its colours of the frame; revealed by characters, each character fades in over its
// share of the reveal, one after another.
void MovieRenderer::drawRichText(QPainter& painter, const PreparedLayer& prepared,
                                 const LayerState& s, const QRectF& target,
                                 const QTransform& world) const {
    const Layer& layer = *prepared.layer;
    MipChain coloured;
    const MipChain* content = &prepared.content;
    if (prepared.colourEachFrame) {
        coloured = MipChain(
            colouredText(prepared.textFill, prepared.textStroke, s.textColor, s.strokeColor), 1.0);
        content = &coloured;
    }
    const QRectF whole(QPointF(0, 0), content->sourceSize());
    if (layer.reveal != RevealStyle::Characters || s.reveal >= 1.0) {
        drawContent(painter, *content, target, whole, world);
        return;
    }
    const double n = static_cast<double>(prepared.characters.size());
    const double sx = target.width() / whole.width();
    const double sy = target.height() / whole.height();
    const auto piece = [&](const QRectF& source, double opacity) {
        painter.setOpacity(s.opacity * opacity);
        drawContent(painter, *content,
                    QRectF(target.x() + source.x() * sx, target.y() + source.y() * sy,
                           source.width() * sx, source.height() * sy),
                    source, world);
    };
    // Characters wholly shown are drawn a line's run at a time.
    QRectF run;
    for (size_t i = 0; i < prepared.characters.size(); ++i) {
        const double share = std::clamp(s.reveal * n - static_cast<double>(i), 0.0, 1.0);
        if (share <= 0.0) {
            break;
        }
        const QRectF& c = prepared.characters[i];
        if (share < 1.0) {
            piece(c, share);
            continue;
        }
        if (!run.isNull() && std::abs(run.top() - c.top()) < 0.5 &&
            std::abs(run.right() - c.left()) < 0.5) {
            run.setRight(c.right());
            continue;
        }
        if (!run.isNull()) {
            piece(run, 1.0);
        }
        run = c;
    }
    if (!run.isNull()) {
        piece(run, 1.0);
    }
}

// Each particle's sprite placed, turned and faded where the emitter has it at the frame.
void MovieRenderer::drawParticles(QPainter& painter, const PreparedLayer& prepared,
                                  const LayerState& s, const QTransform& world,
                                  double frame) const {
    const Layer& layer = *prepared.layer;
    for (const Particle& p : particlesAt(layer.emitter, frame, QSizeF(s.width, s.height))) {
        const QImage& sprite = prepared.sprites[static_cast<size_t>(p.color)];
        QTransform place;
        place.translate(p.x, p.y);
        place.rotate(p.rotation);
        painter.setTransform(place * world);
        painter.setOpacity(s.opacity * p.opacity);
        const double half = p.size / 2.0;
        painter.drawImage(QRectF(-half, -half, p.size, p.size), sprite);
    }
}

// A layer with a mask is drawn on an image of its own over the mask's place, the mask's shape
// or picture alpha (softened over its edge) taken out of it, and that laid down by the layer's
// blend mode.
void MovieRenderer::drawMaskedLayer(QPainter& painter, const PreparedLayer& prepared,
                                    const QTransform& group, double frame) const {
    const Layer& layer = *prepared.layer;
    if (!prepared.drawable || !layer.visibleAt(frame)) {
        return;
    }
    const LayerState s = layerStateAt(layer, frame, prepared.natural);
    if (s.maskWidth <= 0.0 || s.maskHeight <= 0.0 || s.opacity <= 0.0) {
        return;
    }
    QTransform maskLocal;
    maskLocal.translate(s.maskX, s.maskY);
    maskLocal.rotate(s.maskRotation);
    const QTransform toDevice = QTransform::fromScale(pxPerRefX_, pxPerRefY_);
    const QTransform maskWorld =
        group.isIdentity() ? maskLocal * toDevice : maskLocal * group * toDevice;
    const QRectF shape(-s.maskWidth / 2.0, -s.maskHeight / 2.0, s.maskWidth, s.maskHeight);
    const double soft = s.maskSoft;
    const QRect region = maskWorld.mapRect(shape.adjusted(-soft, -soft, soft, soft))
                             .toAlignedRect()
                             .intersected(painter.window());
    if (region.isEmpty()) {
        return;
    }
    QImage drawn(region.size(), QImage::Format_ARGB32_Premultiplied);
    drawn.fill(Qt::transparent);
    QPainter inner(&drawn);
    inner.setRenderHints(painter.renderHints());
    inner.setWindow(region);
    inner.setViewport(QRect(QPoint(0, 0), region.size()));
    drawLayer(inner, prepared, group, frame);

    // The mask, coarser where its edge is soft.
    const double devicePerUnit = std::max(axisLengthX(maskWorld), axisLengthY(maskWorld));
    const double deviation = soft * kSoftDeviationPerWidth * devicePerUnit;
    const double maskScale = deviation > 0.0 ? std::min(1.0, kSoftMaskPixels / deviation) : 1.0;
    QImage mask(std::max(1, static_cast<int>(std::ceil(region.width() * maskScale))),
                std::max(1, static_cast<int>(std::ceil(region.height() * maskScale))),
                QImage::Format_ARGB32_Premultiplied);
    mask.fill(Qt::transparent);
    QPainter maskPainter(&mask);
    maskPainter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
    maskPainter.setTransform(
        maskWorld * QTransform::fromTranslate(-region.x(), -region.y()) *
        QTransform::fromScale(static_cast<double>(mask.width()) / region.width(),
                              static_cast<double>(mask.height()) / region.height()));
    if (layer.mask.kind == MaskKind::Picture) {
        const QTransform& t = maskPainter.transform();
        const QSize source = prepared.maskPicture.sourceSize();
        double lx = 1.0;
        double ly = 1.0;
        const QImage& level =
            prepared.maskPicture.level(std::max(shape.width() * axisLengthX(t) / source.width(),
                                                shape.height() * axisLengthY(t) / source.height()),
                                       &lx, &ly);
        maskPainter.drawImage(shape, level);
    } else {
        maskPainter.fillPath(shapePath(layer.mask.kind == MaskKind::Ellipse ? ShapeKind::Ellipse
                                                                            : ShapeKind::Rectangle,
                                       shape, layer.mask.radius),
                             Qt::white);
    }
    maskPainter.end();
    blurImage(mask, deviation * maskScale);
    inner.resetTransform();
    inner.setWindow(QRect(QPoint(0, 0), region.size()));
    inner.setClipping(false);
    inner.setOpacity(1.0);
    inner.setCompositionMode(QPainter::CompositionMode_DestinationIn);
    inner.setRenderHint(QPainter::SmoothPixmapTransform);
    inner.drawImage(QRectF(QPointF(0, 0), QSizeF(region.size())), mask);
    inner.end();

    painter.resetTransform();
    painter.setClipping(false);
    painter.setOpacity(1.0);
    painter.setCompositionMode(compositionMode(layer.blend));
    painter.drawImage(region.topLeft(), drawn);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
}

namespace {

// Paints one frame on a thread of the global pool.
class PaintJob : public QRunnable {
public:
    explicit PaintJob(std::function<void()> paint) : paint_(std::move(paint)) {
        setAutoDelete(false);
    }
    void run() override {
        takeOver(this);
        paint_();
        handOver(this);
        done.release();
    }
    QSemaphore done;

private:
    std::function<void()> paint_;
};

// How long a frame waits for a free pool thread before it is painted where it was asked for.
constexpr int kPoolWaitMs = 100;

}  // namespace

void MovieRenderer::render(double frame, QImage& target) const {
    if (isNull()) {
        target = QImage();
        return;
    }
    if (target.size() != size_ || target.format() != QImage::Format_RGB32) {
        target = QImage(size_, QImage::Format_RGB32);
    }
    // Qt's raster engine splits large fills over the global thread pool unless it already runs
    // on one of the pool's threads. With two shared cores the hand-over costs more than it
    // gains (frames took twice as long), so the frame is painted on a pool thread, where the
    // engine keeps to that one thread. The caller waits; a busy pool is not waited for long.
    QThreadPool* pool = QThreadPool::globalInstance();
    if (pool->contains(QThread::currentThread())) {
        paint(frame, target);
        return;
    }
    PaintJob job([this, frame, &target] { paint(frame, target); });
    handOver(&job);
    pool->start(&job);
    if (!job.done.tryAcquire(1, kPoolWaitMs)) {
        if (pool->tryTake(&job)) {
            paint(frame, target);
            return;
        }
        job.done.acquire();  // running: it ends within a frame's work
    }
    takeOver(&job);
}

void MovieRenderer::paint(double frame, QImage& target) const {
    // Layers under one that hides the whole stage need not be drawn.
    size_t start = layers_.size();
    while (start > 0 && !coversStage(layers_[start - 1], frame)) {
        --start;
    }
    if (start == 0) {
        target.fill(movie_->background.rgb());
    } else {
        --start;
    }
    QPainter painter(&target);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform |
                           QPainter::TextAntialiasing);
    drawLayers(painter, start, layers_.size(), QTransform(), frame);
}

// Draws layers from to to, each group with its members; group takes them to the stage.
void MovieRenderer::drawLayers(QPainter& painter, size_t from, size_t to, const QTransform& group,
                               double frame) const {
    for (size_t i = from; i < to;) {
        const Layer& layer = *layers_[i].layer;
        if (layer.kind != LayerKind::Group) {
            if (layer.mask.kind != MaskKind::None) {
                drawMaskedLayer(painter, layers_[i], group, frame);
            } else {
                drawLayer(painter, layers_[i], group, frame);
            }
            ++i;
            continue;
        }
        const size_t end = std::clamp(layer.end, i + 1, to);
        drawGroup(painter, i, end, group, frame);
        i = end;
    }
}

// A group draws its members through its own transform. Fading, it draws them on a layer of
// their own first and lays that down at its opacity, so that they fade as one picture and
// members that overlap do not show through each other.
void MovieRenderer::drawGroup(QPainter& painter, size_t index, size_t end, const QTransform& parent,
                              double frame) const {
    const Layer& layer = *layers_[index].layer;
    if (!layer.visibleAt(frame)) {
        return;
    }
    double opacity = 1.0;
    const QTransform own = groupTransformAt(layer, frame, &opacity);
    if (opacity <= 0.0 || std::abs(own.determinant()) < 1e-12) {
        return;
    }
    const QTransform group = own * parent;
    if (opacity >= 1.0) {
        drawLayers(painter, index + 1, end, group, frame);
        return;
    }
    const QPaintDevice* device = painter.device();
    QImage members(device->width(), device->height(), QImage::Format_ARGB32_Premultiplied);
    members.fill(Qt::transparent);
    QPainter inner(&members);
    inner.setRenderHints(painter.renderHints());
    drawLayers(inner, index + 1, end, group, frame);
    inner.end();
    painter.resetTransform();
    painter.setClipping(false);
    painter.setOpacity(opacity);
    painter.drawImage(0, 0, members);
}

bool MovieRenderer::sameFrames(double a, double b) const {
    if (isNull()) {
        return false;
    }
    if (a == b) {
        return true;
    }
    for (const Layer& layer : movie_->layers) {
        const bool shown = layer.visibleAt(a);
        if (shown != layer.visibleAt(b)) {
            return false;
        }
        if (!shown) {
            continue;
        }
        if (layer.kind == LayerKind::Particles) {
            return false;
        }
        for (const Track& track : layer.tracks) {
            if (!track.empty() && track.valueAt(a, 0.0) != track.valueAt(b, 0.0)) {
                return false;
            }
        }
        for (const ColorTrack& track : layer.colorTracks) {
            if (!track.empty() && track.valueAt(a, QColor()) != track.valueAt(b, QColor())) {
                return false;
            }
        }
    }
    return true;
}

QImage MovieRenderer::render(double frame) const {
    QImage image;
    render(frame, image);
    return image;
}

}  // namespace vellumo::movie
