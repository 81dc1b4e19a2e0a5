#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>

#include "analysis/translation.h"
#include "tests/analysis/testImages.h"
#include "tests/support/testSupport.h"

namespace tarnview {
namespace {

// Band-limited images moved by a sub-pixel shift match the formula evaluated at the
// shifted positions, for even and odd heights (every stored row carries its own
// frequency), and keep their title.
TEST(TranslateImage, MatchesTheShiftedFormulaForEvenAndOddHeights) {
    struct Size {
        int nx, ny;
    };
    for (Size s : {Size{16, 16}, Size{10, 9}, Size{16, 15}, Size{24, 20}}) {
        test::CosineImage pattern(s.nx, s.ny, unsigned(s.nx * 31 + s.ny), 2.0, 4);
        for (double tx : {0.0, 2.5, -3.25}) {
            const double ty = -0.6 * tx + 1;
            auto image = pattern.moved(0, 0);
            image->setName("pattern");
            EXPECT_EQ(translateImage(*image, tx, ty), 1);
            auto expected = pattern.moved(tx, ty);
            EXPECT_LT(test::largestDifference(*image, *expected), 2e-4) << s.nx << "x" << s.ny << " " << tx;
            EXPECT_STREQ(image->getName(), "pattern");
            EXPECT_EQ(image->getNx(), s.nx);
            EXPECT_EQ(image->getNy(), s.ny);
        }
    }
}

TEST(TranslateImage, ThereAndBackRestoresTheImage) {
    test::CosineImage pattern(48, 40, 11, -1.0, 12);
    auto original = pattern.moved(0, 0), image = pattern.moved(0, 0);
    translateImage(*image, 7.3, -4.9);
    EXPECT_GT(test::largestDifference(*image, *original), 1.0);
    translateImage(*image, -7.3, 4.9);
    EXPECT_LT(test::largestDifference(*image, *original), 2e-4);
    EXPECT_NEAR(image->getMean(), original->getMean(), 1e-5);
}

TEST(TranslateImage, RefusesAShiftThatIsNotFinite) {
    test::CosineImage pattern(16, 16, 12);
    auto original = pattern.moved(0, 0), image = pattern.moved(0, 0);
    const double nan = std::numeric_limits<double>::quiet_NaN();
    int result = -1;
    EXPECT_EQ(test::captureStdout([&] { result = translateImage(*image, nan, 1); }),
              "Translate: shift nan,1.000000 is not finite, image left unchanged\n");
    EXPECT_EQ(result, 0);
    EXPECT_EQ(test::largestDifference(*image, *original), 0.0);
}

}  // namespace
}  // namespace tarnview
