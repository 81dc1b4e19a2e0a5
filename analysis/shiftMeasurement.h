#pragma once
// Precise measurement of the shift between two images: the peak of their circular
// cross-correlation, found on the whole correlation image and refined to a fraction of a
// pixel by evaluating the correlation's trigonometric interpolant (a local DFT of the
// cross-power spectrum) on ever finer grids around it.
#include "image/Image.h"

namespace tarnview {

/// A measured shift: other moved by (dx, dy) pixels matches reference; peak is the
/// correlation there, sum over x of reference(x) other(x - shift) (about 1 at a perfect
/// match when phase-normalised).
struct MeasuredShift {
    double dx = 0;
    double dy = 0;
    double peak = 0;
};

/// Measures the shift between reference and other (same nx and ny, valid transform
/// sizes; neither changes) to 1/upsampling of a pixel (upsampling clamped to 1 ... 10000).
/// The whole-pixel peak is the largest value of the correlation image; each refinement
/// evaluates the interpolated correlation on a grid at most ten times finer, up to
/// 17 x 17 points spanning 1.5 spacings of the previous grid, and moves to its largest value. With
/// phaseNormalised non-zero the cross-power spectrum is divided by its modulus (phase
/// correlation). Shifts are reported in -nx/2 ... nx/2 and -ny/2 ... ny/2, plus the
/// refinement. Returns 1 with shift filled; 0 after printing
/// "Shift: Images must be the same size.\n" or "Shift: no usable correlation peak\n"
/// (a correlation of NaN), after the transform's message for an image that cannot be
/// transformed, or silently when memory runs out.
int measureShift(const Image& reference, const Image& other, int upsampling, int phaseNormalised,
                 MeasuredShift& shift);

}  // namespace tarnview
