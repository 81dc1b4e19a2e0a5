#pragma once
// Enlarging an image to a valid transform size, filling the new border with noise of
// the image's own mean and standard deviation (or with the mean alone).
#include "image/Image.h"

namespace tarnview {

/// Pads the image to newNx x newNy with the old picture centred (equal margins), the
/// border filled with gaussianRandom(mean, sigma) when noise is non-zero, else with the
/// mean. Depth 1 and fresh statistics afterwards. Prints "Must pad an even number of
/// pixels\n" for an odd difference, or a message for a smaller size, and then changes
/// nothing. Returns 1 when padded, 0 when refused.
int padWithNoise(Image& image, int noise, int newNx, int newNy);

/// The same padding with explicit margins: the old picture keeps `left` columns before
/// it (low column indices) and `below` rows before it (low row indices); the rest of
/// the difference goes after it. Border drawing order: for each row holding the picture
/// its left then its right margin; then every pixel of the rows before the picture; then
/// every pixel of the rows after it. Returns 1, or 0 (with a message, image unchanged)
/// for a smaller size, margins outside the difference, or a failed allocation.
int padWithNoiseAt(Image& image, int noise, int newNx, int newNy, int left, int below);

}  // namespace tarnview
