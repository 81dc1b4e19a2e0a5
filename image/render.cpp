// Greyscale rendering: the raster window and source stepping shared by the renderers,
// the grey, phase and 32-bit mappings, and the centred view of complex images.
//
// Every float that becomes an integer is tested or clamped first: NaN samples map to lo
// by an explicit test, linear values are clamped to the lo..hi span, and window
// arithmetic saturates at the int range. Source positions and raster offsets are 64-bit.
#include "image/render.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <numbers>

#include "image/Image.h"

namespace tarnview {

namespace {

// Fractional stepping works in fixed point with this many units per sample; each
// accumulator starts at 10 units.
constexpr int fractionUnit = 100000;
constexpr int accumulatorStart = 10;

// Truncation toward zero, saturated to the int range; NaN gives 0.
int truncToInt(double v) {
    if (std::isnan(v)) return 0;
    if (v >= double(INT_MAX)) return INT_MAX;
    if (v <= double(INT_MIN)) return INT_MIN;
    return int(v);
}

int clampToInt(int64_t v) {
    return v > INT_MAX ? INT_MAX : v < INT_MIN ? INT_MIN : int(v);
}

// Where a renderer draws in the raster and how it walks the source. Source coordinates
// advance by inv = 1 / scale per raster pixel and per raster row: exactly when inv is a
// whole number, otherwise by intStep plus a fixed-point fraction.
struct Walk {
    bool empty = true;  // nothing to draw
    float inv = 1;
    bool wholeSteps = true;
    int64_t intStep = 1;
    int fracStep = 0;  // units of 1 / fractionUnit, 0 with whole-number stepping
    int firstCol = 0, endCol = 0, firstRow = 0, lastRow = -1;
    int64_t x0 = 0, y0 = 0;  // first source column and row, not negative
};

// The window of a source of columns x rows into a w x h raster. The column and row
// arithmetic is done in float, as the stepping itself is defined on the float inv.
Walk planWalk(int64_t columns, int64_t rows, int x0, int y0, int w, int h, float scale) {
    Walk k;
    if (!(scale > 0) || w <= 0 || h <= 0) return k;
    const float inv = 1.0f / scale;
    if (!std::isfinite(inv)) return k;
    k.inv = inv;

    // An image shorter than the raster leaves the rows above it untouched.
    int64_t firstRow = 0;
    if (float(rows) < float(h) * inv) firstRow = truncToInt(float(h) - float(rows) / inv);

    const float whole = std::floor(inv);
    k.wholeSteps = inv == whole;
    // A step of more than 2^31 samples leaves every image after its first sample.
    k.intStep = whole > 2147483648.0f ? int64_t(2147483648) : int64_t(whole);
    k.fracStep = k.wholeSteps ? 0 : truncToInt((inv - whole) * float(fractionUnit));

    int64_t firstCol = 0, endCol = w, sx0 = x0;
    if (x0 < 0) {
        firstCol = truncToInt(-float(x0) / inv);
        endCol = int64_t(w) - truncToInt(std::floor(float(x0) / inv));
        sx0 = 0;
    }
    const float sourceLeft = float(columns - sx0);
    if (sourceLeft < inv * float(endCol - firstCol)) endCol = truncToInt(sourceLeft / inv + float(firstCol));

    int64_t lastRow = h - 1, sy0 = y0;
    if (y0 < 0) {
        lastRow = truncToInt(float(y0) / inv + float(h) - 1.0f);
        firstRow += truncToInt(std::floor(float(y0) / inv));
        sy0 = 0;
    }

    k.firstCol = clampToInt(firstCol < 0 ? 0 : firstCol);
    k.endCol = clampToInt(endCol > w ? w : endCol);
    k.firstRow = clampToInt(firstRow < 0 ? 0 : firstRow);
    k.lastRow = clampToInt(lastRow > h - 1 ? h - 1 : lastRow);
    k.x0 = sx0;
    k.y0 = sy0;
    k.empty = k.firstCol >= k.endCol || k.firstRow > k.lastRow;
    return k;
}

// Source samples to advance for the next pixel or row: intStep, plus one each time the
// fraction accumulated overflows a whole unit.
struct Stepper {
    int64_t whole;
    int fraction;
    int accumulator = accumulatorStart;
    int64_t next() {
        accumulator += fraction;
        if (accumulator > fractionUnit) {
            accumulator -= fractionUnit;
            return whole + 1;
        }
        return whole;
    }
};

// Walks the raster rows from lastRow up to firstRow and the pixels of each row from
// firstCol, calling draw(row, q, x, offset) with the raster row, the raster column, the
// source column and the float offset of the source row (y * rowFloats). draw returns
// false to end the raster row. The walk ends when the source rows run out.
template <class Draw>
void walkRaster(const Walk& k, unsigned char* out, int rowBytes, int64_t rowFloats, int64_t lastIndex,
                int endCol, Draw draw) {
    Stepper rows{k.intStep, k.fracStep};
    int64_t offset = k.y0 * rowFloats;
    for (int r = k.lastRow; r >= k.firstRow; r--) {
        if (offset > lastIndex) break;
        unsigned char* row = out + int64_t(r) * rowBytes;
        Stepper columns{k.intStep, k.fracStep};
        int64_t x = k.x0;
        for (int q = k.firstCol; q < endCol; q++) {
            if (!draw(row, q, x, offset)) break;
            x += columns.next();
        }
        offset += rows.next() * rowFloats;
    }
}

// The grey mapping of renderGrey for one image's limits and the byte values lo and hi.
struct GreyMap {
    float low, high, threshold, factor;
    int lo, hi;
    float spanMin, spanMax;  // the linear part stays within 0 .. hi - lo

