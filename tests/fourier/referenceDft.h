#pragma once
// Independent references for the Fourier tests: direct discrete Fourier transforms in
// double precision, with the kernel exp(sign 2 pi i jk/n) taken from a table indexed by
// jk mod n (exact indices, one cosine and sine per table entry).
#include <cmath>
#include <complex>
#include <cstdint>
#include <random>
#include <vector>

namespace tarnview::test {

using Cd = std::complex<double>;

/// exp(sign 2 pi i m/n) for m = 0 .. n-1.
inline std::vector<Cd> dftKernel(int n, int sign) {
    std::vector<Cd> kernel(static_cast<size_t>(n));
    const long double twoPi = 6.283185307179586476925286766559L;
    for (int m = 0; m < n; m++) {
        long double angle = twoPi * m / n;
        kernel[size_t(m)] = Cd(double(std::cos(angle)), double(sign * std::sin(angle)));
    }
    return kernel;
}

/// X(k) = sum_j x(j) exp(sign 2 pi i jk/n) for k = 0 .. n-1.
inline std::vector<Cd> directDft(const std::vector<Cd>& x, int sign) {
    const int n = int(x.size());
    const std::vector<Cd> kernel = dftKernel(n, sign);
    std::vector<Cd> result(static_cast<size_t>(n));
    for (int k = 0; k < n; k++) {
        Cd sum = 0;
        for (int j = 0; j < n; j++) sum += x[size_t(j)] * kernel[size_t(int64_t(j) * k % n)];
        result[size_t(k)] = sum;
    }
    return result;
}

/// F(kx, ky) = sum f(x, y) exp(sign 2 pi i (kx x/nx + ky y/ny)) of an nx x ny real image
/// (x fastest), returned as F[ky * nx + kx] for every kx and ky.
inline std::vector<Cd> directDft2d(const float* image, int nx, int ny, int sign) {
    const std::vector<Cd> kernelX = dftKernel(nx, sign);
    const std::vector<Cd> kernelY = dftKernel(ny, sign);
    std::vector<Cd> result(size_t(nx) * size_t(ny));
    for (int ky = 0; ky < ny; ky++)
        for (int kx = 0; kx < nx; kx++) {
            Cd sum = 0;
            for (int y = 0; y < ny; y++)
                for (int x = 0; x < nx; x++)
                    sum += double(image[size_t(y) * nx + x]) * kernelX[size_t(x * kx % nx)] *
                           kernelY[size_t(y * ky % ny)];
            result[size_t(ky) * nx + kx] = sum;
        }
    return result;
}

/// Bin k of the direct DFT of the n complex values at z (float pairs) for both signs at
/// once: {sign +1, sign -1}. kernel is dftKernel(n, 1). With A = sum z(j) cos and
/// B = sum z(j) sin (of 2 pi jk/n), the bins are A + iB and A - iB.
struct BinPair {
    Cd plus;
    Cd minus;
};
inline BinPair directDftBin(const float* z, int n, int k, const std::vector<Cd>& kernel) {
    double aRe = 0, aIm = 0, bRe = 0, bIm = 0;
    int64_t t = 0;  // j k mod n
    for (int j = 0; j < n; ++j) {
        const double c = kernel[size_t(t)].real(), s = kernel[size_t(t)].imag();
        aRe += z[2 * j] * c;
        aIm += z[2 * j + 1] * c;
        bRe += z[2 * j] * s;
        bIm += z[2 * j + 1] * s;
        t += k;
        if (t >= n) t -= n;
    }
    return {Cd(aRe - bIm, aIm + bRe), Cd(aRe + bIm, aIm - bRe)};
}

/// n uniform values in [-1, 1) from a fixed seed.
inline std::vector<float> randomSamples(size_t n, unsigned seed) {
    std::mt19937 generator(seed);
    std::uniform_real_distribution<float> uniform(-1.0f, 1.0f);
    std::vector<float> samples(n);
    for (float& v : samples) v = uniform(generator);
    return samples;
}

}  // namespace tarnview::test
