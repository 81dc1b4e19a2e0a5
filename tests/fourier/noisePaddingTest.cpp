// Noise padding and the random generators.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <vector>

#include "fourier/noisePadding.h"
#include "fourier/random.h"
#include "support/testSupport.h"

using namespace tarnview;

namespace {

// An n x m picture of values 1000 + 10 y + x, with statistics.
void makePicture(Image& image, int nx, int ny) {
    ASSERT_EQ(image.resize(nx, ny, 1), 1);
    for (int y = 0; y < ny; y++)
        for (int x = 0; x < nx; x++) image.getData()[x + y * nx] = float(1000 + 10 * y + x);
    image.updateStatistics();
}

}  // namespace

TEST(PadWithNoise, FiveByFiveToNineByNineCentresThePicture) {
    seedRandomForTests(1);
    Image image;
    makePicture(image, 5, 5);
    EXPECT_EQ(padWithNoise(image, 1, 9, 9), 1);
    ASSERT_EQ(image.getNx(), 9);
    ASSERT_EQ(image.getNy(), 9);
    EXPECT_EQ(image.getNz(), 1);
    for (int y = 0; y < 9; y++)
        for (int x = 0; x < 9; x++) {
            const float v = image.getData()[x + 9 * y];
            if (x >= 2 && x <= 6 && y >= 2 && y <= 6)
                EXPECT_EQ(v, float(1000 + 10 * (y - 2) + (x - 2))) << x << "," << y;
            else
                EXPECT_NEAR(v, image.getMean(), 8 * image.getSigma()) << x << "," << y;
        }
}

TEST(PadWithNoise, BorderIsDrawnRowsWithThePictureFirstThenBelowThenAbove) {
    Image image;
    makePicture(image, 3, 3);
    const float mean = image.getMean(), sigma = image.getSigma();
    seedRandomForTests(42);
    ASSERT_EQ(padWithNoise(image, 1, 7, 5), 1);

    seedRandomForTests(42);
    std::vector<float> draws(26);
    for (float& d : draws) d = gaussianRandom(mean, sigma);
    // Rows 1..3: two left pixels then two right pixels each; then row 0, then row 4.
    std::vector<int> order;
    for (int y = 1; y <= 3; y++)
        for (int x : {0, 1, 5, 6}) order.push_back(x + 7 * y);
    for (int x = 0; x < 7; x++) order.push_back(x);
    for (int x = 0; x < 7; x++) order.push_back(x + 7 * 4);
    ASSERT_EQ(order.size(), draws.size());
    for (size_t k = 0; k < order.size(); k++)
        EXPECT_EQ(image.getData()[order[k]], draws[k]) << "draw " << k + 1;
}

TEST(PadWithNoise, ExplicitMarginsPutTheExtraColumnAndRowAfterThePicture) {
    Image image;
    makePicture(image, 3, 3);
    ASSERT_EQ(padWithNoiseAt(image, 0, 6, 4, 1, 0), 1);
    const float mean = 1000 + 10 + 1;  // the mean of the picture
    for (int y = 0; y < 4; y++)
        for (int x = 0; x < 6; x++) {
            const float v = image.getData()[x + 6 * y];
            if (x >= 1 && x <= 3 && y <= 2)
                EXPECT_EQ(v, float(1000 + 10 * y + x - 1));
            else
                EXPECT_EQ(v, mean);
        }
}

TEST(PadWithNoise, SameSizeKeepsPixelsSetsDepthOneAndUpdates) {
    Image image;
    ASSERT_EQ(image.resize(4, 4, 2), 1);
    for (int i = 0; i < 32; i++) image.getData()[i] = float(i);
    image.updateStatistics();
    ASSERT_EQ(padWithNoise(image, 1, 4, 4), 1);
    EXPECT_EQ(image.getNz(), 1);
    for (int i = 0; i < 16; i++) EXPECT_EQ(image.getData()[i], float(i));
    EXPECT_DOUBLE_EQ(image.getMeanDouble(), 7.5);
}

