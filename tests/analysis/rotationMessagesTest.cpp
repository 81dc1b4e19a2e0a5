// The messages of rotation, regions, flips and rotational alignment, byte for byte.
#include <gtest/gtest.h>

#include <cmath>

#include "analysis/analysisMessages.h"
#include "support/testSupport.h"

namespace tarnview {
namespace {

using test::captureStdout;

TEST(RotationMessages, TextsAreExact) {
    EXPECT_EQ(captureStdout([] { printRotateAngleNotFinite(NAN); }),
              "Cannot rotate by nan degrees: the angle is not a finite number\n");
    EXPECT_EQ(captureStdout([] { printRegionOutside(3, 0, -1, 2, 6, 5); }),
              "Region of 3 x 0 at (-1, 2) does not lie inside the 6 x 5 image\n");
    EXPECT_EQ(captureStdout(printNeedDataSetToAlign), "Need a data set to align with!\n");
    EXPECT_EQ(captureStdout([] { printRotationScaleUnusable(0); }),
              "Rotational correlation scale is 0: 1 used instead\n");
    EXPECT_EQ(captureStdout([] { printRotationPeak(680, -10, 1.5); }), "Max at 680, -10, 1.5\n");
    EXPECT_EQ(captureStdout([] { printRotationAngle(-9.96); }), "Max at -9.96\n");
    EXPECT_EQ(captureStdout([] { printNoRotationPeak("flat curve"); }),
              "No rotational correlation peak (flat curve): angle 0\n");
    EXPECT_EQ(captureStdout([] { printPhaseSizesDiffer(34, 32, 66, 64); }),
              "Cannot compare phases of a 34 x 32 and a 66 x 64 transform\n");
}

}  // namespace
}  // namespace tarnview
