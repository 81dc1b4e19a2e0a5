#pragma once
// The rotated DFT modules of the prime-factor engine (used by fourier/fftEngine.cpp only).
//
// A rotated module of length f with rotation r (r prime to f) replaces x(0) .. x(f-1) by
//     y(k) = sum over j of x(j) exp(2 pi i r j k / f).
// Each module is one body for all rotations: its constants for rotation r are a set of
// single-precision literals picked from the tables below once per pass. The bodies are
// templates over the value types of fourier/fftLanes.h: Cx1 runs one module, CxPack<N> runs
// N/2 modules side by side. Every operation does the same IEEE arithmetic in the same order
// on every value, so all types give the same bits (the build forbids contraction into fused
// multiply-adds).
#include "fourier/fftLanes.h"

namespace tarnview {

// ---- The literals. Each is the single-precision value of the formula beside it. ----

inline constexpr float half3 = 0.5f;       // -cos(2 pi / 3)
inline constexpr float sin3 = 0.8660254f;  // sin(2 pi / 3)

inline constexpr float quarter5 = 0.25f;                      // -(cos(2 pi/5) + cos(4 pi/5)) / 2
inline constexpr float cos5Half = 0.559017f;                  // (cos(2 pi/5) - cos(4 pi/5)) / 2
inline constexpr float sin5[2] = {0.95105654f, 0.58778524f};  // sin(2 pi q/5), q = 1, 2

inline constexpr float cos7[3] = {0.6234898f, -0.22252093f, -0.90096885f};  // cos(2 pi q/7), q = 1..3
inline constexpr float sin7[3] = {0.7818315f, 0.9749279f, 0.43388373f};     // sin(2 pi q/7), q = 1..3

inline constexpr float rootHalf8 = 0.70710677f;  // cos(2 pi / 8) = sqrt(1/2)

// cos(2 pi q/9) and sin(2 pi q/9) for q = 1, 2, 4 (40, 80 and 160 degrees).
inline constexpr float cos9[3] = {0.76604444f, 0.17364818f, -0.9396926f};
inline constexpr float sin9[3] = {0.64278764f, 0.9848077f, 0.34202015f};

inline constexpr float cos11[5] = {0.8412535f, 0.41541502f, -0.14231484f, -0.65486073f,
                                   -0.959493f};  // cos(2 pi q/11), q = 1..5
inline constexpr float sin11[5] = {0.54064083f, 0.90963197f, 0.98982143f, 0.7557496f,
                                   0.28173256f};  // sin(2 pi q/11), q = 1..5

inline constexpr float cos13[6] = {0.885456f,   0.56806475f, 0.12053668f,
                                   -0.3546049f, -0.7485107f, -0.97094184f};  // cos(2 pi q/13), q = 1..6
inline constexpr float sin13[6] = {0.46472317f, 0.82298386f, 0.99270886f,
                                   0.9350162f,  0.66312265f, 0.23931566f};  // sin(2 pi q/13), q = 1..6

inline constexpr float cos16 = 0.9238795f;   // cos(2 pi / 16)
inline constexpr float sin16 = 0.38268343f;  // sin(2 pi / 16)

// ---- Constant sets, one per rotation. ----

// The sine and cosine of 2 pi e / f read from a table of q = 1 .. (f-1)/2 by symmetry.
struct CosSin {
    float c;
    float s;
};
constexpr CosSin foldedCosSin(const float* cosTable, const float* sinTable, int f, int e) {
    e %= f;
    if (e <= f / 2) return {cosTable[e - 1], sinTable[e - 1]};
    return {cosTable[f - e - 1], -sinTable[f - e - 1]};
}

template <int F>
struct ModuleConstants;

template <>
struct ModuleConstants<2> {
    bool negI = false;
};

template <>
struct ModuleConstants<3> {
    bool negI = false;
    float h = 0;  // sin(2 pi r/3)
};

template <>
struct ModuleConstants<4> {
    bool negI = false;  // sin(2 pi r/4) = -1
};

template <>
struct ModuleConstants<5> {
    bool negI = false;
    float k = 0;   // (cos(2 pi r/5) - cos(4 pi r/5)) / 2
    float s1 = 0;  // sin(2 pi r/5)
    float s2 = 0;  // sin(4 pi r/5)
};

template <>
struct ModuleConstants<8> {
    bool negI = false;  // sin(4 pi r/8) = -1
    float c1 = 0;       // cos(2 pi r/8)
    float c3 = 0;       // cos(6 pi r/8)
};

template <>
struct ModuleConstants<9> {
    bool negI = false;
    float h = 0;              // sin(2 pi r/3), for the inner 3-point steps
    CosSin w1{}, w2{}, w4{};  // cos and sin of 2 pi r e/9 for e = 1, 2, 4
};

template <>
struct ModuleConstants<16> {
    bool negI = false;        // sin(8 pi r/16) = -1
    CosSin w1{}, w3{}, w9{};  // cos and sin of 2 pi r e/16 for e = 1, 3, 9
    float c2 = 0;             // cos(4 pi r/16)
    float c6 = 0;             // cos(12 pi r/16)
};

// Odd prime modules 7, 11, 13: cos(2 pi r q/f) and sin(2 pi r q/f) for q = 1 .. (f-1)/2.
template <int F>
struct PrimeConstants {
    bool negI = false;
    float c[(F - 1) / 2] = {};
    float s[(F - 1) / 2] = {};
};
template <>
struct ModuleConstants<7> : PrimeConstants<7> {};
template <>
struct ModuleConstants<11> : PrimeConstants<11> {};
template <>
struct ModuleConstants<13> : PrimeConstants<13> {};

// The constants of module F for rotation r. One branch per module length, each a few
// lines, chosen at compile time: kept in one function (past 50 lines) so that the
// constants of every module read side by side, as one table.
template <int F>
constexpr ModuleConstants<F> makeModuleConstants(int r) {
    ModuleConstants<F> k{};
    if constexpr (F == 3) {
        k.h = r == 1 ? sin3 : -sin3;
    } else if constexpr (F == 4) {
        k.negI = r == 3;
    } else if constexpr (F == 5) {
        k.k = (r == 1 || r == 4) ? cos5Half : -cos5Half;
        k.s1 = foldedCosSin(sin5, sin5, 5, r).s;
        k.s2 = foldedCosSin(sin5, sin5, 5, 2 * r).s;
    } else if constexpr (F == 7 || F == 11 || F == 13) {
        const float* cosTable = F == 7 ? cos7 : F == 11 ? cos11 : cos13;
        const float* sinTable = F == 7 ? sin7 : F == 11 ? sin11 : sin13;
        for (int q = 1; q <= (F - 1) / 2; ++q) {
            const CosSin w = foldedCosSin(cosTable, sinTable, F, r * q);
            k.c[q - 1] = w.c;
            k.s[q - 1] = w.s;
        }
    } else if constexpr (F == 8) {
        k.negI = r == 3 || r == 7;
        k.c1 = (r == 1 || r == 7) ? rootHalf8 : -rootHalf8;
        k.c3 = (r == 3 || r == 5) ? rootHalf8 : -rootHalf8;
    } else if constexpr (F == 9) {
        // Exponents 1, 2, 4 times r are units mod 9, i.e. 40, 80 or 160 degrees up to sign;
        // the 3-point steps use 2 pi r/3 = 2 pi (3r)/9.
        constexpr int slot[9] = {-1, 0, 1, -1, 2, 2, -1, 1, 0};  // e and 9 - e share a slot
        const auto at = [&](int e) {
            e %= 9;
            const int i = slot[e];
            return e < 5 ? CosSin{cos9[i], sin9[i]} : CosSin{cos9[i], -sin9[i]};
        };
        k.h = r % 3 == 1 ? sin3 : -sin3;
        k.w1 = at(r);
        k.w2 = at(2 * r);
        k.w4 = at(4 * r);
    } else if constexpr (F == 16) {
        // Odd multiples of 2 pi/16 by octant; even ones by the sign of the square root of 1/2.
        const auto odd = [](int e) {
            const CosSin table[8] = {{cos16, sin16},   {sin16, cos16},   {-sin16, cos16}, {-cos16, sin16},
                                     {-cos16, -sin16}, {-sin16, -cos16}, {sin16, -cos16}, {cos16, -sin16}};
            return table[(e % 16) / 2];
        };
        const auto evenCos = [](int e) {
            e %= 16;
            return (e == 2 || e == 14) ? rootHalf8 : -rootHalf8;
        };
        k.negI = r % 4 == 3;
        k.w1 = odd(r);
        k.w3 = odd(3 * r);
        k.w9 = odd(9 * r);
        k.c2 = evenCos(2 * r);
        k.c6 = evenCos(6 * r);
    }
    return k;
}

// The constant sets of module F indexed by the rotation r (entries for r not prime to F are
// unused).
template <int F>
struct ModuleConstantTable {
    static constexpr bool isUnit(int r) {
        for (int d = 2; d <= r; ++d) {
            if (r % d == 0 && F % d == 0) return false;
        }
        return true;
    }
    ModuleConstants<F> byRotation[F];
    constexpr ModuleConstantTable() : byRotation{} {
        for (int r = 1; r < F; ++r) {
            if (isUnit(r)) byRotation[r] = makeModuleConstants<F>(r);
        }
    }
};
template <int F>
inline constexpr ModuleConstantTable<F> moduleConstantTable{};

// ---- The modules. ----

// 2 points: sum and difference. 4 real additions.
template <bool Neg, class T>
TARNVIEW_FFT_INLINE void module(T (&x)[2], const ModuleConstants<2>&) {
    const T a = x[0] + x[1];
    x[1] = x[0] - x[1];
    x[0] = a;
}

// 3 points, h = sin(2 pi r/3): t = x1 + x2, y0 = x0 + t, u = x0 - t/2, v = h (x1 - x2),
// y1 = u + i v, y2 = u - i v. 12 additions, 4 multiplications.
template <class T>
TARNVIEW_FFT_INLINE void dft3(T& x0, T& x1, T& x2, float h) {
    const T t = x1 + x2;
    const T u = x0 - scale(half3, t);
    const T v = scale(h, x1 - x2);
    x0 = x0 + t;
    x1 = plusI(u, v);
    x2 = minusI(u, v);
}
template <bool Neg, class T>
TARNVIEW_FFT_INLINE void module(T (&x)[3], const ModuleConstants<3>& k) {
    dft3(x[0], x[1], x[2], k.h);
}

// 4 points with root sigma i: a = x0 + x2, b = x0 - x2, c = x1 + x3, d = x1 - x3;
// y0 = a + c, y2 = a - c, y1 = b + sigma i d, y3 = b - sigma i d. 16 additions.
template <bool Neg, class T>
TARNVIEW_FFT_INLINE void dft4(T& x0, T& x1, T& x2, T& x3) {
    const T a = x0 + x2, b = x0 - x2, c = x1 + x3, d = x1 - x3;
    x0 = a + c;
    x2 = a - c;
    x1 = plusSigmaI<Neg>(b, d);
    x3 = minusSigmaI<Neg>(b, d);
}
template <bool Neg, class T>
TARNVIEW_FFT_INLINE void module(T (&x)[4], const ModuleConstants<4>&) {
    dft4<Neg>(x[0], x[1], x[2], x[3]);
}

// 5 points by mirror pairs a(q) = x(q) + x(5-q), b(q) = x(q) - x(5-q):
// cosine parts x0 - (a1 + a2)/4 +- k (a1 - a2), k = (cos(2 pi r/5) - cos(4 pi r/5))/2;
// sine parts s1 b1 + s2 b2 and s2 b1 - s1 b2. 32 additions, 12 multiplications.
template <bool Neg, class T>
TARNVIEW_FFT_INLINE void module(T (&x)[5], const ModuleConstants<5>& k) {
    const T a1 = x[1] + x[4], b1 = x[1] - x[4], a2 = x[2] + x[3], b2 = x[2] - x[3];
    const T s = a1 + a2;
    const T u = x[0] - scale(quarter5, s);
    const T d = scale(k.k, a1 - a2);
    const T c1 = u + d, c2 = u - d;
    const T v1 = scale(k.s1, b1) + scale(k.s2, b2);
    const T v2 = scale(k.s2, b1) - scale(k.s1, b2);
    x[0] = x[0] + s;
    x[1] = plusI(c1, v1);
    x[4] = minusI(c1, v1);
    x[2] = plusI(c2, v2);
    x[3] = minusI(c2, v2);
}

// Odd prime f by mirror pairs: with a(q) = x(q) + x(f-q) and b(q) = x(q) - x(f-q),
// y(k) = x0 + sum_q cos(2 pi r q k/f) a(q) + i sum_q sin(2 pi r q k/f) b(q) and y(f-k) the same
// with the second sum subtracted. f = 7: 60 additions, 36 multiplications; 11: 140 and 100;
// 13: 192 and 144.
template <int F, class T>
TARNVIEW_FFT_INLINE void primeModule(T (&x)[F], const ModuleConstants<F>& k) {
    constexpr int h = (F - 1) / 2;
    T a[h], b[h];
#pragma GCC unroll 8
    for (int q = 1; q <= h; ++q) {
        a[q - 1] = x[q] + x[F - q];
        b[q - 1] = x[q] - x[F - q];
    }
    T y0 = x[0];
#pragma GCC unroll 8
    for (int q = 0; q < h; ++q) y0 = y0 + a[q];
#pragma GCC unroll 8
    for (int j = 1; j <= h; ++j) {
        T c = x[0] + scale(k.c[j - 1], a[0]);
        T v = scale(k.s[j - 1], b[0]);
#pragma GCC unroll 8
        for (int q = 2; q <= h; ++q) {
            const int e = q * j % F;
            if (e <= h) {
                c = c + scale(k.c[e - 1], a[q - 1]);
                v = v + scale(k.s[e - 1], b[q - 1]);
            } else {
                c = c + scale(k.c[F - e - 1], a[q - 1]);
                v = v - scale(k.s[F - e - 1], b[q - 1]);
            }
        }
        x[j] = plusI(c, v);
        x[F - j] = minusI(c, v);
    }
    x[0] = y0;
}
template <bool Neg, class T>
TARNVIEW_FFT_INLINE void module(T (&x)[7], const ModuleConstants<7>& k) {
    primeModule<7>(x, k);
}
template <bool Neg, class T>
TARNVIEW_FFT_INLINE void module(T (&x)[11], const ModuleConstants<11>& k) {
    primeModule<11>(x, k);
}
template <bool Neg, class T>
TARNVIEW_FFT_INLINE void module(T (&x)[13], const ModuleConstants<13>& k) {
    primeModule<13>(x, k);
}

// 8 points, w = exp(2 pi i r/8) = c1 (1 + sigma i), w^2 = sigma i, w^3 = c3 (1 - sigma i):
// 4-point transforms E of the even and O of the odd inputs, then y(k) = E(k) + w^k O(k) and
// y(k+4) = E(k) - w^k O(k). 52 additions, 4 multiplications.
template <bool Neg, class T>
TARNVIEW_FFT_INLINE void module(T (&x)[8], const ModuleConstants<8>& k) {
    dft4<Neg>(x[0], x[2], x[4], x[6]);
    dft4<Neg>(x[1], x[3], x[5], x[7]);
    const T o0 = x[1];
    const T o1 = scale(k.c1, plusSigmaI<Neg>(x[3], x[3]));
    const T o3 = scale(k.c3, minusSigmaI<Neg>(x[7], x[7]));
    const T e0 = x[0], e1 = x[2], e2 = x[4], e3 = x[6], o2 = x[5];
    x[0] = e0 + o0;
    x[4] = e0 - o0;
    x[1] = e1 + o1;
    x[5] = e1 - o1;
    x[2] = plusSigmaI<Neg>(e2, o2);
    x[6] = minusSigmaI<Neg>(e2, o2);
    x[3] = e3 + o3;
    x[7] = e3 - o3;
}

// 9 points as 3 x 3 with w = exp(2 pi i r/9): 3-point transforms Z_b over x(3a + b), the
// twiddles w^(b c), then y(c + 3d) = the 3-point transform over b of w^(b c) Z_b(c).
// 80 additions, 40 multiplications.
template <bool Neg, class T>
TARNVIEW_FFT_INLINE void module(T (&x)[9], const ModuleConstants<9>& k) {
    dft3(x[0], x[3], x[6], k.h);
    dft3(x[1], x[4], x[7], k.h);
    dft3(x[2], x[5], x[8], k.h);
    // Z_b(c) now sits in x[b + 3c].
    T t0 = x[0], t1 = x[1], t2 = x[2];
    dft3(t0, t1, t2, k.h);
    T u0 = x[3], u1 = rotate(k.w1.c, k.w1.s, x[4]), u2 = rotate(k.w2.c, k.w2.s, x[5]);
    dft3(u0, u1, u2, k.h);
    T v0 = x[6], v1 = rotate(k.w2.c, k.w2.s, x[7]), v2 = rotate(k.w4.c, k.w4.s, x[8]);
    dft3(v0, v1, v2, k.h);
    x[0] = t0;
    x[3] = t1;
    x[6] = t2;
    x[1] = u0;
    x[4] = u1;
    x[7] = u2;
    x[2] = v0;
    x[5] = v1;
    x[8] = v2;
}

// 16 points as 4 x 4 with w = exp(2 pi i r/16): 4-point transforms Z_b over x(4a + b) (root
// w^4 = sigma i), the twiddles w^(b c) (w^2 = c2 (1 + sigma i), w^6 = c6 (1 - sigma i)), then
// y(c + 4d) = the 4-point transform over b of w^(b c) Z_b(c). 144 additions, 24 multiplications.
template <bool Neg, class T>
TARNVIEW_FFT_INLINE void module(T (&x)[16], const ModuleConstants<16>& k) {
    dft4<Neg>(x[0], x[4], x[8], x[12]);
    dft4<Neg>(x[1], x[5], x[9], x[13]);
    dft4<Neg>(x[2], x[6], x[10], x[14]);
    dft4<Neg>(x[3], x[7], x[11], x[15]);
    // Z_b(c) now sits in x[b + 4c].
    T a0 = x[0], a1 = x[1], a2 = x[2], a3 = x[3];
    dft4<Neg>(a0, a1, a2, a3);
    T b0 = x[4], b1 = rotate(k.w1.c, k.w1.s, x[5]), b2 = scale(k.c2, plusSigmaI<Neg>(x[6], x[6])),
      b3 = rotate(k.w3.c, k.w3.s, x[7]);
    dft4<Neg>(b0, b1, b2, b3);
    T c0 = x[8], c1 = scale(k.c2, plusSigmaI<Neg>(x[9], x[9])), c2 = sigmaI<Neg>(x[10]),
      c3 = scale(k.c6, minusSigmaI<Neg>(x[11], x[11]));
    dft4<Neg>(c0, c1, c2, c3);
    T d0 = x[12], d1 = rotate(k.w3.c, k.w3.s, x[13]), d2 = scale(k.c6, minusSigmaI<Neg>(x[14], x[14])),
      d3 = rotate(k.w9.c, k.w9.s, x[15]);
    dft4<Neg>(d0, d1, d2, d3);
    x[0] = a0;
    x[4] = a1;
    x[8] = a2;
    x[12] = a3;
    x[1] = b0;
    x[5] = b1;
    x[9] = b2;
    x[13] = b3;
    x[2] = c0;
    x[6] = c1;
    x[10] = c2;
    x[14] = c3;
    x[3] = d0;
    x[7] = d1;
    x[11] = d2;
    x[15] = d3;
}

}  // namespace tarnview
