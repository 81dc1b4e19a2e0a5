#pragma once
// Whole-row operations on the first section of a real image: rectangular cut-outs and
// the top-to-bottom mirror.
#include "image/Image.h"

namespace tarnview {

/// A new w x h x 1 image (owned by the caller; image unchanged) holding columns
/// x0 ... x0 + w - 1 of rows y0 ... y0 + h - 1 of the first section, row by row, with
/// image's MRC header, sampling, title and path; statistics updated. Null after printing
/// "Region of %lld x %lld at (%lld, %lld) does not lie inside the %d x %d image\n" when
/// w or h is not positive or the rectangle reaches outside the image; null without a
/// message when the result cannot be allocated.
Image* extractRegion(const Image& image, int x0, int y0, int w, int h);

/// Mirrors the first section top to bottom in place (row i exchanged with row ny - 1 - i)
/// and updates the statistics. Returns 1.
int flipY(Image& image);

}  // namespace tarnview
