#include "analysis/rotationalAlignment.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

#include "analysis/RingSampler.h"
#include "analysis/analysisMessages.h"
#include "analysis/columnsFile.h"
#include "fourier/fftReal.h"

namespace tarnview {

namespace {

constexpr int bins = 1440;  // 0.25-degree bins
constexpr int halfBins = bins / 2;

// Everything one alignment works on, held for the call: two ring profiles (bin angles,
// then room for the 721 complex coefficients of the values), the summed correlation and
// its angle axis.
struct Workspace {
    RingSampler sampler;
    float reference[bins + bins + 2];
    float other[bins + bins + 2];
    float curve[bins];
    float angles[bins];
};

// The normalisation of the correlations: (|mean| + sigma) of reference x 1440^2 x
// |mean| x sigma of other, other's in single precision, rounded to single precision. It
// is the same positive constant for every ring, so the angle does not depend on it; 0 or
// not finite is replaced by 1.
float correlationScale(const Image& reference, const Image& other) {
    const double first = std::fabs(reference.getMeanDouble()) + reference.getSigmaDouble();
    const double g = first * 2073600.0 * std::fabs(double(other.getMean())) * double(other.getSigma());
    // Tested in double: a value beyond the float range has no float to round to.
    if (g > 0 && g <= FLT_MAX && float(g) != 0) return float(g);
    printRotationScaleUnusable(g);
    return 1;
}

// p becomes 1440 times the circular correlation of the profile values p and q (q is
// overwritten by its transform).
void correlateProfiles(float* p, float* q) {
    fftRealToComplex(-1, bins, p, p);
    fftRealToComplex(-1, bins, q, q);
    for (int k = 0; k <= halfBins; k++) {
        const float pr = p[2 * k], pi = p[2 * k + 1], qr = q[2 * k], qi = q[2 * k + 1];
        p[2 * k] = pr * qr + pi * qi;
        p[2 * k + 1] = qr * pi - pr * qi;
    }
    fftComplexToReal(+1, bins, p, p);
}

// Fills w.curve with the radius-weighted sum of the ring correlations, halves swapped so
// that entry j stands for the angle (j - 720) D, less its smallest entry, and w.angles
// with that axis. Returns the number of rings summed.
int sumRingCorrelations(const Image& reference, const Image& other, Workspace& w) {
    const int rmax = reference.getNx() / 2 - 10;
    std::fill(w.curve, w.curve + bins, 0.0f);
    const float g = rmax > 12 ? correlationScale(reference, other) : 1;
    int rings = 0;
    for (int r = 12; r < rmax; r += 6, rings++) {
        w.sampler.profile(reference, w.reference, bins, r);
        w.sampler.profile(other, w.other, bins, r);
        correlateProfiles(w.reference + bins, w.other + bins);
        for (int i = 0; i < bins; i++) w.curve[i] += float(r) * w.reference[bins + i] / g;
    }
    std::swap_ranges(w.curve, w.curve + halfBins, w.curve + halfBins);
    float smallest = 1e30f;
    for (float v : w.curve) smallest = v < smallest ? v : smallest;
    for (float& v : w.curve) v -= smallest;
    const float delta = float(2 * M_PI / bins);
    for (int j = 0; j < bins; j++) w.angles[j] = float(j - halfBins) * delta;
    return rings;
}

// Why the curve has no usable peak, or null when it has one. A flat curve is all zeros
// after the subtraction of its minimum.
const char* missingPeakReason(int rings, const float* curve) {
    if (rings == 0) return "no ring fits inside the image";
    if (!std::all_of(curve, curve + bins, [](float v) { return std::isfinite(v); }))
        return "curve not finite";
    if (std::all_of(curve, curve + bins, [](float v) { return v == 0; })) return "flat curve";
    return nullptr;
}

// The first largest entry of j = 4 ... 1435 (4 when none is larger than -1e25).
int peakIndex(const float* curve) {
    int peak = 4;
    float best = -1e25f;
    for (int j = 4; j <= bins - 5; j++)
        if (curve[j] > best) {
            best = curve[j];
            peak = j;
        }
    return peak;
}

}  // namespace

float alignRotation(const Image& reference, const Image* other) {
    if (!other) {
        printNeedDataSetToAlign();
        return 0;
    }
    Workspace w;
    const int rings = sumRingCorrelations(reference, *other, w);
    writeColumns(w.angles, w.curve, bins, "test.rcf.dat");
    const int peak = peakIndex(w.curve);
    printRotationPeak(peak, double(w.angles[peak]) / M_PI * 180, w.curve[peak]);
    // Centre of mass of the five entries about the peak (the search range keeps them
    // inside the curve). The weights sum to 0 when the curve is non-zero only outside the
    // search range.
    double weighted = 0, weights = 0;
    for (int j = peak - 2; j <= peak + 2; j++) {
        weighted += double(w.curve[j]) * w.angles[j];
        weights += w.curve[j];
    }
    const char* reason = missingPeakReason(rings, w.curve);
    if (!reason && weights == 0) reason = "no weight about the peak";
    if (reason) {
        printNoRotationPeak(reason);
        return 0;
    }
    const float theta = float(weighted / weights);
    printRotationAngle(double(theta) * 180 / M_PI);
    return theta;
}

}  // namespace tarnview
