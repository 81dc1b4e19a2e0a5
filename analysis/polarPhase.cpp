#include "analysis/polarPhase.h"

#include <cmath>
#include <cstdint>
#include <memory>
#include <vector>

#include "analysis/analysisMessages.h"
#include "fourier/rowFrequency.h"

namespace tarnview {

namespace {

constexpr int lines = 360;

// The phases along the 360 lines of image, ny/2 slots per line (radii 0 ... ny/2 - 2;
// the last slot stays 0). Line i runs at angle -pi/2 + i pi/359, both terms and their
// sums in single precision. The single-precision -pi/2 lies a hair beyond -pi/2, so on
// the first line X = floor(rho cos) is -1 and float 2X + 1 of the frequency's row is the
// last float of the row stored before it; that reading is kept. A coefficient with X
// beyond the stored row, or before the first float, reads as 0.
std::vector<float> linePhases(const Image& image) {
    const int64_t nx = image.getNx(), ny = image.getNy(), half = ny / 2;
    const float* data = image.getData();
    std::vector<float> phases(size_t(lines * half), 0.0f);
    const float delta = float(M_PI / 359);
    float theta = float(-M_PI / 2);
    for (int i = 0; i < lines; i++, theta += delta) {
        const double c = std::cos(double(theta)), s = std::sin(double(theta));
        for (int64_t rho = 0; rho < half - 1; rho++) {
            const int64_t x = int64_t(std::floor(double(rho) * c));
            const int64_t y = int64_t(std::floor(double(rho) * s + double(half)));
            const int64_t row = frequencyRow(int(y - half), int(ny));
            const int64_t index = row * nx + 2 * x + 1;
            if (row >= 0 && 2 * x + 1 < nx && index >= 0) phases[size_t(i * half + rho)] = data[index];
        }
    }
    return phases;
}

// Sum over the radii first ... last of the phase differences of two lines, each wrapped
// into 0 ... pi, in single precision.
float lineDifference(const float* a, const float* b, int64_t first, int64_t last) {
    float sum = 0;
    for (int64_t rho = first; rho <= last; rho++) {
        float d = std::fabs(a[rho] - b[rho]);
        if (d > M_PI) d = float(std::fabs(double(d) - 2 * M_PI));
        sum += d;
    }
    return sum;
}

}  // namespace

Image* polarPhaseCompare(const Image& reference, const Image* other) {
    const Image& second = other ? *other : reference;
    const int nx = reference.getNx(), ny = reference.getNy();
    if (second.getNx() != nx || second.getNy() != ny) {
        printPhaseSizesDiffer(nx, ny, second.getNx(), second.getNy());
        return nullptr;
    }
    auto result = std::make_unique<Image>();
    if (!result->resize(lines, lines, 1)) return nullptr;
    const int64_t half = ny / 2;
    const std::vector<float> a = linePhases(reference);
    std::vector<float> secondPhases;
    if (&second != &reference) secondPhases = linePhases(second);
    const float* b = &second == &reference ? a.data() : secondPhases.data();
    float* out = result->getData();
    for (int64_t i1 = 0; i1 < lines; i1++)
        for (int64_t i2 = 0; i2 < lines; i2++)
            out[i1 * lines + i2] = lineDifference(a.data() + i1 * half, b + i2 * half, 5, half - 6);
    result->updateStatistics();
    return result.release();
}

}  // namespace tarnview
