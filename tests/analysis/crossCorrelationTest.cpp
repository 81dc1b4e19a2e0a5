#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

#include "analysis/crossCorrelation.h"
#include "tests/analysis/testImages.h"
#include "tests/support/testSupport.h"

namespace tarnview {
namespace {

using test::imageOf;

int largestAt(const Image& image) {
    int best = 0;
    for (int i = 1; i < image.getNx() * image.getNy(); i++)
        if (image.getData()[i] > image.getData()[best]) best = i;
    return best;
}

std::unique_ptr<Image> randomImage(int nx, int ny, unsigned seed) {
    std::mt19937 generator(seed);
    std::uniform_real_distribution<double> uniform(-1.0, 3.0);
    return imageOf(nx, ny, [&](int, int) { return uniform(generator); });
}

TEST(CrossCorrelate, MatchesTheDirectSumsWithTheNormalisation) {
    auto a = randomImage(12, 10, 1), b = randomImage(12, 10, 2);
    const double n2 = std::pow(14.0 * 10, 2), pixels = 120;
    struct Case {
        const Image* other;
        double factor;
        std::vector<double> sums;
    } cases[] = {
        {b.get(),
         double(float((std::fabs(a->getMeanDouble()) + a->getSigmaDouble()) * n2 *
                      (std::fabs(b->getMean()) + b->getSigma()))),
         test::directCorrelation(*a, *b, true)},
        {nullptr, double(float(std::pow(a->getMeanDouble() + a->getSigmaDouble(), 2) * n2)),
         test::directCorrelation(*a, *a, false)},
    };
    for (const Case& c : cases) {
        std::unique_ptr<Image> ccf(crossCorrelate(*a, c.other));
        ASSERT_TRUE(ccf);
        EXPECT_STREQ(ccf->getName(), "CCF");
        EXPECT_STREQ(ccf->getPath(), "/tmp/lorikit.ccf");
        ASSERT_EQ(ccf->getNx(), 12);
        ASSERT_EQ(ccf->getNy(), 10);
        double largest = 0;
        for (double s : c.sums) largest = std::max(largest, std::fabs(pixels * s / c.factor));
        for (int i = 0; i < 120; i++)
            EXPECT_NEAR(ccf->getData()[i], pixels * c.sums[size_t(i)] / c.factor, 1e-5 * largest) << i;
    }
}

TEST(CrossCorrelate, PeaksAtZeroForItselfAndAtTheCircularShift) {
    test::CosineImage pattern(36, 24, 3, 1.0);
    auto a = pattern.moved(0, 0), b = pattern.moved(-3, 2);  // a is b moved by (3, -2)
    std::unique_ptr<Image> self(crossCorrelate(*a, a.get()));
    std::unique_ptr<Image> shifted(crossCorrelate(*a, b.get()));
    ASSERT_TRUE(self && shifted);
    EXPECT_EQ(largestAt(*self), 0);
    EXPECT_EQ(largestAt(*shifted), (24 - 2) * 36 + 3);
}

TEST(CrossCorrelate, RefusesDifferentSizesButNotDifferentSectionCounts) {
    auto a = randomImage(12, 10, 4), b = randomImage(10, 12, 5);
    std::unique_ptr<Image> ccf;
    EXPECT_EQ(test::captureStdout([&] { ccf.reset(crossCorrelate(*a, b.get())); }),
              "CCF: Images must be the same size.\n");
    EXPECT_FALSE(ccf);
    auto thick = randomImage(12, 10, 6);
    thick->resize(12, 10, 2);
    ccf.reset(crossCorrelate(*a, thick.get()));
    EXPECT_TRUE(ccf);
    auto odd = randomImage(17, 10, 7);
    EXPECT_EQ(test::captureStdout([&] { ccf.reset(crossCorrelate(*odd, nullptr)); }), "Invalid FFT size!\n");
    EXPECT_FALSE(ccf);
}

TEST(CrossCorrelate, BlankImageGivesZerosNotNaN) {
    auto blank = imageOf(8, 8, [](int, int) { return 0.0; });
    std::string out;
    std::unique_ptr<Image> ccf;
    out = test::captureStdout([&] { ccf.reset(crossCorrelate(*blank, blank.get())); });
    EXPECT_EQ(out, "");
    ASSERT_TRUE(ccf);
    for (int i = 0; i < 64; i++) EXPECT_EQ(ccf->getData()[i], 0.0f);
}

}  // namespace
}  // namespace tarnview
