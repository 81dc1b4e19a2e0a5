#include "analysis/translation.h"

#include <cmath>
#include <cstdint>
#include <memory>
#include <string>

#include "analysis/analysisMessages.h"
#include "fourier/imageFourier.h"
#include "fourier/rowFrequency.h"

namespace tarnview {

namespace {

// 2 pi in double.
constexpr double twoPi = 6.283185307179586;

// Scales and ramps one stored row of pairs with vertical frequency v: the ramp grows by
// 2 pi tx/nx per column.
void rampRow(float* row, int pairs, int nx, double scale, double rowPhase, double tx) {
    for (int u = 0; u < pairs; u++) {
        const double re = row[2 * u], im = row[2 * u + 1];
        const float amplitude = float(std::hypot(re, im) / scale);
        const float phase = float(std::atan2(im, re));
        const float shifted = float(phase + twoPi * (tx * u / nx + rowPhase));
        row[2 * u] = float(amplitude * std::cos(double(shifted)));
        row[2 * u + 1] = float(amplitude * std::sin(double(shifted)));
    }
}

}  // namespace

int translateTransformInto(Image& transform, double tx, double ty, Image& target) {
    if (!std::isfinite(tx) || !std::isfinite(ty)) {
        printShiftNotFinite(tx, ty);
        return 0;
    }
    const int width = transform.getNx();
    const int nx = width - 2;
    const int ny = transform.getNy();
    const double scale = double(nx) * ny;
    for (int r = 0; r < ny; r++) {
        const double rowPhase = ty * rowFrequency(r, ny) / ny;
        rampRow(transform.getData() + int64_t(r) * width, width / 2, nx, scale, rowPhase, tx);
    }
    const std::string name = target.getName();
    if (!iftInto(transform, target)) return 0;
    target.setName(name.c_str());
    return 1;
}

int translateImage(Image& image, double tx, double ty) {
    if (!std::isfinite(tx) || !std::isfinite(ty)) {
        printShiftNotFinite(tx, ty);
        return 0;
    }
    std::unique_ptr<Image> transform(fft(image, 1));
    if (!transform) return 0;
    return translateTransformInto(*transform, tx, ty, image);
}

}  // namespace tarnview
