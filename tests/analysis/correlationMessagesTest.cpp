#include <gtest/gtest.h>

#include <cmath>

#include "analysis/analysisMessages.h"
#include "tests/support/testSupport.h"

namespace tarnview {
namespace {

using test::captureStdout;

TEST(CorrelationMessages, PrintTheirExactTexts) {
    EXPECT_EQ(captureStdout(printCcfSizeMismatch), "CCF: Images must be the same size.\n");
    EXPECT_EQ(captureStdout(printAlignSizeMismatch), "Align: Images must be the same size.\n");
    EXPECT_EQ(captureStdout(printCentreStart), "Center: ");
    EXPECT_EQ(captureStdout(printNegativePeak), "negative peak, ");
    EXPECT_EQ(captureStdout([] { printCentrePeak(6, -1); }), "6,-1  ");
    EXPECT_EQ(captureStdout([] { printTranslate(-4.0f, 0.5f); }), "translate -4.000000,0.500000\n");
    EXPECT_EQ(captureStdout(printAlignStart), "Align: ");
    EXPECT_EQ(captureStdout([] { printCcfRange(12.5f, 0.25f, -3.0f); }), "12.500,0.250,-3.000\t");
    EXPECT_EQ(captureStdout(printPositiveCcf), "positive CCF, ");
    EXPECT_EQ(captureStdout(printNegativeCcf), "negative CCF, ");
    EXPECT_EQ(captureStdout(printNoUsablePeak), "no usable correlation peak, image left unchanged\n");
    EXPECT_EQ(captureStdout([] { printShiftNotFinite(1.5, INFINITY); }),
              "Translate: shift 1.500000,inf is not finite, image left unchanged\n");
    EXPECT_EQ(captureStdout(printShiftSizeMismatch), "Shift: Images must be the same size.\n");
    EXPECT_EQ(captureStdout(printShiftNoPeak), "Shift: no usable correlation peak\n");
}

}  // namespace
}  // namespace tarnview
