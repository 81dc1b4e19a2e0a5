#include "analysis/shiftMeasurement.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>
#include <vector>

#include "analysis/analysisMessages.h"
#include "fourier/imageFourier.h"
#include "fourier/rowFrequency.h"

namespace tarnview {

namespace {

constexpr double pi = 3.141592653589793;

// Grid points per axis: at most 17 (8 either side of the centre), padded to 20 so that
// the inner loops run over a fixed, vectorisable length.
constexpr int maxPoints = 20;

// The level below which a coefficient of a single-precision transform of the image is
// rounding noise: about 2^-24 sqrt(log2 n) times the root of the sum of squares over the
// n pixels (the rounding error of a transform grows with the root of its stage count),
// times a margin of 64.
double roundingFloor(const Image& image) {
    const int64_t n = int64_t(image.getNx()) * image.getNy();
    double squares = 0;
    for (int64_t i = 0; i < n; i++) squares += double(image.getData()[i]) * image.getData()[i];
    return 64 * std::ldexp(1.0, -24) * std::sqrt(std::log2(double(n)) * squares);
}

// The cross-power spectrum a conj(b) / (nx ny), or its phase alone, over count pairs in
// place of a: its unscaled inverse transform is the correlation sum of a(x) b(x - s). The
// phase alone is taken only where both coefficients lie above their floors; elsewhere it
// would be the phase of rounding noise at full weight, and the pair becomes 0.
void crossPower(float* a, const float* b, int64_t count, double pixels, int phaseOnly, double floorA,
                double floorB) {
    for (int64_t i = 0; i < count; i++) {
        const double aRe = a[2 * i], aIm = a[2 * i + 1], bRe = b[2 * i], bIm = b[2 * i + 1];
        double re = aRe * bRe + aIm * bIm, im = aIm * bRe - aRe * bIm;
        if (phaseOnly) {
            const bool signal = std::hypot(aRe, aIm) > floorA && std::hypot(bRe, bIm) > floorB;
            const double modulus = std::hypot(re, im);
            re = signal ? re / modulus : 0.0;
            im = signal ? im / modulus : 0.0;
        }
        a[2 * i] = float(re / pixels);
        a[2 * i + 1] = float(im / pixels);
    }
}

// Index of the first largest non-NaN value of data[0 ... n - 1], or -1 when all are NaN.
int64_t largestAt(const float* data, int64_t n) {
    int64_t best = -1;
    for (int64_t i = 0; i < n; i++)
        if (!std::isnan(data[i]) && (best < 0 || data[i] > data[best])) best = i;
    return best;
}

// A square grid of sample positions centre + (k - half) step, k = 0 ... 2 half, and the
// interpolated correlation at them, values[row k][column k'].
struct Grid {
    double x = 0, y = 0, step = 1;
    int half = 0;
    double values[maxPoints][maxPoints] = {};
};

// exp(-2 pi i f p/n) for the frequencies f and positions p of a grid axis, as [f][k]
// rows of maxPoints (zeros beyond the grid), times weight[f]. The Nyquist frequency -n/2
// or n/2 of an even n gets the real cos(pi p), the symmetric interpolant; so the values
// at whole pixels are those of the inverse transform.
void axisKernel(const std::vector<int>& frequencies, const std::vector<double>& weights, int n, double centre,
                const Grid& g, std::vector<double>& re, std::vector<double>& im) {
    re.assign(frequencies.size() * maxPoints, 0.0);
    im.assign(frequencies.size() * maxPoints, 0.0);
    for (size_t f = 0; f < frequencies.size(); f++)
        for (int k = 0; k <= 2 * g.half; k++) {
            const double p = centre + (k - g.half) * g.step;
            const size_t at = f * maxPoints + size_t(k);
            if (n % 2 == 0 && std::abs(frequencies[f]) == n / 2) {
                re[at] = weights[f] * std::cos(pi * p);
            } else {
                const double angle = -2 * pi * std::fmod(frequencies[f] * p, double(n)) / n;
                re[at] = weights[f] * std::cos(angle);
                im[at] = weights[f] * std::sin(angle);
            }
        }
}

// Fills g.values from the cross-power spectrum s (rows in stored order): the real
// interpolant sum over v, u of w_u Re(S(u, v) exp(-2 pi i (u x/nx + v y/ny))), u = 0 ...
// nx/2 with weight 2 for the columns that stand for u and -u; first along the rows for
// every grid column, then down the columns for every grid row.
void evaluateGrid(const Image& s, Grid& g) {
    const int pairs = s.getNx() / 2, nx = s.getNx() - 2, ny = s.getNy();
    std::vector<int> columns(static_cast<size_t>(pairs)), rows(static_cast<size_t>(ny));
    std::vector<double> columnWeights(static_cast<size_t>(pairs), 2.0),
        rowWeights(static_cast<size_t>(ny), 1.0);
    for (int u = 0; u < pairs; u++) columns[size_t(u)] = u;
    columnWeights[0] = columnWeights[size_t(pairs - 1)] = 1.0;
    for (int r = 0; r < ny; r++) rows[size_t(r)] = rowFrequency(r, ny);
    std::vector<double> kxRe, kxIm, kyRe, kyIm;
    axisKernel(columns, columnWeights, nx, g.x, g, kxRe, kxIm);
    axisKernel(rows, rowWeights, ny, g.y, g, kyRe, kyIm);
    for (auto& row : g.values) std::fill(row, row + maxPoints, 0.0);
    double gRe[maxPoints], gIm[maxPoints];
    for (int r = 0; r < ny; r++) {
        const float* line = s.getData() + int64_t(r) * s.getNx();
        std::fill(gRe, gRe + maxPoints, 0.0);
        std::fill(gIm, gIm + maxPoints, 0.0);
        for (int u = 0; u < pairs; u++) {
            const double a = line[2 * u], b = line[2 * u + 1];
            const double* kr = &kxRe[size_t(u) * maxPoints];
            const double* ki = &kxIm[size_t(u) * maxPoints];
            for (int k = 0; k < maxPoints; k++) {
                gRe[k] += a * kr[k] - b * ki[k];
                gIm[k] += a * ki[k] + b * kr[k];
            }
        }
        for (int l = 0; l <= 2 * g.half; l++) {
            const double c = kyRe[size_t(r) * maxPoints + size_t(l)],
                         d = kyIm[size_t(r) * maxPoints + size_t(l)];
            for (int k = 0; k < maxPoints; k++) g.values[l][k] += gRe[k] * c - gIm[k] * d;
        }
    }
}

// Moves the grid centre to its largest finite value, stored in peak; 0 when there is none.
int moveToLargest(Grid& g, double& peak) {
    int bestRow = -1, bestColumn = -1;
    for (int l = 0; l <= 2 * g.half; l++)
        for (int k = 0; k <= 2 * g.half; k++)
            if (std::isfinite(g.values[l][k]) &&
                (bestRow < 0 || g.values[l][k] > g.values[bestRow][bestColumn])) {
                bestRow = l;
                bestColumn = k;
            }
    if (bestRow < 0) return 0;
    peak = g.values[bestRow][bestColumn];
    g.x += (bestColumn - g.half) * g.step;
    g.y += (bestRow - g.half) * g.step;
    return 1;
}

// The whole-pixel peak of the correlation of the spectrum s, as a signed shift in g.
int coarsePeak(const Image& s, Grid& g, double& peak) {
    std::unique_ptr<Image> ccf(ift(s, 1));
    if (!ccf) return 0;
    const int nx = ccf->getNx(), ny = ccf->getNy();
    const int64_t best = largestAt(ccf->getData(), int64_t(nx) * ny);
    if (best < 0) {
        printShiftNoPeak();
        return 0;
    }
    const int x = int(best % nx), y = int(best / nx);
    g.x = x > nx / 2 ? x - nx : x;
    g.y = y > ny / 2 ? y - ny : y;
    peak = ccf->getData()[best];
    return 1;
}

}  // namespace

int measureShift(const Image& reference, const Image& other, int upsampling, int phaseNormalised,
                 MeasuredShift& shift) {
    if (other.getNx() != reference.getNx() || other.getNy() != reference.getNy()) {
        printShiftSizeMismatch();
        return 0;
    }
    std::unique_ptr<Image> s(fft(reference, 1));
    if (!s) return 0;
    {
        std::unique_ptr<Image> fb(fft(other, 1));
        if (!fb) return 0;
        const int64_t pairs = int64_t(s->getNx() / 2) * s->getNy();
        const double floorA = phaseNormalised ? roundingFloor(reference) : 0;
        const double floorB = phaseNormalised ? roundingFloor(other) : 0;
        crossPower(s->getData(), fb->getData(), pairs, double(reference.getNx()) * reference.getNy(),
                   phaseNormalised, floorA, floorB);
    }
    Grid g;
    double peak = 0;
    if (!coarsePeak(*s, g, peak)) return 0;
    const int finest = std::clamp(upsampling, 1, 10000);
    for (int previous = 1; previous < finest;) {
        const int factor = std::min(previous * 10, finest);
        g.step = 1.0 / factor;
        g.half = (3 * factor + 4 * previous - 1) / (4 * previous);  // 0.75 factor/previous, rounded up
        evaluateGrid(*s, g);
        if (!moveToLargest(g, peak)) {
            printShiftNoPeak();
            return 0;
        }
        previous = factor;
    }
    shift.dx = g.x;
    shift.dy = g.y;
    shift.peak = peak;
    return 1;
}

}  // namespace tarnview
