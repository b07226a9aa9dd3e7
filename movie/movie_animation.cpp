#include "movie/movie_animation.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace vellumo::movie {

double cubicBezier(const Bezier& curve, double t) {
    t = std::clamp(t, 0.0, 1.0);
    if (t <= 0.0 || t >= 1.0) {
        return t;
    }
    // Coefficients of x(s) and y(s) for s in [0, 1].
    const double cx = 3.0 * curve.x1;
    const double bx = 3.0 * (curve.x2 - curve.x1) - cx;
    const double ax = 1.0 - cx - bx;
    const double cy = 3.0 * curve.y1;
    const double by = 3.0 * (curve.y2 - curve.y1) - cy;
    const double ay = 1.0 - cy - by;
    const auto x = [&](double s) { return ((ax * s + bx) * s + cx) * s; };
    // With x1 and x2 within 0 to 1, x(s) never falls: Newton's method finds s fast where the
    // slope allows, halving the interval finds it always.
    double s = t;
    for (int i = 0; i < 8; ++i) {
        const double error = x(s) - t;
        if (std::abs(error) < 1e-9) {
            return ((ay * s + by) * s + cy) * s;
        }
        const double slope = (3.0 * ax * s + 2.0 * bx) * s + cx;
        if (std::abs(slope) < 1e-6) {
            break;
        }
        s -= error / slope;
        if (s < 0.0 || s > 1.0) {
            break;
        }
    }
    double low = 0.0;
    double high = 1.0;
    s = t;
    for (int i = 0; i < 60; ++i) {
        s = (low + high) / 2.0;
        const double v = x(s);
        if (std::abs(v - t) < 1e-9) {
            break;
        }
        (v < t ? low : high) = s;
    }
    return ((ay * s + by) * s + cy) * s;
}

double ease(Easing easing, double t, const Bezier& curve) {
    t = std::clamp(t, 0.0, 1.0);
    switch (easing) {
        case Easing::Linear:
            return t;
        case Easing::EaseIn:
            return t * t * t;
        case Easing::EaseOut: {
            const double u = 1.0 - t;
            return 1.0 - u * u * u;
        }
        case Easing::EaseInOut: {
            if (t < 0.5) {
                return 4.0 * t * t * t;
            }
            const double u = -2.0 * t + 2.0;
            return 1.0 - u * u * u / 2.0;
        }
        case Easing::Back: {
            // Runs about 10 % past the target and settles back.
            constexpr double c1 = 1.70158;
            constexpr double c3 = c1 + 1.0;
            const double u = t - 1.0;
            return 1.0 + c3 * u * u * u + c1 * u * u;
        }
        case Easing::Spring: {
            // A damped swing around the target: two visible overshoots, exact at both ends.
            return 1.0 - std::exp(-6.0 * t) * std::cos(4.0 * std::numbers::pi * t) * (1.0 - t);
        }
        case Easing::Hold:
            return t < 1.0 ? 0.0 : 1.0;
        case Easing::CubicBezier:
            return cubicBezier(curve, t);
    }
    return t;
}

namespace {

// The keys around a frame: before the first key and after the last one key alone (from and to
// the same), else the two keys about it and how far the value has come, eased as the later key
// arrives.
template <class Key>
struct KeySpan {
    const Key* from = nullptr;
    const Key* to = nullptr;
    double share = 0.0;
};

template <class Key>
KeySpan<Key> spanAt(const std::vector<Key>& keys, double frame) {
    if (frame <= keys.front().frame) {
        return {&keys.front(), &keys.front()};
    }
    if (frame >= keys.back().frame) {
        return {&keys.back(), &keys.back()};
    }
    const auto after =
        std::upper_bound(keys.begin(), keys.end(), frame,
                         [](double f, const Key& k) { return f < static_cast<double>(k.frame); });
    const Key& to = *after;
    const Key& from = *(after - 1);
    const double t = (frame - from.frame) / static_cast<double>(to.frame - from.frame);
    return {&from, &to, ease(to.easing, t, to.curve)};
}

}  // namespace

Track::Track(std::vector<Keyframe> keys) : keys_(std::move(keys)) {
    std::stable_sort(keys_.begin(), keys_.end(),
                     [](const Keyframe& a, const Keyframe& b) { return a.frame < b.frame; });
}

double Track::valueAt(double frame, double fallback) const {
    if (keys_.empty()) {
        return fallback;
    }
    const KeySpan<Keyframe> span = spanAt(keys_, frame);
    if (span.from == span.to) {
        return span.from->value;
    }
    return span.from->value + (span.to->value - span.from->value) * span.share;
}

ColorTrack::ColorTrack(std::vector<ColorKey> keys) : keys_(std::move(keys)) {
    std::stable_sort(keys_.begin(), keys_.end(),
                     [](const ColorKey& a, const ColorKey& b) { return a.frame < b.frame; });
}

