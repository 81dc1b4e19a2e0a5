#pragma once
// In-place, self-sorting prime-factor FFT of single-precision complex data.
//
// A complex array is a sequence of float pairs (real, imaginary); lengths, positions and
// strides count complex elements. A transform with sign s computes
//     Z(k) = sum over j of z(j) exp(s 2 pi i j k / n),   k = 0 .. n-1,
// where a negative s selects exp(-...) and any other value exp(+...). Nothing is scaled: a
// transform followed by the one of opposite sign multiplies the data by n. Lengths must be
// one of the sizes of fftSizeTable (see fourier/fftSizes.h); any other length is refused and
// the data are left untouched. No operation allocates memory or prints anything.

namespace tarnview {

inline constexpr int fftFactorCount = 10;

/// The modules of the engine in the order the passes try them: the larger power of 2 or 3
/// first, so that a length uses 16 rather than 8, 4 or 2, and 9 rather than 3.
inline constexpr int fftFactorList[fftFactorCount] = {16, 13, 11, 9, 8, 7, 5, 4, 3, 2};

/// Transforms the n complex values of z (2n floats) in place, output in natural order.
void fftComplex(int sign, int n, float* z);

/// Transforms count sequences of length n in place; element j of sequence t is complex element
/// t * transformStride + j * elementStride of z. Each sequence gives bit for bit the result of
/// fftComplex on its elements gathered. A count below 1 does nothing.
void fftComplexMany(int sign, int n, int count, int elementStride, int transformStride, float* z);

/// Transforms one dimension of ny rows of nx complex values (nx fastest): with dim 1 each row
/// (length nx), with any other dim each column (length ny).
void fftComplex2d(int sign, int dim, int nx, int ny, float* z);

}  // namespace tarnview
