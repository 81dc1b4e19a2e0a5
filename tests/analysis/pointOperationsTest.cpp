#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

#include "analysis/masks.h"
#include "analysis/pointOperations.h"
#include "fourier/imageFourier.h"
#include "fourier/rowFrequency.h"
#include "tests/analysis/analysisTestImages.h"
#include "tests/support/testSupport.h"

namespace tarnview {
namespace {

using test::captureStdout;
using test::imageOf;
using test::noiseImage;
using test::valuesOf;

TEST(Normalize, GivesMeanZeroAndSigmaOneAndMovesTheGreyLimits) {
    auto image = noiseImage(32, 24, 1);
    const double mean = image->getMeanDouble(), sigma = image->getSigmaDouble();
    image->setGreyLimits(greyUnset, 16.0f);
    normalize(*image);
    EXPECT_NEAR(image->getMeanDouble(), 0.0, 1e-6);
    EXPECT_NEAR(image->getSigmaDouble(), 1.0, 1e-6);
    EXPECT_FLOAT_EQ(image->getGreyLow(), float((-999.0 - mean) / sigma));
    EXPECT_FLOAT_EQ(image->getGreyHigh(), float((16.0 - mean) / sigma));
}

// 0.5 sums exactly, so both deviations are exactly 0 and nothing changes.
TEST(Normalize, ConstantImageIsLeftAlone) {
    auto image = imageOf(4, 4, std::vector<float>(16, 0.5f));
    image->setGreyLimits(0.25f, 0.75f);
    normalize(*image);
    normalizeToEdge(*image);
    EXPECT_EQ(valuesOf(*image), std::vector<float>(16, 0.5f));
    EXPECT_EQ(image->getGreyLow(), 0.25f);
    EXPECT_EQ(image->getGreyHigh(), 0.75f);
}

// A ring of 100 in a field of 0 (edgeMean 0, band +-edgeSigma/20): every pixel outside the
// ring becomes 7; the ring and the 0s it encloses stay. Column scans stop at the 7s.
TEST(FillBackground, FillsWhatStraightRunsFromTheEdgesReach) {
    const int n = 11;
    std::vector<float> values(n * n, 0.0f);
    for (int y = 3; y <= 7; y++)
        for (int x = 3; x <= 7; x++)
            if (y == 3 || y == 7 || x == 3 || x == 7) values[y * n + x] = 100.0f;
    auto image = imageOf(n, n, values);
    ASSERT_EQ(fillBackground(*image, 7.0f), 1);
    for (int i = 0; i < n * n; i++) {
        const bool enclosed = i / n > 3 && i / n < 7 && i % n > 3 && i % n < 7;
        EXPECT_EQ(image->getData()[i], values[i] == 100.0f ? 100.0f : enclosed ? 0.0f : 7.0f) << i;
    }
}

// First and last rows alternate +-1000 (edgeMean 0, band +-25): only the rows between
// them, reached from the sides, are filled.
TEST(FillBackground, FarTopAndBottomRowsLeaveOnlyTheSides) {
    const int n = 8;
    std::vector<float> values(n * n, 0.0f);
    for (int x = 0; x < n; x++) values[x] = values[(n - 1) * n + x] = x % 2 ? 1000.0f : -1000.0f;
    auto image = imageOf(n, n, values);
    fillBackground(*image, 3.0f);
    for (int i = 0; i < n * n; i++)
        EXPECT_EQ(image->getData()[i], i < n || i >= n * (n - 1) ? values[i] : 3.0f) << i;
}

TEST(ClipToGreyRange, ClipsAndReturnsTheFraction) {
    auto image = imageOf(5, 2, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9});
    image->setGreyLimits(2.0f, 6.0f);
    EXPECT_FLOAT_EQ(clipToGreyRange(*image), 0.5f);
    EXPECT_EQ(valuesOf(*image), (std::vector<float>{2, 2, 2, 3, 4, 5, 6, 6, 6, 6}));
    EXPECT_EQ(clipToGreyRange(*image), 0.0f);

