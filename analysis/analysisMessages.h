#pragma once
// Messages printed by the image operations, each in one place with its exact text.

namespace tarnview {

// Cross-correlation, centring and translational alignment.

// Rotation, regions, flips and rotational alignment.
/// "Cannot rotate by %g degrees: the angle is not a finite number\n"
void printRotateAngleNotFinite(double degrees);
/// "Region of %lld x %lld at (%lld, %lld) does not lie inside the %d x %d image\n"
void printRegionOutside(long long w, long long h, long long x0, long long y0, int nx, int ny);
/// "Need a data set to align with!\n"
void printNeedDataSetToAlign();
/// "Rotational correlation scale is %g: 1 used instead\n"
void printRotationScaleUnusable(double scale);
/// "Max at %d, %g, %g\n": peak index, its angle in degrees and its height
void printRotationPeak(int index, double degrees, double height);
/// "Max at %g\n": the refined angle in degrees
void printRotationAngle(double degrees);
/// "No rotational correlation peak (%s): angle 0\n"
void printNoRotationPeak(const char* reason);
/// "Cannot compare phases of a %d x %d and a %d x %d transform\n"
void printPhaseSizesDiffer(int nx, int ny, int otherNx, int otherNy);

// Fourier profiles, curve filters, averaging, point operations and masks.

}  // namespace tarnview
