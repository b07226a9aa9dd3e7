#pragma once

// A template movie: a stage of 1920 x 1080 reference units, a number of frames at 25 frames a
// second and layers in z-order (first drawn first). Each layer is a picture, a shape or a text
// whose position, size, scale, rotation, opacity and reveal follow keyframes. The text format is
// documented in docs/movie-format.md; readMovie() parses it.

#include <QByteArray>
#include <QColor>
#include <QString>
#include <QStringList>

#include <array>
#include <climits>
#include <vector>

namespace vellumo::movie {

inline constexpr double kStageWidth = 1920.0;
inline constexpr double kStageHeight = 1080.0;
inline constexpr int kFramesPerSecond = 25;
inline constexpr int kFrameIntervalMs = 1000 / kFramesPerSecond;

// The first line of every movie file: the magic word and the format version. Version 2 adds
// cubic-bezier easings, content motion inside an image's box, image filters, groups, masks,
// blend modes, particles and text outlines; a version 1 file reads and renders as it always did.
inline constexpr char kMagic[] = "vellumo-movie";
inline constexpr int kFormatVersion = 2;  // the newest version read

// Bounds that keep a hand-written or damaged file from asking for absurd work or memory.
inline constexpr qsizetype kMaxFileBytes = 4 * 1024 * 1024;
inline constexpr int kMaxFrames = 90000;  // one hour
inline constexpr int kMaxLayers = 1000;
inline constexpr int kMaxKeysPerLayer = 20000;
inline constexpr int kMaxTextLength = 10000;
inline constexpr int kMaxGroupDepth = 8;

enum class Easing { Linear, EaseIn, EaseOut, EaseInOut, Back, Spring, Hold, CubicBezier };

// The control points of a cubic Bezier easing, as in cubic-bezier(x1, y1, x2, y2): the curve
// runs from (0, 0) to (1, 1); x is time and lies within 0 to 1, y is the share of the way.
struct Bezier {
    double x1 = 0.0;
    double y1 = 0.0;
    double x2 = 1.0;
    double y2 = 1.0;
};

// The share of the way from one key to the next at t in [0, 1]; 0 at 0 and 1 at 1. Back and
// spring overshoot on the way. A cubic Bezier easing needs its curve.
double ease(Easing easing, double t, const Bezier& curve = {});
// The y of the curve where its x is t.
double cubicBezier(const Bezier& curve, double t);

// The animated properties of a layer. Position is the layer's centre; width and height its box;
// the three scales multiply (scaleX and scaleY act on one axis, scale on both); rotation is in
// degrees clockwise about the centre; opacity and reveal run from 0 to 1. The content ones move
// a picture inside its box: the zoom over the picture's size at rest, and the point of the
// picture (as fractions of its width and height) at the middle of the box. The filters change
// an image's picture: blur (reference units), brightness and saturation (1 leaves the picture
// as it is; saturation 0 is grey) and sepia (0 none to 1 wholly).
enum class Property {
    X,
    Y,
    Width,
    Height,
    Scale,
    ScaleX,
    ScaleY,
    Rotation,
    Opacity,
    Reveal,
    ContentScale,
    ContentX,
    ContentY,
    Blur,
    Brightness,
    Saturation,
    Sepia,
    Tint,
    MaskX,
    MaskY,
    MaskWidth,
    MaskHeight,
    MaskRotation,
    MaskSoft,
};
inline constexpr int kPropertyCount = 24;

// Properties whose values are colours: a text's colour and the colour of its outline, and the
// colour an image is tinted in.
enum class ColorProperty { Text, Stroke, Tint };
inline constexpr int kColorPropertyCount = 3;

struct Keyframe {
    int frame = 0;
    double value = 0.0;
    Easing easing = Easing::Linear;  // how the value arrives here from the previous key
    Bezier curve;                    // for Easing::CubicBezier
};

// Keys of one property, sorted by frame. Before the first key the first value holds, after the
// last key the last value.
class Track {
public:
    Track() = default;
    // The keys must not share a frame; they are sorted here.
    explicit Track(std::vector<Keyframe> keys);
    bool empty() const { return keys_.empty(); }
    const std::vector<Keyframe>& keys() const { return keys_; }
    double valueAt(double frame, double fallback) const;

private:
    std::vector<Keyframe> keys_;
};

struct ColorKey {
    int frame = 0;
    QColor value;
    Easing easing = Easing::Linear;
    Bezier curve;
};

// Keys of a colour, sorted by frame; between two keys each channel (and the opacity) moves
// from one value to the next.
class ColorTrack {
public:
    ColorTrack() = default;
    explicit ColorTrack(std::vector<ColorKey> keys);
    bool empty() const { return keys_.empty(); }
    const std::vector<ColorKey>& keys() const { return keys_; }
    QColor valueAt(double frame, const QColor& fallback) const;

private:
    std::vector<ColorKey> keys_;
};

// A group holds the layers that follow it up to its "end"; they move, scale, turn and fade with
// it as one. A particle layer scatters petals, snow, bokeh dots or sparkles over its box.
enum class LayerKind { Image, Shape, Text, Group, Particles };
enum class ShapeKind { Rectangle, Ellipse };
enum class FillKind { Solid, Linear, Radial };
enum class Fit { Cover, Contain, Stretch };
enum class TextAlign { Left, Center, Right };

// How a layer appears as its reveal runs from 0 (hidden) to 1 (whole).
enum class RevealStyle {
    FromLeft,
    FromRight,
    FromTop,
    FromBottom,
    SplitHorizontal,  // opens from the vertical centre line towards left and right
    SplitVertical,    // opens from the horizontal centre line towards top and bottom
    Iris,             // a circle growing from the centre
    Clock,            // a hand sweeping clockwise from twelve o'clock
    Blinds,           // horizontal slats opening downwards
    BlindsVertical,   // vertical slats opening to the right
    Characters,       // a text's characters, one after another
};

// How a layer's pixels combine with what lies under it.
enum class BlendMode { Normal, Screen, Multiply, Overlay };

// A shape or a picture's alpha that clips a layer; its place, size, turn and soft edge are the
// layer's mask properties.
enum class MaskKind { None, Rectangle, Ellipse, Picture };

struct Mask {
    MaskKind kind = MaskKind::None;
    double radius = 0.0;  // corners of a rectangle, reference units
    QString picture;      // MaskKind::Picture: relative to the movie's folder
};

enum class ParticleKind { Petals, Snow, Bokeh, Sparkles };

struct ParticleRange {
    double low = 0.0;
    double high = 0.0;
};

// What a particle layer emits: count particles at a time, each with a size (reference units),
// a speed downwards and a drift to the right (units a second; negative goes up or left) and a
// lifetime (seconds) drawn from the ranges by the seed, and one of the colours.
struct Emitter {
    ParticleKind kind = ParticleKind::Petals;
    quint32 seed = 1;
    int count = 40;
    ParticleRange size;
    ParticleRange speed;
    ParticleRange drift;
    ParticleRange lifetime;
    std::vector<QColor> colors;
};

// The look a kind of particle has unless the movie says otherwise.
Emitter defaultEmitter(ParticleKind kind);

inline constexpr int kMaxParticles = 2000;

// A text's outline, WIDTH units outside its letters.
struct Stroke {
    double width = 0.0;
    QColor color = Qt::black;
};

struct GradientStop {
    double position = 0.0;  // 0 to 1
    QColor color;
};

struct Fill {
    FillKind kind = FillKind::Solid;
    double angle = 0.0;               // linear: direction in degrees, 0 = left to right
    std::vector<GradientStop> stops;  // solid: one stop
};

struct Border {
    double width = 0.0;  // reference units, outside the layer's box
    QColor color = Qt::white;
};

struct Shadow {
    bool enabled = false;
    double dx = 0.0, dy = 0.0;  // offset on the stage, reference units
    double blur = 0.0;          // blur radius, reference units
    QColor color = QColor(0, 0, 0, 128);
};

struct Layer {
    LayerKind kind = LayerKind::Image;
    QString name;
    int line = 0;  // where the layer starts in its file