    auto pairs = imageOf(4, 1, {9, 9, 1, 9});  // (9, 9) and (1, 9): only 9 and 1 count
    pairs->setFlags(complexFlag | fourierFlag);
    pairs->setGreyLimits(0.0f, 5.0f);
    EXPECT_FLOAT_EQ(clipToGreyRange(*pairs), 0.25f);
    EXPECT_EQ(valuesOf(*pairs), (std::vector<float>{5, 9, 1, 9}));
}

// 64 x 64, distances from (31.5, 31.5) computed here in double: edge 0 sets to the mean
// every pixel with r + 0.5 > 32; edge 1 blends beyond radius 28; edge 2 changes nothing.
TEST(MaskCircle, RealMasksAboutTheGeometricCentre) {
    for (int edge : {0, 1, 2}) {
        auto image = noiseImage(64, 64, 3);
        const std::vector<float> before = valuesOf(*image);
        const double mean = image->getMeanDouble();
        ASSERT_EQ(maskCircle(*image, edge, 0), 1);
        for (int i = 0; i < 64 * 64; i++) {
            const double r = std::hypot(i % 64 - 31.5, i / 64 - 31.5), w = 0.5 + std::tanh(r - 30) / 2;
            double expected = before[size_t(i)];
            if (edge == 0 && r > 31.5) expected = float(mean);
            if (edge == 1 && r > 28) expected = w * mean + (1 - w) * expected;
            EXPECT_NEAR(image->getData()[i], expected, edge == 1 ? 1e-5 : 0.0) << edge << ": " << i;
        }
    }
}

// Odd sides put the centre on a pixel, (11, 10) for 23 x 21.
TEST(MaskCircle, RealMaskOfOddSides) {
    auto image = noiseImage(23, 21, 4);
    const std::vector<float> before = valuesOf(*image);
    const float mean = image->getMean();
    ASSERT_EQ(maskCircle(*image, 0, 9), 1);
    for (int i = 0; i < 23 * 21; i++)
        EXPECT_EQ(image->getData()[i], std::hypot(i % 23 - 11, i / 23 - 10) > 8.5 ? mean : before[size_t(i)])
            << i;
}

// An odd height: frequencies -7 ... 7 in the rows rowFrequency names. Amplitudes beyond
// the radius become 0, phases stay; in real/imaginary form both parts become 0.
TEST(MaskCircle, FourierMaskOfAnOddHeightZeroesFrequenciesBeyondTheRadius) {
    auto image = noiseImage(16, 15, 6);
    for (int keep : {0, 1}) {
        std::unique_ptr<Image> f(fft(*image, keep));
        const std::vector<float> before = valuesOf(*f);
        ASSERT_EQ(maskCircle(*f, 0, 5), 1);
        for (int j = 0; j < 15; j++)
            for (int u = 0; u < 9; u++) {
                const size_t at = size_t(j * 18 + 2 * u);
                const bool outside = std::hypot(u, rowFrequency(j, 15)) > 5;
                EXPECT_EQ(f->getData()[at], outside ? 0.0f : before[at]) << u << ", " << j;
                EXPECT_EQ(f->getData()[at + 1], outside && keep ? 0.0f : before[at + 1]) << u << ", " << j;
            }
    }
}

TEST(MaskCircle, SoftFourierMaskScalesAmplitudesByOneMinusTheWeight) {
    std::unique_ptr<Image> f(fft(*noiseImage(36, 36, 7), 0));
    const std::vector<float> before = valuesOf(*f);
    ASSERT_EQ(maskCircle(*f, 1, 0), 1);  // radius min(38, 36)/2 - 4 = 14
    for (int j = 0; j < 36; j++)
        for (int u = 0; u < 19; u++) {
            const size_t at = size_t(j * 38 + 2 * u);
            const double r = std::hypot(u, j - 18);
            const double keep = r > 14 ? 0.5 - std::tanh(r - 14 - 2) / 2 : 1.0;
            EXPECT_NEAR(f->getData()[at], before[at] * keep, 1e-5 * before[at]) << u << ", " << j;
        }
}

TEST(Subtract, AnImageFromItselfGivesZeros) {
    auto image = noiseImage(16, 16, 8);
    std::unique_ptr<Image> f(fft(*image, 0));
    subtract(*image, *image);
    EXPECT_EQ(valuesOf(*image), std::vector<float>(256, 0.0f));
    subtract(*f, *f);
    for (int i = 0; i < 18 * 16; i += 2) EXPECT_EQ(f->getData()[i], 0.0f) << i;
}

// The difference of two amplitude/phase transforms is the transform of the difference.
TEST(Subtract, FourierDifferenceIsTheTransformOfTheDifference) {
    auto a = noiseImage(16, 12, 9), b = noiseImage(16, 12, 10);
    std::unique_ptr<Image> fa(fft(*a, 0)), fb(fft(*b, 0));
    subtract(*fa, *fb);
    subtract(*a, *b);
    std::unique_ptr<Image> expected(fft(*a, 0));
    for (int i = 0; i < 18 * 12; i += 2) {
        EXPECT_NEAR(fa->getData()[i], expected->getData()[i], 1e-4) << i;
        if (expected->getData()[i] > 1.0f) {
            EXPECT_NEAR(std::remainder(fa->getData()[i + 1] - expected->getData()[i + 1], 2 * M_PI), 0.0,
                        1e-4)
                << i;
        }
    }
}

TEST(Subtract, SizesMustMatchAndOnlySharedSectionsCount) {
    auto image = noiseImage(8, 8, 11, 3), other = noiseImage(8, 8, 12, 1), wide = noiseImage(9, 8, 13);
    const std::vector<float> before = valuesOf(*image);
    EXPECT_EQ(captureStdout([&] { subtract(*image, *wide); }), "Images must be the same size\n");
    EXPECT_EQ(valuesOf(*image), before);
    subtract(*image, *other);
    for (int i = 0; i < 192; i++)
        EXPECT_EQ(image->getData()[i], i < 64 ? before[size_t(i)] - other->getData()[i] : before[size_t(i)])
            << i;
}

}  // namespace
}  // namespace tarnview