QColor ColorTrack::valueAt(double frame, const QColor& fallback) const {
    if (keys_.empty()) {
        return fallback;
    }
    const KeySpan<ColorKey> span = spanAt(keys_, frame);
    if (span.from == span.to) {
        return span.from->value;
    }
    const QColor& from = span.from->value;
    const QColor& to = span.to->value;
    // Overshooting curves stay within each channel's range.
    const auto channel = [share = span.share](int a, int b) {
        return std::clamp(static_cast<int>(std::lround(a + (b - a) * share)), 0, 255);
    };
    return QColor(channel(from.red(), to.red()), channel(from.green(), to.green()),
                  channel(from.blue(), to.blue()), channel(from.alpha(), to.alpha()));
}

LayerState layerStateAt(const Layer& layer, double frame, QSizeF natural) {
    LayerState s;
    s.x = layer.track(Property::X).valueAt(frame, kStageWidth / 2.0);
    s.y = layer.track(Property::Y).valueAt(frame, kStageHeight / 2.0);
    const Track& w = layer.track(Property::Width);
    const Track& h = layer.track(Property::Height);
    const bool keepAspect =
        layer.kind == LayerKind::Image && natural.width() > 0.0 && natural.height() > 0.0;
    if (!w.empty() && h.empty() && keepAspect) {
        s.width = w.valueAt(frame, 0.0);
        s.height = s.width * natural.height() / natural.width();
    } else if (w.empty() && !h.empty() && keepAspect) {
        s.height = h.valueAt(frame, 0.0);
        s.width = s.height * natural.width() / natural.height();
    } else {
        s.width = w.valueAt(frame, natural.width());
        s.height = h.valueAt(frame, natural.height());
    }
    const double scale = layer.track(Property::Scale).valueAt(frame, 1.0);
    s.scaleX = scale * layer.track(Property::ScaleX).valueAt(frame, 1.0);
    s.scaleY = scale * layer.track(Property::ScaleY).valueAt(frame, 1.0);
    s.rotation = layer.track(Property::Rotation).valueAt(frame, 0.0);
    // Back and spring curves overshoot; opacity and reveal stay within their range.
    s.opacity = std::clamp(layer.track(Property::Opacity).valueAt(frame, 1.0), 0.0, 1.0);
    s.reveal = std::clamp(layer.track(Property::Reveal).valueAt(frame, 1.0), 0.0, 1.0);
    s.width = std::max(0.0, s.width);
    s.height = std::max(0.0, s.height);
    s.contentScale = std::clamp(layer.track(Property::ContentScale).valueAt(frame, 1.0),
                                kMinContentScale, 100.0);
    s.contentX = std::clamp(layer.track(Property::ContentX).valueAt(frame, 0.5), 0.0, 1.0);
    s.contentY = std::clamp(layer.track(Property::ContentY).valueAt(frame, 0.5), 0.0, 1.0);
    // Overshooting curves keep the filters within what they mean.
    s.blur = std::max(0.0, layer.track(Property::Blur).valueAt(frame, 0.0));
    s.brightness = std::max(0.0, layer.track(Property::Brightness).valueAt(frame, 1.0));
    s.saturation = std::max(0.0, layer.track(Property::Saturation).valueAt(frame, 1.0));
    s.sepia = std::clamp(layer.track(Property::Sepia).valueAt(frame, 0.0), 0.0, 1.0);
    s.tint = std::clamp(layer.track(Property::Tint).valueAt(frame, 0.0), 0.0, 1.0);
    // A mask without keys lies over the layer's box.
    s.maskX = layer.track(Property::MaskX).valueAt(frame, s.x);
    s.maskY = layer.track(Property::MaskY).valueAt(frame, s.y);
    s.maskWidth = std::max(0.0, layer.track(Property::MaskWidth).valueAt(frame, s.width));
    s.maskHeight = std::max(0.0, layer.track(Property::MaskHeight).valueAt(frame, s.height));
    s.maskRotation = layer.track(Property::MaskRotation).valueAt(frame, 0.0);
    s.maskSoft = std::max(0.0, layer.track(Property::MaskSoft).valueAt(frame, 0.0));
    s.textColor = layer.colorTrack(ColorProperty::Text).valueAt(frame, layer.textColor);
    s.strokeColor = layer.colorTrack(ColorProperty::Stroke).valueAt(frame, layer.stroke.color);
    s.tintColor = layer.colorTrack(ColorProperty::Tint).valueAt(frame, QColor(255, 255, 255));
    return s;
}

QTransform groupTransformAt(const Layer& group, double frame, double* opacity) {
    const double x = group.track(Property::X).valueAt(frame, group.anchorX);
    const double y = group.track(Property::Y).valueAt(frame, group.anchorY);
    const double scale = group.track(Property::Scale).valueAt(frame, 1.0);
    QTransform t;
    t.translate(x, y);
    t.rotate(group.track(Property::Rotation).valueAt(frame, 0.0));
    t.scale(scale * group.track(Property::ScaleX).valueAt(frame, 1.0),
            scale * group.track(Property::ScaleY).valueAt(frame, 1.0));
    t.translate(-group.anchorX, -group.anchorY);
    if (opacity) {
        *opacity = std::clamp(group.track(Property::Opacity).valueAt(frame, 1.0), 0.0, 1.0);
    }
    return t;
}

}  // namespace vellumo::movie
