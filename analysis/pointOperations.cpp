#include "analysis/pointOperations.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "analysis/analysisMessages.h"
#include "fourier/amplitudePhase.h"

namespace tarnview {

namespace {

constexpr int chunkPairs = 256;  // pairs converted at a time by the complex difference

int64_t valueCount(const Image& image) {
    return int64_t(image.getNx()) * image.getNy() * image.getNz();
}

// v -> (v - centre) / scale for every value and both grey limits; nothing at all when
// scale is 0 or NaN.
void standardize(Image& image, double centre, double scale) {
    if (scale == 0.0 || std::isnan(scale)) return;
    float* data = image.getData();
    const int64_t n = valueCount(image);
    for (int64_t i = 0; i < n; i++) data[i] = float((double(data[i]) - centre) / scale);
    image.setGreyLimits(float((double(image.getGreyLow()) - centre) / scale),
                        float((double(image.getGreyHigh()) - centre) / scale));
    image.updateStatistics();
}

// The differences of count amplitude/phase pairs as amplitude/phase pairs. Each chunk of
// other is copied before the same chunk of pairs changes, so other may be pairs.
void subtractPolar(float* pairs, const float* other, int64_t count) {
    float chunk[2 * chunkPairs];
    for (int64_t start = 0; start < count; start += chunkPairs) {
        const int n = int(std::min<int64_t>(chunkPairs, count - start));
        float* mine = pairs + 2 * start;
        std::memcpy(chunk, other + 2 * start, size_t(2 * n) * sizeof(float));
        fromAmplitudePhase(mine, n, 1.0, 1.0f);
        fromAmplitudePhase(chunk, n, 1.0, 1.0f);
        for (int i = 0; i < 2 * n; i++) mine[i] -= chunk[i];
        toAmplitudePhase(mine, n, 1);
    }
}

}  // namespace

void normalize(Image& image) {
    standardize(image, image.getMeanDouble(), image.getSigmaDouble());
}

void normalizeToEdge(Image& image) {
    standardize(image, image.getEdgeMean(), image.getEdgeSigma());
}

int fillBackground(Image& image, float value) {
    const double low = image.getEdgeMean() - image.getEdgeSigma() / 20.0;
    const double high = image.getEdgeMean() + image.getEdgeSigma() / 20.0;
    auto inBand = [low, high](float v) { return double(v) >= low && double(v) <= high; };
    const int64_t nx = image.getNx(), ny = image.getNy();
    float* data = image.getData();
    if (image.getNz() < 1) {
        image.updateStatistics();
        return 1;
    }
    for (int64_t y = 0; y < ny; y++) {
        float* row = data + y * nx;
        for (int64_t x = 0; x < nx && inBand(row[x]); x++) row[x] = value;
        for (int64_t x = nx - 1; x >= 0 && inBand(row[x]); x--) row[x] = value;
    }
    for (int64_t x = 0; x < nx; x++) {
        for (int64_t y = 0; y < ny && inBand(data[y * nx + x]); y++) data[y * nx + x] = value;
        for (int64_t y = ny - 1; y >= 0 && inBand(data[y * nx + x]); y--) data[y * nx + x] = value;
    }
    image.updateStatistics();
    return 1;
}

float clipToGreyRange(Image& image) {
    const float low = image.getGreyLow(), high = image.getGreyHigh();
    const int step = image.isComplex() ? 2 : 1;
    const int64_t n = valueCount(image);
    float* data = image.getData();
    int64_t changes = 0;
    for (int64_t i = 0; i < n; i += step) {
        if (data[i] > high) {
            data[i] = high;
            changes++;
        }
        if (data[i] < low) {
            data[i] = low;
            changes++;
        }
    }
    image.updateStatistics();
    return n > 0 ? float(double(changes) / double(n)) : 0.0f;
}

void subtract(Image& image, const Image& other) {
    if (image.getNx() != other.getNx() || image.getNy() != other.getNy()) {
        printImagesMustBeSameSize();
        return;
    }
    const int64_t n = int64_t(image.getNx()) * image.getNy() * std::min(image.getNz(), other.getNz());
    float* data = image.getData();
    if (image.isComplex() && !(image.getFlags() & realImagFlag)) {
        subtractPolar(data, other.getData(), n / 2);
    } else {
        const float* theirs = other.getData();
        for (int64_t i = 0; i < n; i++) data[i] -= theirs[i];
    }
    image.updateStatistics();
}

}  // namespace tarnview
