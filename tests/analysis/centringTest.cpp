#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <memory>
#include <string>

#include "analysis/centring.h"
#include "tests/analysis/testImages.h"
#include "tests/support/testSupport.h"

namespace tarnview {
namespace {

// A smooth blob (a wrapped Gaussian, band-limited to float precision) centred at (cx, cy),
// or with a second, negative blob mirrored about that centre when dipole is set.
std::unique_ptr<Image> blob(int nx, int ny, double cx, double cy, bool dipole = false) {
    auto gauss = [=](int x, int y, double ox, double oy) {
        const double dx = test::wrapped(x - ox, nx), dy = test::wrapped(y - oy, ny);
        return std::exp(-(dx * dx / 12.5 + dy * dy / 7));
    };
    return test::imageOf(nx, ny, [=](int x, int y) {
        return dipole ? gauss(x, y, cx + 2, cy + 1) - gauss(x, y, cx - 2, cy - 1) : gauss(x, y, cx, cy);
    });
}

// The peak and the translation centre printed, after the given prefix.
struct Report {
    int px = -99, py = -99;
    float dx = NAN, dy = NAN;
};
Report parse(const std::string& out, const std::string& prefix) {
    Report r;
    EXPECT_EQ(out.compare(0, prefix.size(), prefix), 0) << out;
    if (out.size() >= prefix.size())
        std::sscanf(out.c_str() + prefix.size(), "%d,%d  translate %f,%f\n", &r.px, &r.py, &r.dx, &r.dy);
    return r;
}

TEST(Centre, MovesTheCentreOfSymmetryToTheGridCentreAndReportsTwiceItsOffset) {
    auto image = blob(48, 40, 23.5 + 3, 19.5);
    image->setName("blob");
    const Report r = parse(test::captureStdout([&] { centre(*image, 0); }), "Center: ");
    EXPECT_EQ(r.px, 6);
    EXPECT_EQ(r.py, 0);
    EXPECT_NEAR(r.dx, 6.0, 1e-4);
    EXPECT_NEAR(r.dy, 0.0, 1e-4);
    EXPECT_LT(test::largestDifference(*image, *blob(48, 40, 23.5, 19.5)), 1e-4);
    EXPECT_STREQ(image->getName(), "blob");
}

TEST(Centre, AnObjectOnThePixelPastTheCentreMovesHalfAPixelBack) {
    auto image = blob(48, 40, 24, 20);
    const Report r = parse(test::captureStdout([&] { centre(*image, 0); }), "Center: ");
    EXPECT_EQ(r.px, 1);
    EXPECT_EQ(r.py, 1);
    EXPECT_LT(test::largestDifference(*image, *blob(48, 40, 23.5, 19.5)), 1e-4);
}

TEST(Centre, ToOriginPutsTheCentreOnPixelZeroForEvenAndOddHeights) {
    auto even = blob(48, 40, 26.5, 19.5);
    auto odd = blob(40, 45, 21.5, 21);
    test::captureStdout([&] {
        centre(*even, 1);
        centre(*odd, 1);
    });
    EXPECT_LT(test::largestDifference(*even, *blob(48, 40, 0, 0)), 1e-4);
    EXPECT_LT(test::largestDifference(*odd, *blob(40, 45, 0, 0)), 1e-4);
    auto oddToCentre = blob(40, 45, 21.5, 21);
    const Report r = parse(test::captureStdout([&] { centre(*oddToCentre, 0); }), "Center: ");
    EXPECT_EQ(r.px, 4);
    EXPECT_EQ(r.py, -2);
    EXPECT_LT(test::largestDifference(*oddToCentre, *blob(40, 45, 19.5, 22)), 1e-4);
}

TEST(Centre, AnAntisymmetricObjectGivesANegativePeak) {
    auto image = blob(48, 40, 21.5, 22.5, true);
    const Report r = parse(test::captureStdout([&] { centre(*image, 0); }), "Center: negative peak, ");
    EXPECT_EQ(r.px, -4);
    EXPECT_EQ(r.py, 6);
    EXPECT_LT(test::largestDifference(*image, *blob(48, 40, 23.5, 19.5, true)), 1e-4);
}

TEST(Centre, LeavesABlankImageUnchanged) {
    auto image = test::imageOf(16, 16, [](int, int) { return 3.0; });
    EXPECT_EQ(test::captureStdout([&] { centre(*image, 0); }),
              "Center: no usable correlation peak, image left unchanged\n");
    for (int i = 0; i < 256; i++) ASSERT_EQ(image->getData()[i], 3.0f);
}

}  // namespace
}  // namespace tarnview