    // Image: the picture file relative to the movie's folder, with "/" separators.
    QString picture;
    Fit fit = Fit::Cover;

    // Shape.
    ShapeKind shape = ShapeKind::Rectangle;
    double radius = 0.0;  // corner radius of a rectangle, reference units
    Fill fill;

    // Text.
    QString text;
    QString fontFamily;
    double fontSize = 60.0;  // reference units (pixels of the 1920 x 1080 stage)
    QColor textColor = Qt::white;
    bool bold = false;
    bool italic = false;
    TextAlign align = TextAlign::Center;
    double wrapWidth = 0.0;  // 0: one line per written line
    Stroke stroke;

    // Particles.
    Emitter emitter;

    // Group: the point of its layers' space that lands on the group's x and y, about which it
    // turns and scales.
    double anchorX = kStageWidth / 2.0;
    double anchorY = kStageHeight / 2.0;

    // Every kind.
    int parent = -1;  // the index of the group the layer lies in, -1 at the top
    size_t end = 0;   // one past the index of the layer's last member (itself for a non-group)
    int firstFrame = 0;
    int lastFrame = INT_MAX;  // inclusive
    RevealStyle reveal = RevealStyle::FromLeft;
    int revealSlats = 8;
    Border border;
    Shadow shadow;
    BlendMode blend = BlendMode::Normal;
    Mask mask;
    std::array<Track, kPropertyCount> tracks;
    std::array<ColorTrack, kColorPropertyCount> colorTracks;

