#pragma once
// Conversion of complex coefficients between (real, imaginary) pairs and the
// (amplitude, phase) pairs of the amplitude/phase form of a Fourier image.
#include <cstdint>

namespace tarnview {

/// Replaces each of count float pairs (re, im) by (hypot(re, im) / divisor, atan2(im, re)),
/// both evaluated in double precision and rounded to float: every result equals the
/// library's hypot and atan2 rounded to float, signed zeros, infinities and NaNs included.
void toAmplitudePhase(float* pairs, int64_t count, int divisor);

/// Replaces each of count float pairs (amplitude, phase) by (re, im) with
/// re = scale * amplitude * cos(phase) and im = scale * amplitude * sin(phase), each
/// evaluated in double precision and rounded to float, then divided by divisor in float.
void fromAmplitudePhase(float* pairs, int64_t count, double scale, float divisor);

}  // namespace tarnview
