#include "movie/movie_filters.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace vellumo::movie {

namespace {

using Matrix = std::array<double, 9>;

Matrix multiply(const Matrix& a, const Matrix& b) {
    Matrix m{};
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 3; ++column) {
            for (int k = 0; k < 3; ++k) {
                m[row * 3 + column] += a[row * 3 + k] * b[k * 3 + column];
            }
        }
    }
    return m;
}

// Applies the matrix to premultiplied pixels in 10-bit fixed point; a colour stays within its
// pixel's alpha.
void recolour(QImage& image, const Matrix& matrix) {
    std::array<int, 9> m{};
    for (size_t i = 0; i < m.size(); ++i) {
        m[i] = static_cast<int>(std::lround(matrix[i] * 1024.0));
    }
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = line[x];
            const int a = qAlpha(p);
            const int r = qRed(p);
            const int g = qGreen(p);
            const int b = qBlue(p);
            const auto channel = [&](int row) {
                const int v =
                    (m[row * 3] * r + m[row * 3 + 1] * g + m[row * 3 + 2] * b + 512) >> 10;
                return std::clamp(v, 0, a);
            };
            line[x] = qRgba(channel(0), channel(1), channel(2), a);
        }
    }
}

// One box pass over n pixels stride apart, edge pixels repeated past the ends. The radius may
// be fractional: the two pixels just past a whole radius count with its fraction, so that a
// blur that grows frame by frame grows smoothly.
void boxPass(QRgb* data, int n, int stride, double radius, std::vector<QRgb>& copy) {
    copy.resize(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) {
        copy[static_cast<size_t>(i)] = data[static_cast<ptrdiff_t>(i) * stride];
    }
    int r = static_cast<int>(radius);
    int fraction = static_cast<int>(std::lround((radius - r) * 256.0));  // of 256
    if (fraction >= 256) {
        ++r;
        fraction = 0;
    }
    const auto at = [&](int i) { return copy[static_cast<size_t>(std::clamp(i, 0, n - 1))]; };
    const auto channel = [](QRgb p, int k) {
        return k == 0 ? qAlpha(p) : k == 1 ? qRed(p) : k == 2 ? qGreen(p) : qBlue(p);
    };
    int sum[4] = {};
    for (int i = -r; i <= r; ++i) {
        for (int k = 0; k < 4; ++k) {
            sum[k] += channel(at(i), k);
        }
    }
    const int div = 256 * (2 * r + 1) + 2 * fraction;
    for (int i = 0; i < n; ++i) {
        const QRgb before = at(i - r - 1);
        const QRgb after = at(i + r + 1);
        int mean[4];
        for (int k = 0; k < 4; ++k) {
            mean[k] =
                (256 * sum[k] + fraction * (channel(before, k) + channel(after, k)) + div / 2) /
                div;
        }
        data[static_cast<ptrdiff_t>(i) * stride] = qRgba(mean[1], mean[2], mean[3], mean[0]);
        const QRgb leaving = at(i - r);
        for (int k = 0; k < 4; ++k) {
            sum[k] += channel(after, k) - channel(leaving, k);
        }
    }
}

// Three box passes each way: close to a Gaussian that reaches three radii.
void blur(QImage& image, double radius) {
    const int w = image.width();
    const int h = image.height();
    const int stride = static_cast<int>(image.bytesPerLine() / 4);
    auto* bits = reinterpret_cast<QRgb*>(image.bits());
    std::vector<QRgb> copy;
    for (int pass = 0; pass < 3; ++pass) {
        for (int y = 0; y < h; ++y) {
            boxPass(bits + static_cast<ptrdiff_t>(y) * stride, w, 1, radius, copy);
        }
        for (int x = 0; x < w; ++x) {
            boxPass(bits + x, h, stride, radius, copy);
        }
    }
}

}  // namespace

ImageFilter imageFilterAt(const LayerState& state) {
    ImageFilter filter;
    filter.blur = state.blur;
    if (state.saturation == 1.0 && state.sepia == 0.0 && state.brightness == 1.0) {
        return filter;
    }
    const double s = state.saturation;
    const Matrix saturate{0.213 + 0.787 * s, 0.715 - 0.715 * s, 0.072 - 0.072 * s,
                          0.213 - 0.213 * s, 0.715 + 0.285 * s, 0.072 - 0.072 * s,
                          0.213 - 0.213 * s, 0.715 - 0.715 * s, 0.072 + 0.928 * s};
    const double k = 1.0 - state.sepia;
    const Matrix sepia{0.393 + 0.607 * k, 0.769 - 0.769 * k, 0.189 - 0.189 * k,
                       0.349 - 0.349 * k, 0.686 + 0.314 * k, 0.168 - 0.168 * k,
                       0.272 - 0.272 * k, 0.534 - 0.534 * k, 0.131 + 0.869 * k};
    filter.matrix = multiply(sepia, saturate);
    for (double& v : filter.matrix) {
        v *= state.brightness;
    }
    filter.recolours = true;
    return filter;
}

QImage filterImage(const QImage& image, QRectF& from, const ImageFilter& filter,
                   double unitsToPixels) {
    // The box radius in pixels; three passes reach three radii.
    const double radius = filter.blur * unitsToPixels / 3.0;
    const int margin = static_cast<int>(std::ceil(3.0 * radius)) + 1;
    const QRect part =
        from.toAlignedRect().adjusted(-margin, -margin, margin, margin).intersected(image.rect());
    if (part.isEmpty()) {
        return {};
    }
    QImage out = image.copy(part);
    if (out.format() != QImage::Format_RGB32 &&
        out.format() != QImage::Format_ARGB32_Premultiplied) {
        out = out.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    }
    if (filter.recolours) {
        recolour(out, filter.matrix);
    }
    if (radius >= 0.01) {
        blur(out, radius);
    }
    from.translate(-part.topLeft());
    return out;
}

}  // namespace vellumo::movie
