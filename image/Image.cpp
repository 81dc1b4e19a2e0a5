#include "image/Image.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "image/parameters.h"
#include "image/sampleBuffer.h"

namespace tarnview {

namespace {
constexpr int initialSamples = 1024;
constexpr int initialBoxes = 4;
constexpr int profileLength = 400;  // 200 bin positions, then 200 values

// nx x ny x nz, or -1 for a negative size or a product beyond 64 bits.
int64_t sampleCount(int nx, int ny, int nz) {
    if (nx < 0 || ny < 0 || nz < 0) return -1;
    const int64_t count = int64_t(nx) * ny;
    if (nz != 0 && count > INT64_MAX / nz) return -1;
    return count * nz;
}

}  // namespace

Image::Image()
    : data(allocateSamples(initialSamples)), dataCount(initialSamples), boxes(new BoxRecord[initialBoxes]()) {
    setSamplingFromParameters();
}

Image::Image(MetadataCopy, const Image& src) : Image() {
    if (src.mrcHeader) mrcHeader = std::make_unique<MrcHeader>(*src.mrcHeader);
    mag = src.mag;
    deltaX = src.deltaX;
    setName(src.name ? src.name->c_str() : nullptr);
    setPath(src.path ? src.path->c_str() : nullptr);
}

Image::~Image() {
    releaseSamples(data);
}

void Image::setSamplingFromParameters() {
    mag = getParameter("mag", 30.0f);
    deltaX = float(double(getParameter("scanres", 25.0f)) / mag * 10.0);
}

const char* Image::getName() const {
    return name ? name->c_str() : "na";
}

int Image::setName(const char* s) {
    // The new value is built before the old one is released, so s may be our own name.
    if (s == nullptr || std::strcmp(s, "na") == 0)
        name.reset();
    else
        name = std::string(s);
    return 1;
}

const char* Image::getPath() const {
    return path ? path->c_str() : "unknown";
}

int Image::setPath(const char* s) {
    if (s == nullptr || std::strcmp(s, "unknown") == 0) {
        path.reset();
        return 0;
    }
    path = std::string(s);
    return 1;
}

void Image::setMrcHeader(MrcHeader* block) {
    if (block != mrcHeader.get()) mrcHeader.reset(block);
}

void Image::setImagicHeader(ImagicRecord* record) {
    if (record != imagicHeader.get()) imagicHeader.reset(record);
}

int Image::resizeZeroed(int newNx, int newNy, int newNz) {
    const int64_t count = sampleCount(newNx, newNy, newNz);
    float* fresh = count < 0 ? nullptr : allocateZeroedSamples(count);
    if (fresh == nullptr) return 0;
    releaseSamples(data);
    data = fresh;
    dataCount = count;
    return resize(newNx, newNy, newNz);  // the count now matches: only the sizes change
}

int Image::resize(int newNx, int newNy, int newNz) {
    const int64_t count = sampleCount(newNx, newNy, newNz);
    if (count < 0) return 0;
    if (count != dataCount) {
        float* fresh = allocateSamples(count);
        if (fresh == nullptr) return 0;
        int64_t kept = std::min(count, dataCount);
        if (kept > 0) std::memcpy(fresh, data, size_t(kept) * sizeof(float));
        releaseSamples(data);
        data = fresh;
        dataCount = count;
    }
    nx = newNx;
    ny = newNy;
    nz = newNz;
    return 1;
}

float Image::getPixel(int x, int y) const {
    if (x < 0 || x >= nx || y < 0 || y >= ny) return 0.0f;
    return data[x + int64_t(y) * nx];
}

int Image::copyRegion(float* dst, int x0, int y0, int w, int h) const {
    if (isComplex()) return 0;
    if (w < 0 || h < 0 || w > nx || h > ny) return 0;
    x0 = std::max(x0, 0);
    y0 = std::max(y0, 0);
    if (int64_t(x0) + w > nx) x0 = nx - w;
    if (int64_t(y0) + h > ny) y0 = ny - h;
    for (int y = y0; y < y0 + h; y++) {
        std::memcpy(dst, data + int64_t(y) * nx + x0, size_t(w) * sizeof(float));
        dst += w;
    }
    return 1;
}

int Image::copyComplexRows(float* dst, int x0, int y0, int w, int h) const {
    if (!isComplex()) return 0;
    if (w < 0 || h < 0 || w > nx || h > ny) return 0;
    (void)x0;  // raised to 0 when negative and otherwise unused: rows start at their first float
    y0 = std::max(y0, 0);
    if (int64_t(y0) + h > ny) y0 = ny - h;
    for (int y = y0; y < y0 + h; y++) {
        std::memcpy(dst, data + int64_t(y) * nx, size_t(w) * sizeof(float));
        dst += w;
    }
    return 1;
}

int Image::cutOutFrom(const Image& src, int x0, int y0, int size) {
    if (&src == this || size <= 0 || size > src.nx || size > src.ny) return 0;
    // The cut-out keeps its depth; sections beyond the first (when nz > 1) are zeros,
    // so that nx * ny * nz samples always exist.
    int64_t plane = int64_t(size) * size;
    int64_t count = plane * std::max(nz, 1);
    float* fresh = allocateSamples(count);
    if (fresh == nullptr) return 0;
    if (!mrcHeader) mrcHeader = std::make_unique<MrcHeader>();
    if (src.mrcHeader)
        *mrcHeader = *src.mrcHeader;
    else
        *mrcHeader = MrcHeader{};
    setPath(src.path ? src.path->c_str() : nullptr);
    releaseSamples(data);
    data = fresh;
    dataCount = count;
    nx = ny = size;
    if (!src.copyRegion(data, x0, y0, size, size)) std::fill(data, data + plane, 0.0f);
    std::fill(data + plane, data + count, 0.0f);
    return 1;
}

float Image::getUpperClipFraction() const {
    return float((double(histMax) - mean) / (double(max) - mean));
}

float* Image::allocateProfile() {
    if (!profile) profile.reset(new (std::nothrow) float[profileLength]());
    return profile.get();
}

ExtraParams* Image::getExtraParams() {
    if (!extraParams) extraParams = std::make_unique<ExtraParams>();
    return extraParams.get();
}

}  // namespace tarnview
