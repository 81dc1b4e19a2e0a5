#include "fourier/fftReal.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <memory>
#include <new>

#include "fourier/fftEngine.h"
#include "fourier/fftSizes.h"
#include "fourier/vectorTargets.h"

namespace tarnview {

namespace {

constexpr double twoPi = 6.28318530717958647692528676655900577;

// The separation loops carry TARNVIEW_WIDEST_VECTORS: every operation is the same IEEE
// operation whatever the width and nothing is contracted, so the results are the same
// floats.

// Twiddle factors are generated in chunks of this many frequencies (4 KiB on the stack).
constexpr int twiddleChunk = 256;

// Rows of the row transforms are processed in blocks of about this many floats (256 KiB),
// so that the halving, the complex transform and the separation of a block happen while
// it is in cache.
constexpr int64_t rowBlockFloats = 64 * 1024;

bool isRealLength(int n) {
    return n >= 2 && n % 2 == 0 && isFftSize(n / 2);
}

// theta = 2 pi / length, negated when the kernel's sign is negative (forward) or when it
// is not negative (inverse: the separation runs backwards).
double separationAngle(int sign, int length, bool inverse) {
    double theta = twoPi / length;
    bool negate = inverse ? sign >= 0 : sign < 0;
    return negate ? -theta : theta;
}

// The factors w(k) = exp(i k theta) for k = 1, 2, ... from the recurrence
// w(k + 1) = w(k) + w(k) (wpr + i wpi), wpr = -2 sin^2(theta/2), wpi = sin(theta), in
// double precision: two sine calls for the whole transform.
class Twiddle {
  public:
    explicit Twiddle(double theta) {
        double h = std::sin(0.5 * theta);
        wpr = -2.0 * h * h;
        wpi = std::sin(theta);
        wr = 1.0 + wpr;
        wi = wpi;
    }
    double re() const { return wr; }
    double im() const { return wi; }
    void advance() {
        double oldWr = wr;
        wr = wr + (wpr * wr - wpi * wi);
        wi = wi + (wpr * wi + wpi * oldWr);
    }

