#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "fourier/fftEngine.h"
#include "fourier/fftReal.h"
#include "tests/fourier/referenceDft.h"

namespace tarnview {
namespace {

using test::Cd;

// Lengths with every module of the engine at least once, n/4 odd and even, 1440 (one
// complex transform of 720) and lengths whose half is odd.
const int realLengths[] = {2,  4,  6,  8,  10, 12, 14,  16,  18,  22,   26,
                           30, 32, 36, 44, 48, 90, 126, 208, 240, 1440, 2002};

// Errors relative to the RMS of the reference, single-precision bounds.
void expectNear(const std::vector<Cd>& reference, const std::vector<Cd>& actual, const char* what) {
    ASSERT_EQ(reference.size(), actual.size());
    double signal = 0, error = 0, worst = 0;
    for (size_t i = 0; i < reference.size(); i++) {
        signal += std::norm(reference[i]);
        double e = std::abs(actual[i] - reference[i]);
        error += e * e;
        worst = std::max(worst, e);
    }
    const double rms = std::sqrt(signal / double(reference.size()));
    EXPECT_LE(std::sqrt(error / double(reference.size())), 2e-6 * rms) << what;
    EXPECT_LE(worst, 1e-5 * rms) << what;
}

std::vector<Cd> pairsOf(const float* floats, size_t count, size_t stride = 1) {
    std::vector<Cd> pairs(count);
    for (size_t k = 0; k < count; k++) pairs[k] = Cd(floats[2 * k * stride], floats[2 * k * stride + 1]);
    return pairs;
}

std::vector<Cd> asComplex(const std::vector<float>& reals) {
    return std::vector<Cd>(reals.begin(), reals.end());
}

// The first n/2 + 1 coefficients of the direct DFT of n reals.
std::vector<Cd> referenceHalfSpectrum(const std::vector<float>& reals, int sign) {
    std::vector<Cd> full = test::directDft(asComplex(reals), sign);
    full.resize(reals.size() / 2 + 1);
    return full;
}

// The reals of the direct DFT of the Hermitian sequence with coefficients 0 .. n/2 given
// (imaginary parts of 0 and n/2 ignored).
std::vector<Cd> referenceFromHalfSpectrum(const std::vector<float>& packed, int n, int sign) {
    std::vector<Cd> full(static_cast<size_t>(n));
    for (int k = 0; k <= n / 2; k++) full[size_t(k)] = Cd(packed[2 * size_t(k)], packed[2 * size_t(k) + 1]);
    full[0] = full[0].real();
    full[size_t(n / 2)] = full[size_t(n / 2)].real();
    for (int k = n / 2 + 1; k < n; k++) full[size_t(k)] = std::conj(full[size_t(n - k)]);
    std::vector<Cd> result = test::directDft(full, sign);
    for (Cd& v : result) v = v.real();
    return result;
}

TEST(FftRealToComplex, LengthTwoGivesSumAndDifference) {
    for (int sign : {1, -1}) {
        std::vector<float> data = {3.0f, 5.5f, 7.0f, 7.0f};
        ASSERT_EQ(fftRealToComplex(sign, 2, data.data(), data.data()), 1);
        EXPECT_EQ(data, (std::vector<float>{8.5f, 0.0f, -2.5f, 0.0f}));
    }
}

TEST(FftRealToComplex, MatchesDirectDftForEveryModuleAndBothSigns) {
    for (int n : realLengths)
        for (int sign : {1, -1}) {
            std::vector<float> in = test::randomSamples(size_t(n), unsigned(n));
            std::vector<float> out(size_t(n) + 2, 99.0f);
            ASSERT_EQ(fftRealToComplex(sign, n, in.data(), out.data()), 1);
            std::string what = "n = " + std::to_string(n) + ", sign " + std::to_string(sign);
            expectNear(referenceHalfSpectrum(in, sign), pairsOf(out.data(), size_t(n) / 2 + 1), what.c_str());
            EXPECT_EQ(out[1], 0.0f) << what;
            EXPECT_EQ(out[size_t(n) + 1], 0.0f) << what;
            // In place gives the same floats.
            std::vector<float> inPlace = in;
            inPlace.resize(size_t(n) + 2);
            fftRealToComplex(sign, n, inPlace.data(), inPlace.data());
            EXPECT_EQ(inPlace, out) << what;
        }
}

TEST(FftRealToComplex, ConstantGivesOnlyTheZeroFrequency) {
    const int n = 48;
    std::vector<float> data(n + 2, 0.75f);
    fftRealToComplex(1, n, data.data(), data.data());
    EXPECT_NEAR(data[0], n * 0.75f, 1e-5);
    for (int i = 1; i < n + 2; i++) EXPECT_NEAR(data[size_t(i)], 0.0f, 1e-5) << i;
}

TEST(FftComplexToReal, MatchesDirectDftForEveryModuleAndBothSigns) {
    for (int n : realLengths)
        for (int sign : {1, -1}) {
            std::vector<float> packed = test::randomSamples(size_t(n) + 2, unsigned(n) + 7);
            std::vector<float> out(static_cast<size_t>(n));
            ASSERT_EQ(fftComplexToReal(sign, n, packed.data(), out.data()), 1);
            std::string what = "n = " + std::to_string(n) + ", sign " + std::to_string(sign);
            expectNear(referenceFromHalfSpectrum(packed, n, sign), asComplex(out), what.c_str());
        }
}

TEST(FftComplexToReal, IgnoresImaginaryPartsOfZeroAndHalfFrequencies) {
    const int n = 36;
    std::vector<float> packed = test::randomSamples(n + 2, 3);
    std::vector<float> changed = packed;
    changed[1] = 123.0f;
    changed[n + 1] = -4.0f;
    std::vector<float> a(n), b(n);
    fftComplexToReal(-1, n, packed.data(), a.data());
    fftComplexToReal(-1, n, changed.data(), b.data());
    EXPECT_EQ(a, b);
}

TEST(FftRealRoundTrip, ReturnsNTimesTheInputInBothSignOrders) {
    for (int n : {2, 4, 12, 30, 90, 1440})
        for (int sign : {1, -1}) {
            std::vector<float> in = test::randomSamples(size_t(n), 11);
            std::vector<float> data = in;
            data.resize(size_t(n) + 2);
            fftRealToComplex(sign, n, data.data(), data.data());
            fftComplexToReal(-sign, n, data.data(), data.data());
            for (int j = 0; j < n; j++)
                EXPECT_NEAR(data[size_t(j)], n * in[size_t(j)], 1e-5 * n) << n << " " << j;
        }
}

// Relative RMS and largest error of sampled bins against their references.
void expectSampledNear(const std::vector<Cd>& reference, const std::vector<Cd>& actual,
                       const std::string& what) {
    double signal = 0, error = 0, worst = 0;
    for (size_t i = 0; i < reference.size(); i++) {
        signal += std::norm(reference[i]);
        const double e = std::abs(actual[i] - reference[i]);
        error += e * e;
        worst = std::max(worst, e);
    }
    const double rms = std::sqrt(signal / double(reference.size()));
    EXPECT_LE(std::sqrt(error / double(reference.size())), 3e-6 * rms) << what;
    EXPECT_LE(worst, 3e-5 * rms) << what;
}

// Lengths whose separation spans many chunks of twiddle factors: every 97th bin (less
// than a chunk apart) of both transforms against the direct DFT in double.
TEST(FftReal, LongLengthsMatchSampledBinsOfTheDirectDft) {
    for (int n : {10080, 65520})
        for (int sign : {1, -1}) {
            const std::string what = "n " + std::to_string(n) + " sign " + std::to_string(sign);
            const std::vector<Cd> kernel = test::dftKernel(n, 1);
            const std::vector<float> in = test::randomSamples(size_t(n) + 2, unsigned(n) + 3);
            std::vector<float> asPairs(2 * size_t(n), 0.0f), out(size_t(n) + 2);
            for (int j = 0; j < n; j++) asPairs[2 * size_t(j)] = in[size_t(j)];
            ASSERT_EQ(fftRealToComplex(sign, n, in.data(), out.data()), 1);
            std::vector<Cd> reference, actual;
            for (int k = 0; k <= n / 2; k += 97) {
                const test::BinPair bin = test::directDftBin(asPairs.data(), n, k, kernel);
                reference.push_back(sign < 0 ? bin.minus : bin.plus);
                actual.push_back(Cd(out[2 * size_t(k)], out[2 * size_t(k) + 1]));
            }
            expectSampledNear(reference, actual, "forward " + what);

            // The inverse of in read as n/2 + 1 coefficients: the Hermitian sequence's DFT.
            std::vector<float> hermitian(2 * size_t(n));
            for (int k = 0; k <= n / 2; k++) {
                const bool edge = k == 0 || k == n / 2;
                hermitian[2 * size_t(k)] = in[2 * size_t(k)];
                hermitian[2 * size_t(k) + 1] = edge ? 0.0f : in[2 * size_t(k) + 1];
                if (edge) continue;
                hermitian[2 * size_t(n - k)] = in[2 * size_t(k)];
                hermitian[2 * size_t(n - k) + 1] = -in[2 * size_t(k) + 1];
            }
            std::vector<float> reals(static_cast<size_t>(n));
            ASSERT_EQ(fftComplexToReal(sign, n, in.data(), reals.data()), 1);
            reference.clear();
            actual.clear();
            for (int j = 0; j < n; j += 97) {
                const test::BinPair bin = test::directDftBin(hermitian.data(), n, j, kernel);
                reference.push_back((sign < 0 ? bin.minus : bin.plus).real());
                actual.push_back(reals[size_t(j)]);
            }
            expectSampledNear(reference, actual, "inverse " + what);
        }
}

TEST(FftReal, InvalidLengthsLeaveTheDataUntouched) {
    // Odd, half not a valid length (17), too small, negative.
    for (int n : {0, 1, 3, 9, 15, 34, -4}) {
        std::vector<float> in(40, 1.0f), out(40, 7.0f);
        EXPECT_EQ(fftRealToComplex(1, n, in.data(), out.data()), 0) << n;
        EXPECT_EQ(fftComplexToReal(1, n, in.data(), out.data()), 0) << n;
        EXPECT_EQ(fftRealToComplex2d(1, 1, n, 2, in.data(), out.data()), 0) << n;
        EXPECT_EQ(fftComplexToReal2d(1, 1, n, 2, in.data(), out.data()), 0) << n;
        EXPECT_EQ(fftRealToComplex2d(1, 2, 2, n, in.data(), out.data()), 0) << n;
        EXPECT_EQ(fftComplexToReal2d(1, 2, 2, n, in.data(), out.data()), 0) << n;
        EXPECT_EQ(out, std::vector<float>(40, 7.0f)) << n;
    }
    std::vector<float> in(40, 1.0f), out(40, 7.0f);
    EXPECT_EQ(fftRealToComplex2d(1, 1, 4, 0, in.data(), out.data()), 0);
    EXPECT_EQ(fftRealToComplex2d(1, 2, 0, 4, in.data(), out.data()), 0);
    EXPECT_EQ(out, std::vector<float>(40, 7.0f));
}

// The 2-D versions do per row or column what the 1-D versions do, float for float.
struct Shape {
    int nx, ny;
};
// 720 x 96 is more than one block of rows for the row transforms.
const Shape shapes[] = {{2, 2}, {12, 4}, {10, 6}, {6, 10}, {8, 12}, {20, 18}, {36, 30}, {720, 96}};

TEST(FftRealToComplex2d, TransformsEachRowLikeTheOneDimensionalTransform) {
    for (Shape s : shapes)
        for (int sign : {1, -1}) {
            const size_t width = size_t(s.nx) + 2;
            std::vector<float> in = test::randomSamples(size_t(s.nx) * s.ny, 5);
            std::vector<float> out(width * s.ny);
            ASSERT_EQ(fftRealToComplex2d(sign, 1, s.nx, s.ny, in.data(), out.data()), 1);
            std::vector<float> inPlace = in;
            inPlace.resize(width * s.ny);
            fftRealToComplex2d(sign, 1, s.nx, s.ny, inPlace.data(), inPlace.data());
            EXPECT_EQ(inPlace, out);
            for (int y = 0; y < s.ny; y++) {
                std::vector<float> row(width);
                fftRealToComplex(sign, s.nx, in.data() + size_t(y) * s.nx, row.data());
                EXPECT_EQ(0, std::memcmp(row.data(), out.data() + y * width, width * sizeof(float)))
                    << s.nx << "x" << s.ny << " row " << y;
            }
        }
}

TEST(FftRealToComplex2d, TransformsEachColumnLikeTheOneDimensionalTransform) {
    for (Shape s : shapes)
        for (int sign : {1, -1}) {
            std::vector<float> in = test::randomSamples(size_t(s.nx) * s.ny, 6);
            std::vector<float> out(size_t(s.nx) * (s.ny + 2));
            ASSERT_EQ(fftRealToComplex2d(sign, 2, s.nx, s.ny, in.data(), out.data()), 1);
            std::vector<float> inPlace = in;
            inPlace.resize(out.size());
            fftRealToComplex2d(sign, 2, s.nx, s.ny, inPlace.data(), inPlace.data());
            EXPECT_EQ(inPlace, out);
            for (int x = 0; x < s.nx; x++) {
                std::vector<float> column(size_t(s.ny) + 2);
                for (int y = 0; y < s.ny; y++) column[size_t(y)] = in[size_t(y) * s.nx + x];
                fftRealToComplex(sign, s.ny, column.data(), column.data());
                for (int k = 0; k <= s.ny / 2; k++) {
                    EXPECT_EQ(column[2 * size_t(k)], out[2 * (size_t(k) * s.nx + x)]) << x << " " << k;
                    EXPECT_EQ(column[2 * size_t(k) + 1], out[2 * (size_t(k) * s.nx + x) + 1])
                        << x << " " << k;
                }
            }
        }
}

TEST(FftComplexToReal2d, InvertsEachRowLikeTheOneDimensionalTransform) {
    for (Shape s : shapes) {
        const size_t width = size_t(s.nx) + 2;
        std::vector<float> in = test::randomSamples(width * s.ny, 8);
        std::vector<float> out(size_t(s.nx) * s.ny);
        ASSERT_EQ(fftComplexToReal2d(-1, 1, s.nx, s.ny, in.data(), out.data()), 1);
        std::vector<float> inPlace = in;
        fftComplexToReal2d(-1, 1, s.nx, s.ny, inPlace.data(), inPlace.data());
        EXPECT_EQ(0, std::memcmp(inPlace.data(), out.data(), out.size() * sizeof(float)));
        for (int y = 0; y < s.ny; y++) {
            std::vector<float> row(static_cast<size_t>(s.nx));
            fftComplexToReal(-1, s.nx, in.data() + y * width, row.data());
            EXPECT_EQ(0, std::memcmp(row.data(), out.data() + size_t(y) * s.nx, row.size() * sizeof(float)))
                << s.nx << "x" << s.ny << " row " << y;
        }
    }
}

TEST(FftComplexToReal2d, InvertsEachColumnLikeTheOneDimensionalTransform) {
    for (Shape s : shapes) {
        std::vector<float> in = test::randomSamples(size_t(s.nx) * (s.ny + 2), 9);
        std::vector<float> out(size_t(s.nx) * s.ny);
        ASSERT_EQ(fftComplexToReal2d(1, 2, s.nx, s.ny, in.data(), out.data()), 1);
        std::vector<float> inPlace = in;
        fftComplexToReal2d(1, 2, s.nx, s.ny, inPlace.data(), inPlace.data());
        EXPECT_EQ(0, std::memcmp(inPlace.data(), out.data(), out.size() * sizeof(float)));
        for (int x = 0; x < s.nx; x++) {
            std::vector<float> column(size_t(s.ny) + 2);
            for (int k = 0; k <= s.ny / 2; k++) {
                column[2 * size_t(k)] = in[2 * (size_t(k) * s.nx + x)];
                column[2 * size_t(k) + 1] = in[2 * (size_t(k) * s.nx + x) + 1];
            }
            fftComplexToReal(1, s.ny, column.data(), column.data());
            for (int y = 0; y < s.ny; y++)
                EXPECT_EQ(column[size_t(y)], out[size_t(y) * s.nx + x]) << x << " " << y;
        }
    }
}

TEST(FftReal2dRoundTrip, ReturnsTheImageTimesTheTransformedLength) {
    const int nx = 20, ny = 18;
    std::vector<float> image = test::randomSamples(size_t(nx) * ny, 10);
    for (int sign : {1, -1}) {
        std::vector<float> rows = image;
        rows.resize(size_t(nx + 2) * ny);
        fftRealToComplex2d(sign, 1, nx, ny, rows.data(), rows.data());
        fftComplexToReal2d(-sign, 1, nx, ny, rows.data(), rows.data());
        std::vector<float> columns = image;
        columns.resize(size_t(nx) * (ny + 2));
        fftRealToComplex2d(sign, 2, nx, ny, columns.data(), columns.data());
        fftComplexToReal2d(-sign, 2, nx, ny, columns.data(), columns.data());
        for (size_t i = 0; i < image.size(); i++) {
            EXPECT_NEAR(rows[i], nx * image[i], 1e-5 * nx) << i;
            EXPECT_NEAR(columns[i], ny * image[i], 1e-5 * ny) << i;
        }
    }
}

}  // namespace
}  // namespace tarnview
