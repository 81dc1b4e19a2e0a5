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
        case profileRadial:
            return float(double(float(nx * 0.6)) / binCount);
        case profileWedge:
            return float(double(float(nx * 0.5)) / binCount);
        case profileAngular:
        case profileRing:
            return angularStep;
        default:
            return 0.0f;
    }
}

constexpr int blockColumns = 16;         // columns gathered together: two cache lines of a row
constexpr float exactSquares = 0x1p24f;  // integers up to here are exact floats
constexpr float skipped = 1e30f;         // a bin coordinate past every bin

// Two neighbouring bins held in registers.
struct BinPair {
    int i = -1;  // none
    float w0 = 0, w1 = 0, s0 = 0, s1 = 0;
    void load(Bins bins, int first) {
        i = first;
        w0 = bins.weight[i];
        w1 = bins.weight[i + 1];
        s0 = bins.sum[i];
        s1 = bins.sum[i + 1];
    }
    void store(Bins bins) const {
        if (i < 0) return;
        bins.weight[i] = w0;
        bins.weight[i + 1] = w1;
        bins.sum[i] = s0;
        bins.sum[i + 1] = s1;
    }
};

// Shares each of the n amplitudes between bins i and i + 1 in the proportions 1 - f and f
// of its bin coordinate t = i + f, in order; coordinates from bin 199 on are dropped. The
// two bins last updated stay in registers while the rows stay in them: the same float
// additions in the same order as updating the table directly, without a round trip
// through memory for each row (neighbouring rows mostly share their bins).
void spread(Bins bins, const float* t, const float* amplitude, int n) {
    BinPair pair;
    for (int j = 0; j < n; j++) {
        if (!(t[j] >= 0.0f && t[j] < float(binCount - 1))) continue;
        const int i = int(t[j]);  // floor, t being positive
        const float f = t[j] - float(i);
        if (i != pair.i) {
            pair.store(bins);
            pair.load(bins, i);
        }
        pair.w0 += 1.0f - f;
        pair.w1 += f;
        pair.s0 += (1.0f - f) * amplitude[j];
        pair.s1 += f * amplitude[j];
    }
    pair.store(bins);
}

// The vertical frequencies of the rows, and their squares as floats.
struct RowFrequencies {
    std::vector<int> v;
    std::vector<float> squared;
    float largestSquare = 0.0f;
    explicit RowFrequencies(int ny) : v(rowFrequencies(ny)), squared(v.size()) {
        for (size_t j = 0; j < v.size(); j++) {
            squared[j] = float(v[j]) * float(v[j]);
            largestSquare = std::max(largestSquare, squared[j]);
        }
    }
};

// r[j] = frequencyRadius(u, v[j]) for every row. While every u^2 + v^2 of the column is
// an exact float, the float square root of it is that value (correctly rounded either
// way) and four or eight of them are taken at once.
void columnRadii(int u, const RowFrequencies& rows, float* r) {
    const float uu = float(u) * float(u);
    const size_t n = rows.v.size();
    if (uu + rows.largestSquare <= exactSquares) {
        for (size_t j = 0; j < n; j++) r[j] = std::sqrt(uu + rows.squared[j]);
    } else {
        for (size_t j = 0; j < n; j++) r[j] = frequencyRadius(u, rows.v[j]);
    }
}

// Copies the amplitudes of columns u0 ... u0 + width - 1 into amplitude, column c from
// c x stride on, reading each row's floats of the block together.
void gatherBlock(const Image& image, int u0, int width, int64_t stride, float* amplitude) {
    const int64_t nx = image.getNx(), ny = image.getNy();
    for (int64_t j = 0; j < ny; j++) {
        const float* row = image.getData() + j * nx + 2 * u0;
        for (int c = 0; c < width; c++) amplitude[c * stride + j] = row[2 * c];
    }
}

// Spreads every coefficient's amplitude at the bin coordinate that coordinates(u, rows, t)
// gives for each row of column u. Columns outer, rows inner: the order decides the
// rounding of the sums.
template <class Coordinates>
void sampleColumns(const Image& image, Bins bins, Coordinates coordinates) {
    const int ny = image.getNy(), pairs = image.getNx() / 2;
    const RowFrequencies rows(ny);
    // Columns a cache line more than a power of two apart, so that the block's stores
    // fall in different cache sets.
    const int64_t stride = int64_t(rows.v.size()) + 16;
    std::vector<float> amplitude(size_t(blockColumns * stride)), t(rows.v.size());
    for (int u0 = 0; u0 < pairs; u0 += blockColumns) {
        const int width = std::min(blockColumns, pairs - u0);
        gatherBlock(image, u0, width, stride, amplitude.data());
        for (int c = 0; c < width; c++) {
            coordinates(u0 + c, rows, t.data());
            spread(bins, t.data(), amplitude.data() + c * stride, ny);
        }
    }
}

// Bin coordinate: the frequency over the step.
void sampleRadial(const Image& image, Bins bins, float step) {
    sampleColumns(image, bins, [step](int u, const RowFrequencies& rows, float* t) {
        columnRadii(u, rows, t);
        for (size_t j = 0; j < rows.v.size(); j++) t[j] /= step;
    });
}

// Bin coordinate: the direction from 0 to pi over its step, for 3 <= r <= nx/2 - 2.
void sampleAngular(const Image& image, Bins bins) {
    const float outer = float(image.getNx() / 2 - 2);
    sampleColumns(image, bins, [outer](int u, const RowFrequencies& rows, float* t) {
        columnRadii(u, rows, t);
        for (size_t j = 0; j < rows.v.size(); j++) {
            float direction = float(std::atan2(double(rows.v[j]), double(u)));
            if (direction < 0.0f) direction = float(double(direction) + pi);
            t[j] = t[j] < 3.0f || t[j] > outer ? skipped : direction / angularStep;
        }
    });
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
        case profileRadial:
            sampleRadial(image, bins, step);
            break;
        case profileAngular:
            sampleAngular(image, bins);
            repeatHalfTurn(bins);
            break;
        case profileWedge:
            sampleWedge(image, bins, step, a, storedRowFrequency(b, image.getNy()));
            break;
        case profileRing:
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
    if ((kind == profileRadial || kind == profileAngular) && image.getProfileKind() == kind) {
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
