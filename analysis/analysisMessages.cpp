#include "analysis/analysisMessages.h"

#include <cstdio>

namespace tarnview {

// Cross-correlation, centring and translational alignment.

// Rotation, regions, flips and rotational alignment.
void printRotateAngleNotFinite(double degrees) {
    std::printf("Cannot rotate by %g degrees: the angle is not a finite number\n", degrees);
}

void printRegionOutside(long long w, long long h, long long x0, long long y0, int nx, int ny) {
    std::printf("Region of %lld x %lld at (%lld, %lld) does not lie inside the %d x %d image\n", w, h, x0, y0,
                nx, ny);
}

void printNeedDataSetToAlign() {
    std::printf("Need a data set to align with!\n");
}

void printRotationScaleUnusable(double scale) {
    std::printf("Rotational correlation scale is %g: 1 used instead\n", scale);
}

void printRotationPeak(int index, double degrees, double height) {
    std::printf("Max at %d, %g, %g\n", index, degrees, height);
}

void printRotationAngle(double degrees) {
    std::printf("Max at %g\n", degrees);
}

void printNoRotationPeak(const char* reason) {
    std::printf("No rotational correlation peak (%s): angle 0\n", reason);
}

void printPhaseSizesDiffer(int nx, int ny, int otherNx, int otherNy) {
    std::printf("Cannot compare phases of a %d x %d and a %d x %d transform\n", nx, ny, otherNx, otherNy);
}

// Fourier profiles, curve filters, averaging, point operations and masks.

}  // namespace tarnview
