#pragma once
// Circular masks about the geometric centre ((nx - 1)/2, (ny - 1)/2) of a real image, or
// about the zero frequency of a Fourier image.
#include "image/Image.h"

namespace tarnview {

/// Masks the first section outside a circle of radius (radius <= 0: min(nx, ny)/2 in
/// integer halves, less 4 when edge is not 0; nx is the row width of a Fourier image).
/// Real image, r the distance from the centre: edge 0 sets to mean every pixel with
/// r + 0.5 > radius; edge 1 blends every pixel with r > radius towards mean by
/// w = 0.5 + tanh(r - radius - 2)/2 (a soft edge two pixels outside). Fourier image, r the
/// frequency of the coefficient: edge 0 sets to 0, and edge 1 multiplies by 1 - w, the
/// amplitude (amplitude/phase form) or both parts (real/imaginary form) of every
/// coefficient with r > radius. Any other edge changes no value. Updates the statistics
/// and returns 1.
int maskCircle(Image& image, int edge, int radius);

}  // namespace tarnview
