#pragma once
// Small images for the analysis tests.
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

}  // namespace tarnview::test
