#include "analysis/analysisMessages.h"

#include <cstdio>

namespace tarnview {

// Cross-correlation, centring and translational alignment.

// Rotation, regions, flips and rotational alignment.

// Fourier profiles, curve filters, averaging, point operations and masks.
void printUnusableCurve(int nValues, double origin, double spacing) {
    std::printf("Cannot apply a curve of %d values from %g in steps of %g\n", nValues, origin, spacing);
}

void printUnimplimented() {
    std::printf("Unimplimented\n");
}

void printImagesMustBeSameSize() {
    std::printf("Images must be the same size\n");
}

}  // namespace tarnview
