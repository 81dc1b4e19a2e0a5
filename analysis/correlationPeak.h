#pragma once
// The peak search of centring and translational alignment: a 61 x 61 window of a
// correlation image around zero shift, its coarse maximum and a 7 x 7 centre of mass.
#include "image/Image.h"

namespace tarnview {

inline constexpr int correlationWindowSide = 61;

/// Window cells [i][j], i for columns (x) and j for rows (y), single precision.
struct CorrelationWindow {
    float cells[correlationWindowSide][correlationWindowSide];
};

/// A peak found in a window: the cell of the coarse maximum and the centre of mass
/// minus 30 in each direction, rounded to float.
struct WindowPeak {
    int x = 0;
    int y = 0;
    float dx = 0;
    float dy = 0;
};

/// Fills window from the first section of the real image ccf: cell [i][j] is the pixel at
/// column (i - zeroCell) mod nx and row (j - zeroCell) mod ny (a true modulo, so images
/// smaller than the window wrap), negated when negate is non-zero. Prints nothing.
void fillCorrelationWindow(const Image& ccf, int zeroCell, int negate, CorrelationWindow& window);

/// The shared peak finder: the first strictly largest and the smallest value over cells
/// 3 ... 56 (columns outer, rows inner), then the centre of mass of value - smallest over
/// the 7 x 7 cells around the maximum; the x sum and the weight sum in double, the y sum
/// in float when singleY is non-zero, else in double. Returns 1 with peak filled; 0 when
/// no value exceeds -1e20 (a window of NaN, say), the weight sum is not positive (a flat
/// window) or the shift is not finite. Prints nothing.
int findWindowPeak(const CorrelationWindow& window, int singleY, WindowPeak& peak);

}  // namespace tarnview
