#pragma once
// Valid transform lengths of the prime-factor FFT and the lookups that choose one.

namespace tarnview {

/// One valid transform length with its relative cost (lower is faster; only the order of
/// costs matters).
struct FftSize {
    int size;
    float cost;
};

inline constexpr int fftSizeCount = 240;

/// The longest valid length, 720720 = 16 x 9 x 5 x 7 x 11 x 13: the product of the
/// engine's mutually prime modules.
inline constexpr int fftLargestSize = 720720;

/// True when n is a valid transform length: a divisor of fftLargestSize (each divisor
/// factors into mutually prime modules, and no other length does).
inline constexpr bool isFftSize(long long n) {
    return n >= 1 && n <= fftLargestSize && fftLargestSize % n == 0;
}

/// The 240 valid lengths (the divisors of 720720 = 16 x 9 x 5 x 7 x 11 x 13), in ascending
/// order of size, each with the relative cost of one 1-D complex transform of that length.
extern const FftSize fftSizeTable[fftSizeCount];

/// The smallest valid length that is at least n: 1 for any n up to 1, 720720 for any n above
/// 720720 (then smaller than n). A length n is valid exactly when the result is n.
int fftSizeAtLeast(int n);

/// The valid length of lowest cost from nmin to nmax (both inclusive); equal costs go to the
/// smaller length. The search starts at fftSizeAtLeast(nmin), which is returned when no valid
/// length lies in the range (even though it then exceeds nmax).
int fftCheapestSize(int nmin, int nmax);

/// An even length at least n whose half is valid: twice fftSizeAtLeast of n halved rounding up.
int realFftSizeAtLeast(int n);

/// Twice fftCheapestSize of nmin and nmax, each halved rounding up (so an odd nmax admits
/// nmax + 1).
int realFftCheapestSize(int nmin, int nmax);

}  // namespace tarnview
