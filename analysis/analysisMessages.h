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
/// "Cannot apply a curve of %d values from %g in steps of %g\n": a curve filter refused
/// a curve with fewer than two values, a spacing that is 0 or not finite, or an origin
/// that is not finite.
void printUnusableCurve(int nValues, double origin, double spacing);
/// "Unimplimented\n"
void printUnimplimented();
/// "Images must be the same size\n"
void printImagesMustBeSameSize();

// Power spectra and binning.
/// "Tile %d is not a valid transform length: %d used\n"
void printTileChanged(int requested, int used);
/// "Cannot use tiles of %d pixels: a tile must be %d to %d pixels\n"
void printTileRefused(int requested, int smallest, int largest);
/// "Cannot average tiles with overlap %g and smoothing %d: the overlap must be 0 to 0.9
/// and the smoothing 0 to 50 bins\n"
void printSpectrumOptionsRefused(double overlap, int smoothBins);
/// "Cannot make a power spectrum of a %s %d x %d image\n": a complex image or one
/// without samples or with a side below 2.
void printSpectrumNeedsRealImage(int nx, int ny, bool complexImage);
/// "The image has samples that are not finite numbers: no power spectrum\n"
void printSpectrumNotFinite();
/// "Cannot bin a %s %d x %d image by %d\n": a factor below 1 or beyond a side, or a
/// complex image.
void printBinRefused(int nx, int ny, int n, bool complexImage);

}  // namespace tarnview
