#include "analysis/analysisMessages.h"

#include <cstdio>

namespace tarnview {

// Cross-correlation, centring and translational alignment.
void printCcfSizeMismatch() {
    std::printf("CCF: Images must be the same size.\n");
}

void printAlignSizeMismatch() {
    std::printf("Align: Images must be the same size.\n");
}

void printCentreStart() {
    std::printf("Center: ");
}

void printNegativePeak() {
    std::printf("negative peak, ");
}

void printCentrePeak(int x, int y) {
    std::printf("%d,%d  ", x, y);
}

void printTranslate(float dx, float dy) {
    std::printf("translate %4.6f,%4.6f\n", dx, dy);
}

void printAlignStart() {
    std::printf("Align: ");
}

void printCcfRange(float max, float mean, float min) {
    std::printf("%5.3f,%5.3f,%5.3f\t", max, mean, min);
}

void printPositiveCcf() {
    std::printf("positive CCF, ");
}

void printNegativeCcf() {
    std::printf("negative CCF, ");
}

void printNoUsablePeak() {
    std::printf("no usable correlation peak, image left unchanged\n");
}

void printShiftNotFinite(double dx, double dy) {
    std::printf("Translate: shift %f,%f is not finite, image left unchanged\n", dx, dy);
}

void printShiftSizeMismatch() {
    std::printf("Shift: Images must be the same size.\n");
}

void printShiftNoPeak() {
    std::printf("Shift: no usable correlation peak\n");
}

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
