#include "fourier/imageFourier.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>

#include "fourier/amplitudePhase.h"
#include "fourier/fftEngine.h"
#include "fourier/fftReal.h"
#include "fourier/fftSizes.h"
#include "fourier/fourierMessages.h"

namespace tarnview {

namespace {

// Real images the transforms accept: the sides fftAcceptsSize accepts, at least one section.
bool isTransformable(int64_t nx, int64_t ny, int64_t nz) {
    return fftAcceptsSize(nx, ny) && nz >= 1;
}

std::string titled(const char* prefix, const Image& source) {
    return prefix + std::string(source.getName());
}

// Exchanges row i with row i + ny/2 for every i below ny/2 (rows of width floats); for an
// odd ny the last row stays where it is. The exchange swaps disjoint pairs of rows, so
// doing it again restores the order.
void swapHalves(float* data, int64_t width, int ny) {
    const int64_t half = ny / 2;
    for (int64_t i = 0; i < half; i++)
        std::swap_ranges(data + i * width, data + (i + 1) * width, data + (i + half) * width);
}

// Writes the rows of source to target in swapped-half order (see swapHalves).
void copySwappingHalves(const float* source, float* target, int64_t width, int ny) {
    const int64_t half = ny / 2;
    for (int64_t r = 0; r < ny; r++) {
        int64_t from = r < half ? r + half : (r < 2 * half ? r - half : r);
        std::memcpy(target + r * width, source + from * width, size_t(width) * sizeof(float));
    }
}

// Converts every row of real/imaginary pairs to amplitude/phase pairs (amplitude divided
// by ny) and exchanges the halves, both while a pair of rows is in cache.
void toAmplitudePhaseSwappingHalves(float* data, int64_t width, int ny) {
    const int64_t half = ny / 2;
    const int64_t pairs = width / 2;
    for (int64_t i = 0; i < half; i++) {
        float* upper = data + i * width;
        float* lower = data + (i + half) * width;
        toAmplitudePhase(upper, pairs, ny);
        toAmplitudePhase(lower, pairs, ny);
        std::swap_ranges(upper, upper + width, lower);
    }
    if (ny % 2 != 0) toAmplitudePhase(data + int64_t(ny - 1) * width, pairs, ny);
}

// Sections beyond the first are not transformed; they are zeros rather than leftovers.
void zeroLaterSections(Image& image) {
    const int64_t plane = int64_t(image.getNx()) * image.getNy();
    float* data = image.getData();
    std::fill(data + plane, data + plane * image.getNz(), 0.0f);
}

// The inverse transform of a Fourier image of width nx + 2 held in image, already in
// natural row order: columns, then rows in place, then the shrink to the real width.
int inverseInPlace(Image& image, int nx) {
    const int ny = image.getNy();
    float* data = image.getData();
    fftComplex2d(-1, 2, nx / 2 + 1, ny, data);
    fftComplexToReal2d(-1, 1, nx, ny, data, data);
    if (!image.resize(nx, ny, image.getNz())) return 0;
    zeroLaterSections(image);
    return 1;
}

}  // namespace

bool fftAcceptsSize(int64_t nx, int64_t ny) {
    // The rows are packed as nx/2 complex values, and half of an even valid length is valid.
    return isFftSize(nx) && nx % 2 == 0 && isFftSize(ny);
}

Image* fft(const Image& source, int keepComplex) {
    if (source.isComplex()) {
        printCannotFftOfFft();
        return nullptr;
    }
    const int nx = source.getNx();
    const int ny = source.getNy();
    const int nz = source.getNz();
    if (!isTransformable(nx, ny, nz)) {
        printInvalidFftSize();
        return nullptr;
    }
    auto result = std::make_unique<Image>(metadataCopy, source);
    if (!result->resize(nx + 2, ny, nz)) return nullptr;
    result->setName(titled("FFT ", source).c_str());
    float* data = result->getData();
    const int width = nx + 2;
    fftRealToComplex2d(+1, 1, nx, ny, source.getData(), data);
    fftComplex2d(+1, 2, width / 2, ny, data);
    if (keepComplex) {
        result->setFlags(complexFlag | fourierFlag | realImagFlag);
        swapHalves(data, width, ny);
    } else {
        result->setFlags(complexFlag | fourierFlag);
        toAmplitudePhaseSwappingHalves(data, width, ny);
    }
    zeroLaterSections(*result);
    result->updateStatistics();
    return result.release();
}

Image* ift(const Image& source, int keepComplex) {
    if (!source.isComplex()) {
        printCannotIftOfReal();
        return nullptr;
    }
    const int width = source.getNx();
    const int ny = source.getNy();
    const int nz = source.getNz();
    if (!isTransformable(int64_t(width) - 2, ny, nz)) return nullptr;
    const int nx = width - 2;
    auto result = std::make_unique<Image>(metadataCopy, source);
    if (!result->resize(width, ny, nz)) return nullptr;
    result->setName(titled("IFT ", source).c_str());
    float* data = result->getData();
    copySwappingHalves(source.getData(), data, width, ny);
    // Undoes the amplitude/phase conversion of fft and divides by the pixel count.
    if (!keepComplex) fromAmplitudePhase(data, int64_t(width / 2) * ny, ny, float(int64_t(nx) * ny));
    if (!inverseInPlace(*result, nx)) return nullptr;
    result->updateStatistics();
    return result.release();
}

int iftInto(const Image& source, Image& destination) {
    if (!source.isComplex()) {
        printCannotIftOfReal();
        return 0;
    }
    const int width = source.getNx();
    const int ny = source.getNy();
    const int nz = source.getNz();
    if (!isTransformable(int64_t(width) - 2, ny, nz)) return 0;
    const int nx = width - 2;
    const std::string title = titled("IFT ", source);
    if (&source == &destination) {
        // Transforming an image into itself: it becomes a real image.
        swapHalves(destination.getData(), width, ny);
        destination.setFlags(0);
    } else {
        if (!destination.resize(width, ny, nz)) return 0;
        copySwappingHalves(source.getData(), destination.getData(), width, ny);
    }
    destination.setName(title.c_str());
    if (!inverseInPlace(destination, nx)) return 0;
    destination.updateStatistics();
    return 1;
}

}  // namespace tarnview
