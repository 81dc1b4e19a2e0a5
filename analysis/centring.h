#pragma once
// Centring of an image on its centre of symmetry, found from the peak of its
// self-convolution, which lies at twice the offset of that centre.
#include "image/Image.h"

namespace tarnview {

/// Moves the real image (in place, same size and title) so that its centre of symmetry
/// lies on the grid centre ((nx - 1)/2, (ny - 1)/2), or on pixel (0, 0) when toOrigin is
/// non-zero. Searches the self-convolution for self-convolution offsets -28 ... 25 (its
/// maximum, or its minimum when that lies further from the mean: "negative peak").
/// Prints the progress line "Center: " ["negative peak, "] "%d,%d  " (the whole-pixel
/// peak) "translate %4.6f,%4.6f\n" (the peak by centre of mass; both are twice the offset
/// of the centre of symmetry from the grid centre). When the self-convolution has no
/// usable peak (NaN, or flat as for a blank image) it ends the line with
/// "no usable correlation peak, image left unchanged\n". An image that cannot be
/// transformed is left unchanged after the transform's message.
void centre(Image& image, int toOrigin);

}  // namespace tarnview
