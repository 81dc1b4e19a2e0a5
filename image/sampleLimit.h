#pragma once
// The largest image a reader will allocate, as a number of float samples: a process-wide
// setting (atomic, so that threads reading images may consult it while another sets it)
// that every file reader checks against the sizes a header declares before it allocates
// anything. A front end that reads untrusted files sets it; the default is no limit.
#include <cstdint>

namespace tarnview {

/// Sets the limit to samples floats per image; 0 or below means no limit (the default).
void setMaxImageSamples(int64_t samples);
/// The current limit; 0 or below means no limit.
int64_t maxImageSamples();
/// 1 when an image of nx x ny x nz samples (each at least 1) is within the limit;
/// otherwise prints "Image of %lldx%lldx%lld samples exceeds the limit of %lld
/// samples\n" and returns 0.
int withinSampleLimit(int64_t nx, int64_t ny, int64_t nz);

}  // namespace tarnview
