#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "fourier/imageFourier.h"
#include "fourier/rowFrequency.h"
#include "image/Image.h"

namespace tarnview {
namespace {

TEST(RowFrequency, EvenAndOddHeightsFollowTheStoredRowOrder) {
    const int even[4] = {-2, -1, 0, 1};
    for (int r = 0; r < 4; r++) EXPECT_EQ(rowFrequency(r, 4), even[r]) << r;
    const int odd[7] = {3, -3, -2, 0, 1, 2, -1};
    for (int r = 0; r < 7; r++) EXPECT_EQ(rowFrequency(r, 7), odd[r]) << r;
    EXPECT_EQ(rowFrequency(0, 1), 0);
    EXPECT_EQ(lowestRowFrequency(7), -3);
    EXPECT_EQ(highestRowFrequency(7), 3);
    EXPECT_EQ(lowestRowFrequency(4), -2);
    EXPECT_EQ(highestRowFrequency(4), 1);
    EXPECT_EQ(frequencyRow(2, 4), -1);
    EXPECT_EQ(frequencyRow(-4, 7), -1);
}

// A plane wave cos(2 pi (x/nx + ky y/ny)) has one coefficient with kx = 1: its row must
// be the one frequencyRow names, and rowFrequency must name ky back.
TEST(RowFrequency, PlaneWavesLandInTheRowsTheHelperNames) {
    const int nx = 8;
    for (int ny : {1, 2, 4, 5, 6, 9}) {
        for (int ky = lowestRowFrequency(ny); ky <= highestRowFrequency(ny); ky++) {
            Image image;
            ASSERT_TRUE(image.resize(nx, ny, 1));
            for (int y = 0; y < ny; y++)
                for (int x = 0; x < nx; x++)
                    image.getData()[y * nx + x] =
                        float(std::cos(2 * M_PI * (double(x) / nx + double(ky) * y / ny)));
            std::unique_ptr<Image> f(fft(image, 1));
            ASSERT_TRUE(f);
            int best = -1;
            double bestMagnitude = 0;
            for (int r = 0; r < ny; r++) {
                const float* pair = f->getData() + r * (nx + 2) + 2;
                const double m = std::hypot(pair[0], pair[1]);
                if (m > bestMagnitude) bestMagnitude = m, best = r;
            }
            EXPECT_EQ(best, frequencyRow(ky, ny)) << ny << " " << ky;
            EXPECT_EQ(rowFrequency(best, ny), ky) << ny << " " << ky;
        }
    }
}

}  // namespace
}  // namespace tarnview
