#pragma once
// Messages printed by the image operations, each in one place with its exact text.

namespace tarnview {

// Cross-correlation, centring and translational alignment.

// Rotation, regions, flips and rotational alignment.

// Fourier profiles, curve filters, averaging, point operations and masks.
/// "Cannot apply a curve of %d values from %g in steps of %g\n": a curve filter refused
/// a curve with fewer than two values, a spacing that is 0 or not finite, or an origin
/// that is not finite.
void printUnusableCurve(int nValues, double origin, double spacing);
/// "Unimplimented\n"
void printUnimplimented();
/// "Images must be the same size\n"
void printImagesMustBeSameSize();

}  // namespace tarnview