  private:
    double wpr, wpi, wr, wi;
};

// Hands the factors of frequencies 1 to last to apply(first, count, wr, wi) in chunks,
// running the recurrence from its start state w (a copy, so that the blocks of a 2-D
// transform each restart from the same state without calling sine again).
// For the inverse direction the real parts are handed negated: that turns the separation
// step below into its combination step (t = wi dr - wr si, o = wi si + wr dr).
template <class Apply>
void forEachTwiddleChunk(Twiddle w, int last, bool inverse, Apply&& apply) {
    double wr[twiddleChunk];
    double wi[twiddleChunk];
    for (int first = 1; first <= last; first += twiddleChunk) {
        int count = std::min(twiddleChunk, last - first + 1);
        for (int j = 0; j < count; j++) {
            wr[j] = inverse ? -w.re() : w.re();
            wi[j] = w.im();
            w.advance();
        }
        apply(first, count, wr, wi);
    }
}

// One separation step on the pairs P (at p) and Q (at q) of frequencies k and half - k:
// with sr = P.re + Q.re, dr = P.re - Q.re, si = P.im + Q.im, di = P.im - Q.im,
// u = wi dr + wr si and v = wi si - wr dr (double, rounded to float), P becomes
// (sr + u, di + v) and Q (sr - u, v - di). All four inputs are read before any output is
// written, so p == q (the middle frequency) leaves the Q results.
inline void separate(float* p, float* q, double wr, double wi) {
    float sr = p[0] + q[0];
    float dr = p[0] - q[0];
    float si = p[1] + q[1];
    float di = p[1] - q[1];
    float u = float(wi * dr + wr * si);
    float v = float(wi * si - wr * dr);
    p[0] = sr + u;
    p[1] = di + v;
    q[0] = sr - u;
    q[1] = v - di;
}

// Copies n float pairs from source to target in reverse pair order.
TARNVIEW_WIDEST_VECTORS void reversePairs(const float* __restrict source, float* __restrict target, int n) {
    for (int j = 0; j < n; j++) {
        uint64_t pair;
        std::memcpy(&pair, source + 2 * (n - 1 - j), sizeof pair);
        std::memcpy(target + 2 * j, &pair, sizeof pair);
    }
}

// The separation steps of count frequencies with P at p[2j] and Q at q[2j], both runs
// ascending and apart: straight loops over contiguous pairs, which vectorise.
TARNVIEW_WIDEST_VECTORS void separateRun(float* __restrict p, float* __restrict q, int count,
                                         const double* __restrict wr, const double* __restrict wi) {
    for (int j = 0; j < count; j++) separate(p + 2 * j, q + 2 * j, wr[j], wi[j]);
}

// The separation steps of frequencies first .. first + count - 1 (at most twiddleChunk)
// on one line of half complex values (pairs of floats, contiguous).
void separateLine(float* line, int half, int first, int count, const double* wr, const double* wi) {
    // Frequencies below half/2 have distinct partners above it, which walk downwards: they
    // are turned round in a buffer so that both runs ascend. The middle frequency (half
    // even) is its own partner.
    const int below = std::clamp((half + 1) / 2 - first, 0, count);
    if (below > 0) {
        float partners[2 * twiddleChunk];
        float* lowest = line + 2 * (half - first - (below - 1));
        reversePairs(lowest, partners, below);
        separateRun(line + 2 * first, partners, below, wr, wi);
        reversePairs(partners, lowest, below);
    }
    for (int j = below; j < count; j++)
        separate(line + 2 * (first + j), line + 2 * (half - first - j), wr[j], wi[j]);
}

// Splits the transform of the packed zero frequency (a, b) into coefficient 0 (at zero)
// and coefficient half (at nyquist), both real.
inline void splitZeroFrequency(float* zero, float* nyquist) {
    float a = zero[0];
    float b = zero[1];
    nyquist[0] = 2.0f * (a - b);
    zero[0] = 2.0f * (a + b);
    nyquist[1] = 0.0f;
    zero[1] = 0.0f;
}

int rowsPerBlock(int64_t rowFloats) {
    return int(std::max<int64_t>(1, rowBlockFloats / rowFloats));
}

void halve(const float* in, float* out, int64_t count) {
    for (int64_t i = 0; i < count; i++) out[i] = 0.5f * in[i];
}

// Forward transform of every row: rows of nx reals in, rows of nx + 2 floats out.
void forwardRows(int sign, int nx, int ny, const float* in, float* out) {
    const int half = nx / 2;
    const int64_t stride = int64_t(nx) + 2;
    const bool inPlace = in == out;
    if (inPlace) {
        // Halve at the input's packing, then spread the rows to the output stride from the
        // last to the first so that no row overwrites one not yet moved.
        halve(in, out, int64_t(nx) * ny);
        for (int64_t r = ny - 1; r >= 1; r--)
            std::memmove(out + r * stride, out + r * nx, size_t(nx) * sizeof(float));
    }
    const Twiddle start(separationAngle(sign, nx, false));
    const int block = rowsPerBlock(stride);
    for (int y0 = 0; y0 < ny; y0 += block) {
        const int rows = std::min(block, ny - y0);
        float* first = out + int64_t(y0) * stride;
        if (!inPlace)
            for (int r = 0; r < rows; r++) halve(in + (int64_t(y0) + r) * nx, first + r * stride, nx);
        fftComplexMany(sign, half, rows, 1, int(stride / 2), first);
        for (int r = 0; r < rows; r++) splitZeroFrequency(first + r * stride, first + r * stride + nx);
        forEachTwiddleChunk(start, nx / 4, false, [&](int k, int count, const double* wr, const double* wi) {
            for (int r = 0; r < rows; r++) separateLine(first + r * stride, half, k, count, wr, wi);
        });
    }
}

// Inverse transform of every row: rows of nx + 2 floats in, rows of nx reals out. Each
// block of rows is compacted to the output stride in ascending order, which never
// overwrites input rows still to come, so in may be out.
void inverseRows(int sign, int nx, int ny, const float* in, float* out) {
    const int half = nx / 2;
    const int64_t stride = int64_t(nx) + 2;
    const Twiddle start(separationAngle(sign, nx, true));
    const int block = rowsPerBlock(stride);
    for (int y0 = 0; y0 < ny; y0 += block) {
        const int rows = std::min(block, ny - y0);
        float* first = out + int64_t(y0) * nx;
        for (int r = 0; r < rows; r++) {
            const float* source = in + (int64_t(y0) + r) * stride;
            float* target = first + int64_t(r) * nx;
            float c0 = source[0];
            float cHalf = source[nx];
            if (source != target) std::memmove(target + 2, source + 2, size_t(nx - 2) * sizeof(float));
            target[1] = c0 - cHalf;
            target[0] = c0 + cHalf;
        }
        forEachTwiddleChunk(start, nx / 4, true, [&](int k, int count, const double* wr, const double* wi) {
            for (int r = 0; r < rows; r++) separateLine(first + int64_t(r) * nx, half, k, count, wr, wi);
        });
        fftComplexMany(sign, half, rows, 1, half, first);
    }
}

// Forward transform of every column: pairs of real rows become complex rows, the columns
// The separation step along the columns: rows k and ny/2 - k of the packed complex
// rows combined, every column at once, for the forward or the inverse transform.
void separateColumns(int sign, int nx, int ny, bool inverse, float* out) {
    const int half = ny / 2;
    const int64_t complexRow = 2 * int64_t(nx);
    const Twiddle start(separationAngle(sign, ny, inverse));
    forEachTwiddleChunk(start, ny / 4, inverse,
                        [&](int first, int count, const double* wr, const double* wi) {
                            for (int j = 0; j < count; j++) {
                                int k = first + j;
                                float* p = out + k * complexRow;
                                float* q = out + (half - k) * complexRow;
                                for (int x = 0; x < nx; x++) separate(p + 2 * x, q + 2 * x, wr[j], wi[j]);
                            }
                        });
}

// are transformed at half length and separated across rows k and ny/2 - k.
void forwardColumns(int sign, int nx, int ny, const float* in, float* out) {
    const int half = ny / 2;
    const int64_t complexRow = 2 * int64_t(nx);
    halve(in, out, int64_t(nx) * ny);
    // Row j is parked in the spare row at the end of the output while row j + 1 fills the
    // imaginary parts of complex row j/2 (ascending, which never overwrites a float of
    // row j + 1 before it is read); then row j fills the real parts.
    float* parked = out + int64_t(nx) * ny;
    for (int j = 0; j < ny; j += 2) {
        float* packed = out + int64_t(j) * nx;
        const float* odd = packed + nx;
        std::memcpy(parked, packed, size_t(nx) * sizeof(float));
        for (int i = 0; i < nx; i++) packed[2 * i + 1] = odd[i];
        for (int i = 0; i < nx; i++) packed[2 * i] = parked[i];
    }
    fftComplex2d(sign, 2, nx, half, out);
    float* nyquist = out + half * complexRow;
    for (int x = 0; x < nx; x++) splitZeroFrequency(out + 2 * x, nyquist + 2 * x);
    separateColumns(sign, nx, ny, false, out);
}

// Inverse transform of every column, unpacking the complex rows through one scratch row.
int inverseColumns(int sign, int nx, int ny, const float* in, float* out) {
    std::unique_ptr<float[]> scratch(new (std::nothrow) float[size_t(nx)]);
    if (!scratch) return 0;
    const int half = ny / 2;
    const int64_t complexRow = 2 * int64_t(nx);
    if (in != out)
        std::memcpy(out + complexRow, in + complexRow, size_t(half - 1) * size_t(complexRow) * sizeof(float));
    const float* nyquist = in + half * complexRow;
    for (int x = 0; x < nx; x++) {
        float a = in[2 * x];
        float e = nyquist[2 * x];
        out[2 * x] = a + e;
        out[2 * x + 1] = a - e;
    }
    separateColumns(sign, nx, ny, true, out);
    fftComplex2d(sign, 2, nx, half, out);
    for (int64_t j = 0; j < half; j++) {
        float* packed = out + j * complexRow;
        for (int i = 0; i < nx; i++) scratch[i] = packed[2 * i + 1];
        for (int i = 0; i < nx; i++) packed[i] = packed[2 * i];
        std::memcpy(packed + nx, scratch.get(), size_t(nx) * sizeof(float));
    }
    return 1;
}

}  // namespace

int fftRealToComplex(int sign, int n, const float* in, float* out) {
    if (!isRealLength(n)) return 0;
    const int half = n / 2;
    halve(in, out, n);
    fftComplex(sign, half, out);
    splitZeroFrequency(out, out + n);
    forEachTwiddleChunk(Twiddle(separationAngle(sign, n, false)), n / 4, false,
                        [&](int first, int count, const double* wr, const double* wi) {
                            separateLine(out, half, first, count, wr, wi);
                        });
    return 1;
}

int fftComplexToReal(int sign, int n, const float* in, float* out) {
    if (!isRealLength(n)) return 0;
    const int half = n / 2;
    float c0 = in[0];
    float cHalf = in[n];
    if (in != out) std::memcpy(out + 2, in + 2, size_t(n - 2) * sizeof(float));
    out[1] = c0 - cHalf;
    out[0] = c0 + cHalf;
    forEachTwiddleChunk(Twiddle(separationAngle(sign, n, true)), n / 4, true,
                        [&](int first, int count, const double* wr, const double* wi) {
                            separateLine(out, half, first, count, wr, wi);
                        });
    fftComplex(sign, half, out);
    return 1;
}

int fftRealToComplex2d(int sign, int dim, int nx, int ny, const float* in, float* out) {
    if (dim == 1) {
        if (!isRealLength(nx) || ny < 1) return 0;
        forwardRows(sign, nx, ny, in, out);
    } else {
        if (!isRealLength(ny) || nx < 1) return 0;
        forwardColumns(sign, nx, ny, in, out);
    }
    return 1;
}

int fftComplexToReal2d(int sign, int dim, int nx, int ny, const float* in, float* out) {
    if (dim == 1) {
        if (!isRealLength(nx) || ny < 1) return 0;
        inverseRows(sign, nx, ny, in, out);
        return 1;
    }
    if (!isRealLength(ny) || nx < 1) return 0;
    return inverseColumns(sign, nx, ny, in, out);
}

}  // namespace tarnview
