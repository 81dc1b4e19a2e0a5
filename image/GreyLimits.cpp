#include "image/GreyLimits.h"

#include <cmath>

namespace tarnview {

namespace {

// A high limit of a larger magnitude, or a NaN limit, means the histogram said nothing
// usable: the limits fall back to (-1, 1).
constexpr float largestLimit = 1e10f;

// The main peak: the first bin holding the largest value, whose value goes to height.
// When every bin is NaN (an image without samples) no bin wins and the peak stays at 2;
// the limits then fall back.
int mainPeak(const float bin[256], float& height) {
    int peak = 2;
    height = -1.0f;
    for (int j = 0; j < 256; j++)
        if (bin[j] > height) {
            height = bin[j];
            peak = j;
        }
    return peak;
}

// The peak the limits enclose: a later peak when there is one, else the main peak.
// Past the main peak, where it falls to a tenth of its height, the first place where
// bins j and j + 2 both exceed a quarter of the main peak starts the search for a later
// peak: the highest bin from there that is above the smallest sample value.
int chosenPeak(const float bin[256], int peak, float height, float minSample) {
    int j = peak;
    while (j <= 255 && bin[j] > height / 10) j++;
    if (j <= 253) {
        while (j <= 253 && !(bin[j] > height / 4 && bin[j + 2] > height / 4)) j++;
        if (j > 253) j = 254;
    }
    if (j != 254) {
        float runningMax = minSample;
        for (int k = j; k <= 255; k++)
            if (bin[k] > runningMax) {
                runningMax = bin[k];
                peak = k;
            }
    }
    return peak;
}

}  // namespace

GreyLimits defaultGreyLimits(const float bin[256], float minSample, float histMin, float histMax) {
    float height;
    const int highest = mainPeak(bin, height);
    int peak = chosenPeak(bin, highest, height, minSample);
    // Two bins either side of the peak must exist.
    if (peak < 2) peak = 2;
    if (peak > 253) peak = 253;

    // The run of bins around the peak above a tenth of the average of the bins two places
    // either side of it, mapped from bin numbers to values.
    const float threshold = (bin[peak - 2] + bin[peak + 2]) / 2 / 10;
    const float range = histMax - histMin;
    GreyLimits limits;
    int k = peak + 1;
    while (k <= 255 && bin[k] > threshold) k++;
    limits.high = histMin + range * float(k) / 256;
    int d = peak;
    while (d > 0 && bin[d] > threshold) d--;
    limits.low = histMin + range * float(d) / 256;

    if (std::isnan(limits.high) || std::isnan(limits.low) || std::fabs(limits.high) > largestLimit) {
        limits.low = -1.0f;
        limits.high = 1.0f;
    }
    return limits;
}

}  // namespace tarnview
