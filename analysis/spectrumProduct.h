#pragma once
// Elementwise products of two real/imaginary Fourier images, the core of the correlations.
#include <cstdint>

namespace tarnview {

/// Replaces each of the count complex pairs of a by a * conj(b) / factor when conjugate is
/// non-zero, by a * b / factor otherwise; products and quotients in double, results
/// rounded to float. b may be a itself (the self-product, a * a).
void multiplySpectra(float* a, const float* b, int64_t count, double factor, int conjugate);

/// factor rounded to float, or 1 when that is zero or not finite (a blank image would
/// otherwise fill a correlation with NaN).
float usableFactor(double factor);

}  // namespace tarnview
