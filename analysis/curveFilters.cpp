#include "analysis/curveFilters.h"

#include <cmath>

#include "analysis/analysisMessages.h"
#include "analysis/fourierProfile.h"
#include "analysis/frequencyRadius.h"
#include "fourier/amplitudePhase.h"
#include "fourier/random.h"
#include "fourier/rowFrequency.h"

namespace tarnview {

namespace {

constexpr double pi = 3.14159265358979323846;
constexpr float fullTurn = 6.2831855f;  // 2 pi rounded to float

struct Curve {
    int count;
    float origin;   // frequency of values[0]
    float spacing;  // frequency between neighbouring values
    const float* values;
};

// The curve of the arguments, or false after printing why it cannot be used.
bool makeCurve(int nValues, const float* x, const float* values, Curve& curve) {
    const bool arrays = nValues >= 2 && x != nullptr && values != nullptr;
    const float origin = arrays ? x[0] : 0.0f;
    const float spacing = arrays ? x[1] - x[0] : 0.0f;
    if (!arrays || !std::isfinite(origin) || !std::isfinite(spacing) || spacing == 0.0f) {
        printUnusableCurve(nValues, origin, spacing);
        return false;
    }
    curve = Curve{nValues, origin, spacing, values};
    return true;
}

// The curve at frequency r, interpolated between values i and i + 1 for
// (r - origin) / spacing = i + f. Below index 0 it is values[0]; from index lastFrom on it
// is the last value. The index is compared as a float before it becomes an int.
float lookup(const Curve& curve, float r, int lastFrom) {
    const float t = (r - curve.origin) / curve.spacing;
    const float whole = std::floor(t);
    if (!(whole >= 0.0f)) return curve.values[0];
    if (double(whole) >= double(lastFrom)) return curve.values[curve.count - 1];
    const int i = int(whole);
    const float f = t - whole;
    return (1.0f - f) * curve.values[i] + f * curve.values[i + 1];
}

float turnedByPi(float phase) {
    return float(phase < 0.0f ? double(phase) - pi : double(phase) + pi);
}

// Calls rowPass(row, v) for each stored row of the first section with its vertical
// frequency, rows in order.
template <class RowPass>
void forEachRow(Image& image, RowPass rowPass) {
    if (image.getNz() < 1) return;  // no samples behind nx x ny
    const int nx = image.getNx(), ny = image.getNy();
    for (int j = 0; j < ny; j++) rowPass(image.getData() + int64_t(j) * nx, rowFrequency(j, ny));
}

}  // namespace

int scaleByCurve(Image& image, int nValues, const float* x, const float* values) {
    Curve curve;
    if (!makeCurve(nValues, x, values, curve)) return 0;
    const int pairs = image.getNx() / 2;
    forEachRow(image, [&](float* row, int v) {
        for (int u = 0; u < pairs; u++) {
            float* pair = row + 2 * u;
            pair[0] *= lookup(curve, frequencyRadius(u, v), nValues - 2);
            if (pair[0] < 0.0f) {
                pair[0] = -pair[0];
                pair[1] = turnedByPi(pair[1]);
            }
        }
    });
    image.setProfileKind(-1);
    image.updateStatistics();
    return 1;
}

int addCurveNoise(Image& image, int nValues, const float* x, const float* values, float spread) {
    Curve curve;
    if (!makeCurve(nValues, x, values, curve)) return 0;
    const int pairs = image.getNx() / 2;
    forEachRow(image, [&](float* row, int v) {
        fromAmplitudePhase(row, pairs, 1.0, 1.0f);
        for (int u = 0; u < pairs; u++) {
            const float e = lookup(curve, frequencyRadius(u, v), nValues - 1);
            const float size = uniformRandom(e - spread, e + spread);
            const double direction = uniformRandom(0.0f, fullTurn);
            row[2 * u] = float(double(row[2 * u]) + size * std::cos(direction));
            row[2 * u + 1] = float(double(row[2 * u + 1]) + size * std::sin(direction));
        }
        toAmplitudePhase(row, pairs, 1);
    });
    image.setProfileKind(-1);
    image.updateStatistics();
    return 1;
}

float* subtractCurve(Image& image, int nValues, const float* x, const float* values) {
    Curve curve;
    if (!makeCurve(nValues, x, values, curve)) return nullptr;
    const int pairs = image.getNx() / 2;
    forEachRow(image, [&](float* row, int v) {
        for (int u = 0; u < pairs; u++) {
            float* pair = row + 2 * u;
            pair[0] -= lookup(curve, frequencyRadius(u, v), nValues - 1);
            if (pair[0] < 0.0f) {
                pair[0] = 0.0f;
                pair[1] = turnedByPi(pair[1]);
            }
        }
    });
    image.updateStatistics();
    return fourierProfile(image, profileWedge, 10, 10);
}

}  // namespace tarnview
