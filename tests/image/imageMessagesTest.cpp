// Every message of the image folder, byte for byte.
#include <gtest/gtest.h>

#include "image/imageMessages.h"
#include "support/testSupport.h"

namespace tarnview {
namespace {

using test::captureStdout;

TEST(ImageMessages, TextsAreExact) {
    EXPECT_EQ(captureStdout([] { printImageOutOfMemory(46000, 46000, 1); }),
              "Not enough memory for a 46000x46000x1 image\n");
    EXPECT_EQ(captureStdout([] { printImageOverSampleLimit(40000, 40000, 1, 1LL << 30); }),
              "Image of 40000x40000x1 samples exceeds the limit of 1073741824 samples\n");
    EXPECT_EQ(captureStdout(printCannotOpenForWriting), "Cannot open file for writing\n");
    EXPECT_EQ(captureStdout([] { printCannotWritePgm("a.pgm"); }),
              "Error writing a.pgm: the PGM file is incomplete.\n");
    EXPECT_EQ(captureStdout([] { printNoMemoryToWrite("a.pgm"); }), "Not enough memory to write a.pgm\n");
    EXPECT_EQ(captureStdout([] { printBadStatistics(1, 2, 3, 4, 5, 6, 7, 8, 9, 10); }),
              "ERROR - Bad statistics on this data set!\n"
              "mean=1.000000 sigma=2.000000 edgemean=3.000000 edgesigma=4.000000  5.000000 6.000000\n"
              "7.000000 8.000000 9.000000 10.000000\n");
}

}  // namespace
}  // namespace tarnview
