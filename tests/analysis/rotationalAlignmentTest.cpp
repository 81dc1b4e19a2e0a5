#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "analysis/columnsFile.h"
#include "analysis/rotation.h"
#include "analysis/rotationalAlignment.h"
#include "support/testSupport.h"
#include "tests/analysis/analysisTestImages.h"

namespace tarnview {
namespace {

using test::captureStdout;
using test::particle;

// alignRotation writes "test.rcf.dat" in the current directory; each test process works
// in a directory of its own.
class RotationalAlignment : public ::testing::Test {
  protected:
    void SetUp() override {
        previous = std::filesystem::current_path();
        const std::string dir = test::scratchPath("rotational-alignment");
        std::filesystem::create_directories(dir);
        std::filesystem::current_path(dir);
    }
    void TearDown() override { std::filesystem::current_path(previous); }

    std::filesystem::path previous;
};

std::unique_ptr<Image> turned(const Image& image, float degrees) {
    return std::unique_ptr<Image>(rotate(image, degrees));
}

std::vector<std::string> fileLines(const char* path) {
    std::ifstream in(path);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

double degrees(float radians) {
    return double(radians) * 180 / M_PI;
}

TEST_F(RotationalAlignment, AnImageWithItselfPeaksAtTheMiddleIndex) {
    auto image = particle(128);
    float angle = 1;
    const std::string out = captureStdout([&] { angle = alignRotation(*image, image.get()); });
    EXPECT_EQ(out.rfind("Max at 720, 0, ", 0), 0u) << out;
    EXPECT_NEAR(degrees(angle), 0, 1e-3);
    const auto lines = fileLines("test.rcf.dat");
    ASSERT_EQ(lines.size(), 1440u);
    float first = 0, value = 0;
    ASSERT_EQ(std::sscanf(lines[0].c_str(), "%g\t%g", &first, &value), 2);
    EXPECT_NEAR(first, -M_PI, 1e-5);
}

TEST_F(RotationalAlignment, TurnedCopyGivesTheTurnBack) {
    auto image = particle(128);
    auto other = turned(*image, 10);
    float angle = 0;
    const std::string out = captureStdout([&] { angle = alignRotation(*image, other.get()); });
    EXPECT_NEAR(degrees(angle), -10, 0.25) << out;
    EXPECT_EQ(out.find("Max at 68"), 0u) << out;  // the peak lies near index 680
    // rotate's own interpolation, not measureRotation's rings, limits the second estimate.
    const RotationMeasure measured = measureRotation(*image, *other);
    EXPECT_EQ(measured.found, 1);
    EXPECT_NEAR(degrees(measured.angle), -10, 0.05);
    EXPECT_GT(measured.height, 0);
    const RotationMeasure back = measureRotation(*other, *image);
    EXPECT_NEAR(degrees(back.angle), 10, 0.05);
}

TEST_F(RotationalAlignment, SmallImageWithTwoRings) {
    auto image = particle(64);
    auto other = turned(*image, -10);
    float angle = 0;
    captureStdout([&] { angle = alignRotation(*image, other.get()); });
    EXPECT_NEAR(degrees(angle), 10, 0.5);
}

// A normalised (zero-mean) second image makes the scale 0: the angle is still found.
TEST_F(RotationalAlignment, ZeroMeanOtherIsStillAligned) {
    auto image = particle(128);
    auto other = turned(*image, 10);
    const float mean = other->getMean();
    for (int i = 0; i < 128 * 128; i++) other->getData()[i] -= mean;
    other->updateStatistics();
    other->getData()[0] -= float(other->getMeanDouble() * 128 * 128);  // exactly zero mean
    other->updateStatistics();
    ASSERT_EQ(other->getMeanDouble(), 0.0);
    float angle = 0;
    const std::string out = captureStdout([&] { angle = alignRotation(*image, other.get()); });
    EXPECT_EQ(out.rfind("Rotational correlation scale is 0: 1 used instead\nMax at ", 0), 0u) << out;
    EXPECT_NEAR(degrees(angle), -10, 0.25);
    EXPECT_EQ(out.find("nan"), std::string::npos) << out;
}

TEST_F(RotationalAlignment, NoRingFitsInANarrowImage) {
    auto image = particle(40);
    float angle = 1;
    std::string out = captureStdout([&] { angle = alignRotation(*image, image.get()); });
    EXPECT_EQ(angle, 0);
    EXPECT_EQ(out,
              "Max at 4, -179, 0\nNo rotational correlation peak (no ring fits inside the image): angle 0\n");
    EXPECT_EQ(fileLines("test.rcf.dat").size(), 1440u);
    // measureRotation's rings (radius 2 px up to 0.45 side) fit here, not at side 4.
    auto tiny = particle(4);
    RotationMeasure measured{1, 1, 1};
    out = captureStdout([&] { measured = measureRotation(*tiny, *tiny); });
    EXPECT_EQ(measured.found, 0);
    EXPECT_EQ(measured.angle, 0);
    EXPECT_EQ(out, "No rotational correlation peak (no ring fits inside the image): angle 0\n");
    out = captureStdout([&] { measured = measureRotation(*image, *particle(42)); });
    EXPECT_EQ(measured.found, 0);
    EXPECT_EQ(out, "No rotational correlation peak (images of different sizes): angle 0\n");
}

// Blobs (sigma 3 px) at (x, y) offsets from (cx, cy), turned by degrees about that point
// and rendered analytically: the exact turn, with no interpolation by rotate.
std::unique_ptr<Image> blobs(int n, double degrees, double cx, double cy) {
    const double spots[][3] = {{20, 3, 1},    {-9, 25, 0.7}, {-18, -22, 1.2}, {30, -15, 0.5},
                               {5, -35, 0.9}, {-40, 4, 0.6}, {8, 12, 0.8}};
    const double t = degrees * M_PI / 180;
    std::vector<float> values(size_t(n) * n);
    for (int y = 0; y < n; y++)
        for (int x = 0; x < n; x++) {
            double v = 0;
            for (const auto& s : spots) {
                const double dx = x - cx - (s[0] * std::cos(t) - s[1] * std::sin(t));
                const double dy = y - cy - (s[0] * std::sin(t) + s[1] * std::cos(t));
                v += s[2] * std::exp(-(dx * dx + dy * dy) / 18);
            }
            values[size_t(y) * n + x] = float(v);
        }
    return test::imageOf(n, n, values);
}

// The interpolated rings find an exact turn to a few thousandths of a degree (the
// benchmark's pairs: 0.001 degree rms at 128 x 128), about the geometric centre by
// default or about a given centre.
TEST_F(RotationalAlignment, MeasureRotationFindsAnAnalyticTurnToAHundredthOfADegree) {
    auto image = blobs(128, 0, 63.5, 63.5);
    for (double turn : {23.7, -36.15}) {
        const RotationMeasure measured = measureRotation(*image, *blobs(128, turn, 63.5, 63.5));
        EXPECT_EQ(measured.found, 1);
        EXPECT_NEAR(degrees(measured.angle), -turn, 0.02);
    }
    auto offCentre = blobs(128, 0, 70, 60), turned = blobs(128, 12.3, 70, 60);
    EXPECT_NEAR(degrees(measureRotation(*offCentre, *turned, 70, 60).angle), -12.3, 0.02);
    EXPECT_GT(std::fabs(degrees(measureRotation(*offCentre, *turned).angle) + 12.3), 0.05);
}

TEST_F(RotationalAlignment, NonFiniteCurveOrMissingImageGivesZero) {
    auto image = particle(64);
    auto other = particle(64);
    other->getData()[32 * 64 + 45] = NAN;  // on the ring of radius 12
    float angle = 1;
    std::string out = captureStdout([&] { angle = alignRotation(*image, other.get()); });
    EXPECT_EQ(angle, 0);
    EXPECT_NE(out.find("No rotational correlation peak (curve not finite): angle 0\n"), std::string::npos)
        << out;
    out = captureStdout([&] { angle = alignRotation(*image, nullptr); });
    EXPECT_EQ(out, "Need a data set to align with!\n");
    EXPECT_EQ(angle, 0);
}

TEST_F(RotationalAlignment, WriteColumnsWritesTabSeparatedLines) {
    const float x[3] = {-3.14159274f, 0, 0.25f};
    const float y[3] = {1e-7f, 2, 12345678};
    EXPECT_EQ(writeColumns(x, y, 3, "columns.dat"), 1);
    const auto lines = fileLines("columns.dat");
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], "-3.14159\t1e-07");
    EXPECT_EQ(lines[1], "0\t2");
    EXPECT_EQ(lines[2], "0.25\t1.23457e+07");
    EXPECT_EQ(writeColumns(x, y, 3, "no-such-directory/columns.dat"), 0);
}

}  // namespace
}  // namespace tarnview
