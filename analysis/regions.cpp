#include "analysis/regions.h"

#include <algorithm>
#include <cstdint>
#include <memory>

#include "analysis/analysisMessages.h"

namespace tarnview {

Image* extractRegion(const Image& image, int x0, int y0, int w, int h) {
    const int nx = image.getNx(), ny = image.getNy();
    // 64-bit sums: x0 + w cannot overflow.
    if (w <= 0 || h <= 0 || x0 < 0 || y0 < 0 || int64_t(x0) + w > nx || int64_t(y0) + h > ny) {
        printRegionOutside(w, h, x0, y0, nx, ny);
        return nullptr;
    }
    auto result = std::make_unique<Image>(metadataCopy, image);
    if (!result->resize(w, h, 1)) return nullptr;
    const float* source = image.getData() + int64_t(y0) * nx + x0;
    float* out = result->getData();
    for (int64_t row = 0; row < h; row++) std::copy_n(source + row * nx, w, out + row * w);
    result->updateStatistics();
    return result.release();
}

int flipY(Image& image) {
    const int64_t nx = image.getNx(), ny = image.getNy();
    float* data = image.getData();
    for (int64_t i = 0; i < ny / 2; i++)
        std::swap_ranges(data + i * nx, data + (i + 1) * nx, data + (ny - 1 - i) * nx);
    return image.updateStatistics();
}

}  // namespace tarnview
