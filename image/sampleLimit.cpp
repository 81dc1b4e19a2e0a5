#include "image/sampleLimit.h"

#include <atomic>

#include "image/imageMessages.h"

namespace tarnview {

namespace {
// Relaxed: the limit guards no other data, each reader reads it once.
std::atomic<int64_t> limit{0};
}  // namespace

void setMaxImageSamples(int64_t samples) {
    limit.store(samples, std::memory_order_relaxed);
}

int64_t maxImageSamples() {
    return limit.load(std::memory_order_relaxed);
}

int withinSampleLimit(int64_t nx, int64_t ny, int64_t nz) {
    const int64_t most = maxImageSamples();
    if (most <= 0) return 1;
    int64_t samples = 0;
    // A product beyond 64 bits is beyond every limit.
    const bool overflow =
        __builtin_mul_overflow(nx, ny, &samples) || __builtin_mul_overflow(samples, nz, &samples);
    if (!overflow && samples <= most) return 1;
    printImageOverSampleLimit(nx, ny, nz, most);
    return 0;
}

}  // namespace tarnview
