#include "analysis/fourierProfile.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "analysis/frequencyRadius.h"
#include "fourier/rowFrequency.h"

namespace tarnview {

namespace {

constexpr int binCount = 200;
constexpr int halfTurnBins = 100;
constexpr double pi = 3.14159265358979323846;
constexpr float angularStep = 0.03141593f;               // pi / 100 rounded to float
constexpr float wedgeHalfWidth = 0.17453292519943295f;   // 10 degrees: pi / 18
constexpr float wedgeAngleStep = 0.008726646259971648f;  // half a degree: pi / 360
constexpr int ringRadii = 10;                            // R - 5 ... R + 4

// The table while a profile is built: weights (sample counts) in the first half, sums of
// amplitudes in the second.
struct Bins {
    float* weight;
    float* sum;
};

// The vertical frequency of each stored row.
std::vector<int> rowFrequencies(int ny) {
    std::vector<int> v(size_t(std::max(ny, 0)));
    for (int j = 0; j < ny; j++) v[size_t(j)] = rowFrequency(j, ny);
    return v;
}

// The vertical frequency named by the stored row b; a row outside the image is taken as
// b - ny/2, the frequency it would hold in an image tall enough to have it.
int64_t storedRowFrequency(int b, int ny) {
    if (b >= 0 && b < ny) return rowFrequency(b, ny);
    return int64_t(b) - ny / 2;
}

float stepFor(int kind, int nx) {
    switch (kind) {
        case radialProfile:
            return float(double(float(nx * 0.6)) / binCount);
        case wedgeProfile:
            return float(double(float(nx * 0.5)) / binCount);
        case angularProfile:
        case ringProfile:
            return angularStep;
        default:
            return 0.0f;
    }
}

// Shares the amplitude between bins i and i + 1 in the proportions 1 - f and f of the
// bin coordinate t = i + f; coordinates from bin 199 on are dropped.
inline void addLinear(Bins bins, float t, float amplitude) {
    const float whole = std::floor(t);
    if (!(whole >= 0.0f && whole <= float(binCount - 2))) return;
    const int i = int(whole);
    const float f = t - whole;
    bins.weight[i] += 1.0f - f;
    bins.weight[i + 1] += f;
    bins.sum[i] += (1.0f - f) * amplitude;
    bins.sum[i + 1] += f * amplitude;
}

// Columns outer, rows inner: the order decides the rounding of the sums.
void sampleRadial(const Image& image, Bins bins, float step) {
    const int nx = image.getNx(), ny = image.getNy();
    const std::vector<int> v = rowFrequencies(ny);
    const float* data = image.getData();
    for (int u = 0; u < nx / 2; u++) {
        const float* column = data + 2 * u;
        for (int j = 0; j < ny; j++)
            addLinear(bins, frequencyRadius(u, v[size_t(j)]) / step, column[int64_t(j) * nx]);
    }
}

// Directions from 0 to pi of the coefficients with 3 <= r <= nx/2 - 2.
void sampleAngular(const Image& image, Bins bins) {
    const int nx = image.getNx(), ny = image.getNy();
    const std::vector<int> v = rowFrequencies(ny);
    const float* data = image.getData();
    const float outer = float(nx / 2 - 2);
    for (int u = 0; u < nx / 2; u++) {
        for (int j = 0; j < ny; j++) {
            const float r = frequencyRadius(u, v[size_t(j)]);
            if (r < 3.0f || r > outer) continue;
            float direction = float(std::atan2(double(v[size_t(j)]), double(u)));
            if (direction < 0.0f) direction = float(double(direction) + pi);
            addLinear(bins, direction / angularStep, data[int64_t(j) * nx + 2 * u]);
        }
    }
}

// Adds to bin i the amplitude of the coefficient at (rho cos theta, rho sin theta), each
// truncated toward zero; a point of negative column stands for its conjugate. Points
// beyond the stored coefficients are skipped (tested before any conversion to int).
void addPoint(const Image& image, Bins bins, int i, float rho, float theta) {
    const int nx = image.getNx(), ny = image.getNy();
    double x = std::trunc(double(rho) * std::cos(double(theta)));
    double y = std::trunc(double(rho) * std::sin(double(theta)));
    if (x < 0) {
        x = -x;
        y = -y;
    }
    if (!(x < nx / 2) || !(std::fabs(y) <= ny)) return;
    const int row = frequencyRow(int(y), ny);
    if (row < 0) return;
    bins.weight[i] += 1.0f;
    bins.sum[i] += image.getData()[int64_t(row) * nx + 2 * int64_t(x)];
}

// Radii i x step out to nx/2, each sampled every half degree within 10 degrees of the
// direction towards (a, v).
void sampleWedge(const Image& image, Bins bins, float step, int a, int64_t v) {
    const float theta0 = float(std::atan2(double(v), double(a)));
    const float low = theta0 - wedgeHalfWidth, high = theta0 + wedgeHalfWidth;
    const int radiusEnd = image.getNx() / 2;
    float rho = 0.0f;
    for (int i = 0; i < binCount && rho < float(radiusEnd); i++, rho += step)
        for (float theta = low; theta < high; theta += wedgeAngleStep) addPoint(image, bins, i, rho, theta);
}

// Directions i x pi/100 below pi, each sampled on the ten radii R - 5 ... R + 4 around
// R = hypot(a, v). The radii are counted, so a radius too large to advance by 1 in
// float still ends the loop.
void sampleRing(const Image& image, Bins bins, int a, int64_t v) {
    const float radius = float(std::hypot(double(a), double(v)));
    float theta = 0.0f;
    for (int i = 0; i < halfTurnBins && double(theta) < pi; i++, theta += angularStep) {
        float rho = radius - 5.0f;
        for (int n = 0; n < ringRadii; n++, rho += 1.0f) addPoint(image, bins, i, rho, theta);
    }
}

// Bins 100 ... 199 repeat bins 0 ... 99 (a half turn covers every direction).
void repeatHalfTurn(Bins bins) {
    std::copy(bins.weight, bins.weight + halfTurnBins, bins.weight + halfTurnBins);
    std::copy(bins.sum, bins.sum + halfTurnBins, bins.sum + halfTurnBins);
}

void writePositions(float* table, float step) {
    for (int i = 0; i < binCount; i++) table[i] = step * float(i);
    table[0] = 0.0f;
}

// Means of the filled bins; an empty bin gets the value on the line between the filled
// bins around it, or the value before it when no filled bin follows (0 when none is
// filled at all). Then the bin positions replace the weights.
void finishProfile(float* table, float step) {
    float* weight = table;
    float* value = table + binCount;
    for (int i = 0; i < binCount; i++) value[i] = weight[i] > 0.0f ? value[i] / weight[i] : 0.0f;
    for (int i = 1; i < binCount; i++) {
        if (weight[i] != 0.0f) continue;
        int j = i + 1;
        while (j < binCount && weight[j] == 0.0f) j++;
        if (j == binCount)
            value[i] = value[i - 1];
        else
            value[i] = (value[i - 1] * float(j - i) + value[j]) / float(j - i + 1);
    }
    writePositions(table, step);
}

void sample(const Image& image, Bins bins, int kind, float step, int a, int b) {
    if (image.getNz() < 1) return;  // no samples behind nx x ny
    switch (kind) {
        case radialProfile:
            sampleRadial(image, bins, step);
            break;
        case angularProfile:
            sampleAngular(image, bins);
            repeatHalfTurn(bins);
            break;
        case wedgeProfile:
            sampleWedge(image, bins, step, a, storedRowFrequency(b, image.getNy()));
            break;
        case ringProfile:
            sampleRing(image, bins, a, storedRowFrequency(b, image.getNy()));
            repeatHalfTurn(bins);
            break;
        default:
            break;
    }
}

}  // namespace

float* fourierProfile(Image& image, int kind, int a, int b) {
    if (!image.isComplex()) return nullptr;
    float* table = image.allocateProfile();
    if (table == nullptr) return nullptr;
    if ((kind == radialProfile || kind == angularProfile) && image.getProfileKind() == kind) {
        writePositions(table, image.getProfileStep());
        return table;
    }
    const float step = stepFor(kind, image.getNx());
    image.setProfileKind(kind);
    image.setProfileStep(step);
    std::fill(table, table + 2 * binCount, 0.0f);
    sample(image, Bins{table, table + binCount}, kind, step, a, b);
    finishProfile(table, step);
    return table;
}

}  // namespace tarnview
