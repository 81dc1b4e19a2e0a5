#include "analysis/binning.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <vector>

#include "analysis/analysisMessages.h"

namespace tarnview {

namespace {

// Bins one section: rows of src (width nx) into rows of dst (width bx), by rows of blocks
// so that each source row is read once, in order.
void binSection(const float* src, int64_t nx, float* dst, int bx, int by, int n) {
    std::vector<double> sums(static_cast<size_t>(bx));
    const double count = double(n) * n;
    for (int j = 0; j < by; j++) {
        std::fill(sums.begin(), sums.end(), 0.0);
        for (int r = 0; r < n; r++) {
            const float* row = src + (int64_t(j) * n + r) * nx;
            for (int i = 0; i < bx; i++) {
                double s = 0;
                for (int k = 0; k < n; k++) s += row[int64_t(i) * n + k];
                sums[size_t(i)] += s;
            }
        }
        for (int i = 0; i < bx; i++) dst[int64_t(j) * bx + i] = float(sums[size_t(i)] / count);
    }
}

}  // namespace

Image* binImage(const Image& source, int n) {
    const int nx = source.getNx(), ny = source.getNy(), nz = source.getNz();
    if (source.isComplex() || n < 1 || n > nx || n > ny || nz < 1) {
        printBinRefused(nx, ny, n, source.isComplex());
        return nullptr;
    }
    const int bx = nx / n, by = ny / n;
    auto result = std::make_unique<Image>(metadataCopy, source);
    if (!result->resize(bx, by, nz)) return nullptr;
    result->setDeltaX(source.getDeltaX() * float(n));
    for (int z = 0; z < nz; z++)
        binSection(source.getData() + int64_t(z) * nx * ny, nx, result->getData() + int64_t(z) * bx * by, bx,
                   by, n);
    result->updateStatistics();
    return result.release();
}

}  // namespace tarnview
