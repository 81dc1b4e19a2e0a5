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

float* allocateZeroedSamples(int64_t count) {
    if (count < 0 || uint64_t(count) > SIZE_MAX / sizeof(float) - hugePage) return nullptr;
    const size_t bytes = count == 0 ? sizeof(float) : size_t(count) * sizeof(float);
    // calloc clears only memory that is not fresh from the system. Huge pages are advised
    // for the whole 2 MiB pages inside the buffer; reading an untouched one maps the
    // shared zero page, so zeros that are only read stay free.
    void* p = std::calloc(bytes, 1);
    const uintptr_t start = (uintptr_t(p) + hugePage - 1) / hugePage * hugePage;
    const uintptr_t end = (uintptr_t(p) + bytes) / hugePage * hugePage;
    if (p != nullptr && end > start) madvise(reinterpret_cast<void*>(start), end - start, MADV_HUGEPAGE);
    return static_cast<float*>(p);
}

void releaseSamples(float* samples) {
    std::free(samples);
}

}  // namespace tarnview
