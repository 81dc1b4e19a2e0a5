#include "fourier/fftEngine.h"

#include <cstddef>

#include "fourier/fftModules.h"
#include "fourier/fftSizes.h"

namespace tarnview {

namespace {

// The multiplier of a pass: the smallest mu from 1 to f with mu m = 1 (mod f).
TARNVIEW_FFT_INLINE int passMultiplier(int f, int m) {
    int mu = 1;
    while (mu < f && mu * (m % f) % f != 1) ++mu;
    return mu;
}

// The positions of a pass with module F on the m = n/F groups of F elements m apart. The
// module's input k at step j sits at p_j(k): p_0(k) = k mu m mod n, and each step rotates the
// positions one place and adds 1, so p_j(k) = p_0((k - j) mod F) + j, which stays below n.
// start holds p_0 twice over, so that p_j(k) = start[c + k] + j with c = -j mod F.
template <int F>
struct PassPositions {
    TARNVIEW_FFT_INLINE PassPositions(int n, int mu) : m(n / F) {
        start[0] = 0;
        for (int q = 1; q < F; ++q) {
            int p = start[q - 1] + mu * m;
            if (p >= n) p -= n;
            start[q] = p;
        }
        for (int q = 0; q < F; ++q) start[F + q] = start[q];
    }
    // c for step j + 1 from c for step j.
    static int next(int c) { return c == 0 ? F - 1 : c - 1; }

    int m;
    int start[2 * F];
};

// count transforms of length n; element j of transform t at complex element t ts + j es of z.
struct StridedPath {
    float* z;
    int n;
    int count;
    std::ptrdiff_t elementStride;
    std::ptrdiff_t transformStride;

    // One pass: at each step the module runs on every transform before the positions move on.
    template <int F, bool Neg>
    TARNVIEW_FFT_INLINE void pass(const ModuleConstants<F>& k, int mu) const {
        const PassPositions<F> p(n, mu);
        int c = 0;
        for (int j = 0; j < p.m; ++j, c = p.next(c)) {
            std::ptrdiff_t offset[F];
            for (int q = 0; q < F; ++q) offset[q] = 2 * (p.start[c + q] + j) * elementStride;
            float* base = z;
            for (int t = 0; t < count; ++t, base += 2 * transformStride) {
                Cx1 x[F];
                for (int q = 0; q < F; ++q) x[q] = loadCx1(base + offset[q]);
                module<Neg>(x, k);
                for (int q = 0; q < F; ++q) storeCx1(base + offset[q], x[q]);
            }
        }
    }
};

// One transform of n contiguous complex values. The steps of a pass are independent and run
// the same module, so they go in pairs, one in each half of a vector.
struct ContiguousPath {
    float* z;
    int n;

    template <int F, bool Neg>
    TARNVIEW_FFT_INLINE void pass(const ModuleConstants<F>& k, int mu) const {
        const PassPositions<F> p(n, mu);
        int c = 0, j = 0;
        for (; j + 2 <= p.m; j += 2) {
            const int c1 = p.next(c);
            CxPack<4> x[F];
            for (int q = 0; q < F; ++q) {
                x[q] = loadPair(z + 2 * (p.start[c + q] + j), z + 2 * (p.start[c1 + q] + j + 1));
            }
            module<Neg>(x, k);
            for (int q = 0; q < F; ++q) {
                storePair(z + 2 * (p.start[c + q] + j), z + 2 * (p.start[c1 + q] + j + 1), x[q]);
            }
            c = p.next(c1);
        }
        if (j < p.m) {
            Cx1 x[F];
            for (int q = 0; q < F; ++q) x[q] = loadCx1(z + 2 * (p.start[c + q] + j));
            module<Neg>(x, k);
            for (int q = 0; q < F; ++q) storeCx1(z + 2 * (p.start[c + q] + j), x[q]);
        }
    }
};

// B adjacent transforms (transform stride 1), element stride es: every element position holds
// B adjacent complex values, taken N/2 at a time in vectors of N floats.
template <int N, int B>
struct AdjacentPath {
    float* z;
    int n;
    std::ptrdiff_t elementStride;

