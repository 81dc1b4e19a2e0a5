#pragma once
// Fourier transforms of images. A transform of an nx x ny real image is a Fourier image of
// nx + 2 floats per row (the nx/2 + 1 coefficients of non-negative horizontal frequency
// as float pairs) and ny rows in swapped-half order: rows i and i + ny/2 exchanged for
// every i below ny/2, so that for even ny the zero vertical frequency is in row ny/2 (for
// odd ny the last row stays in place). The coefficients are
// F(kx, ky) = sum f(x, y) exp(+2 pi i (kx x/nx + ky y/ny)), unscaled. Pairs hold either
// (Re F, Im F) (flags 7) or (|F| / ny, atan2(Im F, Re F)) (flags 3).
//
// Only the first section of a multi-section image is transformed; the result's other
// sections are zeros.
#include <cstdint>

#include "image/Image.h"

namespace tarnview {

/// True when fft accepts a real image of nx x ny: both sides valid transform lengths
/// (isFftSize) and an even width. Prints nothing.
bool fftAcceptsSize(int64_t nx, int64_t ny);

/// A new Fourier image of source (owned by the caller; source unchanged): real/imaginary
/// pairs when keepComplex is non-zero, amplitude/phase pairs otherwise, titled
/// "FFT <title>", statistics updated. Null after printing "Cannot do FFT of FFT\n" for a
/// complex source or "Invalid FFT size!\n" when a side is not a valid transform length or
/// the width is odd; null without a message when the result cannot be allocated.
Image* fft(const Image& source, int keepComplex);

/// A new real image (owned by the caller; source unchanged) inverse-transformed from the
/// Fourier image source, titled "IFT <title>", statistics updated. keepComplex non-zero:
/// source holds real/imaginary pairs and the result is not scaled (nx ny times the image
/// fft was given); zero: source holds amplitude/phase pairs and the result is normalised,
/// the exact inverse of fft with keepComplex zero. Null after printing
/// "Cannot do IFT of real\n" for a real source; null without a message when nx - 2 is
/// odd or a side is not a valid transform length, or when memory runs out.
Image* ift(const Image& source, int keepComplex);

/// The unscaled inverse transform of the real/imaginary Fourier image source into
/// destination, which is resized to the real size and titled "IFT <title>"; its flags are
/// kept (cleared when destination is source itself). Returns 1; 0 after printing
/// "Cannot do IFT of real\n" for a real source; 0 silently, destination unchanged, when
/// nx - 2 is odd or a side is not a valid transform length; 0 silently when memory runs
/// out (destination unchanged unless it is the final shrink that fails).
int iftInto(const Image& source, Image& destination);

}  // namespace tarnview
