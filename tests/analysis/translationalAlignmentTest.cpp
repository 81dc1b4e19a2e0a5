#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "analysis/translationalAlignment.h"
#include "tests/analysis/testImages.h"
#include "tests/support/testSupport.h"

namespace tarnview {
namespace {

struct Shift {
    float dx = NAN, dy = NAN;
};

// Runs alignTranslation and reads the shift from its "translate" line.
Shift align(const Image& reference, Image& other, int peakSign, std::string* out = nullptr) {
    const std::string printed = test::captureStdout([&] { alignTranslation(reference, &other, peakSign); });
    if (out) *out = printed;
    Shift s;
    const size_t at = printed.find("translate ");
    if (at != std::string::npos) std::sscanf(printed.c_str() + at, "translate %f,%f\n", &s.dx, &s.dy);
    return s;
}

// The estimator written out independently: the correlation sum a(x) b(x - s) in double for
// shifts -30 ... 30, the first largest over shifts -27 ... 26, the 7 x 7 centre of mass
// above the smallest there.
Shift referenceEstimate(const Image& a, const Image& b) {
    const int nx = a.getNx(), ny = a.getNy();
    const std::vector<double> sums = test::directCorrelation(a, b, true);
    auto c = [&](int i, int j) {
        return sums[size_t((j - 30 + 61 * ny) % ny) * size_t(nx) + size_t((i - 30 + 61 * nx) % nx)];
    };
    int pi = 3, pj = 3;
    double smallest = c(3, 3);
    for (int i = 3; i <= 56; i++)
        for (int j = 3; j <= 56; j++) {
            if (c(i, j) > c(pi, pj)) pi = i, pj = j;
            smallest = std::min(smallest, c(i, j));
        }
    double sx = 0, sy = 0, sum = 0;
    for (int i = pi - 3; i <= pi + 3; i++)
        for (int j = pj - 3; j <= pj + 3; j++) {
            const double w = c(i, j) - smallest;
            sx += i * w, sy += j * w, sum += w;
        }
    return {float(sx / sum - 30), float(sy / sum - 30)};
}

TEST(AlignTranslation, RecoversAWholePixelShiftAndMatchesTheReference) {
    test::CosineImage pattern(60, 48, 21, 5.0);
    auto reference = pattern.moved(0, 0), other = pattern.moved(4, -5);
    other->setName("moved");
    const Shift s = align(*reference, *other, 1);
    EXPECT_NEAR(s.dx, -4, 1e-3);
    EXPECT_NEAR(s.dy, 5, 1e-3);
    EXPECT_LT(test::largestDifference(*reference, *other), 1e-3);
    EXPECT_STREQ(other->getName(), "moved");
}

TEST(AlignTranslation, SubPixelEstimateIsTheCentreOfMassOfTheCorrelation) {
    test::CosineImage pattern(40, 36, 22, 1.0, 4);
    auto reference = pattern.moved(0, 0), other = pattern.moved(-2.3, 1.6);
    const Shift expected = referenceEstimate(*reference, *other);
    std::string out;
    const Shift s = align(*reference, *other, 0, &out);
    EXPECT_NE(out.find("\tpositive CCF, translate "), std::string::npos) << out;
    EXPECT_NEAR(s.dx, expected.dx, 1e-3);
    EXPECT_NEAR(s.dy, expected.dy, 1e-3);
    EXPECT_NEAR(s.dx, 2.3, 0.5);
    EXPECT_NEAR(s.dy, -1.6, 0.5);
}

TEST(AlignTranslation, NegativePeakOfTheInvertedImageAndPeakSignClamping) {
    test::CosineImage pattern(60, 48, 23, 0.0);
    auto reference = pattern.moved(0, 0);
    auto inverted = [&] {
        return test::imageOf(60, 48, [&](int x, int y) { return 7 - pattern.at(x - 4, y + 5); });
    };
    auto other = inverted();
    std::string out;
    Shift s = align(*reference, *other, -7, &out);
    EXPECT_EQ(out.rfind("Align: translate ", 0), 0u) << out;
    EXPECT_NEAR(s.dx, -4, 1e-3);
    EXPECT_NEAR(s.dy, 5, 1e-3);
    auto expected = test::imageOf(60, 48, [&](int x, int y) { return 7 - pattern.at(x, y); });
    EXPECT_LT(test::largestDifference(*expected, *other), 1e-3);

    other = inverted();
    s = align(*reference, *other, 0, &out);
    EXPECT_NE(out.find("\tnegative CCF, translate "), std::string::npos) << out;
    EXPECT_NEAR(s.dx, -4, 1e-3);

    auto moved = pattern.moved(4, -5);
    s = align(*reference, *moved, 5, &out);
    EXPECT_EQ(out.rfind("Align: translate -4.0000", 0), 0u) << out;
    EXPECT_NEAR(s.dy, 5, 1e-3);
}

TEST(AlignTranslation, DividesByTheModulusOfANegativeNormalisation) {
    // Means of opposite sign beyond their sigmas make the signed normalisation negative.
    test::CosineImage below(60, 48, 24, -30.0), above(60, 48, 24, 30.0);
    auto reference = below.moved(0, 0), other = above.moved(4, -5);
    const Shift s = align(*reference, *other, 1);
    EXPECT_NEAR(s.dx, -4, 1e-3);
    EXPECT_NEAR(s.dy, 5, 1e-3);
}

TEST(AlignTranslation, SmallAndOddSizedImagesWrapAndShiftEveryRow) {
    struct Size {
        int nx, ny;
    };
    for (Size size : {Size{16, 16}, Size{10, 9}, Size{16, 15}}) {
        test::CosineImage pattern(size.nx, size.ny, unsigned(size.nx + size.ny), 3.0, 3);
        auto reference = pattern.moved(0, 0), other = pattern.moved(3, -2);
        const Shift s = align(*reference, *other, 1);
        EXPECT_NEAR(test::wrapped(s.dx + 3, size.nx), 0, 1e-3) << size.nx << "x" << size.ny;
        EXPECT_NEAR(test::wrapped(s.dy - 2, size.ny), 0, 1e-3) << size.nx << "x" << size.ny;
        EXPECT_LT(test::largestDifference(*reference, *other), 1e-3) << size.nx << "x" << size.ny;
    }
}

TEST(AlignTranslation, RefusesMismatchesAndLeavesBlankCorrelationsAlone) {
    test::CosineImage pattern(20, 18, 25);
    auto reference = pattern.moved(0, 0), wrongSize = test::imageOf(18, 20, [](int, int) { return 1.0; });
    EXPECT_EQ(test::captureStdout([&] { alignTranslation(*reference, wrongSize.get(), 1); }),
              "Align: Images must be the same size.\n");
    EXPECT_EQ(test::captureStdout([&] { alignTranslation(*reference, nullptr, 1); }), "");
    auto blank = test::imageOf(20, 18, [](int, int) { return 0.0; });
    std::string out;
    align(*blank, *blank, 1, &out);
    EXPECT_EQ(out, "Align: no usable correlation peak, image left unchanged\n");
    for (int i = 0; i < 20 * 18; i++) ASSERT_EQ(blank->getData()[i], 0.0f);
}

TEST(AlignTranslationPrecise, MovesOtherOntoTheReference) {
    test::CosineImage pattern(60, 48, 26, 2.0);
    auto reference = pattern.moved(0, 0), other = pattern.moved(-6.37, 2.81);
    MeasuredShift applied;
    EXPECT_EQ(test::captureStdout(
                  [&] { EXPECT_EQ(alignTranslationPrecise(*reference, other.get(), 100, 0, &applied), 1); }),
              "");
    EXPECT_NEAR(applied.dx, 6.37, 0.006);
    EXPECT_NEAR(applied.dy, -2.81, 0.006);
    EXPECT_LT(test::largestDifference(*reference, *other), 0.1);
    EXPECT_EQ(alignTranslationPrecise(*reference, nullptr, 100, 0, &applied), 0);
}

}  // namespace
}  // namespace tarnview
