#include "movie/movie_filters.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
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

// The radius of a box pass as whole pixels and a fraction of 256: the two pixels just past the
// whole radius count with the fraction, so that a blur that grows frame by frame grows smoothly.
struct BoxRadius {
    int whole;
    int fraction;
    int divisor;  // the weight of the whole box, 256 a pixel
    // 2^32 / divisor: dividing by multiplying costs a fraction of a division.
    std::uint64_t reciprocal;
};

BoxRadius boxRadius(double radius) {
    BoxRadius r{static_cast<int>(radius), 0, 0, 0};
    r.fraction = static_cast<int>(std::lround((radius - r.whole) * 256.0));
    if (r.fraction >= 256) {
        ++r.whole;
        r.fraction = 0;
    }
    r.divisor = 256 * (2 * r.whole + 1) + 2 * r.fraction;
    r.reciprocal = ((std::uint64_t{1} << 32) + static_cast<std::uint64_t>(r.divisor) - 1) /
                   static_cast<std::uint64_t>(r.divisor);
    return r;
}

// The mean of a box from the sum of its whole pixels and of the two pixels past them.
int weighted(int sum, int edges, const BoxRadius& r) {
    const auto weight = static_cast<std::uint64_t>(256 * sum + r.fraction * edges);
    return static_cast<int>(
        std::min<std::uint64_t>((weight * r.reciprocal + (std::uint64_t{1} << 31)) >> 32, 255));
}

// One box pass along each row, edge pixels repeated past the ends.
void boxRows(QImage& image, const BoxRadius& r) {
    const int w = image.width();
    const int pad = r.whole + 1;
    // The row's channels with its edge pixels repeated pad times on either side.
    std::vector<int> channels(static_cast<size_t>(w + 2 * pad) * 4);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int i = 0; i < w + 2 * pad; ++i) {
            const QRgb p = line[std::clamp(i - pad, 0, w - 1)];
            int* c = &channels[static_cast<size_t>(i) * 4];
            c[0] = qAlpha(p);
            c[1] = qRed(p);
            c[2] = qGreen(p);
            c[3] = qBlue(p);
        }
        int sum[4] = {};
        for (int i = pad - r.whole; i <= pad + r.whole; ++i) {
            for (int k = 0; k < 4; ++k) {
                sum[k] += channels[static_cast<size_t>(i) * 4 + static_cast<size_t>(k)];
            }
        }
        for (int x = 0; x < w; ++x) {
            const int* before = &channels[static_cast<size_t>(x + pad - r.whole - 1) * 4];
            const int* first = before + 4;
            const int* after = &channels[static_cast<size_t>(x + pad + r.whole + 1) * 4];
            int v[4];
            for (int k = 0; k < 4; ++k) {
                v[k] = weighted(sum[k], before[k] + after[k], r);
                sum[k] += after[k] - first[k];
            }
            line[x] = qRgba(v[1], v[2], v[3], v[0]);
        }
    }
}

// One box pass down each column, row by row so that memory is read in order.
void boxColumns(QImage& image, const BoxRadius& r) {
    const int w = image.width();
    const int h = image.height();
    const QImage source = image.copy();
    const auto row = [&](int y) {
        return reinterpret_cast<const QRgb*>(source.constScanLine(std::clamp(y, 0, h - 1)));
    };
    std::vector<int> sum(static_cast<size_t>(w) * 4, 0);
    const auto add = [&](const QRgb* line, int sign) {
        for (int x = 0; x < w; ++x) {
            int* s = &sum[static_cast<size_t>(x) * 4];
            s[0] += sign * qAlpha(line[x]);
            s[1] += sign * qRed(line[x]);
            s[2] += sign * qGreen(line[x]);
            s[3] += sign * qBlue(line[x]);
        }
    };
    for (int y = -r.whole; y <= r.whole; ++y) {
        add(row(y), 1);
    }
    for (int y = 0; y < h; ++y) {
        const QRgb* before = row(y - r.whole - 1);
        const QRgb* after = row(y + r.whole + 1);
        auto* out = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < w; ++x) {
            const int* s = &sum[static_cast<size_t>(x) * 4];
            out[x] = qRgba(weighted(s[1], qRed(before[x]) + qRed(after[x]), r),
                           weighted(s[2], qGreen(before[x]) + qGreen(after[x]), r),
                           weighted(s[3], qBlue(before[x]) + qBlue(after[x]), r),
                           weighted(s[0], qAlpha(before[x]) + qAlpha(after[x]), r));
        }
        add(after, 1);
        add(row(y - r.whole), -1);
    }
}

// Three box passes each way: close to a Gaussian that reaches three radii.
void blur(QImage& image, double radius) {
    const BoxRadius r = boxRadius(radius);
    for (int pass = 0; pass < 3; ++pass) {
        boxRows(image, r);
        boxColumns(image, r);
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
