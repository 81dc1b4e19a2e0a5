#include "image/GreyLimits.h"

#include <cmath>

namespace tarnview {

GreyLimits defaultGreyLimits(const float bin[256], float minSample, float histMin, float histMax) {
    // Main peak: the first bin holding the largest value. When every bin is NaN (an image
    // without samples) no bin wins and the peak stays at 2; the limits then fall back.
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

    // A later peak: from the first place where bins j and j + 2 both exceed a quarter of
    // the main peak, the highest bin above the smallest sample value.
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

    if (peak < 2) peak = 2;
    if (peak > 253) peak = 253;

    const float threshold = (bin[peak - 2] + bin[peak + 2]) / 2 / 10;
    const float range = histMax - histMin;
    GreyLimits limits;

    int k = peak + 1;
    while (k <= 255 && bin[k] > threshold) k++;
    limits.high = histMin + range * float(k) / 256;

    int d = peak;
    while (d > 0 && bin[d] > threshold) d--;
    limits.low = histMin + range * float(d) / 256;

    if (std::isnan(limits.high) || std::isnan(limits.low) || std::fabs(limits.high) > 1e10f) {
        limits.low = -1.0f;
        limits.high = 1.0f;
    }
    return limits;
}

}  // namespace tarnview
