#pragma once
// The value types the FFT modules compute on (used by fourier/fftEngine.cpp only).
//
// Cx1 is one complex value. CxPack<N> holds N/2 complex values interleaved (re, im, re, im,
// ...) in one vector of N floats: the values of N/2 transforms, or of N/2 steps of one pass.
// Both offer the same operations, and each operation does exactly the same IEEE arithmetic on
// every value (the products, sums and differences of the formulas beside them, negation
// only ever flipping a sign bit), so a module gives the same bits whatever type it runs on.
#include <climits>
#include <cstddef>
#include <cstring>
#include <utility>

#define TARNVIEW_FFT_INLINE [[gnu::always_inline]] inline

// Wide vectors only ever pass between functions that are inlined into one compiled for the
// matching instruction set, so the note on their calling convention does not apply.
#pragma GCC diagnostic ignored "-Wpsabi"

namespace tarnview {

struct Cx1 {
    float re;
    float im;
};

TARNVIEW_FFT_INLINE Cx1 operator+(Cx1 a, Cx1 b) {
    return {a.re + b.re, a.im + b.im};
}
TARNVIEW_FFT_INLINE Cx1 operator-(Cx1 a, Cx1 b) {
    return {a.re - b.re, a.im - b.im};
}
// c x for a real constant c.
TARNVIEW_FFT_INLINE Cx1 scale(float c, Cx1 x) {
    return {x.re * c, x.im * c};
}
// u + i v
TARNVIEW_FFT_INLINE Cx1 plusI(Cx1 u, Cx1 v) {
    return {u.re - v.im, u.im + v.re};
}
// u - i v
TARNVIEW_FFT_INLINE Cx1 minusI(Cx1 u, Cx1 v) {
    return {u.re + v.im, u.im - v.re};
}
// i x and -i x
TARNVIEW_FFT_INLINE Cx1 timesI(Cx1 x) {
    return {-x.im, x.re};
}
TARNVIEW_FFT_INLINE Cx1 timesMinusI(Cx1 x) {
    return {x.im, -x.re};
}
// (c + i s) x
TARNVIEW_FFT_INLINE Cx1 rotate(float c, float s, Cx1 x) {
    return {x.re * c - x.im * s, x.im * c + x.re * s};
}

TARNVIEW_FFT_INLINE Cx1 loadCx1(const float* p) {
    return {p[0], p[1]};
}
TARNVIEW_FFT_INLINE void storeCx1(float* p, Cx1 x) {
    p[0] = x.re;
    p[1] = x.im;
}

template <int N>
struct CxPack {
    typedef float Vector __attribute__((vector_size(4 * N)));
    typedef int Bits __attribute__((vector_size(4 * N)));
    Vector v;
};

namespace lanes {

// (im, re) in every pair.
template <int N, std::size_t... I>
TARNVIEW_FFT_INLINE typename CxPack<N>::Vector swapPairs(typename CxPack<N>::Vector v,
                                                         std::index_sequence<I...>) {
    return __builtin_shufflevector(v, v, static_cast<int>(I ^ 1)...);
}
template <int N>
TARNVIEW_FFT_INLINE typename CxPack<N>::Vector swapPairs(typename CxPack<N>::Vector v) {
    return swapPairs<N>(v, std::make_index_sequence<N>());
}

// The sign bit in the real (Odd false) or imaginary (Odd true) lanes.
template <int N, bool Odd, std::size_t... I>
TARNVIEW_FFT_INLINE typename CxPack<N>::Bits signMask(std::index_sequence<I...>) {
    return typename CxPack<N>::Bits{((I % 2 == 1) == Odd ? INT_MIN : 0)...};
}
// v with the sign of its real (Odd false) or imaginary (Odd true) parts flipped.
template <bool Odd, int N>
TARNVIEW_FFT_INLINE typename CxPack<N>::Vector flipSigns(typename CxPack<N>::Vector v) {
    using Bits = typename CxPack<N>::Bits;
    using Vector = typename CxPack<N>::Vector;
    return reinterpret_cast<Vector>(reinterpret_cast<Bits>(v) ^
                                    signMask<N, Odd>(std::make_index_sequence<N>()));
}

}  // namespace lanes

template <int N>
TARNVIEW_FFT_INLINE CxPack<N> operator+(CxPack<N> a, CxPack<N> b) {
    return {a.v + b.v};
}
template <int N>
TARNVIEW_FFT_INLINE CxPack<N> operator-(CxPack<N> a, CxPack<N> b) {
    return {a.v - b.v};
}
template <int N>
TARNVIEW_FFT_INLINE CxPack<N> scale(float c, CxPack<N> x) {
    return {x.v * c};
}
// u + i v = (u.re + (-v.im), u.im + v.re)
template <int N>
TARNVIEW_FFT_INLINE CxPack<N> plusI(CxPack<N> u, CxPack<N> v) {
    return {u.v + lanes::flipSigns<false, N>(lanes::swapPairs<N>(v.v))};
}
// u - i v = (u.re + v.im, u.im + (-v.re))
template <int N>
TARNVIEW_FFT_INLINE CxPack<N> minusI(CxPack<N> u, CxPack<N> v) {
    return {u.v + lanes::flipSigns<true, N>(lanes::swapPairs<N>(v.v))};
}
template <int N>
TARNVIEW_FFT_INLINE CxPack<N> timesI(CxPack<N> x) {
    return {lanes::flipSigns<false, N>(lanes::swapPairs<N>(x.v))};
}
template <int N>
TARNVIEW_FFT_INLINE CxPack<N> timesMinusI(CxPack<N> x) {
    return {lanes::flipSigns<true, N>(lanes::swapPairs<N>(x.v))};
}
// (c + i s) x = (x.re c + (-(x.im s)), x.im c + x.re s)
template <int N>
TARNVIEW_FFT_INLINE CxPack<N> rotate(float c, float s, CxPack<N> x) {
    return {x.v * c + lanes::flipSigns<false, N>(lanes::swapPairs<N>(x.v) * s)};
}

// N/2 adjacent complex values.
template <int N>
TARNVIEW_FFT_INLINE CxPack<N> loadPack(const float* p) {
    CxPack<N> x;
    std::memcpy(&x.v, p, sizeof x.v);
    return x;
}
template <int N>
TARNVIEW_FFT_INLINE void storePack(float* p, CxPack<N> x) {
    std::memcpy(p, &x.v, sizeof x.v);
}

// Two complex values from two places, and back.
TARNVIEW_FFT_INLINE CxPack<4> loadPair(const float* a, const float* b) {
    typedef float Half __attribute__((vector_size(8)));
    Half lo, hi;
    std::memcpy(&lo, a, sizeof lo);
    std::memcpy(&hi, b, sizeof hi);
    return {__builtin_shufflevector(lo, hi, 0, 1, 2, 3)};
}
TARNVIEW_FFT_INLINE void storePair(float* a, float* b, CxPack<4> x) {
    typedef float Half __attribute__((vector_size(8)));
    const Half lo = __builtin_shufflevector(x.v, x.v, 0, 1);
    const Half hi = __builtin_shufflevector(x.v, x.v, 2, 3);
    std::memcpy(a, &lo, sizeof lo);
    std::memcpy(b, &hi, sizeof hi);
}

// u + sigma i v and u - sigma i v, and sigma i x, with sigma = -1 when Neg, else +1.
template <bool Neg, class T>
TARNVIEW_FFT_INLINE T plusSigmaI(T u, T v) {
    if constexpr (Neg)
        return minusI(u, v);
    else
        return plusI(u, v);
}
template <bool Neg, class T>
TARNVIEW_FFT_INLINE T minusSigmaI(T u, T v) {
    if constexpr (Neg)
        return plusI(u, v);
    else
        return minusI(u, v);
}
template <bool Neg, class T>
TARNVIEW_FFT_INLINE T sigmaI(T x) {
    if constexpr (Neg)
        return timesMinusI(x);
    else
        return timesI(x);
}

}  // namespace tarnview
