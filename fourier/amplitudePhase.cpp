// The forward conversion is the costliest pass of an amplitude/phase transform after the
// transform itself: one hypot and one atan2 per coefficient. It is evaluated here with a
// branch-free double-precision formulation that the compiler vectorises (the file is built
// without errno and trap semantics for that purpose; values are unaffected), accurate to a
// few units in the last place of a double. Each estimate is then checked: when every value
// within a relative distance far larger than that error rounds to the same float, the
// library's result (itself within one unit of a double of the exact value) rounds to that
// float too. The rare estimates that fail the check, and non-finite ones, are recomputed
// with the library's hypot and atan2, so the stored floats are exactly the library's.
#include "fourier/amplitudePhase.h"

#include <algorithm>
#include <cmath>

#include "fourier/vectorTargets.h"

namespace tarnview {

namespace {

constexpr double pi = 3.14159265358979323846264338327950288;
constexpr double halfPi = 1.57079632679489661923132169163975144;
constexpr double quarterPi = 0.785398163397448309615660845819875721;
constexpr double tanEighthPi = 0.414213562373095048801688724209698079;  // sqrt(2) - 1

// atan(s) = s + s z P(z) with z = s^2 for |s| <= tan(pi/8): Chebyshev fit of
// (atan(sqrt(z))/sqrt(z) - 1)/z of degree 9 on [0, 3 - 2 sqrt(2)], highest power first.
// Relative error of the double-precision evaluation below 2.3e-16.
constexpr double atanPolynomial[10] = {
    0.022750526993361672084, -0.0448333462227288608,   0.057363321659076425088, -0.066496136952916693446,
    0.07691055158393149258,  -0.090908525571760493567, 0.11111109636534361442,  -0.14285714266096617917,
    0.1999999999989840813,   -0.3333333333333324625,
};

// An estimate stands when it and every value within this relative distance round to the
// same float. The estimates are within about 3e-16 and the library within 2.3e-16 of the
// exact values, far inside both margins; the chance that an estimate lies near enough to a
// rounding boundary to be recomputed is about 2^-19 (amplitude) and 2^-15 (phase).
constexpr double amplitudeMargin = 0x1p-44;
constexpr double phaseMargin = 0x1p-40;

constexpr int chunk = 64;

// The estimate loops carry TARNVIEW_WIDEST_VECTORS: the stored floats do not depend on the
// vector width, since every estimate is checked as above whatever its last bits.

bool roundsStably(double v, double margin) {
    return float(v * (1.0 - margin)) == float(v * (1.0 + margin));
}

// Estimates of hypot(re, im) * scale and atan2(im, re) for n pairs, as straight-line code
// over plain arrays so that the loop vectorises.
//
// atan2 by octant: s = smaller / larger magnitude lies in [0, 1]; above tan(pi/8) the
// quotient (smaller - larger) / (smaller + larger) = (s - 1)/(s + 1) is used instead and
// pi/4 added back, so that the polynomial only sees |s| <= tan(pi/8). Both the sum and the
// difference are exact (two floats within a factor 2.5 of each other), so only the one
// division rounds before the polynomial. Then pi/2 - angle above the diagonal, pi - angle
// for a negative real part (-0 included: atan2(+-0, -0) is +-pi), and the sign of the
// imaginary part (-0 included: atan2(-0, x) is -0 or -pi). (0, 0) gives s = 0/1.
TARNVIEW_WIDEST_VECTORS void estimate(const float* pairs, int n, double scale, double* amplitude,
                                      double* phase) {
    for (int i = 0; i < n; i++) {
        const double re = pairs[2 * i];
        const double im = pairs[2 * i + 1];
        const double ax = std::fabs(re);
        const double ay = std::fabs(im);
        const bool steep = ay > ax;
        const double larger = steep ? ay : ax;
        const double smaller = steep ? ax : ay;
        const bool upper = smaller > tanEighthPi * larger;
        const double num = upper ? smaller - larger : smaller;
        const double den = upper ? smaller + larger : larger;
        const double s = num / (den == 0.0 ? 1.0 : den);
        const double z = s * s;
        double poly = atanPolynomial[0];
        for (int j = 1; j < 10; j++) poly = poly * z + atanPolynomial[j];
        double angle = s + s * z * poly;
        angle = upper ? angle + quarterPi : angle;
        angle = steep ? halfPi - angle : angle;
        angle = std::copysign(1.0, re) < 0.0 ? pi - angle : angle;
        phase[i] = std::copysign(angle, im);
        amplitude[i] = std::sqrt(re * re + im * im) * scale;
    }
}

TARNVIEW_WIDEST_VECTORS int countUnstable(int n, const double* amplitude, const double* phase) {
    int unstable = 0;
    for (int i = 0; i < n; i++)
        unstable +=
            int(!roundsStably(amplitude[i], amplitudeMargin)) | int(!roundsStably(phase[i], phaseMargin));
    return unstable;
}

void recomputeUnstable(const float* pairs, int n, int divisor, double* amplitude, double* phase) {
    for (int i = 0; i < n; i++) {
        const double re = pairs[2 * i];
        const double im = pairs[2 * i + 1];
        if (!roundsStably(amplitude[i], amplitudeMargin)) amplitude[i] = std::hypot(re, im) / divisor;
        if (!roundsStably(phase[i], phaseMargin)) phase[i] = std::atan2(im, re);
    }
}

}  // namespace

void toAmplitudePhase(float* pairs, int64_t count, int divisor) {
    const double scale = 1.0 / divisor;
    double amplitude[chunk];
    double phase[chunk];
    for (int64_t start = 0; start < count; start += chunk) {
        const int n = int(std::min<int64_t>(chunk, count - start));
        float* p = pairs + 2 * start;
        estimate(p, n, scale, amplitude, phase);
        if (countUnstable(n, amplitude, phase) != 0) recomputeUnstable(p, n, divisor, amplitude, phase);
        for (int i = 0; i < n; i++) {
            p[2 * i] = float(amplitude[i]);
            p[2 * i + 1] = float(phase[i]);
        }
    }
}

void fromAmplitudePhase(float* pairs, int64_t count, double scale, float divisor) {
    for (int64_t i = 0; i < count; i++) {
        const double amplitude = pairs[2 * i];
        const double phase = pairs[2 * i + 1];
        const float re = float(scale * amplitude * std::cos(phase));
        const float im = float(scale * amplitude * std::sin(phase));
        pairs[2 * i] = re / divisor;
        pairs[2 * i + 1] = im / divisor;
    }
}

}  // namespace tarnview
