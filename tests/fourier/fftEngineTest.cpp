#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <cstring>
#include <random>
#include <vector>

#include "fourier/fftEngine.h"
#include "fourier/fftSizes.h"
#include "tests/fourier/referenceDft.h"

namespace tarnview {
namespace {

using Complex = std::complex<double>;

// count complex values (2 count floats) uniform in [-1, 1) from a fixed seed.
std::vector<float> randomSignal(int count, unsigned seed) {
    return test::randomSamples(2 * size_t(count), seed);
}

// Accumulates the error of one transformed bin against its reference.
struct ErrorSum {
    void add(Complex got, Complex expected) {
        const double error = std::abs(got - expected);
        errorSquares += error * error;
        referenceSquares += std::norm(expected);
        maxError = std::max(maxError, error);
        ++bins;
    }
    double relativeRms() const { return std::sqrt(errorSquares / referenceSquares); }
    // The largest error over the RMS of the reference.
    double maxOverRms() const { return maxError / std::sqrt(referenceSquares / bins); }
    double errorSquares = 0, referenceSquares = 0, maxError = 0;
    int bins = 0;
};

Complex binOf(const std::vector<float>& z, int k) {
    return Complex(z[2 * k], z[2 * k + 1]);
}

std::vector<int> validLengthsUpTo(int limit) {
    std::vector<int> lengths;
    for (const FftSize& entry : fftSizeTable) {
        if (entry.size <= limit) lengths.push_back(entry.size);
    }
    return lengths;
}

TEST(FftComplex, MatchesADoublePrecisionDftForEveryLengthUpTo5040) {
    for (const int n : validLengthsUpTo(5040)) {
        const std::vector<test::Cd> kernel = test::dftKernel(n, 1);
        const std::vector<float> z = randomSignal(n, static_cast<unsigned>(n));
        std::vector<float> plus = z, minus = z;
        fftComplex(1, n, plus.data());
        fftComplex(-1, n, minus.data());
        ErrorSum plusError, minusError;
        for (int k = 0; k < n; ++k) {
            const test::BinPair expected = test::directDftBin(z.data(), n, k, kernel);
            plusError.add(binOf(plus, k), expected.plus);
            minusError.add(binOf(minus, k), expected.minus);
        }
        for (const ErrorSum* e : {&plusError, &minusError}) {
            EXPECT_LE(e->relativeRms(), 2e-6) << "n " << n << (e == &plusError ? " sign +1" : " sign -1");
            EXPECT_LE(e->maxOverRms(), 1e-5) << "n " << n << (e == &plusError ? " sign +1" : " sign -1");
        }
    }
}

double sumOfSquares(const std::vector<float>& z) {
    double sum = 0;
    for (const float v : z) sum += static_cast<double>(v) * v;
    return sum;
}

// Relative RMS difference between out / n and z.
double roundTripError(const std::vector<float>& z, const std::vector<float>& out, int n) {
    double errorSquares = 0;
    for (size_t i = 0; i < z.size(); ++i) {
        const double d = out[i] / static_cast<double>(n) - z[i];
        errorSquares += d * d;
    }
    return std::sqrt(errorSquares / sumOfSquares(z));
}

TEST(FftComplex, MatchesSampledBinsParsevalAndRoundTripForTheLargestLengths) {
    for (const int n : {65520, 720720}) {
        const std::vector<test::Cd> kernel = test::dftKernel(n, 1);
        const std::vector<float> z = randomSignal(n, 7);
        std::vector<float> plus = z, minus = z;
        fftComplex(1, n, plus.data());
        fftComplex(-1, n, minus.data());

        // A few hundred bins (the first and last among them), each against the reference.
        std::mt19937 generator(11);
        std::uniform_int_distribution<int> bin(0, n - 1);
        ErrorSum plusError, minusError;
        for (int sample = 0; sample < 300; ++sample) {
            const int k = sample == 0 ? 0 : sample == 1 ? n - 1 : bin(generator);
            const test::BinPair expected = test::directDftBin(z.data(), n, k, kernel);
            plusError.add(binOf(plus, k), expected.plus);
            minusError.add(binOf(minus, k), expected.minus);
        }
        for (const std::vector<float>* out : {&plus, &minus}) {
            const ErrorSum& e = out == &plus ? plusError : minusError;
            EXPECT_LE(e.relativeRms(), 2e-6) << n;
            // Relative to the RMS of the whole transform, as the samples are few.
            EXPECT_LE(e.maxError / std::sqrt(sumOfSquares(*out) / n), 1e-5) << n;
            // Parseval: the sum of squares grows by n.
            EXPECT_NEAR(sumOfSquares(*out) / (sumOfSquares(z) * n), 1.0, 1e-5) << n;
        }
        fftComplex(-1, n, plus.data());
        fftComplex(1, n, minus.data());
        EXPECT_LE(roundTripError(z, plus, n), 2e-6) << n;
        EXPECT_LE(roundTripError(z, minus, n), 2e-6) << n;
    }
}

TEST(FftComplex, ForwardThenBackwardGivesNTimesTheInputForEveryLength) {
    for (const FftSize& entry : fftSizeTable) {
        const int n = entry.size;
        const std::vector<float> z = randomSignal(n, 3);
        std::vector<float> out = z;
        fftComplex(1, n, out.data());
        fftComplex(-1, n, out.data());
        EXPECT_LE(roundTripError(z, out, n), 2e-6) << n;
    }
}

TEST(FftComplex, LeavesLengthOneUnchangedAndIsExactForLengthTwo) {
    float one[2] = {1.5f, -2.25f};
    fftComplex(1, 1, one);
    EXPECT_EQ(one[0], 1.5f);
    EXPECT_EQ(one[1], -2.25f);
    for (const int sign : {1, -1}) {
        float two[4] = {1.25f, 3.0f, -0.5f, 7.75f};
        fftComplex(sign, 2, two);
        EXPECT_EQ(two[0], 0.75f);
        EXPECT_EQ(two[1], 10.75f);
        EXPECT_EQ(two[2], 1.75f);
        EXPECT_EQ(two[3], -4.75f);
    }
}

TEST(FftComplex, TurnsTheThreePointImpulseAtOneIntoTheCubeRootsOfUnity) {
    const double h = std::sqrt(3.0) / 2;
    for (const int sign : {1, -1}) {
        float z[6] = {0, 0, 1, 0, 0, 0};
        fftComplex(sign, 3, z);
        EXPECT_NEAR(z[0], 1.0, 1e-7);
        EXPECT_NEAR(z[1], 0.0, 1e-7);
        EXPECT_NEAR(z[2], -0.5, 1e-7);
        EXPECT_NEAR(z[3], sign * h, 1e-7);
        EXPECT_NEAR(z[4], -0.5, 1e-7);
        EXPECT_NEAR(z[5], -sign * h, 1e-7);
    }
}

TEST(FftComplex, TurnsAnImpulseIntoOnesAndAConstantIntoASpike) {
    for (const int n : {6, 16, 90, 143, 720, 5040}) {
        std::vector<float> impulse(2 * n, 0.0f), constant(2 * n, 0.0f);
        impulse[0] = 1;
        for (int j = 0; j < n; ++j) constant[2 * j] = 1;
        fftComplex(-1, n, impulse.data());
        fftComplex(1, n, constant.data());
        for (int k = 0; k < n; ++k) {
            EXPECT_NEAR(impulse[2 * k], 1.0, 1e-6) << n << " bin " << k;
            EXPECT_NEAR(impulse[2 * k + 1], 0.0, 1e-6) << n << " bin " << k;
            EXPECT_NEAR(constant[2 * k], k == 0 ? n : 0.0, 2e-6 * n) << n << " bin " << k;
            EXPECT_NEAR(constant[2 * k + 1], 0.0, 2e-6 * n) << n << " bin " << k;
        }
    }
}

TEST(FftComplex, RefusesLengthsOutsideTheTable) {
    for (const int n : {0, -6, 17, 32, 1441440, 2 * 720720 + 1}) {
        std::vector<float> z = randomSignal(40, 5);
        const std::vector<float> before = z;
        fftComplex(1, n, z.data());
        fftComplexMany(1, n, 2, 1, 20, z.data());
        fftComplex2d(1, 1, n, 2, z.data());
        fftComplex2d(1, 2, 2, n, z.data());
        EXPECT_EQ(z, before) << n;
    }
}

// Gathers transform t (element stride es, transform stride ts) of z, transforms it with
// fftComplex, and checks that the batched result holds the same bits.
void expectSameAsGathered(const std::vector<float>& input, const std::vector<float>& batched, int sign, int n,
                          int count, long es, long ts) {
    for (int t = 0; t < count; ++t) {
        std::vector<float> one(2 * static_cast<size_t>(n));
        for (int j = 0; j < n; ++j) {
            const long at = 2 * (t * ts + j * es);
            one[2 * j] = input[at];
            one[2 * j + 1] = input[at + 1];
        }
        fftComplex(sign, n, one.data());
        for (int j = 0; j < n; ++j) {
            const long at = 2 * (t * ts + j * es);
            ASSERT_EQ(std::memcmp(&one[2 * j], &batched[at], 2 * sizeof(float)), 0)
                << "n " << n << " count " << count << " transform " << t << " element " << j;
        }
    }
}

TEST(FftComplex2d, TransformsRowsAndColumnsBitForBitLikeFftComplex) {
    const struct {
        int nx, ny;
    } shapes[] = {{16, 9}, {9, 16}, {1, 30}, {30, 1}, {37, 720}, {720, 5}, {63, 144}, {13, 13}, {8, 1001}};
    for (const auto& s : shapes) {
        const std::vector<float> input = randomSignal(s.nx * s.ny, 17);
        for (const int sign : {1, -1}) {
            if (fftSizeAtLeast(s.nx) == s.nx) {
                std::vector<float> rows = input;
                fftComplex2d(sign, 1, s.nx, s.ny, rows.data());
                expectSameAsGathered(input, rows, sign, s.nx, s.ny, 1, s.nx);
            }
            if (fftSizeAtLeast(s.ny) == s.ny) {
                std::vector<float> columns = input;
                fftComplex2d(sign, 2, s.nx, s.ny, columns.data());
                expectSameAsGathered(input, columns, sign, s.ny, s.nx, s.nx, 1);
            }
        }
    }
}

TEST(FftComplexMany, TransformsAnyStridedLayoutBitForBitLikeFftComplex) {
    const struct {
        int n, count;
        long es, ts;
    } layouts[] = {{48, 5, 5, 1}, {48, 3, 1, 50}, {35, 4, 8, 2},
                   {99, 2, 2, 1}, {16, 1, 3, 0},  {80, 20, 20, 1}};
    for (const auto& l : layouts) {
        const long size = (l.count - 1) * l.ts + (l.n - 1) * l.es + 1;
        const std::vector<float> input = randomSignal(static_cast<int>(size), 23);
        std::vector<float> batched = input;
        fftComplexMany(-1, l.n, l.count, static_cast<int>(l.es), static_cast<int>(l.ts), batched.data());
        expectSameAsGathered(input, batched, -1, l.n, l.count, l.es, l.ts);
    }
}

// Every module in every rotation on each code path: one transform with a non-unit stride
// takes the plain scalar path, and 21 adjacent transforms take a block of 16, a vector
// group and a scalar remainder; fftComplex itself runs the steps of a pass in vector pairs.
TEST(FftComplexMany, ScalarAndBlockedPathsGiveTheSameBitsForEveryLengthUpTo5040) {
    const int count = 21;
    for (const int n : validLengthsUpTo(5040)) {
        const std::vector<float> alone = randomSignal(3 * n, static_cast<unsigned>(n) + 1);
        const std::vector<float> adjacent = randomSignal(count * n, static_cast<unsigned>(n) + 2);
        for (const int sign : {1, -1}) {
            std::vector<float> out = alone;
            fftComplexMany(sign, n, 1, 3, 0, out.data());
            expectSameAsGathered(alone, out, sign, n, 1, 3, 0);
            out = adjacent;
            fftComplexMany(sign, n, count, count, 1, out.data());
            expectSameAsGathered(adjacent, out, sign, n, count, count, 1);
        }
    }
}

TEST(FftComplexMany, DoesNothingForACountBelowOne) {
    std::vector<float> z = randomSignal(16, 9);
    const std::vector<float> before = z;
    fftComplexMany(1, 16, 0, 1, 16, z.data());
    fftComplexMany(1, 16, -3, 1, 16, z.data());
    EXPECT_EQ(z, before);
}

}  // namespace
}  // namespace tarnview
