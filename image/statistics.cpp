// Image statistics: extremes, mean and standard deviation, border statistics, the
// 256-bin histogram over a range clipped to three standard deviations, and the default
// grey limits chosen once from the histogram's shape.
//
// The precisions are part of the results: samples, extremes, histogram range, bins and
// grey limits are floats; sums, mean and sigma are doubles. Visiting orders are fixed
// (last sample first) because they decide the rounding of the sums.
#include <cmath>
#include <cstdint>

#include "image/GreyLimits.h"
#include "image/Image.h"
#include "image/imageMessages.h"

namespace tarnview {

namespace {

// Strides of the sparse histogram of large images: each stride is one pass.
constexpr int histogramStrides[11] = {1, 3, 7, 11, 17, 23, 37, 59, 127, 253, 511};
// Images of at most this many floats put every float in the histogram (stride 1).
// Larger ones take a sample of a few passes of larger strides: the histogram's shape at
// a small part of the cost. Up to twoPassFloats: strides 11 and 17; up to
// threePassFloats: 23, 37 and 59; beyond: 127, 253 and 511.
constexpr int64_t denseHistogramFloats = 299999;
constexpr int64_t twoPassFloats = 1999999;
constexpr int64_t threePassFloats = 7999999;
// Added to the top of an empty range (all samples equal) so that it has a width.
constexpr double rangeWidening = 0.0001;

struct StrideRun {
    int first;  // index into histogramStrides
    int count;
};

// The consecutive entries of histogramStrides used for n floats. Complex images start
// one entry earlier and double each stride.
StrideRun stridesFor(int64_t n, bool complexSamples) {
    StrideRun run;
    if (n <= denseHistogramFloats)
        run = {0, 1};
    else if (n <= twoPassFloats)
        run = {3, 2};
    else if (n <= threePassFloats)
        run = {5, 3};
    else
        run = {8, 3};
    if (complexSamples && run.first > 0) run.first -= 1;
    return run;
}

// The extreme a single pass from the last sample to the first would keep, from the two
// lanes' extremes. Equal extremes can still be different floats (+0 and -0): then the
// zero visited first wins, as it would in a single pass.
// Lanes never hold a NaN: a NaN sample never replaces an extreme.
float mergeLanes(const float lanes[2], bool larger, const float* samples, int64_t n, int step) {
    if (lanes[0] != lanes[1]) return (lanes[0] > lanes[1]) == larger ? lanes[0] : lanes[1];
    if (std::signbit(lanes[0]) == std::signbit(lanes[1])) return lanes[0];
    for (int64_t i = n - step; i >= 0; i -= step)
        if (samples[i] == 0.0f) return samples[i];
    return lanes[0];
}

// The extremes and sums of a pass over every step-th float from the last to the first.
struct SampleSums {
    float largest;
    float smallest;
    double sum;
    double sumsq;
};

// The extremes are kept in two lanes (even and odd visits) so that their compare chains
// are no slower than the sums' chains; the sums keep the single pass's order. A NaN
// changes neither extreme.
SampleSums sumSamples(const float* samples, int64_t n, int step) {
    float largest[2] = {-1e20f, -1e20f}, smallest[2] = {1e20f, 1e20f};
    double sum = 0, sumsq = 0;
    int64_t i = n - step;
    for (; i >= step; i -= 2 * step) {
        const float v = samples[i], w = samples[i - step];
        largest[0] = v > largest[0] ? v : largest[0];
        smallest[0] = v < smallest[0] ? v : smallest[0];
        sum += v;
        sumsq += double(v) * v;
        largest[1] = w > largest[1] ? w : largest[1];
        smallest[1] = w < smallest[1] ? w : smallest[1];
        sum += w;
        sumsq += double(w) * w;
    }
    if (i >= 0) {
        const float v = samples[i];
        largest[0] = v > largest[0] ? v : largest[0];
        smallest[0] = v < smallest[0] ? v : smallest[0];
        sum += v;
        sumsq += double(v) * v;
    }
    return {mergeLanes(largest, true, samples, n, step), mergeLanes(smallest, false, samples, n, step), sum,
            sumsq};
}

// The sum over the border of the first section, every float of it, corners counted twice.
double borderSum(const float* data, int nx, int ny) {
    double edgeSum = 0;
    const int64_t lastRow = int64_t(ny - 1) * nx;
    for (int x = 0; x < nx; x++) edgeSum += double(data[x]) + double(data[lastRow + x]);
    for (int64_t y = 0; y < ny; y++) edgeSum += double(data[y * nx]) + double(data[y * nx + nx - 1]);
    return edgeSum;
}

}  // namespace

int Image::updateStatistics() {
    const int step = isComplex() ? 2 : 1;
    const int64_t n = int64_t(nx) * ny * nz;
    for (int j = 0; j < 256; j++) histogram[j] = 0;

    const SampleSums sums = sumSamples(data, n, step);
    max = sums.largest;
    min = sums.smallest;
    mean = step * sums.sum / double(n);
    sigma = std::sqrt(step * sums.sumsq / double(n) - mean * mean);
    // An image without samples has no border to read.
    const double edgeSum = n > 0 ? borderSum(data, nx, ny) : 0;
    edgeMean = edgeSum / (2.0 * (double(nx) + double(ny)));
    edgeSigma = std::sqrt(step * sums.sumsq / double(n) + edgeMean * (edgeMean - 2 * mean));

    histMax = max;
    histMin = min;
    if (std::isnan(mean) || std::isnan(sigma)) {
        const int64_t m = int64_t(nx) * ny;
        auto sample = [&](int64_t k) { return n > 0 ? double(data[k]) : 0.0; };
        printBadStatistics(mean, sigma, edgeMean, edgeSigma, sums.sumsq, sums.sum, sample(0), sample(m - 1),
                           sample(m / 2), sample(m / 3));
        mean = 0;
        edgeMean = 0;
        sigma = 1;
        edgeSigma = 1;
    }

    // The histogram's range clipped to three standard deviations either side of the mean.
    if (3 * sigma < double(histMax) - mean) histMax = float(mean + 3 * sigma);
    if (mean - double(histMin) > 3 * sigma) histMin = float(mean - 3 * sigma);
    if (histMin == histMax) histMax = float(double(histMax) + rangeWidening);
    if (min == max) max = float(double(max) + rangeWidening);
    computeHistogram(histMin, histMax);

    if (greyLow == greyUnset) {
        const GreyLimits limits = defaultGreyLimits(histogram, min, histMin, histMax);
        greyLow = limits.low;
        greyHigh = limits.high;
    }
    return 1;
}

int Image::computeHistogram(float lo, float hi) {
    for (int j = 0; j < 256; j++) histogram[j] = 0;  // the spill cell is not cleared
    histMin = lo;
    histMax = hi;
    double total = 0;

    const bool complexSamples = isComplex();
    const int64_t n = int64_t(nx) * ny * nz;
    const StrideRun run = stridesFor(n, complexSamples);
    for (int e = run.first; e < run.first + run.count; e++) {
        const int64_t s = int64_t(histogramStrides[e]) * (complexSamples ? 2 : 1);
        total += double(n) / double(s);
        const float range = histMax - histMin;
        const float scale = float(255.999 / range);
        for (int64_t i = n - s; i >= 0; i -= s) {
            // Large strides touch a new cache line per visit: fetch ahead.
            if (i >= 16 * s) __builtin_prefetch(data + i - 16 * s);
            const float x = (data[i] - histMin) * scale;
            // Tested on the float: NaN, infinities and values off the scale add nothing.
            if (!(x >= 0.0f && x < 256.0f)) continue;
            const int b = int(x);
            const float f = x - float(b);
            histogram[b] += 1.0f - f;
            histogram[b + 1] += f;  // b = 255 feeds the spill cell
        }
    }
    for (int j = 0; j < 256; j++) histogram[j] = float(histogram[j] * 100.0f / total);
    return 1;
}

}  // namespace tarnview
