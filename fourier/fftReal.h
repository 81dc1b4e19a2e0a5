#pragma once
// Real-data transforms on top of the complex engine. n reals are taken as n/2 complex
// values (even samples as real parts, odd samples as imaginary parts), transformed with
// one complex transform of length n/2 and separated into the n/2 + 1 coefficients of the
// real transform (n + 2 floats: pairs (re, im) for frequencies 0 to n/2).
//
// sign selects the kernel exp(sign 2 pi i jk/n) as in the engine; nothing is scaled, so a
// transform with one sign followed by the inverse with the other multiplies by n. A valid
// real length is even with half of it a valid complex length; a call with any other
// length (or a non-positive other dimension) returns 0 without touching the data.
//
// Coefficients 0 and n/2 are real: the forward transforms store exactly 0 as their
// imaginary parts and the inverse transforms never read those two imaginary parts.

namespace tarnview {

/// Transforms n reals of in into the n/2 + 1 coefficients of out (n + 2 floats). out may
/// be in when that array has room for n + 2 floats. Returns 1, or 0 for an invalid n.
int fftRealToComplex(int sign, int n, const float* in, float* out);

/// Transforms n/2 + 1 coefficients of in (n + 2 floats; the coefficients above n/2 are
/// the conjugates of those below) into n reals in out. out may be in. Returns 1, or 0 for
/// an invalid n.
int fftComplexToReal(int sign, int n, const float* in, float* out);

/// Real transform along one dimension of ny rows of nx reals (nx fast). dim 1: every row,
/// out has ny rows of nx + 2 floats. Any other dim: every column, out has ny/2 + 1 rows of
/// nx complex values (2 nx floats each), complex value x of row k being coefficient k of
/// column x. out may be in when that array has room for the output. Returns 1, or 0 for
/// an invalid transformed length.
int fftRealToComplex2d(int sign, int dim, int nx, int ny, const float* in, float* out);

/// The inverse of fftRealToComplex2d with the same layouts; nx and ny are the sizes of the
/// real array written to out. out may be in. Along the second dimension it takes one
/// scratch row of nx floats. Returns 1, or 0 (out untouched) for an invalid transformed
/// length or when the scratch row cannot be allocated.
int fftComplexToReal2d(int sign, int dim, int nx, int ny, const float* in, float* out);

}  // namespace tarnview
