#pragma once

// The keyframed values of a movie's layers: the easings between two keys and the tracks of
// numbers and colours that the animation reads.

#include <QColor>

#include <vector>

namespace vellumo::movie {

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

}  // namespace vellumo::movie
