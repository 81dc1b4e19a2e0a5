#include "analysis/RingSampler.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace tarnview {

namespace {

// Sum and count of the samples of one bin.
struct BinSum {
    double sum = 0;
    int64_t count = 0;
};

// Adds the samples at the five radii r - 2 ... r + 2 along the direction (c, s).
void sampleDirection(const float* data, int64_t nx, int64_t hx, int64_t hy, int r, double c, double s,
                     BinSum& bin) {
    for (int k = -2; k <= 2; k++) {
        const double rho = double(r) + k;
        const int64_t x = int64_t(rho * c);  // truncation toward zero
        const int64_t y = int64_t(rho * s);
        if (x >= -hx && x < hx && y >= -hy && y < hy) {
            bin.sum += data[(y + hy) * nx + x + hx];
            bin.count++;
        }
    }
}

// Whether no sample of radius r - 2 or more can fall inside the image: every point at
// least hypot(hx + 1, hy + 1) from the centre has an offset beyond the bounds even after
// truncation.
bool ringOutside(int r, int64_t hx, int64_t hy) {
    return double(r) - 2 >= std::hypot(hx + 1.0, hy + 1.0);
}

// Largest table of directions kept: 2^20 directions, 16 MB.
constexpr int64_t maxTabledDirections = int64_t(1) << 20;

// Sample directions of bin i: m + 1 angles from D i - D/2 in steps of D/m, both in single
// precision as the angles themselves are.
template <typename Visit>
void binDirections(int n, int64_t m, int i, Visit visit) {
    const float delta = float(2 * M_PI / n);
    const float step = float(double(delta) / double(m));
    float theta = float(double(delta) * i - double(delta) / 2);
    for (int64_t k = 0; k <= m; k++, theta += step) visit(std::cos(double(theta)), std::sin(double(theta)));
}

}  // namespace

void RingSampler::prepare(int n, int m) {
    if (n == tableBins && m == tableSteps) return;
    directions.resize(size_t(n) * size_t(m + 1) * 2);
    double* d = directions.data();
    for (int i = 0; i < n; i++)
        binDirections(n, m, i, [&](double c, double s) {
            *d++ = c;
            *d++ = s;
        });
    tableBins = n;
    tableSteps = m;
}

void RingSampler::profile(const Image& image, float* buffer, int n, int r) {
    if (r <= 0 || n <= 0) return;
    const int64_t nx = image.getNx(), hx = nx / 2, hy = image.getNy() / 2;
    const float delta = float(2 * M_PI / n);
    for (int i = 0; i < n; i++) buffer[i] = float(double(delta) * i);
    float* values = buffer + n;
    std::fill(values, values + n, 0.0f);
    if (ringOutside(r, hx, hy)) return;  // also bounds m by the image's size
    int64_t m = int64_t(2 * std::ceil(2 * M_PI * r / n));
    if (m == 0) m = 2;
    const float* data = image.getData();
    // The directions are tabulated for every ring of ordinary images; rings of images
    // with millions of samples per bin compute them as they go.
    const bool tabled = int64_t(n) * (m + 1) <= maxTabledDirections;
    if (tabled) prepare(n, int(m));
    const double* d = directions.data();
    for (int i = 0; i < n; i++) {
        BinSum bin;
        if (tabled) {
            for (int64_t k = 0; k <= m; k++, d += 2) sampleDirection(data, nx, hx, hy, r, d[0], d[1], bin);
        } else {
            binDirections(n, m, i,
                          [&](double c, double s) { sampleDirection(data, nx, hx, hy, r, c, s, bin); });
        }
        if (bin.count > 0) values[i] = float(bin.sum / double(bin.count));
    }
}

void ringProfile(const Image& image, float* buffer, int n, int r) {
    RingSampler sampler;
    sampler.profile(image, buffer, n, r);
}

}  // namespace tarnview
