#include "analysis/averaging.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "analysis/analysisMessages.h"
#include "fourier/amplitudePhase.h"
#include "fourier/fftSizes.h"
#include "fourier/imageFourier.h"
#include "image/sampleBuffer.h"

namespace tarnview {

namespace {

struct SamplesRelease {
    void operator()(float* samples) const { releaseSamples(samples); }
};
using Samples = std::unique_ptr<float[], SamplesRelease>;

constexpr int chunkPairs = 256;  // pairs converted at a time by the complex mean

// The images of list when it holds at least two, none null, each of the first one's nx
// and ny and holding a first section; empty otherwise.
std::vector<const Image*> sameSizeImages(const ImageList* list) {
    std::vector<const Image*> images;
    if (count(list) < 2) return images;
    for (int k = 0; k < count(list); k++) {
        const Image* item = imageAt(list, k);
        if (item == nullptr || item->getNz() < 1 || item->getNx() != imageAt(list, 0)->getNx() ||
            item->getNy() != imageAt(list, 0)->getNy())
            return {};
        images.push_back(item);
    }
    return images;
}

// Makes image one nx x ny section holding values, with the complex bit set as given,
// named as the average of n images beginning with first. 0 (image unchanged) when it
// cannot be resized.
int storeAverage(Image& image, const std::string& firstName, int n, const float* values, int nx, int ny,
                 bool complex) {
    const std::string name = "Avg of " + std::to_string(n) + ", " + firstName;
    if (!image.resize(nx, ny, 1)) return 0;
    std::memcpy(image.getData(), values, size_t(nx) * size_t(ny) * sizeof(float));
    image.setFlags(complex ? image.getFlags() | complexFlag : image.getFlags() & ~complexFlag);
    image.setName(name.c_str());
    image.updateStatistics();
    return 1;
}

void addValues(float* sum, const float* values, int64_t count) {
    for (int64_t i = 0; i < count; i++) sum[i] += values[i];
}

void divideValues(float* values, int64_t count, int n) {
    const float divisor = float(n);
    for (int64_t i = 0; i < count; i++) values[i] /= divisor;
}

// Adds the amplitude/phase pairs of next to the real/imaginary pairs of sum.
void addAsComplex(float* sum, const float* next, int64_t pairs) {
    float chunk[2 * chunkPairs];
    for (int64_t start = 0; start < pairs; start += chunkPairs) {
        const int n = int(std::min<int64_t>(chunkPairs, pairs - start));
        std::memcpy(chunk, next + 2 * start, size_t(2 * n) * sizeof(float));
        fromAmplitudePhase(chunk, n, 1.0, 1.0f);
        addValues(sum + 2 * start, chunk, 2 * n);
    }
}

// The complex mean of amplitude/phase images; sum holds a copy of the first one.
void complexMean(float* sum, const std::vector<const Image*>& images, int64_t count) {
    const int64_t pairs = count / 2;
    fromAmplitudePhase(sum, pairs, 1.0, 1.0f);
    for (size_t k = 1; k < images.size(); k++) addAsComplex(sum, images[k]->getData(), pairs);
    divideValues(sum, 2 * pairs, int(images.size()));
    toAmplitudePhase(sum, pairs, 1);
}

}  // namespace

int averageTransforms(Image& image, const ImageList* list) {
    const std::vector<const Image*> images = sameSizeImages(list);
    if (images.empty()) return 0;
    const Image& first = *images[0];
    if (first.getNx() != realFftSizeAtLeast(first.getNx()) ||
        first.getNy() != realFftSizeAtLeast(first.getNy()))
        return 0;
    const std::unique_ptr<Image> total(fft(first, 0));
    if (!total) return 0;
    const int64_t count = int64_t(total->getNx()) * total->getNy();
    for (size_t k = 1; k < images.size(); k++) {
        const std::unique_ptr<Image> next(fft(*images[k], 0));
        if (!next) return 0;
        addValues(total->getData(), next->getData(), count);
    }
    const int n = int(images.size());
    divideValues(total->getData(), count, n);
    return storeAverage(image, first.getName(), n, total->getData(), total->getNx(), total->getNy(), true);
}

int average(Image& image, const ImageList* list, int method) {
    const std::vector<const Image*> images = sameSizeImages(list);
    if (images.empty()) return 0;
    const Image& first = *images[0];
    if (method == 1 && !first.isComplex()) return 0;
    const int nx = first.getNx(), ny = first.getNy(), n = int(images.size());
    const int64_t count = int64_t(nx) * ny;
    const Samples sum(allocateSamples(count));
    if (!sum) return 0;
    std::memcpy(sum.get(), first.getData(), size_t(count) * sizeof(float));
    if (method == 0) {
        for (int k = 1; k < n; k++) addValues(sum.get(), images[size_t(k)]->getData(), count);
        divideValues(sum.get(), count, n);
    } else if (method == 1) {
        complexMean(sum.get(), images, count);
    } else if (method == 2) {
        printUnimplimented();
    }
    return storeAverage(image, first.getName(), n, sum.get(), nx, ny, first.isComplex());
}

}  // namespace tarnview
