#include "image/sampleBuffer.h"

#include <sys/mman.h>

#include <cstdint>
#include <cstdlib>

namespace tarnview {

namespace {
constexpr size_t hugePage = size_t(2) << 20;
}

float* allocateSamples(int64_t count) {
    if (count < 0 || uint64_t(count) > SIZE_MAX / sizeof(float) - hugePage) return nullptr;
    size_t bytes = count == 0 ? sizeof(float) : size_t(count) * sizeof(float);
    if (bytes < hugePage) return static_cast<float*>(std::malloc(bytes));
    bytes = (bytes + hugePage - 1) / hugePage * hugePage;
    void* p = nullptr;
    if (posix_memalign(&p, hugePage, bytes) != 0) return nullptr;
    madvise(p, bytes, MADV_HUGEPAGE);  // advice only: failure is harmless
    return static_cast<float*>(p);
}

void releaseSamples(float* samples) {
    std::free(samples);
}

}  // namespace tarnview