    const Track& track(Property p) const { return tracks[static_cast<int>(p)]; }
    Track& track(Property p) { return tracks[static_cast<int>(p)]; }
    const ColorTrack& colorTrack(ColorProperty p) const { return colorTracks[static_cast<int>(p)]; }
    ColorTrack& colorTrack(ColorProperty p) { return colorTracks[static_cast<int>(p)]; }
    // Whether the picture is filtered at some frame.
    bool filtered() const {
        return !track(Property::Blur).empty() || !track(Property::Brightness).empty() ||
               !track(Property::Saturation).empty() || !track(Property::Sepia).empty() ||
               !track(Property::Tint).empty();
    }
    // Whether a text is drawn with an outline, a changing colour or character by character.
    bool richText() const {
        return kind == LayerKind::Text &&
               (stroke.width > 0.0 || reveal == RevealStyle::Characters ||
                !colorTrack(ColorProperty::Text).empty() ||
                !colorTrack(ColorProperty::Stroke).empty());
    }
    // Whether the picture moves inside its box.
    bool movesContent() const {
        return !track(Property::ContentScale).empty() || !track(Property::ContentX).empty() ||
               !track(Property::ContentY).empty();
    }
    bool visibleAt(double frame) const {
        return frame >= firstFrame && frame < static_cast<double>(lastFrame) + 1.0;
    }
};

struct Movie {
    QString file;    // the file it was read from (may be empty)
    QString folder;  // pictures are found relative to it; ends in "/" unless empty
    QString title;
    int version = 1;  // the format version the file declares
    int frames = 0;
    bool loop = false;
    QColor background = Qt::black;
    std::vector<Layer> layers;

    // The picture files the layers name, each once, in layer order, as written.
    QStringList pictures() const;
    // The full path of a picture named by a layer.
    QString picturePath(const QString& picture) const;
};

// Parses movie text. Throws FileError(file, "第 N 行：…") when the text is not a valid movie.
Movie parseMovie(const QByteArray& bytes, const QString& file);
// Reads and parses a movie file; pictures are found relative to its folder.
Movie readMovie(const QString& path);

// The names the format uses, for tools and messages.
QString easingName(Easing easing);
QString propertyName(Property property);
QString revealStyleName(RevealStyle style);
QString colorPropertyName(ColorProperty property);

}  // namespace vellumo::movie
