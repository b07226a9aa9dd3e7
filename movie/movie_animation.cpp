#include "movie/movie_animation.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace vellumo::movie {

double ease(Easing easing, double t) {
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
    }
    return t;
}

Track::Track(std::vector<Keyframe> keys) : keys_(std::move(keys)) {
    std::stable_sort(keys_.begin(), keys_.end(),
                     [](const Keyframe& a, const Keyframe& b) { return a.frame < b.frame; });
}

double Track::valueAt(double frame, double fallback) const {
    if (keys_.empty()) {
        return fallback;
    }
    if (frame <= keys_.front().frame) {
        return keys_.front().value;
    }
    if (frame >= keys_.back().frame) {
        return keys_.back().value;
    }
    const auto after = std::upper_bound(
        keys_.begin(), keys_.end(), frame,
        [](double f, const Keyframe& k) { return f < static_cast<double>(k.frame); });
    const Keyframe& to = *after;
    const Keyframe& from = *(after - 1);
    const double t = (frame - from.frame) / static_cast<double>(to.frame - from.frame);
    return from.value + (to.value - from.value) * ease(to.easing, t);
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
    return s;
}

}  // namespace vellumo::movie
