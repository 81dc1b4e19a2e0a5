#pragma once
// Test images for the correlation and alignment suites, computed in double from formulas
// so that their shifted versions are known exactly.
#include <cmath>
#include <functional>
#include <memory>
#include <random>
#include <vector>

#include "image/Image.h"

namespace tarnview::test {

/// An nx x ny image of f(x, y), statistics updated.
inline std::unique_ptr<Image> imageOf(int nx, int ny, const std::function<double(int, int)>& f) {
    auto image = std::make_unique<Image>();
    image->resize(nx, ny, 1);
    for (int y = 0; y < ny; y++)
        for (int x = 0; x < nx; x++) image->getData()[y * nx + x] = float(f(x, y));
    image->updateStatistics();
    return image;
}

/// A band-limited periodic image: a sum of cosines of random amplitude and phase over
/// the frequencies |kx| < nx/2, |ky| < ny/2 up to a radius, plus an offset. Moved by
/// (tx, ty) pixels (content at (x, y) goes to (x + tx, y + ty)) when asked.
struct CosineImage {
    struct Wave {
        int kx, ky;
        double amplitude, phase;
    };
    int nx, ny;
    double offset;
    std::vector<Wave> waves;

    CosineImage(int nx_, int ny_, unsigned seed, double offset_ = 0, int radius = 6)
        : nx(nx_), ny(ny_), offset(offset_) {
        std::mt19937 generator(seed);
        std::uniform_real_distribution<double> uniform(0.0, 1.0);
        const int rx = std::min(radius, (nx - 1) / 2), ry = std::min(radius, (ny - 1) / 2);
        for (int ky = -ry; ky <= ry; ky++)
            for (int kx = 0; kx <= rx; kx++)
                if ((kx > 0 || ky > 0) && kx * kx + ky * ky <= radius * radius)
                    waves.push_back({kx, ky, 0.2 + uniform(generator), 2 * M_PI * uniform(generator)});
    }

    double at(double x, double y) const {
        double sum = offset;
        for (const Wave& w : waves)
            sum += w.amplitude * std::cos(2 * M_PI * (w.kx * x / nx + w.ky * y / ny) + w.phase);
        return sum;
    }

    std::unique_ptr<Image> moved(double tx, double ty) const {
        return imageOf(nx, ny, [&](int x, int y) { return at(x - tx, y - ty); });
    }
};

/// The sum over x of a(x) b(x - s) (conjugate) or a(x) b(s - x), circular, in double.
inline std::vector<double> directCorrelation(const Image& a, const Image& b, bool conjugate) {
    const int nx = a.getNx(), ny = a.getNy();
    std::vector<double> c(size_t(nx) * ny, 0.0);
    for (int sy = 0; sy < ny; sy++)
        for (int sx = 0; sx < nx; sx++)
            for (int y = 0; y < ny; y++)
                for (int x = 0; x < nx; x++) {
                    const int bx = conjugate ? x - sx : sx - x, by = conjugate ? y - sy : sy - y;
                    c[size_t(sy) * nx + sx] += double(a.getData()[y * nx + x]) *
                                               b.getData()[((by % ny + ny) % ny) * nx + (bx % nx + nx) % nx];
                }
    return c;
}

/// Largest absolute difference between the first sections of two images of equal size.
inline double largestDifference(const Image& a, const Image& b) {
    double d = 0;
    for (int i = 0; i < a.getNx() * a.getNy(); i++)
        d = std::max(d, std::fabs(double(a.getData()[i]) - b.getData()[i]));
    return d;
}

/// The circular distance from a to b, in -n/2 ... n/2.
inline double wrapped(double d, int n) {
    return d - n * std::round(d / n);
}

}  // namespace tarnview::test
