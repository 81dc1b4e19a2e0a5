#include "analysis/spectrumProduct.h"

#include <cfloat>
#include <cmath>

namespace tarnview {

void multiplySpectra(float* a, const float* b, int64_t count, double factor, int conjugate) {
    // With b = conj(b) the two products share one formula.
    const double sign = conjugate ? -1.0 : 1.0;
    for (int64_t i = 0; i < count; i++) {
        const double aRe = a[2 * i], aIm = a[2 * i + 1];
        const double bRe = b[2 * i], bIm = sign * double(b[2 * i + 1]);
        a[2 * i] = float((aRe * bRe - aIm * bIm) / factor);
        a[2 * i + 1] = float((aIm * bRe + aRe * bIm) / factor);
    }
}

float usableFactor(double factor) {
    if (!(std::fabs(factor) <= FLT_MAX)) return 1.0f;  // infinite or NaN, or beyond float
    const float rounded = float(factor);
    return rounded == 0.0f ? 1.0f : rounded;
}

}  // namespace tarnview