    template <int F, bool Neg>
    TARNVIEW_FFT_INLINE void pass(const ModuleConstants<F>& k, int mu) const {
        const PassPositions<F> p(n, mu);
        int c = 0;
        for (int j = 0; j < p.m; ++j, c = p.next(c)) {
            float* at[F];
            for (int q = 0; q < F; ++q) at[q] = z + 2 * (p.start[c + q] + j) * elementStride;
            for (int v = 0; v < 2 * B; v += N) {
                CxPack<N> x[F];
                for (int q = 0; q < F; ++q) x[q] = loadPack<N>(at[q] + v);
                module<Neg>(x, k);
                for (int q = 0; q < F; ++q) storePack<N>(at[q] + v, x[q]);
            }
        }
    }
};

// The pass with module F: its multiplier, its rotation r by sign, and the constant set of r.
template <int F, class Path>
TARNVIEW_FFT_INLINE void runPass(int sign, int n, const Path& path) {
    const int mu = passMultiplier(F, n / F);
    const int r = sign < 0 ? F - mu : mu;
    const ModuleConstants<F>& k = moduleConstantTable<F>.byRotation[r];
    if (k.negI) {
        path.template pass<F, true>(k, mu);
    } else {
        path.template pass<F, false>(k, mu);
    }
}

// All passes of length n, one per factor of fftFactorList that divides what is left of it.
template <class Path>
TARNVIEW_FFT_INLINE void runPasses(int sign, int n, const Path& path) {
    int rest = n;
    for (const int f : fftFactorList) {
        if (rest % f != 0) continue;
        rest /= f;
        switch (f) {
            case 16:
                runPass<16>(sign, n, path);
                break;
            case 13:
                runPass<13>(sign, n, path);
                break;
            case 11:
                runPass<11>(sign, n, path);
                break;
            case 9:
                runPass<9>(sign, n, path);
                break;
            case 8:
                runPass<8>(sign, n, path);
                break;
            case 7:
                runPass<7>(sign, n, path);
                break;
            case 5:
                runPass<5>(sign, n, path);
                break;
            case 4:
                runPass<4>(sign, n, path);
                break;
            case 3:
                runPass<3>(sign, n, path);
                break;
            case 2:
                runPass<2>(sign, n, path);
                break;
            default:
                break;
        }
    }
}

[[gnu::noinline]] void stridedTransforms(int sign, const StridedPath& path) {
    runPasses(sign, path.n, path);
}

void contiguousTransforms(int sign, int n, int count, std::ptrdiff_t transformStride, float* z) {
    for (int t = 0; t < count; ++t) {
        runPasses(sign, n, ContiguousPath{z + 2 * static_cast<std::ptrdiff_t>(t) * transformStride, n});
    }
}

// Adjacent transforms in blocks of 16, which run through all passes while they stay in cache;
// then the rest N/2 at a time, and the last few one by one.
template <int N>
TARNVIEW_FFT_INLINE void adjacentTransforms(int sign, int n, int count, std::ptrdiff_t elementStride,
                                            float* z) {
    constexpr int block = 16;
    int t = 0;
    for (; t + block <= count; t += block) {
        runPasses(sign, n, AdjacentPath<N, block>{z + 2 * static_cast<std::ptrdiff_t>(t), n, elementStride});
    }
    for (; t + N / 2 <= count; t += N / 2) {
        runPasses(sign, n, AdjacentPath<N, N / 2>{z + 2 * static_cast<std::ptrdiff_t>(t), n, elementStride});
    }
    if (t < count)
        stridedTransforms(
            sign, StridedPath{z + 2 * static_cast<std::ptrdiff_t>(t), n, count - t, elementStride, 1});
}

void adjacentTransformsSse(int sign, int n, int count, std::ptrdiff_t elementStride, float* z) {
    adjacentTransforms<4>(sign, n, count, elementStride, z);
}

#if defined(__x86_64__) || defined(__i386__)
[[gnu::target("avx2")]] void adjacentTransformsAvx(int sign, int n, int count, std::ptrdiff_t elementStride,
                                                   float* z) {
    adjacentTransforms<8>(sign, n, count, elementStride, z);
}
bool haveAvx() {
    return __builtin_cpu_supports("avx2");
}
#else
void adjacentTransformsAvx(int sign, int n, int count, std::ptrdiff_t elementStride, float* z) {
    adjacentTransforms<4>(sign, n, count, elementStride, z);
}
bool haveAvx() {
    return false;
}
#endif

}  // namespace

void fftComplex(int sign, int n, float* z) {
    fftComplexMany(sign, n, 1, 1, n, z);
}

void fftComplexMany(int sign, int n, int count, int elementStride, int transformStride, float* z) {
    if (!isFftSize(n) || count < 1 || z == nullptr) return;
    if (elementStride == 1) {
        contiguousTransforms(sign, n, count, transformStride, z);
    } else if (transformStride == 1) {
        if (haveAvx()) {
            adjacentTransformsAvx(sign, n, count, elementStride, z);
        } else {
            adjacentTransformsSse(sign, n, count, elementStride, z);
        }
    } else {
        stridedTransforms(sign, StridedPath{z, n, count, elementStride, transformStride});
    }
}

void fftComplex2d(int sign, int dim, int nx, int ny, float* z) {
    if (dim == 1) {
        fftComplexMany(sign, nx, ny, 1, nx, z);
    } else {
        fftComplexMany(sign, ny, nx, nx, 1, z);
    }
}

}  // namespace tarnview