    GreyMap(const Image& image, int loValue, int hiValue)
        : low(image.getGreyLow()), high(image.getGreyHigh()), threshold(low), lo(loValue), hi(hiValue) {
        const double span = double(hi) - double(lo);
        const float range = high - low;
        factor = float(span / double(range));
        // Crossed limits: everything renders as lo.
        if (low > high) {
            factor = 0;
            threshold = INFINITY;
        }
        spanMin = float(span < 0 ? span : 0);
        spanMax = float(span > 0 ? span : 0);
    }

    // The level before its low 8 bits are taken; Int is wide enough for lo + (hi - lo).
    template <class Int>
    Int level(float v) const {
        float t = (v - low) * factor;
        t = t > spanMin ? t : spanMin;  // NaN, from infinite limits, goes to spanMin
        t = t < spanMax ? t : spanMax;
        // Later selections take precedence: NaN, then the lower limit, then the upper.
        Int g = Int(lo) + Int(t);
        g = v >= high ? Int(hi) : g;
        g = v <= threshold ? Int(lo) : g;
        g = std::isnan(v) ? Int(lo) : g;
        return g;
    }
    unsigned char operator()(float v) const { return (unsigned char)(level<int64_t>(v)); }
};

// One run of contiguous samples at 1:1, for byte values in 0..255 (so that the level
// fits an int): the loop the compiler vectorises.
void mapContiguous(const GreyMap& map, const float* src, unsigned char* dst, int64_t count) {
    for (int64_t i = 0; i < count; i++) dst[i] = (unsigned char)(map.level<int32_t>(src[i]));
}

// The phase mapping of renderPhase: -pi .. pi onto lo .. hi.
struct PhaseMap {
    int lo, hi;
    double factor, spanMin, spanMax;

    PhaseMap(int loValue, int hiValue) : lo(loValue), hi(hiValue) {
        const double span = double(hi) - double(lo);
        factor = double(float(span / (2 * std::numbers::pi)));
        spanMin = span < 0 ? span : 0;
        spanMax = span > 0 ? span : 0;
    }
    unsigned char operator()(float v) const {
        if (std::isnan(v)) return (unsigned char)lo;
        if (v <= -std::numbers::pi) return (unsigned char)lo;
        if (v >= std::numbers::pi) return (unsigned char)hi;
        double t = (double(v) + std::numbers::pi) * factor;
        t = t > spanMin ? t : spanMin;
        t = t < spanMax ? t : spanMax;
        return (unsigned char)(int64_t(lo) + int64_t(t));
    }
};

// The mapping of renderRgb32: greyLow .. greyHigh onto 0 .. 255 in 256 steps.
struct RgbMap {
    float low, high, factor;

