// Points certainly inside the circle are not tested: within m = radius/sqrt(2) - 1
// (truncated) of the centre in both directions a point is at most sqrt(2) m <= radius -
// sqrt(2) away. In a Fourier row the frequency grows with the column, so the first
// coefficient outside the circle is found by bisection and only the coefficients from
// there on are visited; the result is the same as testing every point.
#include "analysis/masks.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "analysis/frequencyRadius.h"
#include "fourier/rowFrequency.h"

namespace tarnview {

namespace {

struct Mask {
    int edge;  // 0 hard, 1 soft
    int radius;
    double mean;
};

// Half-width of the square of points certainly inside the circle.
int64_t insideHalfWidth(int radius) {
    return int64_t(std::trunc(radius / std::sqrt(2.0) - 1.0));
}

// Weight of the masking value at distance r: 0.5 + tanh(r - radius - 2)/2.
float softWeight(float r, int radius) {
    return float(0.5 + std::tanh(double(r) - radius - 2.0) / 2.0);
}

float maskedPixel(float pixel, float r, const Mask& mask) {
    if (mask.edge == 0) return double(r) + 0.5 > mask.radius ? float(mask.mean) : pixel;
    if (!(double(r) > mask.radius)) return pixel;
    const double w = softWeight(r, mask.radius);
    return float(w * mask.mean + (1.0 - w) * pixel);
}

void maskReal(Image& image, const Mask& mask) {
    const int64_t nx = image.getNx(), ny = image.getNy();
    const int64_t inside = insideHalfWidth(mask.radius);
    const int64_t innerCol = nx / 2 - 1, innerRow = ny / 2 - 1;
    for (int64_t row = 0; row < ny; row++) {
        float* line = image.getData() + row * nx;
        const float y = float(double(row) - double(ny - 1) / 2.0);
        int64_t skipFrom = nx, skipTo = nx;  // columns certainly inside: none
        if (std::abs(row - innerRow) < inside) {
            skipFrom = std::clamp<int64_t>(innerCol - inside + 1, 0, nx);
            skipTo = std::clamp<int64_t>(innerCol + inside, skipFrom, nx);
        }
        auto maskColumns = [&](int64_t from, int64_t to) {
            for (int64_t col = from; col < to; col++) {
                const float x = float(double(col) - double(nx - 1) / 2.0);
                const float r = float(std::sqrt(double(x) * x + double(y) * y));
                line[col] = maskedPixel(line[col], r, mask);
            }
        };
        maskColumns(0, skipFrom);
        maskColumns(skipTo, nx);
    }
}

// The first column from `from` on whose frequency in row frequency v exceeds radius.
int firstOutside(int from, int pairs, int v, int radius) {
    int low = from, high = pairs;
    while (low < high) {
        const int mid = low + (high - low) / 2;
        if (double(frequencyRadius(mid, v)) > radius)
            high = mid;
        else
            low = mid + 1;
    }
    return low;
}

void maskFourier(Image& image, const Mask& mask) {
    const int nx = image.getNx(), ny = image.getNy(), pairs = nx / 2;
    const int parts = (image.getFlags() & realImagFlag) ? 2 : 1;
    const int64_t inside = insideHalfWidth(mask.radius);
    for (int j = 0; j < ny; j++) {
        const int v = rowFrequency(j, ny);
        float* row = image.getData() + int64_t(j) * nx;
        const int from = std::abs(v) < inside ? int(std::min<int64_t>(inside, pairs)) : 0;
        for (int u = firstOutside(from, pairs, v, mask.radius); u < pairs; u++) {
            if (mask.edge == 0) {
                std::fill(row + 2 * u, row + 2 * u + parts, 0.0f);
                continue;
            }
            const float keep = 1.0f - softWeight(frequencyRadius(u, v), mask.radius);
            for (int p = 0; p < parts; p++) row[2 * u + p] *= keep;
        }
    }
}

}  // namespace

int maskCircle(Image& image, int edge, int radius) {
    if (radius <= 0) radius = std::min(image.getNx(), image.getNy()) / 2 - (edge != 0 ? 4 : 0);
    const Mask mask{edge, radius, image.getMeanDouble()};
    if (image.getNz() >= 1 && (edge == 0 || edge == 1)) {
        if (image.isComplex())
            maskFourier(image, mask);
        else
            maskReal(image, mask);
    }
    image.updateStatistics();
    return 1;
}

}  // namespace tarnview
