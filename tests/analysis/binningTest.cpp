// Binning by n x n block means, against means worked out by hand.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "analysis/binning.h"
#include "analysis/testImages.h"
#include "fourier/imageFourier.h"
#include "image/Image.h"
#include "image/messageSink.h"

using namespace tarnview;
using tarnview::test::imageOf;

TEST(BinImage, BlockMeansDropThePartialBlocksAsAReshapeMeanWould) {
    // 5 x 4 of 10 y + x by 2: blocks from (0, 0) and (2, 0), (0, 2) and (2, 2); column 4
    // is dropped. Block (i, j) holds 10 (2j) + 2i + {0, 1, 10, 11}: mean 20 j + 2 i + 5.5.
    const auto image = imageOf(5, 4, [](int x, int y) { return 10 * y + x; });
    image->setDeltaX(1.5f);
    const std::unique_ptr<Image> binned(binImage(*image, 2));
    ASSERT_TRUE(binned);
    ASSERT_EQ(binned->getNx(), 2);
    ASSERT_EQ(binned->getNy(), 2);
    EXPECT_EQ(std::vector<float>(binned->getData(), binned->getData() + 4),
              (std::vector<float>{5.5f, 7.5f, 25.5f, 27.5f}));
    EXPECT_EQ(binned->getDeltaX(), 3.0f);
}

TEST(BinImage, RefusesFactorsOutsideTheImageAndComplexImages) {
    const auto image = imageOf(6, 4, [](int x, int y) { return x + y; });
    MessageCapture messages;
    EXPECT_EQ(binImage(*image, 0), nullptr);
    EXPECT_EQ(binImage(*image, 5), nullptr);
    EXPECT_EQ(messages.take(), "Cannot bin a real 6 x 4 image by 0\nCannot bin a real 6 x 4 image by 5\n");
    const std::unique_ptr<Image> transform(fft(*image, 0));
    ASSERT_TRUE(transform);
    EXPECT_EQ(binImage(*transform, 2), nullptr);
    EXPECT_EQ(messages.take(), "Cannot bin a complex 8 x 4 image by 2\n");
}