    explicit RgbMap(const Image& image) : low(image.getGreyLow()), high(image.getGreyHigh()) {
        factor = float(256.0 / double(high - low));
    }
    unsigned char operator()(float v) const {
        if (std::isnan(v) || v <= low) return 0;
        if (v >= high) return 255;
        float t = (v - low) * factor;
        t = t > 0 ? t : 0;  // NaN from infinite limits gives 0
        t = t < 255 ? t : 255;
        return (unsigned char)(int(t));
    }
};

// The next-row tests of the centred view, R < (ny - inv) * nx with whole-number steps and
// R < ny * nx - nx / inv otherwise, evaluated in float like the window: near a whole
// number of rows the rounding decides which row a raster row shows.
float wholeStepRowLimit(int64_t nx, int64_t ny, float inv) {
    return (float(ny) - inv) * float(nx);
}
float fractionalRowLimit(int64_t nx, int64_t ny, float inv) {
    return float(nx * ny) - float(nx) / inv;
}

// The centred view of a complex image (nx floats per row, element x at floats 2x, 2x+1):
// raster column x shows element nx/2 - 1 - x of row ny - 1 - y (the point-mirrored half)
// for x < nx/2, and element x - nx/2 + 1 of row y + 1 otherwise, or of row 0 when the
// next-row test fails or row y + 1 does not exist (the periodic wrap). component picks
// the first (0) or the second (1) float of the element.
template <class Map>
void drawCentred(const Image& image, const Walk& k, unsigned char* out, int rowBytes, int component,
                 float nextRowLimit, const Map& map) {
    const float* data = image.getData();
    const int64_t nx = image.getNx();
    const int64_t ny = image.getNy();
    const int64_t lastIndex = nx * ny - 1;
    const int64_t half = nx / 2;
    // With fractional stepping each row stops one pixel earlier.
    const int endCol = k.wholeSteps ? k.endCol : k.endCol - 1;
    walkRaster(k, out, rowBytes, nx, lastIndex, endCol,
               [&](unsigned char* row, int q, int64_t x, int64_t offset) {
                   if (x + offset > lastIndex || x >= nx - 2) return false;
                   int64_t i;
                   if (x < half)
                       i = nx * ny - (offset + 2 * x) - 2;
                   else if (float(offset) < nextRowLimit && offset + nx <= lastIndex)
                       i = offset + nx + 2 * (x - half) + 2;
                   else
                       i = 2 * (x - half) + 2;
                   row[q] = map(data[i + component]);
                   return true;
               });
}

}  // namespace

int renderGrey(Image& image, unsigned char* out, int x0, int y0, int w, int h, int rowBytes, float scale,
               int lo, int hi) {
    if (image.getGreyLow() == image.getGreyHigh())
        image.setGreyLimits(image.getGreyLow(), float(double(image.getGreyHigh()) - 0.01));
    const GreyMap map(image, lo, hi);
    const int64_t nx = image.getNx();
    const int64_t ny = image.getNy();
    const Walk k = planWalk(nx, ny, x0, y0, w, h, scale);
    if (k.empty) return 1;

    if (image.isComplex()) {
        const float nextRowLimit =
            k.wholeSteps ? wholeStepRowLimit(nx, ny, k.inv) : fractionalRowLimit(nx, ny, k.inv);
        drawCentred(image, k, out, rowBytes, 0, nextRowLimit, map);
        return 1;
    }

    const float* data = image.getData();
    const int64_t lastIndex = nx * ny - 1;
    if (k.wholeSteps && k.intStep == 1 && lo >= 0 && lo <= 255 && hi >= 0 && hi <= 255) {
        // 1:1 rows are contiguous runs of samples.
        int64_t start = k.y0 * nx + k.x0;
        for (int r = k.lastRow; r >= k.firstRow && start <= lastIndex; r--, start += nx) {
            const int64_t count = std::min<int64_t>(k.endCol - k.firstCol, lastIndex - start + 1);
            mapContiguous(map, data + start, out + int64_t(r) * rowBytes + k.firstCol, count);
        }
        return 1;
    }
    walkRaster(k, out, rowBytes, nx, lastIndex, k.endCol,
               [&](unsigned char* row, int q, int64_t x, int64_t offset) {
                   if (offset + x > lastIndex) return false;
                   row[q] = map(data[offset + x]);
                   return true;
               });
    return 1;
}

int renderPhase(Image& image, unsigned char* out, int x0, int y0, int w, int h, int rowBytes, float scale,
                int lo, int hi) {
    if (!image.isComplex()) return renderGrey(image, out, x0, y0, w, h, rowBytes, scale, lo, hi);
    if (image.getGreyLow() == image.getGreyHigh())
        image.setGreyLimits(image.getGreyLow(), float(double(image.getGreyHigh()) + 0.001));
    const int64_t nx = image.getNx();
    const int64_t ny = image.getNy();
    const Walk k = planWalk(nx, ny, x0, y0, w, h, scale);
    if (k.empty) return 1;
    const float nextRowLimit = fractionalRowLimit(nx, ny, k.inv);
    drawCentred(image, k, out, rowBytes, 1, nextRowLimit, PhaseMap(lo, hi));
    return 1;
}

int renderRgb32(const Image& image, unsigned char* out, int x0, int y0, int w, int h, int rowBytes,
                float scale) {
    const float* data = image.getData();
    const int64_t nx = image.getNx();
    const int64_t ny = image.getNy();
    const bool complexSamples = image.isComplex();
    const int64_t columns = complexSamples ? nx / 2 : nx;
    const int64_t lastIndex = nx * ny - 1;
    const Walk k = planWalk(columns, ny, x0, y0, w, h, scale);
    if (k.empty) return 1;
    const RgbMap map(image);
    walkRaster(k, out, rowBytes, nx, lastIndex, k.endCol,
               [&](unsigned char* row, int q, int64_t x, int64_t offset) {
                   float v;
                   if (complexSamples) {
                       const int64_t i = offset + 2 * x;
                       if (i + 1 > lastIndex) return false;
                       v = float(std::sqrt(double(data[i]) * data[i] + double(data[i + 1]) * data[i + 1]));
                   } else {
                       if (offset + x > lastIndex) return false;
                       v = data[offset + x];
                   }
                   unsigned char* pixel = row + 4 * int64_t(q);
                   pixel[1] = pixel[2] = pixel[3] = map(v);
                   return true;
               });
    return 1;
}

}  // namespace tarnview
