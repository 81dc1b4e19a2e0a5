// Every message of the converter, byte for byte.
#include <gtest/gtest.h>

#include "app/appMessages.h"
#include "support/testSupport.h"

namespace tarnview {
namespace {

using test::captureStdout;

TEST(AppMessages, TextsAreExact) {
    EXPECT_EQ(
        captureStdout(printUsage),
        "tarnview version 0.1\nConverts MRC, ScansALot or Imagic files to PGM format\n\n"
        "tarnview (-mrc -sal -imagic) [-fft] [-v] [-min <mingray>] [-max <maxgray>] <infile> <outfile>\n");
    EXPECT_EQ(captureStdout([] { printCannotReadMrc("a.mrc"); }), "Cannot read a.mrc as a MRC file.\n");
    EXPECT_EQ(captureStdout([] { printCannotReadSal("a.img"); }), "Cannot read a.img as a ScansALot file.\n");
    EXPECT_EQ(captureStdout([] { printCannotReadImagic("a.hed"); }),
              "Cannot read a.hed as an IMAGIC file.\n");
    EXPECT_EQ(captureStdout([] { printBadSection("x"); }),
              "The section after -z must be a number from 0 on, not \"x\"\n");
    EXPECT_EQ(captureStdout(printSectionNeedsMrc), "-z selects a section of an MRC file: use it with -mrc\n");
    // %5.3g: three significant digits, right-aligned in five places.
    EXPECT_EQ(captureStdout([] { printImageReport(512, 256, 0, 255, 127.25f, 10, 3, 1234.5f); }),
              "\nThis image is 512 x 256\n"
              "greyscale:  min=    0 max=  255 mean=  127 sigma=   10\n"
              "default greyscale limits     3 to 1.23e+03\n");
    EXPECT_EQ(captureStdout(printNotSquare), "Sorry, I can only do FFTs of square images.\n");
    EXPECT_EQ(captureStdout([] { printPaddedToValidSize(2184); }),
              "The image was not a valid size for the FFT routine.\nThe next valid size is 2184x2184.\n"
              "I have padded the image with noise to continue processing.\n");
    EXPECT_EQ(captureStdout(printFftUnsuccessful), "FFT unsuccessful.\n");
}

}  // namespace
}  // namespace tarnview
