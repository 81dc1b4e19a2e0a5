#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>

#include "analysis/curveFilters.h"
#include "analysis/fourierProfile.h"
#include "fourier/imageFourier.h"
#include "fourier/rowFrequency.h"

namespace tarnview {
namespace {

// A real nx x ny image of cos(2 pi (kx x / nx + ky y / ny)): its transform has one pair
// of coefficients, (kx, ky) and its conjugate, of amplitude nx ny / 2 / ny = nx / 2.
std::unique_ptr<Image> grating(int nx, int ny, int kx, int ky) {
    auto image = std::make_unique<Image>();
    image->resize(nx, ny, 1);
    for (int y = 0; y < ny; y++)
        for (int x = 0; x < nx; x++)
            image->getData()[y * nx + x] =
                float(std::cos(2 * M_PI * (double(kx) * x / nx + double(ky) * y / ny)));
    image->updateStatistics();
    return image;
}

// The amplitude/phase transform; sides must divide 720720.
std::unique_ptr<Image> spectrum(const Image& image) {
    std::unique_ptr<Image> f(fft(image, 0));
    if (!f) ADD_FAILURE() << "no transform";
    return f;
}

// The bin of the largest value among bins from ... to - 1.
int peakBin(const float* table, int from, int to) {
    const float* values = table + 200;
    return int(std::max_element(values + from, values + to) - values);
}

TEST(FourierProfile, RadialPeakSitsAtTheGratingFrequency) {
    auto f = spectrum(*grating(60, 60, 8, 6));
    const float* table = fourierProfile(*f, profileRadial, 0, 0);
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(f->getProfileKind(), 0);
    EXPECT_FLOAT_EQ(f->getProfileStep(), 62 * 0.6f / 200);
    const float binOfTen = 10.0f / f->getProfileStep();  // hypot(8, 6) = 10
    const int peak = peakBin(table, 1, 200);             // bin 0 is the zero frequency
    EXPECT_GE(peak, int(binOfTen) - 1);
    EXPECT_LE(peak, int(binOfTen) + 1);
    EXPECT_EQ(table[0], 0.0f);
    EXPECT_FLOAT_EQ(table[100], 100 * f->getProfileStep());
}

TEST(FourierProfile, AngularPeakSitsAtTheGratingDirectionAndRepeats) {
    auto f = spectrum(*grating(60, 60, 8, 6));
    const float* table = fourierProfile(*f, profileAngular, 0, 0);
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(f->getProfileStep(), float(3.14159265358979323846264338327950288L / 100));
    const float binOfDirection = float(std::atan2(6.0, 8.0) / (M_PI / 100));  // 20.5
    const int peak = peakBin(table, 0, 100);
    EXPECT_GE(peak, int(binOfDirection) - 1);
    EXPECT_LE(peak, int(binOfDirection) + 1);
    for (int i = 0; i < 100; i++) EXPECT_EQ(table[200 + i], table[300 + i]) << i;
}

// 4 x 4 constant image: only the zero frequency (amplitude 16 v / 4) is non-zero; radius 1
// falls at t = 1 / 0.018 = 55.6, so bins 1 ... 54 lie on the line from 4 v to 0.
TEST(FourierProfile, EmptyBinsAreInterpolatedBetweenFilledOnes) {
    Image image;
    image.resize(4, 4, 1);
    std::fill(image.getData(), image.getData() + 16, 2.0f);
    image.updateStatistics();
    auto f = spectrum(image);
    const float* table = fourierProfile(*f, profileRadial, 0, 0);
    ASSERT_NE(table, nullptr);
    EXPECT_NEAR(f->getProfileStep(), 0.018f, 1e-8);
    EXPECT_FLOAT_EQ(table[200], 8.0f);
    EXPECT_NEAR(table[201], 8.0f * 54 / 55, 1e-4);
    EXPECT_NEAR(table[227], 8.0f * 28 / 55, 1e-4);
    EXPECT_NEAR(table[255], 0.0f, 1e-6);
}

// A 4 x 4 checkerboard has its one coefficient at (2, -2), radius sqrt(8): bins 157 and
// 158. Every bin after the last filled one keeps its value.
TEST(FourierProfile, BinsAfterTheLastFilledOneKeepItsValue) {
    Image image;
    image.resize(4, 4, 1);
    for (int i = 0; i < 16; i++) image.getData()[i] = ((i % 4 + i / 4) % 2) ? -1.0f : 1.0f;
    image.updateStatistics();
    auto f = spectrum(image);
    const float* table = fourierProfile(*f, profileRadial, 0, 0);
    ASSERT_NE(table, nullptr);
    EXPECT_NEAR(table[358], 4.0f, 1e-5);
    for (int i = 159; i < 200; i++) EXPECT_EQ(table[200 + i], table[358]) << i;
}

// A real image has no profile; an unknown kind samples nothing.
TEST(FourierProfile, RealImageGivesNullAndUnknownKindZeros) {
    auto image = grating(16, 16, 2, 3);
    EXPECT_EQ(fourierProfile(*image, profileRadial, 0, 0), nullptr);
    EXPECT_EQ(image->getProfile(), nullptr);
    auto f = spectrum(*image);
    const float* table = fourierProfile(*f, 7, 0, 0);
    ASSERT_NE(table, nullptr);
    for (int i = 0; i < 400; i++) EXPECT_EQ(table[i], 0.0f) << i;
}

TEST(FourierProfile, RadialAndAngularAreReusedUntilInvalidated) {
    auto f = spectrum(*grating(36, 36, 4, 3));
    const int five = 200 + int(5.0f / (38 * 0.6f / 200));  // the bin of radius hypot(4, 3)
    const float before = fourierProfile(*f, profileRadial, 0, 0)[five];
    ASSERT_GT(before, 1.0f);
    for (int64_t i = 0; i < int64_t(f->getNx()) * f->getNy(); i += 2) f->getData()[i] *= 2.0f;
    EXPECT_EQ(fourierProfile(*f, profileRadial, 0, 0)[five], before);  // cached
    fourierProfile(*f, profileWedge, 4, 18 + 3);                       // another kind
    EXPECT_FLOAT_EQ(fourierProfile(*f, profileRadial, 0, 0)[five], 2 * before);

    const float angular = fourierProfile(*f, profileAngular, 0, 0)[200 + 20];
    const float ones[2] = {1.0f, 1.0f}, x[2] = {0.0f, 1.0f};
    ASSERT_EQ(scaleByCurve(*f, 2, x, ones), 1);
    EXPECT_EQ(f->getProfileKind(), -1);
    for (int64_t i = 0; i < int64_t(f->getNx()) * f->getNy(); i += 2) f->getData()[i] *= 2.0f;
    EXPECT_FLOAT_EQ(fourierProfile(*f, profileAngular, 0, 0)[200 + 20], 2 * angular);
}

// Height 9: frequency -4 is stored in row 1 (not row 0, which holds +4). The wedge and
// the ring aimed at (2, row 1) must find the grating's coefficient there.
TEST(FourierProfile, WedgeAndRingFindTheCoefficientOfAnOddHeight) {
    auto f = spectrum(*grating(10, 9, 2, -4));
    const int row = frequencyRow(-4, 9);
    ASSERT_EQ(row, 1);
    const float amplitude = f->getData()[row * f->getNx() + 4];
    ASSERT_NEAR(amplitude, 5.0f, 1e-4);  // 10 x 9 / 2 / 9

    const float* ring = fourierProfile(*f, profileRing, 2, row);
    ASSERT_NE(ring, nullptr);
    EXPECT_EQ(f->getProfileKind(), 3);
    // The conjugate (-2, 4) lies at direction pi - atan(2): bin 64.8.
    const int peak = peakBin(ring, 0, 100);
    EXPECT_GE(peak, 63);
    EXPECT_LE(peak, 66);
    EXPECT_GT(ring[200 + peak], 0.1f);
    for (int i = 0; i < 100; i++) EXPECT_EQ(ring[200 + i], ring[300 + i]) << i;

    const float* wedge = fourierProfile(*f, profileWedge, 2, row);
    EXPECT_FLOAT_EQ(f->getProfileStep(), 12 * 0.5f / 200);
    // hypot(2, 4) = 4.47 and the wedge stops below nx/2 = 6: bins 149 ... 199.
    float largest = 0.0f;
    for (int i = 149; i < 200; i++) largest = std::max(largest, wedge[200 + i]);
    EXPECT_GT(largest, 1.0f);
    for (int i = 1; i < 100; i++) EXPECT_LT(wedge[200 + i], 1e-3f) << i;
}

// A ring far outside the transform samples nothing and stops after its ten radii. A ring
// through the last pair of the last row (frequencies 8 and 7 of 16 x 16) meets points of
// column 9, one past the row: they are not read (past the buffer in the last row).
TEST(FourierProfile, RingsStayInsideTheStoredCoefficients) {
    auto f = spectrum(*grating(16, 16, 2, 3));
    const float* table = fourierProfile(*f, profileRing, 1 << 30, 8);
    ASSERT_NE(table, nullptr);
    for (int i = 200; i < 400; i++) EXPECT_EQ(table[i], 0.0f) << i;
    ASSERT_EQ(frequencyRow(7, 16), 15);
    table = fourierProfile(*f, profileRing, 8, 15);
    for (int i = 200; i < 400; i++) EXPECT_TRUE(std::isfinite(table[i])) << i;
}

}  // namespace
}  // namespace tarnview
