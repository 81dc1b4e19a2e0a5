// Image statistics: extremes, mean and standard deviation, border statistics, the
// 256-bin histogram over a range clipped to three standard deviations, and the default
// grey limits chosen once from the histogram's shape.
//
// The precisions are part of the results: samples, extremes, histogram range, bins and
// grey limits are floats; sums, mean and sigma are doubles. Visiting orders are fixed
// (last sample first) because they decide the rounding of the sums.
#include <cmath>
#include <cstdint>

#include "image/Image.h"
#include "image/imageMessages.h"

namespace tarnview {

namespace {

// Strides of the sparse histogram of large images: each stride is one pass.
constexpr int histogramStrides[11] = {1, 3, 7, 11, 17, 23, 37, 59, 127, 253, 511};

struct StrideRun {
    int first;  // index into histogramStrides
    int count;
};

// The consecutive entries of histogramStrides used for n floats. Complex images start
// one entry earlier and double each stride.
StrideRun stridesFor(int64_t n, bool complexSamples) {
    StrideRun run;
    if (n <= 299999)
        run = {0, 1};
    else if (n <= 1999999)
        run = {3, 2};
    else if (n <= 7999999)
        run = {5, 3};
    else
        run = {8, 3};
    if (complexSamples && run.first > 0) run.first -= 1;
    return run;
}

}  // namespace

int Image::updateStatistics() {
    const int step = isComplex() ? 2 : 1;
    const int64_t n = int64_t(nx) * ny * nz;

    max = -1e20f;
    min = 1e20f;
    for (int j = 0; j < 256; j++) histogram[j] = 0;

    double sum = 0, sumsq = 0;
    for (int64_t i = n - step; i >= 0; i -= step) {
        float v = data[i];
        if (v > max) max = v;
        if (v < min) min = v;
        sum += v;
        sumsq += double(v) * v;
    }
    mean = step * sum / double(n);
    sigma = std::sqrt(step * sumsq / double(n) - mean * mean);

    // Border of the first section, every float of it, corners counted twice. An image
    // without samples has no border to read.
    double edgeSum = 0;
    if (n > 0) {
        const int64_t lastRow = int64_t(ny - 1) * nx;
        for (int x = 0; x < nx; x++) edgeSum += double(data[x]) + double(data[lastRow + x]);
        for (int64_t y = 0; y < ny; y++) edgeSum += double(data[y * nx]) + double(data[y * nx + nx - 1]);
    }
    edgeMean = edgeSum / (2.0 * (double(nx) + double(ny)));
    edgeSigma = std::sqrt(step * sumsq / double(n) + edgeMean * (edgeMean - 2 * mean));

    histMax = max;
    histMin = min;

    if (std::isnan(mean) || std::isnan(sigma)) {
        const int64_t m = int64_t(nx) * ny;
        auto sample = [&](int64_t i) { return n > 0 ? double(data[i]) : 0.0; };
        printBadStatistics(mean, sigma, edgeMean, edgeSigma, sumsq, sum, sample(0), sample(m - 1),
                           sample(m / 2), sample(m / 3));
        mean = 0;
        edgeMean = 0;
        sigma = 1;
        edgeSigma = 1;
    }

    if (3 * sigma < double(histMax) - mean) histMax = float(mean + 3 * sigma);
    if (mean - double(histMin) > 3 * sigma) histMin = float(mean - 3 * sigma);

    if (histMin == histMax) histMax = float(double(histMax) + 0.0001);
    if (min == max) max = float(double(max) + 0.0001);

    computeHistogram(histMin, histMax);

    if (greyLow == greyUnset) chooseDefaultGreyLimits();
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

void Image::chooseDefaultGreyLimits() {
    const float* bin = histogram;

    // Main peak: the first bin holding the largest value. When every bin is NaN (no
    // samples) no bin wins and P stays at 2; the limits then fall back to (-1, 1).
    int peak = 2;
    float height = -1.0f;
    for (int j = 0; j < 256; j++)
        if (bin[j] > height) {
            height = bin[j];
            peak = j;
        }

    // Leave the main peak where it falls to a tenth of its height.
    int j = peak;
    while (j <= 255 && bin[j] > height / 10) j++;

    // Look for a later peak: the first place where bins j and j + 2 both exceed a quarter
    // of the main peak, and the highest bin from there on.
    if (j <= 253) {
        while (j <= 253 && !(bin[j] > height / 4 && bin[j + 2] > height / 4)) j++;
        if (j > 253) j = 254;
    }
    if (j != 254) {
        float runningMax = min;
        for (int k = j; k <= 255; k++)
            if (bin[k] > runningMax) {
                runningMax = bin[k];
                peak = k;
            }
    }

    if (peak < 2) peak = 2;
    if (peak > 253) peak = 253;

    const float threshold = (bin[peak - 2] + bin[peak + 2]) / 2 / 10;
    const float range = histMax - histMin;

    int k = peak + 1;
    while (k <= 255 && bin[k] > threshold) k++;
    greyHigh = histMin + range * float(k) / 256;

    int d = peak;
    while (d > 0 && bin[d] > threshold) d--;
    greyLow = histMin + range * float(d) / 256;

    if (std::isnan(greyHigh) || std::isnan(greyLow) || std::fabs(greyHigh) > 1e10f) {
        greyLow = -1.0f;
        greyHigh = 1.0f;
    }
}

}  // namespace tarnview
