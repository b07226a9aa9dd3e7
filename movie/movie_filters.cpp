#include "movie/movie_filters.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace vellumo::movie {

namespace {

// A blur of less than this deviation (pixels) does not show.
constexpr double kLeastDeviation = 0.2;

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

// A Gaussian of the deviation (pixels) as whole weights that add up to 256, reaching three
// deviations to either side.
std::vector<std::uint16_t> gaussianWeights(double deviation) {
    const int reach = std::max(1, static_cast<int>(std::ceil(3.0 * deviation)));
    std::vector<double> shape(static_cast<size_t>(2 * reach + 1));
    double total = 0.0;
    for (int i = -reach; i <= reach; ++i) {
        const double v = std::exp(-0.5 * i * i / (deviation * deviation));
        shape[static_cast<size_t>(i + reach)] = v;
        total += v;
    }
    std::vector<std::uint16_t> weights(shape.size());
    int given = 0;
    for (size_t i = 0; i < shape.size(); ++i) {
        weights[i] = static_cast<std::uint16_t>(std::lround(shape[i] / total * 256.0));
        given += weights[i];
    }
    // Rounding leaves the sum a little off 256: the middle takes the difference, so that a
    // flat colour stays exactly that colour.
    weights[static_cast<size_t>(reach)] =
        static_cast<std::uint16_t>(weights[static_cast<size_t>(reach)] + 256 - given);
    return weights;
}

// Sums of 8-bit channels times weights that add up to 256 fit 16 bits: the loops below work on
// every byte of a row alike, which the compiler turns into wide vector operations.
void weightedRow(std::uint16_t* sum, const std::uint8_t* source, std::uint16_t weight, size_t n) {
    for (size_t i = 0; i < n; ++i) {
        sum[i] = static_cast<std::uint16_t>(sum[i] + weight * source[i]);
    }
}

void storeRow(std::uint8_t* out, const std::uint16_t* sum, size_t n) {
    for (size_t i = 0; i < n; ++i) {
        out[i] = static_cast<std::uint8_t>((sum[i] + 128) >> 8);
    }
}

// One pass along each row, edge pixels repeated past the ends.
void blurRows(QImage& image, const std::vector<std::uint16_t>& weights) {
    const int reach = static_cast<int>(weights.size() / 2);
    const int w = image.width();
    const size_t bytes = static_cast<size_t>(w) * 4;
    std::vector<std::uint8_t> padded(static_cast<size_t>(w + 2 * reach) * 4);
    std::vector<std::uint16_t> sum(bytes);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        auto* pixels = reinterpret_cast<QRgb*>(padded.data());
        std::fill(pixels, pixels + reach, line[0]);
        std::copy(line, line + w, pixels + reach);
        std::fill(pixels + reach + w, pixels + 2 * reach + w, line[w - 1]);
        std::fill(sum.begin(), sum.end(), std::uint16_t{0});
        for (size_t k = 0; k < weights.size(); ++k) {
            weightedRow(sum.data(), padded.data() + k * 4, weights[k], bytes);
        }
        storeRow(reinterpret_cast<std::uint8_t*>(line), sum.data(), bytes);
    }
}

// One pass down each column: each row of the result from the rows round it.
void blurColumns(QImage& image, const std::vector<std::uint16_t>& weights) {
    const int reach = static_cast<int>(weights.size() / 2);
    const int h = image.height();
    const size_t bytes = static_cast<size_t>(image.width()) * 4;
    const QImage source = image.copy();
    std::vector<std::uint16_t> sum(bytes);
    for (int y = 0; y < h; ++y) {
        std::fill(sum.begin(), sum.end(), std::uint16_t{0});
        for (int k = -reach; k <= reach; ++k) {
            weightedRow(sum.data(), source.constScanLine(std::clamp(y + k, 0, h - 1)),
                        weights[static_cast<size_t>(k + reach)], bytes);
        }
        storeRow(image.scanLine(y), sum.data(), bytes);
    }
}

// A Gaussian blur of the deviation in pixels, one pass each way.
void blur(QImage& image, double deviation) {
    const std::vector<std::uint16_t> weights = gaussianWeights(deviation);
    blurRows(image, weights);
    blurColumns(image, weights);
}

}  // namespace

void blurImage(QImage& image, double deviation) {
    if (deviation >= kLeastDeviation && !image.isNull()) {
        blur(image, deviation);
    }
}

ImageFilter imageFilterAt(const LayerState& state) {
    ImageFilter filter;
    filter.blur = state.blur;
    if (state.saturation == 1.0 && state.sepia == 0.0 && state.brightness == 1.0 &&
        state.tint == 0.0) {
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
    // A tint gives each pixel the tint colour at the pixel's own lightness: white becomes the
    // colour, black stays black.
    const double a = state.tint;
    const double tint[3] = {state.tintColor.redF(), state.tintColor.greenF(),
                            state.tintColor.blueF()};
    constexpr double kLightness[3] = {0.2126, 0.7152, 0.0722};
    Matrix tinted{};
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 3; ++column) {
            tinted[row * 3 + column] =
                (row == column ? 1.0 - a : 0.0) + a * tint[row] * kLightness[column];
        }
    }
    filter.matrix = multiply(tinted, multiply(sepia, saturate));
    for (double& v : filter.matrix) {
        v *= state.brightness;
    }
    filter.recolours = true;
    return filter;
}

QImage filterImage(const QImage& image, QRectF& from, const ImageFilter& filter,
                   double unitsToPixels) {
    // A point spreads over about the blur's units: a Gaussian whose deviation is half of them.
    const double deviation = filter.blur * unitsToPixels * kDeviationPerBlur;
    const int margin = static_cast<int>(std::ceil(3.0 * deviation)) + 1;
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
    if (deviation >= kLeastDeviation) {
        blur(out, deviation);
    }
    from.translate(-part.topLeft());
    return out;
}

}  // namespace vellumo::movie
