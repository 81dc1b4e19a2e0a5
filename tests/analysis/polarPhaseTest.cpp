#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <random>

#include "analysis/polarPhase.h"
#include "fourier/imageFourier.h"
#include "fourier/rowFrequency.h"
#include "support/testSupport.h"

namespace tarnview {
namespace {

std::unique_ptr<Image> spectrumOf(int n, unsigned seed) {
    Image image;
    image.resize(n, n, 1);
    std::mt19937 generator{seed};
    std::uniform_real_distribution<float> uniform(0.0f, 1.0f);
    for (int i = 0; i < n * n; i++) image.getData()[i] = uniform(generator);
    image.updateStatistics();
    std::unique_ptr<Image> spectrum(fft(image, 0));  // n must be a valid transform length
    EXPECT_TRUE(spectrum);
    return spectrum;
}

// An amplitude/phase Fourier image of height ny whose phases are slope x the row's
// vertical frequency (amplitudes 1), wide enough for every line.
std::unique_ptr<Image> rowPhases(int ny, float slope) {
    auto image = std::make_unique<Image>();
    const int width = 2 * ny;
    image->resize(width, ny, 1);
    for (int row = 0; row < ny; row++)
        for (int x = 0; x < width; x += 2) {
            image->getData()[row * width + x] = 1;
            image->getData()[row * width + x + 1] = slope * float(rowFrequency(row, ny));
        }
    image->setFlags(complexFlag | fourierFlag);
    image->updateStatistics();
    return image;
}

TEST(PolarPhaseCompare, WithItselfZeroDiagonalAndSymmetric) {
    auto spectrum = spectrumOf(60, 1);
    ASSERT_TRUE(spectrum);
    std::unique_ptr<Image> result(polarPhaseCompare(*spectrum, nullptr));
    ASSERT_TRUE(result);
    ASSERT_EQ(result->getNx(), 360);
    ASSERT_EQ(result->getNy(), 360);
    EXPECT_STREQ(result->getName(), "na");
    for (int i = 0; i < 360; i++) {
        ASSERT_EQ(result->getPixel(i, i), 0.0f);
        for (int j = 0; j < i; j++) ASSERT_EQ(result->getPixel(i, j), result->getPixel(j, i));
    }
    EXPECT_GT(result->getMax(), 0);
    // Each difference is wrapped into 0 ... pi: radii 5 ... 24 give at most 20 pi.
    EXPECT_LE(result->getMax(), 20 * M_PI);
}

TEST(PolarPhaseCompare, HeightsBelowTwentyTwoSumNothing) {
    auto a = spectrumOf(20, 2);
    auto b = spectrumOf(20, 3);
    std::unique_ptr<Image> result(polarPhaseCompare(*a, b.get()));
    ASSERT_TRUE(result);
    for (int i = 0; i < 360 * 360; i++) ASSERT_EQ(result->getData()[i], 0.0f) << i;
}

TEST(PolarPhaseCompare, DifferentSizesAreRefused) {
    auto a = spectrumOf(30, 4);
    auto b = spectrumOf(60, 5);
    Image* result = nullptr;
    const std::string out = test::captureStdout([&] { result = polarPhaseCompare(*a, b.get()); });
    EXPECT_EQ(result, nullptr);
    EXPECT_EQ(out, "Cannot compare phases of a 32 x 30 and a 62 x 60 transform\n");
}

// Against phases zero everywhere, line i of a transform whose phase is s ky sums
// s |floor(rho sin t)| over the radii, t = -pi/2 + i pi/359: the row of each frequency
// must be found for odd heights as for even ones.
TEST(PolarPhaseCompare, LinesReadTheRowsOfTheirFrequencies) {
    for (int ny : {44, 45}) {
        const float slope = 0.01f;
        auto sloped = rowPhases(ny, slope);
        auto flat = rowPhases(ny, 0);
        std::unique_ptr<Image> result(polarPhaseCompare(*sloped, flat.get()));
        ASSERT_TRUE(result);
        for (int line : {60, 90, 150, 250, 300}) {
            const double t = -M_PI / 2 + line * M_PI / 359;
            double expected = 0;
            for (int rho = 5; rho <= ny / 2 - 6; rho++)
                expected += slope * std::fabs(std::floor(rho * std::sin(t)));
            EXPECT_NEAR(result->getPixel(7, line), expected, 1e-4) << ny << " " << line;
            EXPECT_NEAR(result->getPixel(300, line), expected, 1e-4) << ny << " " << line;
        }
    }
}

}  // namespace
}  // namespace tarnview
