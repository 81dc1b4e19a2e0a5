#pragma once
// The averaged power spectrum of an image of any shape (Welch's method), shown as the
// logarithm of the power with its smooth radial background subtracted, so that the rings
// of a micrograph's contrast transfer stand out evenly from the centre to the edge.
#include "image/Image.h"

namespace tarnview {

/// The largest tile side accepted by powerSpectrum: larger requests are refused (the tile
/// and its power sum take about 16 bytes per pixel of the tile).
inline constexpr int powerSpectrumLargestTile = 4096;

/// The side powerSpectrum transforms a requested tile at: the largest side at most the
/// request whose square transform fft accepts (a divisor of 720720, even), or 0 when the
/// request is below 8 or above powerSpectrumLargestTile. 512 gives 504.
int powerSpectrumTile(int requested);

/// A new real image of tile x tile (tile = powerSpectrumTile(requested), owned by the
/// caller; source unchanged): the power spectrum of the first section of source averaged
/// over square tiles that overlap by the fraction overlap (0 to 0.9; 0.5 is Welch's
/// usual choice) and cover the whole image, each with its mean removed and a Hann
/// window (sin^2) applied; the power sum is kept in double. Shown as log(power) minus
/// the radial profile of log(power) smoothed over smoothBins bins either side, zero
/// frequency at pixel (tile/2, tile/2); that pixel, emptied by the mean removal, is 0.
/// A side of the image shorter than the tile gives one tile along it, the image at its
/// start and zeros after it. Statistics and default grey limits updated.
/// Prints "Tile %d is not a valid transform length: %d used\n" when the tile is
/// changed. Null after a message for a complex source, an image without samples or
/// with a side below 2, a refused tile, overlap or smoothBins; null without a message
/// when memory runs out.
Image* powerSpectrum(const Image& source, int requested = 512, double overlap = 0.5, int smoothBins = 3);

}  // namespace tarnview
