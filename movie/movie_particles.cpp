#include "movie/movie_particles.h"

#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>

namespace vellumo::movie {

namespace {

// A small generator of evenly spread numbers from a 64-bit state (splitmix64): the same seed
// always gives the same numbers, on every machine.
class Random {
public:
    explicit Random(std::uint64_t seed) : state_(seed) {}
    double next() {  // in [0, 1)
        state_ += 0x9E3779B97F4A7C15ull;
        std::uint64_t z = state_;
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        z ^= z >> 31;
        return static_cast<double>(z >> 11) / static_cast<double>(std::uint64_t{1} << 53);
    }
    double in(const ParticleRange& r) { return r.low + (r.high - r.low) * next(); }

private:
    std::uint64_t state_;
};

std::uint64_t mix(std::uint64_t seed, std::uint64_t particle, std::uint64_t life) {
    return seed * 0x100000001B3ull ^ (particle << 24) ^ (life * 0x2545F4914F6CDD1Dull);
}

// How much of a particle shows at the share of its life: it fades in and out, a sparkle
// twinkles once.
double envelope(ParticleKind kind, double share) {
    if (kind == ParticleKind::Sparkles) {
        return std::sin(std::numbers::pi * share);
    }
    const double in = std::clamp(share / 0.15, 0.0, 1.0);
    const double out = std::clamp((1.0 - share) / 0.25, 0.0, 1.0);
    return std::min(in, out);
}

}  // namespace

std::vector<Particle> particlesAt(const Emitter& emitter, double frame, QSizeF box) {
    std::vector<Particle> particles;
    particles.reserve(static_cast<size_t>(emitter.count));
    const double t = frame / kFramesPerSecond;
    const auto seed = static_cast<std::uint64_t>(emitter.seed);
    for (int i = 0; i < emitter.count; ++i) {
        const auto n = static_cast<std::uint64_t>(i);
        // Each particle keeps its lifetime and its place in the cycle of lives; a new life
        // begins where the last one ended, with numbers of its own.
        Random slot(mix(seed, n, 0));
        const double lifetime = std::max(0.04, slot.in(emitter.lifetime));
        const double lived = t + slot.next() * lifetime;
        const double life = std::floor(lived / lifetime);
        const double age = lived - life * lifetime;
        Random r(mix(seed, n, static_cast<std::uint64_t>(life) + 1));
        Particle p;
        const double startX = (r.next() - 0.5) * box.width();
        const double startY = (r.next() - 0.5) * box.height();
        const double speed = r.in(emitter.speed);
        const double drift = r.in(emitter.drift);
        p.size = r.in(emitter.size);
        const double spin = (r.next() * 2.0 - 1.0) * 120.0;  // degrees a second
        const double phase = r.next() * 2.0 * std::numbers::pi;
        p.color = static_cast<int>(r.next() * static_cast<double>(emitter.colors.size()));
        p.color = std::clamp(p.color, 0, static_cast<int>(emitter.colors.size()) - 1);
        p.x = startX + drift * age;
        p.y = startY + speed * age;
        if (emitter.kind == ParticleKind::Petals || emitter.kind == ParticleKind::Snow) {
            // Falling things sway from side to side.
            p.x += p.size * 1.5 * std::sin(phase + age * 1.7);
        }
        p.rotation = emitter.kind == ParticleKind::Petals ? phase * 57.29577951 + spin * age : 0.0;
        p.opacity = envelope(emitter.kind, age / lifetime);
        if (emitter.kind == ParticleKind::Sparkles) {
            p.size *= 0.3 + 0.7 * p.opacity;
            p.rotation = spin * age * 0.5;
        }
        if (p.opacity > 0.0 && p.size > 0.0) {
            particles.push_back(p);
        }
    }
    return particles;
}

QImage particleSprite(ParticleKind kind, const QColor& color, int side) {
    side = std::max(side, 4);
    QImage sprite(side, side, QImage::Format_ARGB32_Premultiplied);
    sprite.fill(Qt::transparent);
    QPainter painter(&sprite);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(side / 2.0, side / 2.0);
    painter.translate(1.0, 1.0);  // the sprite spans -1 to 1
    painter.setPen(Qt::NoPen);
    QColor clear = color;
    clear.setAlpha(0);
    switch (kind) {
        case ParticleKind::Petals: {
            // A petal: round at its tip, narrowing to its base, a little lighter in the middle.
            QPainterPath petal;
            petal.moveTo(0.0, 0.95);
            petal.cubicTo(-0.9, 0.4, -0.7, -0.9, -0.12, -0.95);
            petal.lineTo(0.0, -0.8);
            petal.lineTo(0.12, -0.95);
            petal.cubicTo(0.7, -0.9, 0.9, 0.4, 0.0, 0.95);
            QRadialGradient g(QPointF(0.0, -0.1), 1.1);
            g.setColorAt(0.0, color.lighter(112));
            g.setColorAt(1.0, color);
            painter.fillPath(petal, g);
            break;
        }
        case ParticleKind::Snow: {
            QRadialGradient g(QPointF(0.0, 0.0), 1.0);
            g.setColorAt(0.0, color);
            g.setColorAt(0.45, color);
            g.setColorAt(1.0, clear);
            painter.setBrush(g);
            painter.drawEllipse(QPointF(0.0, 0.0), 1.0, 1.0);
            break;
        }
        case ParticleKind::Bokeh: {
            // A soft disc, a little brighter towards its rim, as out-of-focus lights look.
            QColor inner = color;
            inner.setAlphaF(color.alphaF() * 0.55);
            QRadialGradient g(QPointF(0.0, 0.0), 1.0);
            g.setColorAt(0.0, inner);
            g.setColorAt(0.8, color);
            g.setColorAt(0.9, color);
            g.setColorAt(1.0, clear);
            painter.setBrush(g);
            painter.drawEllipse(QPointF(0.0, 0.0), 1.0, 1.0);
            break;
        }
        case ParticleKind::Sparkles: {
            // A four-pointed star over a faint glow.
            QColor glow = color;
            glow.setAlphaF(color.alphaF() * 0.35);
            QRadialGradient g(QPointF(0.0, 0.0), 0.6);
            g.setColorAt(0.0, glow);
            g.setColorAt(1.0, clear);
            painter.setBrush(g);
            painter.drawEllipse(QPointF(0.0, 0.0), 0.6, 0.6);
            QPainterPath star;
            star.moveTo(0.0, -1.0);
            star.quadTo(0.08, -0.08, 1.0, 0.0);
            star.quadTo(0.08, 0.08, 0.0, 1.0);
            star.quadTo(-0.08, 0.08, -1.0, 0.0);
            star.quadTo(-0.08, -0.08, 0.0, -1.0);
            painter.fillPath(star, color);
            break;
        }
    }
    painter.end();
    return sprite;
}

}  // namespace vellumo::movie
