#pragma once
// Allocation of sample buffers. Large buffers are 2 MiB-aligned and advised to use
// transparent huge pages: the first touch of fresh memory dominates the cost of reading
// an image, and huge pages cut the number of page faults by 512.
#include <cstdint>

namespace tarnview {

/// A buffer of count floats (undefined contents), or null when count is negative, too
/// large for the address space, or the allocation fails. Release with releaseSamples.
float* allocateSamples(int64_t count);
/// A buffer of count floats that are all 0.0, or null as allocateSamples. Memory that
/// comes fresh from the system (as large buffers do) is already zero and is not written,
/// so its pages cost nothing until they are written. Release with releaseSamples.
float* allocateZeroedSamples(int64_t count);
/// Releases a buffer from allocateSamples or allocateZeroedSamples (null is allowed).
void releaseSamples(float* samples);

}  // namespace tarnview
