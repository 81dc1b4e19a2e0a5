#include "image/contrastRules.h"

#include <cmath>
#include <cstdint>
#include <new>
#include <vector>

#include "image/imageMessages.h"

namespace tarnview {

namespace {

constexpr double largestPercent = 50;

// The finite samples that count for the statistics: how many, and their extremes.
struct FiniteRange {
    int64_t count = 0;
    float smallest = 0;
    float largest = 0;
};

FiniteRange finiteRange(const float* data, int64_t n, int step) {
    FiniteRange range;
    for (int64_t i = 0; i < n; i += step) {
        const float v = data[i];
        if (!std::isfinite(v)) continue;
        if (range.count == 0 || v < range.smallest) range.smallest = v;
        if (range.count == 0 || v > range.largest) range.largest = v;
        range.count++;
    }
    return range;
}

// The value below which `target` of the counted samples lie, from the histogram counts
// of bins of the given width from origin: interpolated within the bin where the
// cumulative count reaches it.
double fromBelow(const std::vector<int64_t>& counts, double target, double origin, double width) {
    double below = 0;
    for (size_t b = 0; b < counts.size(); b++) {
        if (counts[b] == 0) continue;
        if (below + double(counts[b]) >= target)
            return origin + width * (double(b) + (target - below) / double(counts[b]));
        below += double(counts[b]);
    }
    return origin + width * double(counts.size());
}

// The value above which `target` of the samples lie, walking down from the top bin.
double fromAbove(const std::vector<int64_t>& counts, double target, double origin, double width) {
    double above = 0;
    for (size_t b = counts.size(); b-- > 0;) {
        if (counts[b] == 0) continue;
        if (above + double(counts[b]) >= target)
            return origin + width * (double(b) + 1 - (target - above) / double(counts[b]));
        above += double(counts[b]);
    }
    return origin;
}

}  // namespace

std::optional<GreyLimits> sigmaGreyLimits(const Image& image, double k) {
    if (!(std::isfinite(k) && k > 0)) {
        printSigmaFactorRefused(k);
        return std::nullopt;
    }
    const double mean = image.getMeanDouble(), spread = k * image.getSigmaDouble();
    return GreyLimits{float(mean - spread), float(mean + spread)};
}

std::optional<GreyLimits> percentileGreyLimits(const Image& image, double percent) {
    if (!(percent >= 0 && percent < largestPercent)) {
        printPercentRefused(percent);
        return std::nullopt;
    }
    const int step = image.isComplex() ? 2 : 1;
    const int64_t n = int64_t(image.getNx()) * image.getNy() * image.getNz();
    const float* data = image.getData();
    const FiniteRange range = finiteRange(data, n, step);
    if (range.count == 0) {
        printNoFiniteSamples();
        return std::nullopt;
    }
    if (range.smallest == range.largest) return GreyLimits{range.smallest, range.largest};

    std::vector<int64_t> counts;
    try {
        counts.assign(percentileBins, 0);
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
    const double origin = range.smallest;
    const double width = (double(range.largest) - origin) / percentileBins;
    const double scale = 1 / width;
    for (int64_t i = 0; i < n; i += step) {
        const float v = data[i];
        if (!std::isfinite(v)) continue;
        const double t = (double(v) - origin) * scale;  // 0 ... percentileBins, never NaN
        counts[size_t(t < percentileBins - 1 ? int64_t(t) : percentileBins - 1)]++;
    }
    const double target = percent / 100 * double(range.count);
    return GreyLimits{float(fromBelow(counts, target, origin, width)),
                      float(fromAbove(counts, target, origin, width))};
}

}  // namespace tarnview
