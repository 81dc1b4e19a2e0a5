#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <random>
#include <vector>

#include "analysis/masks.h"
#include "analysis/pointOperations.h"
#include "fourier/imageFourier.h"
#include "fourier/rowFrequency.h"
#include "tests/support/testSupport.h"

namespace tarnview {
namespace {

using test::captureStdout;

std::unique_ptr<Image> randomImage(int nx, int ny, unsigned seed, int nz = 1) {
    auto image = std::make_unique<Image>();
    image->resize(nx, ny, nz);
    std::mt19937 generator(seed);
    std::normal_distribution<float> value(10.0f, 3.0f);
    for (int64_t i = 0; i < int64_t(nx) * ny * nz; i++) image->getData()[i] = value(generator);
    image->updateStatistics();
    return image;
}

std::unique_ptr<Image> imageOf(int nx, int ny, const std::vector<float>& values) {
    auto image = std::make_unique<Image>();
    image->resize(nx, ny, 1);
    std::copy(values.begin(), values.end(), image->getData());
    image->updateStatistics();
    return image;
}

std::vector<float> valuesOf(const Image& image) {
    return std::vector<float>(image.getData(),
                              image.getData() + int64_t(image.getNx()) * image.getNy() * image.getNz());
}

TEST(Normalize, GivesMeanZeroAndSigmaOneAndMovesTheGreyLimits) {
    auto image = randomImage(32, 24, 1);
    const double mean = image->getMeanDouble(), sigma = image->getSigmaDouble();
    image->setGreyLimits(greyUnset, 16.0f);
    normalize(*image);
    EXPECT_NEAR(image->getMeanDouble(), 0.0, 1e-6);
    EXPECT_NEAR(image->getSigmaDouble(), 1.0, 1e-6);
    EXPECT_FLOAT_EQ(image->getGreyLow(), float((-999.0 - mean) / sigma));
    EXPECT_FLOAT_EQ(image->getGreyHigh(), float((16.0 - mean) / sigma));
}

// 0.5 sums exactly, so sigma is exactly 0 and nothing changes, statistics included.
TEST(Normalize, ConstantImageIsLeftAlone) {
    auto image = imageOf(4, 4, std::vector<float>(16, 0.5f));
    ASSERT_EQ(image->getSigmaDouble(), 0.0);
    image->setGreyLimits(0.25f, 0.75f);
    normalize(*image);
    normalizeToEdge(*image);
    EXPECT_EQ(valuesOf(*image), std::vector<float>(16, 0.5f));
    EXPECT_EQ(image->getGreyLow(), 0.25f);
    EXPECT_EQ(image->getGreyHigh(), 0.75f);
}

TEST(Normalize, ToEdgeUsesTheBorderStatistics) {
    auto image = randomImage(16, 16, 2);
    const double edgeMean = image->getEdgeMean(), edgeSigma = image->getEdgeSigma();
    const float sample = image->getData()[5 * 16 + 7];
    normalizeToEdge(*image);
    EXPECT_FLOAT_EQ(image->getData()[5 * 16 + 7], float((sample - edgeMean) / edgeSigma));
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
    for (int y = 0; y < n; y++)
        for (int x = 0; x < n; x++) {
            const bool ring = values[y * n + x] == 100.0f;
            const bool enclosed = y > 3 && y < 7 && x > 3 && x < 7;
            const float expected = ring ? 100.0f : enclosed ? 0.0f : 7.0f;
            EXPECT_EQ(image->getData()[y * n + x], expected) << x << ", " << y;
        }
}

// First and last rows alternate +-1000 (edgeMean 0, band +-25): only the rows between
// them, reached from the sides, are filled.
TEST(FillBackground, FarTopAndBottomRowsLeaveOnlyTheSides) {
    const int n = 8;
    std::vector<float> values(n * n, 0.0f);
    for (int x = 0; x < n; x++) values[x] = values[(n - 1) * n + x] = x % 2 ? 1000.0f : -1000.0f;
    auto image = imageOf(n, n, values);
    ASSERT_NEAR(image->getEdgeMean(), 0.0, 1e-9);
    fillBackground(*image, 3.0f);
    for (int y = 0; y < n; y++)
        for (int x = 0; x < n; x++)
            EXPECT_EQ(image->getData()[y * n + x], y == 0 || y == n - 1 ? values[y * n + x] : 3.0f)
                << x << ", " << y;
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

// Distances from the geometric centre (31.5, 31.5), computed here in double.
TEST(MaskCircle, HardMaskOf64SetsPixelsBeyond31AndAHalfToTheMean) {
    auto image = randomImage(64, 64, 3);
    const std::vector<float> before = valuesOf(*image);
    const float mean = image->getMean();
    ASSERT_EQ(maskCircle(*image, 0, 0), 1);
    for (int y = 0; y < 64; y++)
        for (int x = 0; x < 64; x++) {
            const bool outside = std::hypot(x - 31.5, y - 31.5) > 31.5;
            EXPECT_EQ(image->getData()[y * 64 + x], outside ? mean : before[size_t(y * 64 + x)])
                << x << ", " << y;
        }
}

TEST(MaskCircle, SoftMaskOf64UsesRadius28) {
    auto image = randomImage(64, 64, 4);
    const std::vector<float> before = valuesOf(*image);
    const double mean = image->getMeanDouble();
    ASSERT_EQ(maskCircle(*image, 1, 0), 1);
    for (int y = 0; y < 64; y++)
        for (int x = 0; x < 64; x++) {
            const double r = std::hypot(x - 31.5, y - 31.5);
            const double pixel = before[size_t(y * 64 + x)];
            const double w = 0.5 + std::tanh(r - 28 - 2) / 2;
            const double expected = r > 28 ? w * mean + (1 - w) * pixel : pixel;
            EXPECT_NEAR(image->getData()[y * 64 + x], expected, 1e-5) << x << ", " << y;
        }
}

TEST(MaskCircle, OtherEdgesOnlyUpdateStatistics) {
    auto image = randomImage(16, 16, 5);
    const std::vector<float> before = valuesOf(*image);
    ASSERT_EQ(maskCircle(*image, 2, 3), 1);
    EXPECT_EQ(valuesOf(*image), before);
}

// An odd height: frequencies -7 ... 7 in the rows rowFrequency names. Amplitudes beyond
// the radius become 0, phases stay; in real/imaginary form both parts become 0.
TEST(MaskCircle, FourierMaskOfAnOddHeightZeroesFrequenciesBeyondTheRadius) {
    auto image = randomImage(16, 15, 6);
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
    std::unique_ptr<Image> f(fft(*randomImage(36, 36, 7), 0));
    ASSERT_NE(f, nullptr);
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
    auto image = randomImage(16, 16, 8);
    std::unique_ptr<Image> f(fft(*image, 0));
    subtract(*image, *image);
    EXPECT_EQ(valuesOf(*image), std::vector<float>(256, 0.0f));
    subtract(*f, *f);
    for (int i = 0; i < 18 * 16; i += 2) EXPECT_EQ(f->getData()[i], 0.0f) << i;
}

// The difference of two amplitude/phase transforms is the transform of the difference.
TEST(Subtract, FourierDifferenceIsTheTransformOfTheDifference) {
    auto a = randomImage(16, 12, 9), b = randomImage(16, 12, 10);
    std::unique_ptr<Image> fa(fft(*a, 0)), fb(fft(*b, 0));
    subtract(*fa, *fb);
    subtract(*a, *b);
    std::unique_ptr<Image> expected(fft(*a, 0));
    for (int i = 0; i < 18 * 12; i += 2) {
        EXPECT_NEAR(fa->getData()[i], expected->getData()[i], 1e-4) << i;
        if (expected->getData()[i] > 1.0f) {
            const double turn = double(fa->getData()[i + 1]) - expected->getData()[i + 1];
            EXPECT_NEAR(std::remainder(turn, 2 * M_PI), 0.0, 1e-4) << i;
        }
    }
}

TEST(Subtract, SizesMustMatchAndOnlySharedSectionsCount) {
    auto image = randomImage(8, 8, 11, 3), other = randomImage(8, 8, 12, 1), wide = randomImage(9, 8, 13);
    const std::vector<float> before = valuesOf(*image);
    EXPECT_EQ(captureStdout([&] { subtract(*image, *wide); }), "Images must be the same size\n");
    EXPECT_EQ(valuesOf(*image), before);
    subtract(*image, *other);
    for (int i = 0; i < 64; i++) EXPECT_EQ(image->getData()[i], before[size_t(i)] - other->getData()[i]) << i;
    for (int i = 64; i < 192; i++) EXPECT_EQ(image->getData()[i], before[size_t(i)]) << i;
}

}  // namespace
}  // namespace tarnview
