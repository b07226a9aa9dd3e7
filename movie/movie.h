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

// The first line of every movie file.
inline constexpr char kMagic[] = "vellumo-movie";
inline constexpr int kFormatVersion = 1;

// Bounds that keep a hand-written or damaged file from asking for absurd work or memory.
inline constexpr qsizetype kMaxFileBytes = 4 * 1024 * 1024;
inline constexpr int kMaxFrames = 90000;  // one hour
inline constexpr int kMaxLayers = 1000;
inline constexpr int kMaxKeysPerLayer = 20000;
inline constexpr int kMaxTextLength = 10000;

enum class Easing { Linear, EaseIn, EaseOut, EaseInOut, Back, Spring, Hold };

// The share of the way from one key to the next at t in [0, 1]; 0 at 0 and 1 at 1. Back and
// spring overshoot on the way.
double ease(Easing easing, double t);

// The animated properties of a layer. Position is the layer's centre; width and height its box;
// the three scales multiply (scaleX and scaleY act on one axis, scale on both); rotation is in
// degrees clockwise about the centre; opacity and reveal run from 0 to 1.
enum class Property { X, Y, Width, Height, Scale, ScaleX, ScaleY, Rotation, Opacity, Reveal };
inline constexpr int kPropertyCount = 10;

struct Keyframe {
    int frame = 0;
    double value = 0.0;
    Easing easing = Easing::Linear;  // how the value arrives here from the previous key
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

enum class LayerKind { Image, Shape, Text };
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

    // Every kind.
    int firstFrame = 0;
    int lastFrame = INT_MAX;  // inclusive
    RevealStyle reveal = RevealStyle::FromLeft;
    int revealSlats = 8;
    Border border;
    Shadow shadow;
    std::array<Track, kPropertyCount> tracks;

    const Track& track(Property p) const { return tracks[static_cast<int>(p)]; }
    Track& track(Property p) { return tracks[static_cast<int>(p)]; }
    bool visibleAt(double frame) const {
        return frame >= firstFrame && frame < static_cast<double>(lastFrame) + 1.0;
    }
};

struct Movie {
    QString file;    // the file it was read from (may be empty)
    QString folder;  // pictures are found relative to it; ends in "/" unless empty
    QString title;
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

}  // namespace vellumo::movie
