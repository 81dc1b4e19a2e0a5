#pragma once
// Translational alignment: a second image moved onto a reference by the shift at the
// peak of their cross-correlation.
#include "analysis/shiftMeasurement.h"
#include "image/Image.h"

namespace tarnview {

/// Moves other (in place, same size and title) onto reference, which does not change,
/// by the shift of the correlation peak within -27 ... 26 pixels each way, estimated by
/// a 7 x 7 centre of mass. peakSign (clamped to -1 ... 1): 1 seeks the maximum of the
/// correlation, -1 the minimum, 0 decides: the maximum when it lies strictly further from
/// the mean than the minimum, else the minimum. Prints "Align: ", with peakSign 0
/// "%5.3f,%5.3f,%5.3f\t" (maximum, mean and minimum of the correlation) and
/// "positive CCF, " or "negative CCF, ", then "translate %4.6f,%4.6f\n" with the shift
/// applied, or "no usable correlation peak, image left unchanged\n" (a NaN or flat
/// correlation, as for a blank image). Returns silently when other is null; prints
/// "Align: Images must be the same size.\n" when nx or ny differ; an image that cannot
/// be transformed leaves other unchanged after the transform's message.
void alignTranslation(const Image& reference, Image* other, int peakSign);

/// Moves other (in place, same size and title) onto reference by the shift measureShift
/// finds (see shiftMeasurement.h) with the given upsampling and phase normalisation, and
/// stores that shift in applied when it is not null. Prints nothing on success. Returns
/// 1; 0 with other unchanged when other is null (silently) or after the messages of
/// measureShift or of the transforms.
int alignTranslationPrecise(const Image& reference, Image* other, int upsampling, int phaseNormalised,
                            MeasuredShift* applied);

}  // namespace tarnview
