#pragma once
// Messages printed by the image operations, each in one place with its exact text.

namespace tarnview {

// Cross-correlation, centring and translational alignment.
/// "CCF: Images must be the same size.\n"
void printCcfSizeMismatch();
/// "Align: Images must be the same size.\n"
void printAlignSizeMismatch();
/// "Center: ", the start of centre's progress line.
void printCentreStart();
/// "negative peak, "
void printNegativePeak();
/// "%d,%d  ": the whole-pixel peak centre reports.
void printCentrePeak(int x, int y);
/// "translate %4.6f,%4.6f\n": the shift found, ending a progress line.
void printTranslate(float dx, float dy);
/// "Align: ", the start of alignTranslation's progress line.
void printAlignStart();
/// "%5.3f,%5.3f,%5.3f\t": maximum, mean and minimum of the correlation.
void printCcfRange(float max, float mean, float min);
/// "positive CCF, "
void printPositiveCcf();
/// "negative CCF, "
void printNegativeCcf();
/// "no usable correlation peak, image left unchanged\n", ending a progress line.
void printNoUsablePeak();
/// "Translate: shift %f,%f is not finite, image left unchanged\n"
void printShiftNotFinite(double dx, double dy);
/// "Shift: Images must be the same size.\n"
void printShiftSizeMismatch();
/// "Shift: no usable correlation peak\n"
void printShiftNoPeak();

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
