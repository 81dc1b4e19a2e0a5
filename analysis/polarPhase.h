#pragma once
// Comparison of the phases of two Fourier transforms along radial lines.
#include "image/Image.h"

namespace tarnview {

/// A new 360 x 360 x 1 image (owned by the caller, made from scratch: no title or
/// headers; statistics updated) comparing the phases of two amplitude/phase transforms
/// (fft with keepComplex 0) along 360 radial lines from -90 to +90 degrees: pixel
/// (column i2, row i1) is the sum over radii 5 ... ny/2 - 6 of the phase difference,
/// wrapped into 0 ... pi, between line i1 of reference and line i2 of other. other null
/// compares reference with itself (zero diagonal, symmetric). A coefficient outside the
/// stored half-plane reads as phase 0. Null after printing
/// "Cannot compare phases of a %d x %d and a %d x %d transform\n" when the sizes differ;
/// null without a message when memory runs out.
Image* polarPhaseCompare(const Image& reference, const Image* other);

}  // namespace tarnview
