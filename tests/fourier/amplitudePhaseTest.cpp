#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <vector>

#include "fourier/amplitudePhase.h"

namespace tarnview {
namespace {

// What the conversion must give: the library's hypot and atan2 in double, rounded to float.
float libraryAmplitude(float re, float im, int divisor) {
    return float(std::hypot(double(re), double(im)) / divisor);
}
float libraryPhase(float re, float im) {
    return float(std::atan2(double(im), double(re)));
}

// Same float, bit for bit (any NaN matches any NaN).
::testing::AssertionResult sameFloat(float expected, float actual) {
    if (std::isnan(expected) && std::isnan(actual)) return ::testing::AssertionSuccess();
    if (std::bit_cast<uint32_t>(expected) == std::bit_cast<uint32_t>(actual))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "expected " << expected << " got " << actual;
}

void expectLibraryResults(const std::vector<float>& pairs, int divisor) {
    std::vector<float> converted = pairs;
    toAmplitudePhase(converted.data(), int64_t(pairs.size() / 2), divisor);
    for (size_t i = 0; i < pairs.size(); i += 2) {
        const float re = pairs[i], im = pairs[i + 1];
        EXPECT_TRUE(sameFloat(libraryAmplitude(re, im, divisor), converted[i]))
            << "amplitude of " << re << ", " << im;
        EXPECT_TRUE(sameFloat(libraryPhase(re, im), converted[i + 1])) << "phase of " << re << ", " << im;
    }
}

TEST(ToAmplitudePhase, MatchesTheLibraryOnSignedZerosAxesAndExtremes) {
    const float inf = std::numeric_limits<float>::infinity();
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float big = std::numeric_limits<float>::max();
    const float tiny = std::numeric_limits<float>::denorm_min();
    const float least = std::numeric_limits<float>::min();
    const float eighth = 0.41421356f;  // near tan(pi/8), where the reduction switches
    std::vector<float> pairs = {
        0.0f,    0.0f,   -0.0f,  0.0f,  0.0f, -0.0f,  -0.0f,  -0.0f,  // (0, 0) with every sign
        -1.0f,   0.0f,   -1.0f,  -0.0f, -big, 0.0f,   -big,   -0.0f,  // negative real axis: +-pi
        -tiny,   0.0f,   -tiny,  -0.0f, 2.5f, 0.0f,   2.5f,   -0.0f,  // positive real axis: +-0
        0.0f,    3.0f,   -0.0f,  -3.0f, 1.0f, 1.0f,   -1.0f,  -1.0f,  // imaginary axis, diagonals
        -1.0f,   1.0f,   1.0f,   -1.0f, big,  big,    -big,   big,    // largest magnitudes
        tiny,    tiny,   tiny,   -big,  big,  tiny,   -tiny,  least,  // smallest and mixed
        least,   least,  1e-30f, 1e30f, 1.0f, eighth, eighth, -1.0f,  // mixed, octant boundary
        inf,     1.0f,   1.0f,   inf,   -inf, -inf,   inf,    -inf,   // infinities
        inf,     nan,    nan,    1.0f,  1.0f, nan,    nan,    -inf,   // NaNs
        -3e-39f, 2e-39f, 1e-45f, 0.0f,  0.0f, 1e-45f, 6.0f,   8.0f,   // subnormals, a 3-4-5 triangle
    };
    for (int divisor : {1, 2, 7, 5040}) expectLibraryResults(pairs, divisor);
}

TEST(ToAmplitudePhase, MatchesTheLibraryOnRandomPairsOfEveryMagnitude) {
    std::mt19937 generator(2024);
    std::uniform_int_distribution<int> exponent(-150, 127);
    std::uniform_real_distribution<float> mantissa(1.0f, 2.0f);
    std::uniform_int_distribution<int> coin(0, 1);
    auto randomFloat = [&](int e) {
        return (coin(generator) ? -1.0f : 1.0f) * std::ldexp(mantissa(generator), e);
    };
    std::vector<float> pairs;
    for (int i = 0; i < 100000; i++) {
        // Independent exponents, then exponents close together (ratios near 1 and near the
        // octant boundaries), as in Fourier coefficients.
        int e = exponent(generator);
        pairs.push_back(randomFloat(e));
        pairs.push_back(randomFloat(i % 2 ? exponent(generator) : e + coin(generator) - 1));
    }
    expectLibraryResults(pairs, 1);
    expectLibraryResults(pairs, 2520);
}

TEST(FromAmplitudePhase, ScalesByTheFactorAndDividesByTheDivisor) {
    std::vector<float> pairs = {2.0f, 0.0f, 3.0f, float(M_PI / 2), 1.0f, float(-M_PI / 4)};
    fromAmplitudePhase(pairs.data(), 3, 4.0, 2.0f);
    EXPECT_FLOAT_EQ(pairs[0], 4.0f);
    EXPECT_FLOAT_EQ(pairs[1], 0.0f);
    EXPECT_NEAR(pairs[2], 0.0f, 1e-6);
    EXPECT_FLOAT_EQ(pairs[3], 6.0f);
    EXPECT_FLOAT_EQ(pairs[4], float(std::sqrt(2.0)));
    EXPECT_FLOAT_EQ(pairs[5], -float(std::sqrt(2.0)));
}

}  // namespace
}  // namespace tarnview
