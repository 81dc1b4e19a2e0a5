#include "analysis/analysisMessages.h"

#include "image/messageSink.h"

namespace tarnview {

// Cross-correlation, centring and translational alignment.
void printCcfSizeMismatch() {
    emitMessage("CCF: Images must be the same size.\n");
}

void printAlignSizeMismatch() {
    emitMessage("Align: Images must be the same size.\n");
}

void printCentreStart() {
    emitMessage("Center: ");
}

void printNegativePeak() {
    emitMessage("negative peak, ");
}

void printCentrePeak(int x, int y) {
    emitMessage("%d,%d  ", x, y);
}

void printTranslate(float dx, float dy) {
    emitMessage("translate %4.6f,%4.6f\n", dx, dy);
}

void printAlignStart() {
    emitMessage("Align: ");
}

void printCcfRange(float max, float mean, float min) {
    emitMessage("%5.3f,%5.3f,%5.3f\t", max, mean, min);
}

void printPositiveCcf() {
    emitMessage("positive CCF, ");
}

void printNegativeCcf() {
    emitMessage("negative CCF, ");
}

void printNoUsablePeak() {
    emitMessage("no usable correlation peak, image left unchanged\n");
}

void printShiftNotFinite(double dx, double dy) {
    emitMessage("Translate: shift %f,%f is not finite, image left unchanged\n", dx, dy);
}

void printShiftSizeMismatch() {
    emitMessage("Shift: Images must be the same size.\n");
}

void printShiftNoPeak() {
    emitMessage("Shift: no usable correlation peak\n");
}

// Rotation, regions, flips and rotational alignment.
void printRotateAngleNotFinite(double degrees) {
    emitMessage("Cannot rotate by %g degrees: the angle is not a finite number\n", degrees);
}

void printRegionOutside(long long w, long long h, long long x0, long long y0, int nx, int ny) {
    emitMessage("Region of %lld x %lld at (%lld, %lld) does not lie inside the %d x %d image\n", w, h, x0, y0,
                nx, ny);
}

void printNeedDataSetToAlign() {
    emitMessage("Need a data set to align with!\n");
}

void printRotationScaleUnusable(double scale) {
    emitMessage("Rotational correlation scale is %g: 1 used instead\n", scale);
}

void printRotationPeak(int index, double degrees, double height) {
    emitMessage("Max at %d, %g, %g\n", index, degrees, height);
}

void printRotationAngle(double degrees) {
    emitMessage("Max at %g\n", degrees);
}

void printNoRotationPeak(const char* reason) {
    emitMessage("No rotational correlation peak (%s): angle 0\n", reason);
}

void printPhaseSizesDiffer(int nx, int ny, int otherNx, int otherNy) {
    emitMessage("Cannot compare phases of a %d x %d and a %d x %d transform\n", nx, ny, otherNx, otherNy);
}

// Fourier profiles, curve filters, averaging, point operations and masks.
void printUnusableCurve(int nValues, double origin, double spacing) {
    emitMessage("Cannot apply a curve of %d values from %g in steps of %g\n", nValues, origin, spacing);
}

void printUnimplimented() {
    emitMessage("Unimplimented\n");
}

void printImagesMustBeSameSize() {
    emitMessage("Images must be the same size\n");
}

// Power spectra and binning.
void printTileChanged(int requested, int used) {
    emitMessage("Tile %d is not a valid transform length: %d used\n", requested, used);
}

void printTileRefused(int requested, int smallest, int largest) {
    emitMessage("Cannot use tiles of %d pixels: a tile must be %d to %d pixels\n", requested, smallest,
                largest);
}

void printSpectrumOptionsRefused(double overlap, int smoothBins) {
    emitMessage(
        "Cannot average tiles with overlap %g and smoothing %d: the overlap must be 0 to 0.9 and the "
        "smoothing 0 to 50 bins\n",
        overlap, smoothBins);
}

void printSpectrumNeedsRealImage(int nx, int ny, bool complexImage) {
    emitMessage("Cannot make a power spectrum of a %s %d x %d image\n", complexImage ? "complex" : "real", nx,
                ny);
}

void printSpectrumNotFinite() {
    emitMessage("The image has samples that are not finite numbers: no power spectrum\n");
}

void printBinRefused(int nx, int ny, int n, bool complexImage) {
    emitMessage("Cannot bin a %s %d x %d image by %d\n", complexImage ? "complex" : "real", nx, ny, n);
}

}  // namespace tarnview
