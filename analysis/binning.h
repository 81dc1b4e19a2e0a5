#pragma once
// Binning: a smaller image whose pixels are the means of n x n blocks, for thumbnails.
#include "image/Image.h"

namespace tarnview {

/// A new real image of (nx / n) x (ny / n) x nz (owned by the caller; source unchanged):
/// pixel (x, y) of each section is the mean, summed in double, of the n x n block of
/// source from (n x, n y). The columns and rows past the last whole block are dropped, as
/// a reshape to (ny / n, n, nx / n, n) and a mean over the block axes would. The pixel
/// size deltaX grows n times; the title, magnification and MRC header are kept;
/// statistics and default grey limits updated. n = 1 gives a copy. Null after
/// "Cannot bin a %s %d x %d image by %d\n" for a complex source or n below 1 or beyond
/// a side; null without a message when memory runs out.
Image* binImage(const Image& source, int n);

}  // namespace tarnview
