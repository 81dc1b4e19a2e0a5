#pragma once
// Rotated copies of real images: bilinear interpolation about the geometric centre of the
// pixel grid ((nx - 1)/2, (ny - 1)/2), in single precision.
#include "image/Image.h"

namespace tarnview {

/// A new nx x ny x 1 image (owned by the caller; image unchanged) holding the first section
/// of image turned by angle degrees: the output pixel at offset (x, y) from the centre
/// takes the source value at (x cos a + y sin a, -x sin a + y cos a), interpolated
/// bilinearly; positions outside the source take its mean. Statistics updated. Null after
/// printing "Cannot rotate by %g degrees: the angle is not a finite number\n" for a NaN or
/// infinite angle; null without a message when the result cannot be allocated.
Image* rotate(const Image& image, float angle);

}  // namespace tarnview
