#pragma once
// Rotational alignment: the angle between two real images from the circular correlation
// of their ring profiles, weighted by radius and summed: alignRotation on binned profiles
// (1440 bins of 0.25 degree) of the rings of radius 12, 18, 24, ... below nx/2 - 10 about
// the centre pixel, measureRotation on interpolated profiles of every ring about the
// centre of rotation.
#include "image/Image.h"

namespace tarnview {

/// The angle in radians by which other must be turned (by rotate, in degrees) to match
/// reference; neither image is changed. Writes the summed correlation curve ("%g\t%g\n"
/// lines of angle and value, 1440 lines) to "test.rcf.dat" in the current directory,
/// prints "Max at %d, %g, %g\n" (peak index, its angle in degrees, its height) and
/// "Max at %g\n" (the angle in degrees, refined by the centre of mass of the five entries
/// about the peak). Prints "Rotational correlation scale is %g: 1 used instead\n" when the
/// normalising product of means and sigmas is 0 or not finite (the angle does not depend
/// on it). Returns 0 after printing "Need a data set to align with!\n" when other is null,
/// and 0 after "No rotational correlation peak (%s): angle 0\n" (instead of the second
/// "Max at" line) when no ring fits inside reference, the curve is not finite or is flat.
float alignRotation(const Image& reference, const Image* other);

/// Result of measureRotation.
struct RotationMeasure {
    float angle;   // radians, as alignRotation's result; 0 when not found
    float height;  // height of the correlation peak above its minimum; 0 when not found
    int found;     // 1, or 0 when there was no peak
};

/// The angle in radians, in [-pi, pi), by which other must be turned (by rotate, about the
/// geometric centre ((nx - 1)/2, (ny - 1)/2)) to match reference, measured to a small
/// fraction of a degree: the rings of radius 2, 3, ... up to 0.45 of the smaller side
/// about that centre are sampled with bilinear interpolation at 1440 angles each, their
/// correlations are summed weighted by radius, and the peak is refined on the continuous
/// curve. Neither image is changed; writes no file and prints nothing on success. Returns
/// found 0 after printing "No rotational correlation peak (%s): angle 0\n" when no ring
/// fits, the images differ in size, or the curve is not finite or is flat.
RotationMeasure measureRotation(const Image& reference, const Image& other);

/// As measureRotation(reference, other) about the centre (centreX, centreY) in pixels
/// (column, row); the rings stop where the first would leave the grid.
RotationMeasure measureRotation(const Image& reference, const Image& other, double centreX, double centreY);

}  // namespace tarnview
