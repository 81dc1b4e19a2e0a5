#pragma once
// Rotational alignment: the angle between two real images from the circular correlation
// of their ring profiles (1440 bins of 0.25 degree) on the rings of radius 12, 18, 24, ...
// below nx/2 - 10 of the reference, weighted by radius and summed.
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
    float height;  // height of the summed correlation peak above its minimum; 0 when not found
    int found;     // 1, or 0 when there was no peak
};

/// The same correlation as alignRotation, with the peak refined by the parabola through
/// the largest entry and its two neighbours (on the circular angle axis), which is
/// precise to a small fraction of a bin. Writes no file and prints nothing on success; on
/// failure prints what alignRotation prints for it and returns found 0.
RotationMeasure measureRotation(const Image& reference, const Image& other);

}  // namespace tarnview
