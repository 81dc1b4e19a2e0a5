#pragma once
// Small images for the analysis tests.
#include <cmath>
#include <cstdint>
#include <memory>
#include <random>
#include <vector>

#include "image/Image.h"

namespace tarnview::test {

/// An nx x ny x nz image of normal noise (mean 10, sigma 3) drawn from seed, titled
/// "frame", statistics updated.
inline std::unique_ptr<Image> noiseImage(int nx, int ny, unsigned seed, int nz = 1) {
    auto image = std::make_unique<Image>();
    image->resize(nx, ny, nz);
    std::mt19937 generator(seed);
    std::normal_distribution<float> value(10.0f, 3.0f);
    for (int64_t i = 0; i < int64_t(nx) * ny * nz; i++) image->getData()[i] = value(generator);
    image->setName("frame");
    image->updateStatistics();
    return image;
}

/// An nx x ny image of the values, statistics updated.
inline std::unique_ptr<Image> imageOf(int nx, int ny, const std::vector<float>& values) {
    auto image = std::make_unique<Image>();
    image->resize(nx, ny, 1);
    std::copy(values.begin(), values.end(), image->getData());
    image->updateStatistics();
    return image;
}

/// All nx x ny x nz values.
inline std::vector<float> valuesOf(const Image& image) {
    return std::vector<float>(image.getData(),
                              image.getData() + int64_t(image.getNx()) * image.getNy() * image.getNz());
}

/// A smooth, asymmetric image of side n: Gaussian blobs around the centre on a plateau of
/// height level (its mean is not zero unless level makes it so).
inline std::unique_ptr<Image> particle(int n, double level = 10) {
    auto image = std::make_unique<Image>();
    image->resize(n, n, 1);
    const double c = (n - 1) / 2.0, s = n / 128.0;
    for (int y = 0; y < n; y++)
        for (int x = 0; x < n; x++) {
            auto blob = [&](double dx, double dy, double width, double height) {
                const double ex = x - c - dx * s, ey = y - c - dy * s;
                return height * std::exp(-(ex * ex + ey * ey) / (2 * width * width * s * s));
            };
            image->getData()[y * n + x] = float(level + blob(25, 5, 6, 5) + blob(-10, 30, 8, 3) +
                                                blob(-20, -25, 5, 4) + blob(35, -20, 4, 2));
        }
    image->updateStatistics();
    return image;
}

}  // namespace tarnview::test
