#include "fourier/fftEngine.h"

#include <cstddef>

#include "fourier/fftModules.h"

namespace tarnview {

namespace {

// Every valid length divides 720720 = 16 x 9 x 5 x 7 x 11 x 13, and every divisor is valid.
constexpr int kLargestLength = 720720;

bool isValidLength(int n) { return n >= 1 && kLargestLength % n == 0; }

// The multiplier of a pass: the smallest mu from 1 to f with mu m = 1 (mod f).
int passMultiplier(int f, int m) {
    int mu = 1;
    while (mu < f && mu * (m % f) % f != 1) ++mu;
    return mu;
}

// The strided data of one call: count transforms of length n, element j of transform t at
// complex element t ts + j es.
struct Batch {
    float* z;
    int n;
    int count;
    std::ptrdiff_t elementStride;
    std::ptrdiff_t transformStride;
};

// One pass with module F on the m = n/F groups of F elements m apart. The module's input k
// at step j sits at position p_j(k): p_0(k) = k mu m mod n, and each step rotates the
// positions one place and adds 1, so p_j(k) = p_0((k - j) mod F) + j, which never reaches n.
// At each step the module runs on every transform of the batch before the positions move on.
template <int F, bool Neg>
void runPass(const ModuleConstants<F>& k, int mu, const Batch& b) {
    const int m = b.n / F;
    int start[2 * F];  // p_0 twice over, so that p_j(k) - j = start[c + k] with c = -j mod F
    start[0] = 0;
    for (int q = 1; q < F; ++q) {
        int p = start[q - 1] + mu * m;
        if (p >= b.n) p -= b.n;
        start[q] = p;
    }
    for (int q = 0; q < F; ++q) start[F + q] = start[q];

    int c = 0;
    for (int j = 0; j < m; ++j) {
        std::ptrdiff_t offset[F];
        for (int q = 0; q < F; ++q) offset[q] = 2 * (start[c + q] + j) * b.elementStride;
        float* base = b.z;
        for (int t = 0; t < b.count; ++t, base += 2 * b.transformStride) {
            Cx<float> x[F];
            for (int q = 0; q < F; ++q) x[q] = {base[offset[q]], base[offset[q] + 1]};
            module<Neg>(x, k);
            for (int q = 0; q < F; ++q) {
                base[offset[q]] = x[q].re;
                base[offset[q] + 1] = x[q].im;
            }
        }
        c = c == 0 ? F - 1 : c - 1;
    }
}

// The pass with module F: its multiplier, its rotation r by sign, and the constant set of r.
template <int F>
void runPass(int sign, const Batch& b) {
    const int mu = passMultiplier(F, b.n / F);
    const int r = sign < 0 ? F - mu : mu;
    const ModuleConstants<F>& k = moduleConstantTable<F>.byRotation[r];
    if (k.negI) {
        runPass<F, true>(k, mu, b);
    } else {
        runPass<F, false>(k, mu, b);
    }
}

// All passes of the length, one per factor of fftFactorList that divides what is left of it.
void runPasses(int sign, const Batch& b) {
    int rest = b.n;
    for (const int f : fftFactorList) {
        if (rest % f != 0) continue;
        rest /= f;
        switch (f) {
            case 16: runPass<16>(sign, b); break;
            case 13: runPass<13>(sign, b); break;
            case 11: runPass<11>(sign, b); break;
            case 9: runPass<9>(sign, b); break;
            case 8: runPass<8>(sign, b); break;
            case 7: runPass<7>(sign, b); break;
            case 5: runPass<5>(sign, b); break;
            case 4: runPass<4>(sign, b); break;
            case 3: runPass<3>(sign, b); break;
            case 2: runPass<2>(sign, b); break;
            default: break;
        }
    }
}

}  // namespace

void fftComplex(int sign, int n, float* z) { fftComplexMany(sign, n, 1, 1, n, z); }

void fftComplexMany(int sign, int n, int count, int elementStride, int transformStride, float* z) {
    if (!isValidLength(n) || count < 1 || z == nullptr) return;
    Batch b{z, n, count, elementStride, transformStride};
    if (elementStride == 1) {
        // Contiguous transforms: one at a time, each stays in cache through all its passes.
        b.count = 1;
        for (int t = 0; t < count; ++t) {
            b.z = z + 2 * static_cast<std::ptrdiff_t>(t) * transformStride;
            runPasses(sign, b);
        }
        return;
    }
    runPasses(sign, b);
}

void fftComplex2d(int sign, int dim, int nx, int ny, float* z) {
    if (dim == 1) {
        fftComplexMany(sign, nx, ny, 1, nx, z);
    } else {
        fftComplexMany(sign, ny, nx, nx, 1, z);
    }
}

}  // namespace tarnview
