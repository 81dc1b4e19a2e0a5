#include "analysis/powerSpectrum.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "analysis/analysisMessages.h"
#include "analysis/fourierProfile.h"
#include "analysis/frequencyRadius.h"
#include "analysis/tileTransform.h"
#include "fourier/imageFourier.h"

namespace tarnview {

namespace {

constexpr int smallestTile = 8;
constexpr double largestOverlap = 0.9;
constexpr int largestSmoothing = 50;
constexpr int profileBins = 200;  // the radial profile's table (fourierProfile)
constexpr double pi = 3.14159265358979323846;

// The first pixel of each tile along a side of n samples: tiles of the given side whose
// starts are spread evenly from 0 to n - tile, no further apart than tile x (1 - overlap),
// so that the last tile ends at the last sample. A side no longer than the tile has one.
std::vector<int> tileStarts(int n, int tile, double overlap) {
    if (n <= tile) return {0};
    const int64_t step = std::max<int64_t>(1, int64_t(std::floor(tile * (1 - overlap))));
    const int64_t span = int64_t(n) - tile;
    const int64_t count = (span + step - 1) / step + 1;
    std::vector<int> starts(static_cast<size_t>(count));
    for (int64_t k = 0; k < count; k++) starts[size_t(k)] = int((span * k + (count - 1) / 2) / (count - 1));
    return starts;
}

// The Hann window sin^2(pi (i + 1/2) / n) of n samples: symmetric, tapering to almost 0
// at both ends.
std::vector<float> hannWindow(int n) {
    std::vector<float> w(static_cast<size_t>(n));
    for (int i = 0; i < n; i++) {
        const double s = std::sin(pi * (i + 0.5) / n);
        w[size_t(i)] = float(s * s);
    }
    return w;
}

// The tile transform and the power sum: tile x tile reals in, tile rows of tile/2 + 1
// coefficients out (the layout of fft before its row exchange), |F|^2 summed in double.
struct Welch {
    int tile;
    int pairs;  // tile / 2 + 1 coefficients per row
    std::vector<float> in, out;
    std::vector<double> power;
    TileTransform transform;
    float offset = 0;  // the image's mean, taken from every sample before the transform
    std::vector<float> windowTransformX, windowTransformY;
    std::vector<float> windowX, windowY;
    double windowSquares = 0;  // the sum of the squared 2-D window of a tile
    int64_t tiles = 0;
};

// The transform of a window of n samples (zeros past it), kernel exp(+2 pi i ...), at the
// frequencies 0 ... count - 1, as (re, im) pairs computed in double.
std::vector<float> windowTransform(const std::vector<float>& window, int count) {
    const int n = int(window.size());
    std::vector<float> result(static_cast<size_t>(2 * count));
    for (int k = 0; k < count; k++) {
        double re = 0, im = 0;
        for (int i = 0; i < n; i++) {
            const double angle = 2 * pi * double((int64_t(i) * k) % n) / n;
            re += window[size_t(i)] * std::cos(angle);
            im += window[size_t(i)] * std::sin(angle);
        }
        result[size_t(2 * k)] = float(re);
        result[size_t(2 * k + 1)] = float(im);
    }
    return result;
}

// Adds |F - d Wx Wy|^2 of every coefficient to the power sum: the transform of the tile
// centred on its own mean, from the transform F of the tile centred on the image's mean
// (d is the difference of the two means, Wx Wy the window's transform).
void addPower(Welch& welch, float d) {
    const int tile = welch.tile, pairs = welch.pairs;
    const float* wx = welch.windowTransformX.data();
    for (int y = 0; y < tile; y++) {
        const float* f = welch.out.data() + int64_t(y) * 2 * pairs;
        double* p = welch.power.data() + int64_t(y) * pairs;
        const float dyr = d * welch.windowTransformY[size_t(2 * y)];
        const float dyi = d * welch.windowTransformY[size_t(2 * y + 1)];
        for (int u = 0; u < pairs; u++) {
            const float re = f[2 * u] - (dyr * wx[2 * u] - dyi * wx[2 * u + 1]);
            const float im = f[2 * u + 1] - (dyr * wx[2 * u + 1] + dyi * wx[2 * u]);
            p[u] += double(re) * re + double(im) * im;
        }
    }
}

// Transforms the w x h region at (x0, y0), its mean removed and the window applied, zeros
// beyond it, and adds its power. The tile is read straight from the image, centred on the
// image's mean; the power is of the tile centred on its own mean (addPower). A region
// shorter than the tile is first copied into a tile of zeros. False when the region has a
// sample that is not a finite number (its sum is then not finite).
bool addTile(Welch& welch, const float* data, int64_t nx, int x0, int y0, int w, int h) {
    const int tile = welch.tile;
    const float* region = data + int64_t(y0) * nx + x0;
    int64_t stride = nx;
    if (w < tile || h < tile) {
        std::fill(welch.in.begin(), welch.in.end(), 0.0f);
        for (int y = 0; y < h; y++)
            std::copy_n(region + int64_t(y) * nx, w, welch.in.data() + int64_t(y) * tile);
        region = welch.in.data();
        stride = tile;
    }
    const double sum = welch.transform.forward(region, stride, welch.offset, welch.windowX.data(),
                                               welch.windowY.data(), welch.out.data());
    const double mean = sum / (double(w) * h);
    if (!std::isfinite(mean)) return false;
    addPower(welch, float(mean - double(welch.offset)));
    welch.tiles++;
    return true;
}

// Sums the power of every tile of the first section of source. False after a message
// when a sample is not a finite number.
bool sumTiles(Welch& welch, const Image& source, double overlap) {
    const int nx = source.getNx(), ny = source.getNy(), tile = welch.tile;
    const int w = std::min(nx, tile), h = std::min(ny, tile);
    // Zero weights past a region shorter than the tile.
    welch.windowX = hannWindow(w);
    welch.windowY = hannWindow(h);
    welch.windowTransformX = windowTransform(welch.windowX, welch.pairs);
    welch.windowTransformY = windowTransform(welch.windowY, tile);
    welch.windowX.resize(size_t(tile), 0.0f);
    welch.windowY.resize(size_t(tile), 0.0f);
    welch.offset = source.getMean();
    double sx = 0, sy = 0;
    for (float v : welch.windowX) sx += double(v) * v;
    for (float v : welch.windowY) sy += double(v) * v;
    welch.windowSquares = sx * sy;
    for (int y0 : tileStarts(ny, tile, overlap))
        for (int x0 : tileStarts(nx, tile, overlap))
            if (!addTile(welch, source.getData(), nx, x0, y0, w, h)) {
                printSpectrumNotFinite();
                return false;
            }
    return true;
}

// The logarithm of the mean power per tile and window weight. A power of 0 (a flat
// tile) is floored far below any other so that the logarithm stays finite. The zero
// frequency, emptied by the mean removal, takes the value of its horizontal neighbour.
void takeLogarithm(Welch& welch) {
    const double scale = 1.0 / (double(welch.tiles) * welch.windowSquares);
    double largest = 0;
    for (double& p : welch.power) {
        p *= scale;
        largest = std::max(largest, p);
    }
    const double floor = largest > 0 ? largest * 1e-30 : 1e-30;
    welch.power[0] = welch.power[1];
    for (double& p : welch.power) p = std::log(std::max(p, floor));
}

// The log-power as a Fourier image in amplitude/phase form (rows in swapped-half order,
// phases 0), the layout fourierProfile reads.
bool logPowerImage(const Welch& welch, Image& spectrum) {
    const int tile = welch.tile, width = 2 * welch.pairs;
    if (!spectrum.resizeZeroed(width, tile, 1)) return false;
    spectrum.setFlags(complexFlag | fourierFlag);
    for (int r = 0; r < tile; r++) {
        const int natural = (r + tile / 2) % tile;  // stored row r holds frequency r - tile/2
        const double* p = welch.power.data() + int64_t(natural) * welch.pairs;
        float* row = spectrum.getData() + int64_t(r) * width;
        for (int u = 0; u < welch.pairs; u++) row[2 * u] = float(p[u]);
    }
    return true;
}

// The radial profile of the log-power, smoothed by a running mean over smoothBins bins
// either side (fewer at the ends). Its bin width goes to step.
std::vector<float> smoothBackground(Image& spectrum, int smoothBins, float& step) {
    const float* table = fourierProfile(spectrum, profileRadial, 0, 0);
    std::vector<float> background(profileBins, 0.0f);
    step = spectrum.getProfileStep();
    if (table == nullptr || !(step > 0)) {
        step = 1;
        return background;
    }
    const float* value = table + profileBins;
    for (int i = 0; i < profileBins; i++) {
        const int lo = std::max(0, i - smoothBins), hi = std::min(profileBins - 1, i + smoothBins);
        double sum = 0;
        for (int j = lo; j <= hi; j++) sum += value[j];
        background[size_t(i)] = float(sum / (hi - lo + 1));
    }
    return background;
}

// The background at frequency r: linear between bins, the last bin's value beyond it.
float backgroundAt(const std::vector<float>& background, float step, float r) {
    const float t = r / step;
    if (!(t < float(profileBins - 1))) return background.back();
    const int i = int(t);
    const float f = t - float(i);
    return (1 - f) * background[size_t(i)] + f * background[size_t(i) + 1];
}

// The centred picture: pixel (x, y) shows frequency (x - tile/2, y - tile/2); the left
// half is the conjugate of the right half.
void centredPicture(const Image& spectrum, const std::vector<float>& background, float step, Image& result) {
    const int tile = spectrum.getNy(), width = spectrum.getNx(), half = tile / 2;
    float* out = result.getData();
    for (int y = 0; y < tile; y++)
        for (int x = 0; x < tile; x++) {
            int u = x - half, v = y - half;
            if (u < 0) {
                u = -u;
                v = v == -half ? -half : -v;  // -(-tile/2) is the same frequency as -tile/2
            }
            const float logPower = spectrum.getData()[int64_t(v + half) * width + 2 * u];
            out[int64_t(y) * tile + x] = logPower - backgroundAt(background, step, frequencyRadius(u, v));
        }
    out[int64_t(half) * tile + half] = 0.0f;
}

// Checks the arguments; the accepted tile, or 0 after a message.
int checkedTile(const Image& source, int requested, double overlap, int smoothBins) {
    if (source.isComplex() || source.getNz() < 1 || source.getNx() < 2 || source.getNy() < 2) {
        printSpectrumNeedsRealImage(source.getNx(), source.getNy(), source.isComplex());
        return 0;
    }
    const int tile = powerSpectrumTile(requested);
    if (tile == 0) {
        printTileRefused(requested, smallestTile, powerSpectrumLargestTile);
        return 0;
    }
    if (!(overlap >= 0 && overlap <= largestOverlap) || smoothBins < 0 || smoothBins > largestSmoothing) {
        printSpectrumOptionsRefused(overlap, smoothBins);
        return 0;
    }
    if (tile != requested) printTileChanged(requested, tile);
    return tile;
}

}  // namespace

int powerSpectrumTile(int requested) {
    if (requested < smallestTile || requested > powerSpectrumLargestTile) return 0;
    for (int t = requested; t >= smallestTile; t--)
        if (fftAcceptsSize(t, t)) return t;
    return 0;
}

Image* powerSpectrum(const Image& source, int requested, double overlap, int smoothBins) {
    const int tile = checkedTile(source, requested, overlap, smoothBins);
    if (tile == 0) return nullptr;
    std::unique_ptr<Welch> owned;
    try {
        owned.reset(new Welch{tile, tile / 2 + 1, {}, {}, {}, TileTransform(tile), 0, {}, {}, {}, {}, 0, 0});
        owned->in.resize(size_t(tile) * tile);
        owned->out.resize(size_t(tile) * (tile + 2));
        owned->power.assign(size_t(owned->pairs) * tile, 0.0);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
    Welch& welch = *owned;
    if (!sumTiles(welch, source, overlap)) return nullptr;
    takeLogarithm(welch);

    Image spectrum;
    if (!logPowerImage(welch, spectrum)) return nullptr;
    float step = 0;
    const std::vector<float> background = smoothBackground(spectrum, smoothBins, step);
    auto result = std::make_unique<Image>(metadataCopy, source);
    if (!result->resize(tile, tile, 1)) return nullptr;
    result->setName(("PSD " + std::string(source.getName())).c_str());
    centredPicture(spectrum, background, step, *result);
    result->updateStatistics();
    return result.release();
}

}  // namespace tarnview
