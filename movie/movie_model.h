#pragma once

// A template movie: a stage of 1920 x 1080 reference units, a number of frames at 25 frames a
// second and layers in z-order (first drawn first). Each layer is a picture, a shape or a text
// whose position, size, scale, rotation, opacity and reveal follow keyframes. The text format is
// documented in docs/movie-format.md; movie_parser.h reads it.

#include <QColor>
#include <QString>
#include <QStringList>

#include <array>
#include <climits>
#include <vector>

#include "movie/movie_tracks.h"

namespace vellumo::movie {

inline constexpr double kStageWidth = 1920.0;
inline constexpr double kStageHeight = 1080.0;
inline constexpr int kFramesPerSecond = 25;
inline constexpr int kFrameIntervalMs = 1000 / kFramesPerSecond;

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

}  // namespace vellumo::movie
