#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

#include "analysis/curveFilters.h"
#include "analysis/fourierProfile.h"
#include "fourier/imageFourier.h"
#include "fourier/random.h"
#include "fourier/rowFrequency.h"
#include "tests/support/testSupport.h"

namespace tarnview {
namespace {

using test::captureStdout;

// An amplitude/phase Fourier image of pairs x ny coefficients, amplitude(u, v) and phase
// 0.25 (u + 1) - v / 8 for the coefficient (u, v) of each stored row.
template <class Amplitude>
std::unique_ptr<Image> polarImage(int pairs, int ny, Amplitude amplitude) {
    auto image = std::make_unique<Image>();
    image->resize(2 * pairs, ny, 1);
    image->setFlags(complexFlag | fourierFlag);
    for (int j = 0; j < ny; j++) {
        const int v = rowFrequency(j, ny);
        for (int u = 0; u < pairs; u++) {
            image->getData()[j * 2 * pairs + 2 * u] = amplitude(u, v);
            image->getData()[j * 2 * pairs + 2 * u + 1] = 0.25f * (u + 1) - v / 8.0f;
        }
    }
    image->updateStatistics();
    return image;
}

float amplitudeAt(const Image& image, int u, int v) {
    return image.getData()[frequencyRow(v, image.getNy()) * image.getNx() + 2 * u];
}

const float unitX[2] = {0.0f, 1.0f};

// A curve equal to its abscissa (value i at frequency i) scales each amplitude by its
// frequency, clamped to the last value from index nValues - 2 on. Height 7 is odd.
TEST(ScaleByCurve, RampCurveMultipliesByTheFrequency) {
    auto image = polarImage(6, 7, [](int, int) { return 2.0f; });
    std::vector<float> ramp = {0, 1, 2, 3, 4, 5};
    ASSERT_EQ(scaleByCurve(*image, 6, unitX, ramp.data()), 1);
    for (int v = -3; v <= 3; v++)
        for (int u = 0; u < 6; u++) {
            const double r = std::hypot(u, v);
            const double expected = 2.0 * (r >= 4.0 ? 5.0 : r);
            EXPECT_NEAR(amplitudeAt(*image, u, v), expected, 1e-5) << u << ", " << v;
        }
}

TEST(ScaleByCurve, OnesKeepAndMinusOnesTurnThePhaseByPi) {
    auto image = polarImage(5, 6, [](int u, int v) { return u == 1 && v == 0 ? 0.0f : 1.0f + u; });
    const std::vector<float> before(image->getData(), image->getData() + 60);
    const float ones[2] = {1.0f, 1.0f}, minusOnes[2] = {-1.0f, -1.0f};
    ASSERT_EQ(scaleByCurve(*image, 2, unitX, ones), 1);
    for (int i = 0; i < 60; i++) EXPECT_EQ(image->getData()[i], before[size_t(i)]) << i;
    ASSERT_EQ(scaleByCurve(*image, 2, unitX, minusOnes), 1);
    for (int i = 0; i < 60; i += 2) {
        EXPECT_EQ(image->getData()[i], before[size_t(i)]) << i;
        const double turn = double(image->getData()[i + 1]) - before[size_t(i + 1)];
        if (before[size_t(i)] == 0.0f)
            EXPECT_EQ(turn, 0.0) << i;  // -0 amplitude is not below 0
        else
            EXPECT_NEAR(std::fabs(turn), M_PI, 1e-6) << i;
        EXPECT_LE(std::fabs(image->getData()[i + 1]), 2 * M_PI) << i;
    }
}

TEST(SubtractCurve, CurveAboveEveryAmplitudeLeavesZerosAndAWedgeProfile) {
    auto image = polarImage(8, 8, [](int u, int v) { return float(u + v + 9); });
    const float high[2] = {100.0f, 100.0f};
    const float* table = subtractCurve(*image, 2, unitX, high);
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table, image->getProfile());
    EXPECT_EQ(image->getProfileKind(), 2);
    for (int i = 0; i < 128; i += 2) EXPECT_EQ(image->getData()[i], 0.0f) << i;
}

// scaleByCurve takes the last value from index nValues - 2 on; subtractCurve and
// addCurveNoise interpolate up to nValues - 1.
TEST(CurveFilters, EndClampsDiffer) {
    const std::vector<float> curve = {0.0f, 0.0f, 10.0f};
    auto scaled = polarImage(3, 4, [](int, int) { return 20.0f; });
    ASSERT_EQ(scaleByCurve(*scaled, 3, unitX, curve.data()), 1);
    EXPECT_FLOAT_EQ(amplitudeAt(*scaled, 1, 0), 200.0f);  // index 1: the last value
    EXPECT_FLOAT_EQ(amplitudeAt(*scaled, 0, 0), 0.0f);
    auto subtracted = polarImage(3, 4, [](int, int) { return 20.0f; });
    ASSERT_NE(subtractCurve(*subtracted, 3, unitX, curve.data()), nullptr);
    EXPECT_FLOAT_EQ(amplitudeAt(*subtracted, 1, 0), 20.0f);  // index 1: values[1] = 0
    EXPECT_NEAR(amplitudeAt(*subtracted, 1, 1), 20.0f - 10.0f * float(std::sqrt(2.0) - 1), 1e-5);
    EXPECT_FLOAT_EQ(amplitudeAt(*subtracted, 2, 1), 10.0f);  // index 2: the last value
}

// A zero curve without spread changes nothing; on zero amplitudes the noise alone
// remains, its size the curve within the spread.
TEST(AddCurveNoise, NoiseSizeFollowsTheCurve) {
    auto image = polarImage(6, 5, [](int u, int v) { return 1.0f + u + v * v; });
    const std::vector<float> before(image->getData(), image->getData() + 60);
    const float zeros[2] = {0.0f, 0.0f}, threes[2] = {3.0f, 3.0f};
    seedRandomForTests(5);
    ASSERT_EQ(addCurveNoise(*image, 2, unitX, zeros, 0.0f), 1);
    EXPECT_EQ(image->getProfileKind(), -1);
    for (int i = 0; i < 60; i += 2) {
        EXPECT_NEAR(image->getData()[i], before[size_t(i)], 1e-5f * before[size_t(i)]) << i;
        EXPECT_NEAR(std::remainder(image->getData()[i + 1] - before[size_t(i + 1)], 2 * M_PI), 0.0, 1e-5)
            << i;
    }
    auto zero = polarImage(6, 6, [](int, int) { return 0.0f; });
    ASSERT_EQ(addCurveNoise(*zero, 2, unitX, threes, 0.5f), 1);
    for (int i = 0; i < 72; i += 2) EXPECT_NEAR(zero->getData()[i], 3.0f, 0.5f + 1e-5f) << i;
}

TEST(CurveFilters, UnusableCurvesAreRefusedWithAMessage) {
    auto image = polarImage(4, 4, [](int u, int) { return 1.0f + u; });
    ASSERT_NE(fourierProfile(*image, profileRadial, 0, 0), nullptr);
    const std::vector<float> before(image->getData(), image->getData() + 32);
    const float values[2] = {1.0f, 2.0f};
    const float flat[2] = {1.0f, 1.0f}, nan[2] = {0.0f, NAN}, infinite[2] = {INFINITY, 1.0f};
    EXPECT_EQ(captureStdout([&] { EXPECT_EQ(scaleByCurve(*image, 1, unitX, values), 0); }),
              "Cannot apply a curve of 1 values from 0 in steps of 0\n");
    EXPECT_EQ(captureStdout([&] { EXPECT_EQ(addCurveNoise(*image, 2, flat, values, 0.0f), 0); }),
              "Cannot apply a curve of 2 values from 1 in steps of 0\n");
    EXPECT_EQ(captureStdout([&] { EXPECT_EQ(subtractCurve(*image, 2, nan, values), nullptr); }),
              "Cannot apply a curve of 2 values from 0 in steps of nan\n");
    EXPECT_EQ(captureStdout([&] { EXPECT_EQ(subtractCurve(*image, 2, infinite, values), nullptr); }),
              "Cannot apply a curve of 2 values from inf in steps of -inf\n");
    EXPECT_EQ(captureStdout([&] { EXPECT_EQ(scaleByCurve(*image, 2, nullptr, values), 0); }),
              "Cannot apply a curve of 2 values from 0 in steps of 0\n");
    EXPECT_EQ(image->getProfileKind(), 0);
    for (int i = 0; i < 32; i++) EXPECT_EQ(image->getData()[i], before[size_t(i)]) << i;
}

// A profile table is a curve: subtracting an image's own radial profile from a spectrum
// of equal amplitudes leaves (almost) nothing. A tiny spacing sends every index past the
// end without an overflowing conversion.
TEST(CurveFilters, ProfileTableFitsAndTinySpacingClamps) {
    auto image = polarImage(16, 16, [](int, int) { return 3.0f; });
    const float* table = fourierProfile(*image, profileRadial, 0, 0);
    const std::vector<float> profile(table, table + 400);
    ASSERT_NE(subtractCurve(*image, 200, profile.data(), profile.data() + 200), nullptr);
    for (int i = 0; i < 16 * 32; i += 2) EXPECT_NEAR(image->getData()[i], 0.0f, 1e-5) << i;

    auto tiny = polarImage(4, 4, [](int, int) { return 1.0f; });
    const float tinyX[2] = {0.0f, 1e-44f}, values[3] = {5.0f, 6.0f, 7.0f};
    ASSERT_EQ(scaleByCurve(*tiny, 3, tinyX, values), 1);
    EXPECT_FLOAT_EQ(amplitudeAt(*tiny, 0, 0), 5.0f);  // index 0 exactly
    EXPECT_FLOAT_EQ(amplitudeAt(*tiny, 1, 0), 7.0f);
}

}  // namespace
}  // namespace tarnview
