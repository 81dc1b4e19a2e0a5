#include "analysis/tileTransform.h"

#include <cmath>
#include <cstdint>

#include "fourier/fftEngine.h"

namespace tarnview {

namespace {

constexpr double pi = 3.14159265358979323846;
constexpr int block = 8;  // tile rows moved together: 64 bytes of a packed row

// Writes the windowed tile as packed pairs, transposed: packed row j, value y is
// ((t(2j, y) - offset) w(2j) w(y), (t(2j + 1, y) - offset) w(2j + 1) w(y)). Returns the
// sum of the samples, kept in one double per row of a block.
double pack(const float* tile, int64_t stride, int n, float offset, const float* wx, const float* wy,
            float* packed) {
    const int half = n / 2;
    double sums[block] = {};
    for (int y0 = 0; y0 < n; y0 += block) {
        const int rows = y0 + block <= n ? block : n - y0;
        for (int j = 0; j < half; j++) {
            float* target = packed + (int64_t(j) * n + y0) * 2;
            const float ex = wx[2 * j], ox = wx[2 * j + 1];
            for (int r = 0; r < rows; r++) {
                const float* row = tile + int64_t(y0 + r) * stride;
                const float even = row[2 * j], odd = row[2 * j + 1];
                sums[r] += double(even) + double(odd);
                target[2 * r] = (even - offset) * (ex * wy[y0 + r]);
                target[2 * r + 1] = (odd - offset) * (ox * wy[y0 + r]);
            }
        }
    }
    double sum = 0;
    for (double s : sums) sum += s;
    return sum;
}

// Separates coefficient k of every row from the packed transforms Z (length n/2):
// with a = Z(k), b = conj(Z(n/2 - k)), E = (a + b) / 2 and O = (a - b) / 2i are the
// transforms of the even and odd samples, and X(k) = E + exp(2 pi i k / n) O. Row y's
// coefficient k goes to out float 2 (y (n/2 + 1) + k).
void separate(const float* packed, int n, const float* twiddle, float* out) {
    const int half = n / 2, width = half + 1;
    for (int y0 = 0; y0 < n; y0 += block) {
        const int rows = y0 + block <= n ? block : n - y0;
        for (int k = 0; k <= half; k++) {
            const float* za = packed + (int64_t(k % half) * n + y0) * 2;
            const float* zb = packed + (int64_t((half - k) % half) * n + y0) * 2;
            const float c = twiddle[2 * k], s = twiddle[2 * k + 1];
            for (int r = 0; r < rows; r++) {
                const float ar = za[2 * r], ai = za[2 * r + 1], br = zb[2 * r], bi = -zb[2 * r + 1];
                const float er = 0.5f * (ar + br), ei = 0.5f * (ai + bi);
                const float orr = 0.5f * (ai - bi), oi = -0.5f * (ar - br);
                float* target = out + (int64_t(y0 + r) * width + k) * 2;
                target[0] = er + (c * orr - s * oi);
                target[1] = ei + (c * oi + s * orr);
            }
        }
    }
}

}  // namespace

TileTransform::TileTransform(int side) : n(side), packed(size_t(side) * side), twiddle(size_t(side + 2)) {
    for (int k = 0; k <= n / 2; k++) {
        twiddle[size_t(2 * k)] = float(std::cos(2 * pi * k / n));
        twiddle[size_t(2 * k + 1)] = float(std::sin(2 * pi * k / n));
    }
}

double TileTransform::forward(const float* tile, int64_t stride, float offset, const float* windowX,
                              const float* windowY, float* out) {
    const double sum = pack(tile, stride, n, offset, windowX, windowY, packed.data());
    // Every tile row's packed transform: n adjacent transforms of length n/2.
    fftComplexMany(+1, n / 2, n, n, 1, packed.data());
    separate(packed.data(), n, twiddle.data(), out);
    // Every column of coefficients: n/2 + 1 adjacent transforms of length n.
    fftComplex2d(+1, 2, n / 2 + 1, n, out);
    return sum;
}

}  // namespace tarnview
