#pragma once
// Filters that apply a curve of amplitude against spatial frequency back to a Fourier
// image in amplitude/phase form, each coefficient (u, v) looked up at its frequency
// hypot(u, v). A curve is nValues values and an abscissa array x of which only x[0] (the
// frequency of value 0) and x[1] - x[0] (the spacing) are read; a profile table of
// fourierProfile fits directly (x = the table, values = its second half, nValues = 200).
// Between its ends the curve is interpolated linearly; outside them it keeps its end
// values. The filters visit rows outer, pairs inner, and do not check the complex flag.
//
// A curve with fewer than two values, without its arrays, with a spacing that is 0 or not
// finite, or with an origin that is not finite is refused: the filter prints
// "Cannot apply a curve of %d values from %g in steps of %g\n" and changes nothing.
#include "image/Image.h"

namespace tarnview {

/// Multiplies every amplitude by the curve (its last value from index nValues - 2 on); a
/// product below 0 is negated and its phase turned by pi (pi subtracted from a negative
/// phase, added to any other). Ends the reuse of the cached profile (profileKind -1) and
/// updates the statistics. Returns 1, or 0 when the curve is refused.
int scaleByCurve(Image& image, int nValues, const float* x, const float* values);

/// Adds to every coefficient noise of random phase and of a size drawn uniformly within
/// spread of the curve (uniformRandom: the size, then the phase, per coefficient). Ends
/// the reuse of the cached profile and updates the statistics. Returns 1, or 0 when the
/// curve is refused.
int addCurveNoise(Image& image, int nValues, const float* x, const float* values, float spread);

/// Subtracts the curve from every amplitude; an amplitude that would fall below 0 becomes
/// 0 with its phase turned by pi. Updates the statistics and returns the wedge profile
/// fourierProfile(image, 2, 10, 10) of the result (the image's table), or null when the
/// curve is refused (image and profile untouched).
float* subtractCurve(Image& image, int nValues, const float* x, const float* values);

}  // namespace tarnview
