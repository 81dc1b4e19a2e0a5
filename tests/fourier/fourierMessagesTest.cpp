// Every message of the Fourier folder, byte for byte.
#include <gtest/gtest.h>

#include "fourier/fourierMessages.h"
#include "support/testSupport.h"

namespace tarnview {
namespace {

using test::captureStdout;

TEST(FourierMessages, TextsAreExact) {
    EXPECT_EQ(captureStdout(printCannotFftOfFft), "Cannot do FFT of FFT\n");
    EXPECT_EQ(captureStdout(printInvalidFftSize), "Invalid FFT size!\n");
    EXPECT_EQ(captureStdout(printCannotIftOfReal), "Cannot do IFT of real\n");
    EXPECT_EQ(captureStdout(printMustPadEven), "Must pad an even number of pixels\n");
    EXPECT_EQ(captureStdout([] { printCannotPadSmaller(8, 6, 4, 6); }),
              "Cannot pad a 8 x 6 image to 4 x 6: padding only enlarges an image.\n");
}

}  // namespace
}  // namespace tarnview
