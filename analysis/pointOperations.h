#pragma once
// In-place operations that change the values of an image one by one, using its own
// statistics (read once at the start) as reference, and end with updateStatistics:
// normalisation, filling of the background connected to the edges, clipping to the grey
// limits and the difference of two images. Pixel (col, row) is float row x nx + col of
// the first section; "every value" means all nx x ny x nz floats.
#include "image/Image.h"

namespace tarnview {

/// Every value and both grey limits v -> (v - mean) / sigma, each stored as a float.
/// Does nothing at all (no statistics update) when sigma is 0 or NaN.
void normalize(Image& image);

/// Every value and both grey limits v -> (v - edgeMean) / edgeSigma, each stored as a
/// float. Does nothing at all when edgeSigma is 0 or NaN.
void normalizeToEdge(Image& image);

/// Sets to value the pixels of the first section within edgeSigma / 20 of edgeMean that
/// straight runs reach from the edges: each row scanned from its left end and then from
/// its right end, then each column from its top and then from its bottom, every scan
/// stopping at its first pixel outside the band (pixels already set are tested like any
/// other). Returns 1.
int fillBackground(Image& image, float value);

/// Clips the values (every value of a real image, the first float of every pair of a
/// Fourier image) to greyHigh and then to greyLow. Returns the number of changes over
/// nx x ny x nz (0 for an empty image).
float clipToGreyRange(Image& image);

/// Subtracts other from image: value by value for a real image or a real/imaginary
/// Fourier image; for an amplitude/phase Fourier image each pair becomes the amplitude
/// and phase of the difference of the two complex values. Only the sections both images
/// hold are processed. When nx or ny differ, prints "Images must be the same size\n" and
/// changes nothing. other may be image itself.
void subtract(Image& image, const Image& other);

}  // namespace tarnview
