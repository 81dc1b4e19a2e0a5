#pragma once
// Circular cross-correlation of two real images, and self-convolution of one, through
// their Fourier transforms. A peak at pixel (sx, sy) of the correlation of image with
// other means that image matches other moved by (sx, sy) pixels, modulo the size; zero
// shift is at pixel (0, 0).
#include "image/Image.h"

namespace tarnview {

/// A new real image (owned by the caller) holding the correlation of image with other
/// (image's transform times the conjugate of other's), or with other null the
/// self-convolution of image (its transform squared), divided by the normalisation
/// (|mean| + sigma of image) (|mean| + sigma of other) N^2, or (mean + sigma)^2 N^2 with
/// the signed mean without other, where N = (nx + 2) ny; a normalisation that is zero or
/// not finite counts as 1. Titled "CCF", path "/tmp/lorikit.ccf" (nothing is written).
/// Neither input changes. Null after printing "CCF: Images must be the same size.\n" when
/// nx or ny differ, after the transform's message when an input cannot be transformed,
/// and silently when memory runs out.
Image* crossCorrelate(const Image& image, const Image* other);

}  // namespace tarnview
