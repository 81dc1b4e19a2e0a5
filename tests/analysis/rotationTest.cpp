#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <memory>
#include <random>

#include "analysis/RingSampler.h"
#include "analysis/regions.h"
#include "analysis/rotation.h"
#include "support/testSupport.h"
#include "tests/analysis/analysisTestImages.h"

namespace tarnview {
namespace {

using test::captureStdout;
using test::particle;

std::unique_ptr<Image> imageOf(int nx, int ny, const float* values) {
    auto image = std::make_unique<Image>();
    image->resize(nx, ny, 1);
    std::copy(values, values + nx * ny, image->getData());
    image->updateStatistics();
    return image;
}

std::unique_ptr<Image> randomImage(int nx, int ny, unsigned seed) {
    std::vector<float> values(size_t(nx) * ny);
    std::mt19937 generator{seed};
    std::uniform_real_distribution<float> uniform(-1.0f, 3.0f);
    for (float& v : values) v = uniform(generator);
    return imageOf(nx, ny, values.data());
}

// The 6 x 5 "F", row 0 first: distinguishes every flip, turn and row order.
const float letterF[30] = {
    0, 1, 1, 1, 1, 0,  //
    0, 1, 0, 0, 0, 0,  //
    0, 1, 1, 1, 0, 0,  //
    0, 1, 0, 0, 0, 0,  //
    0, 1, 0, 0, 0, 2,  //
};

TEST(Rotate, ZeroDegreesReproducesTheSourceExactly) {
    auto source = randomImage(37, 20, 1);
    std::unique_ptr<Image> turned(rotate(*source, 0));
    ASSERT_TRUE(turned);
    ASSERT_EQ(turned->getNx(), 37);
    ASSERT_EQ(turned->getNy(), 20);
    for (int i = 0; i < 37 * 20; i++) ASSERT_EQ(turned->getData()[i], source->getData()[i]) << i;
}

TEST(Rotate, FortyFiveDegreesPutsTheMeanInTheCorners) {
    auto source = randomImage(32, 32, 2);
    std::unique_ptr<Image> turned(rotate(*source, 45));
    const float mean = source->getMean();
    EXPECT_EQ(turned->getPixel(0, 0), mean);
    EXPECT_EQ(turned->getPixel(31, 0), mean);
    EXPECT_EQ(turned->getPixel(0, 31), mean);
    EXPECT_EQ(turned->getPixel(31, 31), mean);
    EXPECT_NE(turned->getPixel(16, 16), mean);
}

// At 90 degrees the pixel (col, row) of a square image takes the source pixel
// (row, n - 1 - col): the source transposed and mirrored left to right.
TEST(Rotate, NinetyDegreesTransposesAndMirrors) {
    const int n = 24;
    auto source = randomImage(n, n, 3);
    std::unique_ptr<Image> turned(rotate(*source, 90));
    for (int row = 1; row < n - 1; row++)
        for (int col = 1; col < n - 1; col++)
            ASSERT_NEAR(turned->getPixel(col, row), source->getPixel(row, n - 1 - col), 1e-5)
                << col << "," << row;
}

// A positive angle turns offset +x toward +y: a spot right of the centre of a 5 x 5 image
// goes below it (larger row).
TEST(Rotate, PositiveAngleTurnsXTowardY) {
    float values[25] = {};
    values[2 * 5 + 3] = 1;
    auto source = imageOf(5, 5, values);
    std::unique_ptr<Image> turned(rotate(*source, 90));
    EXPECT_NEAR(turned->getPixel(2, 3), 1, 1e-6);
    EXPECT_NEAR(turned->getPixel(3, 2), 0, 1e-6);
}

TEST(Rotate, ThereAndBackKeepsTheInscribedCircle) {
    const int n = 128;
    auto source = particle(n);
    std::unique_ptr<Image> there(rotate(*source, 23.5f));
    std::unique_ptr<Image> back(rotate(*there, -23.5f));
    const double c = (n - 1) / 2.0;
    // Two bilinear passes flatten the blob peaks (height 5) by about 1 percent.
    for (int y = 0; y < n; y++)
        for (int x = 0; x < n; x++)
            if (std::hypot(x - c, y - c) < c - 2) {
                ASSERT_NEAR(back->getPixel(x, y), source->getPixel(x, y), 0.1) << x << "," << y;
            }
}

TEST(Rotate, NonFiniteAngleIsRefused) {
    auto source = randomImage(8, 8, 4);
    Image* turned = nullptr;
    std::string out = captureStdout([&] { turned = rotate(*source, NAN); });
    EXPECT_EQ(turned, nullptr);
    EXPECT_EQ(out, "Cannot rotate by nan degrees: the angle is not a finite number\n");
    out = captureStdout([&] { turned = rotate(*source, -INFINITY); });
    EXPECT_EQ(turned, nullptr);
    EXPECT_EQ(out, "Cannot rotate by -inf degrees: the angle is not a finite number\n");
}

TEST(ExtractRegion, WholeImageAndASubRectangleOfTheLetterF) {
    auto source = imageOf(6, 5, letterF);
    source->setName("letter");
    std::unique_ptr<Image> whole(extractRegion(*source, 0, 0, 6, 5));
    ASSERT_TRUE(whole);
    for (int i = 0; i < 30; i++) EXPECT_EQ(whole->getData()[i], letterF[i]);
    EXPECT_STREQ(whole->getName(), "letter");
    std::unique_ptr<Image> part(extractRegion(*source, 1, 2, 5, 3));
    ASSERT_TRUE(part);
    const float expected[15] = {1, 1, 1, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 2};
    ASSERT_EQ(part->getNx(), 5);
    ASSERT_EQ(part->getNy(), 3);
    for (int i = 0; i < 15; i++) EXPECT_EQ(part->getData()[i], expected[i]) << i;
    EXPECT_FLOAT_EQ(part->getMax(), 2);
}

TEST(ExtractRegion, RectanglesOutsideOrEmptyAreRefused) {
    auto source = imageOf(6, 5, letterF);
    const int cases[][4] = {{0, 0, 0, 5}, {0, 0, 6, -1},      {-1, 0, 2, 2}, {0, 4, 2, 2},
                            {5, 0, 2, 1}, {INT_MAX, 0, 2, 1}, {0, 0, 7, 5}};
    for (const auto& c : cases) {
        Image* region = nullptr;
        std::string out = captureStdout([&] { region = extractRegion(*source, c[0], c[1], c[2], c[3]); });
        EXPECT_EQ(region, nullptr) << c[0] << " " << c[1] << " " << c[2] << " " << c[3];
        EXPECT_NE(out.find("does not lie inside the 6 x 5 image\n"), std::string::npos) << out;
    }
}

TEST(FlipY, ReversesTheRowsOfTheLetterFAndTwiceRestores) {
    auto image = imageOf(6, 5, letterF);
    EXPECT_EQ(flipY(*image), 1);
    for (int row = 0; row < 5; row++)
        for (int col = 0; col < 6; col++) EXPECT_EQ(image->getPixel(col, row), letterF[(4 - row) * 6 + col]);
    flipY(*image);
    for (int i = 0; i < 30; i++) EXPECT_EQ(image->getData()[i], letterF[i]);
    auto line = imageOf(6, 1, letterF);
    flipY(*line);
    for (int i = 0; i < 6; i++) EXPECT_EQ(line->getData()[i], letterF[i]);
}

// On an image whose pixels hold their column offset from the centre pixel, bin angle t of
// the ring of radius r averages to about r cos t; with row offsets, r sin t. This fixes the
// angle convention atan2(row offset, column offset).
TEST(RingProfile, BinsFollowTheAngleFromTheCentrePixel) {
    const int nx = 64, ny = 60, n = 360, r = 20;
    std::vector<float> columns(nx * ny), rows(nx * ny);
    for (int y = 0; y < ny; y++)
        for (int x = 0; x < nx; x++) {
            columns[y * nx + x] = float(x - nx / 2);
            rows[y * nx + x] = float(y - ny / 2);
        }
    std::vector<float> byColumn(2 * n), byRow(2 * n);
    ringProfile(*imageOf(nx, ny, columns.data()), byColumn.data(), n, r);
    ringProfile(*imageOf(nx, ny, rows.data()), byRow.data(), n, r);
    for (int i = 0; i < n; i++) {
        const double t = 2 * M_PI * i / n;
        EXPECT_FLOAT_EQ(byColumn[i], float(t));
        EXPECT_NEAR(byColumn[n + i], r * std::cos(t), 1.0) << i;
        EXPECT_NEAR(byRow[n + i], r * std::sin(t), 1.0) << i;
    }
}

TEST(RingProfile, RingsBeyondTheEdgeGiveZerosAndNonPositiveRadiiNothing) {
    auto image = randomImage(16, 16, 5);
    std::vector<float> buffer(2 * 90, 7.0f);
    ringProfile(*image, buffer.data(), 90, 0);
    for (float v : buffer) EXPECT_EQ(v, 7.0f);
    ringProfile(*image, buffer.data(), 90, 40);
    for (int i = 0; i < 90; i++) EXPECT_EQ(buffer[90 + i], 0.0f);
    ringProfile(*image, buffer.data(), 90, INT_MAX);
    for (int i = 0; i < 90; i++) EXPECT_EQ(buffer[90 + i], 0.0f);
    // Radius 11 reaches the corners only: some bins are empty, some are not.
    ringProfile(*image, buffer.data(), 90, 11);
    EXPECT_EQ(buffer[90], 0.0f);
    EXPECT_NE(buffer[90 + 11], 0.0f);
}

}  // namespace
}  // namespace tarnview