TEST(PadWithNoise, OddDifferenceAndSmallerSizesAreRefused) {
    Image image;
    makePicture(image, 5, 5);
    image.resize(5, 5, 1);
    std::string out = test::captureStdout([&] { EXPECT_EQ(padWithNoise(image, 1, 8, 8), 0); });
    EXPECT_EQ(out, "Must pad an even number of pixels\n");
    out = test::captureStdout([&] { EXPECT_EQ(padWithNoise(image, 1, 3, 5), 0); });
    EXPECT_EQ(out, "Cannot pad a 5 x 5 image to 3 x 5: padding only enlarges an image.\n");
    out = test::captureStdout([&] { EXPECT_EQ(padWithNoise(image, 1, 2, 5), 0); });
    EXPECT_EQ(out, "Must pad an even number of pixels\n");
    EXPECT_EQ(image.getNx(), 5);
    EXPECT_EQ(image.getNz(), 1);
    EXPECT_EQ(image.getData()[24], 1044.0f);
}

TEST(PadWithNoise, MeanFillingAndNoiseStatistics) {
    Image image;
    makePicture(image, 4, 4);
    const float mean = image.getMean();
    Image copy;
    makePicture(copy, 4, 4);
    ASSERT_EQ(padWithNoise(image, 0, 8, 8), 1);
    for (int y = 0; y < 8; y++)
        for (int x = 0; x < 8; x++)
            if (x < 2 || x > 5 || y < 2 || y > 5) {
                EXPECT_EQ(image.getData()[x + 8 * y], mean);
            }

    // A large border drawn with noise has the picture's mean and sigma.
    seedRandomForTests(7);
    const double sigma = copy.getSigmaDouble();
    ASSERT_EQ(padWithNoise(copy, 1, 404, 404), 1);
    double sum = 0, sumsq = 0;
    int64_t count = 0;
    for (int y = 0; y < 404; y++)
        for (int x = 0; x < 404; x++) {
            if (x >= 200 && x < 204 && y >= 200 && y < 204) continue;
            const double v = copy.getData()[x + 404 * y];
            sum += v;
            sumsq += v * v;
            count++;
        }
    const double m = sum / count, s = std::sqrt(sumsq / count - m * m);
    // About four standard errors of 163200 draws of sigma 11.5.
    EXPECT_NEAR(m, mean, 0.12);
    EXPECT_NEAR(s, sigma, 0.1);
}

TEST(RandomGenerators, BoundsAndDegenerateArguments) {
    seedRandomForTests(3);
    for (int i = 0; i < 10000; i++) {
        const float u = uniformRandom(-2.0f, 3.0f);
        EXPECT_GE(u, -2.0f);
        EXPECT_LE(u, 3.0f);
    }
    EXPECT_EQ(uniformRandom(1.25f, 1.25f), 1.25f);
    // hi - lo = 16777219 rounds up to 16777220 in float; the first draw after seed
    // 1052169 is 2147483548, which with that span would give 4.2265625.
    seedRandomForTests(1052169);
    EXPECT_LE(uniformRandom(-16777215.0f, 4.0f), 4.0f);
    EXPECT_EQ(gaussianRandom(4.5f, 0.0f), 4.5f);
    double sum = 0, sumsq = 0;
    const int n = 20000;
    for (int i = 0; i < n; i++) {
        const double g = gaussianRandom(2.0f, 3.0f);
        sum += g;
        sumsq += g * g;
    }
    EXPECT_NEAR(sum / n, 2.0, 0.1);
    EXPECT_NEAR(std::sqrt(sumsq / n - (sum / n) * (sum / n)), 3.0, 0.1);
}

TEST(RandomGenerators, SeededSequenceIsTheCLibrarysRandomScaled) {
    // The generator draws the numbers of the C library's random() after srandom().
    srandom(12345);
    std::vector<long> expected(1000);
    for (long& r : expected) r = random();
    seedRandomForTests(12345);
    for (long r : expected) ASSERT_EQ(uniformRandom(0.0f, 1.0f), float(double(r) / 2147483647.0));
}
