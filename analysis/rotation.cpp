#include "analysis/rotation.h"

#include <cmath>
#include <cstdint>
#include <memory>

#include "analysis/analysisMessages.h"

namespace tarnview {

namespace {

// Bilinear interpolation of the source at (u, v), 0 <= u <= nx - 1 and 0 <= v <= ny - 1.
// A neighbour whose weight is zero is not read: on the last column or row the next one
// does not exist.
float interpolate(const float* source, int64_t nx, float u, float v) {
    const float fu0 = std::floor(u), fv0 = std::floor(v);
    const float fu = u - fu0, fv = v - fv0;
    const float* p = source + int64_t(fv0) * nx + int64_t(fu0);
    float value = (1 - fu) * (1 - fv) * p[0];
    if (fu != 0) value += fu * (1 - fv) * p[1];
    if (fv != 0) value += fv * (1 - fu) * p[nx];
    if (fu != 0 && fv != 0) value += fu * fv * p[nx + 1];
    return value;
}

}  // namespace

Image* rotate(const Image& image, float angle) {
    if (!std::isfinite(angle)) {
        printRotateAngleNotFinite(angle);
        return nullptr;
    }
    const int nx = image.getNx(), ny = image.getNy();
    auto result = std::make_unique<Image>(metadataCopy, image);
    if (!result->resize(nx, ny, 1)) return nullptr;
    const float theta = float(double(angle) / 180 * M_PI);
    const float cr = float(std::cos(theta)), sr = float(std::sin(theta));
    const float cx = float((nx - 1) / 2.0), cy = float((ny - 1) / 2.0);
    const float outside = image.getMean();
    const float* source = image.getData();
    float* out = result->getData();
    // Offsets from the centre as floats advanced by 1 per pixel. Every u and v is finite,
    // so a position inside the bounds (compared exactly, in double) has an in-range floor.
    float y = -cy;
    for (int64_t row = 0; row < ny; row++, y += 1.0f) {
        float x = -cx;
        for (int64_t col = 0; col < nx; col++, x += 1.0f) {
            const float u = x * cr + y * sr + cx;
            const float v = -x * sr + y * cr + cy;
            const bool inside =
                u >= 0 && double(u) <= double(nx - 1) && v >= 0 && double(v) <= double(ny - 1);
            out[row * nx + col] = inside ? interpolate(source, nx, u, v) : outside;
        }
    }
    result->updateStatistics();
    return result.release();
}

}  // namespace tarnview
