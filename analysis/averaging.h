#pragma once
// Averages of the images of an ImageList into a receiver image. The list and its images
// are only read (the receiver may be one of them). Every item must be an image of the
// first one's nx and ny holding at least one section; only first sections are used, and
// the receiver becomes one section titled "Avg of <count>, <first image's title>" with
// fresh statistics. Of the receiver's flags only bit 0 (complex) changes. Everything is
// checked and computed before the receiver is touched, so a failure leaves it unchanged.
#include "formats/ImageList.h"
#include "image/Image.h"

namespace tarnview {

/// Makes image the mean of the amplitude/phase transforms (fft with keepComplex 0) of the
/// images of list: the mean amplitude and the arithmetic mean of the phase values of each
/// coefficient; bit 0 of its flags is set. Returns 1; 0 for a null list, fewer than two
/// items, a null item, sizes that differ, or sides of the first image that are not even
/// with a valid half (realFftSizeAtLeast), and when a transform fails (fft prints its own
/// message) or memory runs out.
int averageTransforms(Image& image, const ImageList* list);

/// Makes image the average of the images of list. method 0: the mean of each value;
/// 1: the complex mean of Fourier images in amplitude/phase form (pairs of opposite
/// phase cancel); 2: prints "Unimplimented\n" and leaves image a copy of the first
/// image; any other: a copy of the first image. Bit 0 of the flags is copied from the
/// first image. Returns 1; 0 for a null list, fewer than two items, a null item, sizes
/// that differ, method 1 with a real first image, or when memory runs out.
int average(Image& image, const ImageList* list, int method);

}  // namespace tarnview
