// Image statistics and default grey limits, against values worked out by hand.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "image/GreyLimits.h"
#include "image/Image.h"
#include "support/testSupport.h"

using namespace tarnview;

namespace {

void setSamples(Image& image, int nx, int ny, const std::vector<float>& values) {
    ASSERT_EQ(image.resize(nx, ny, 1), 1);
    ASSERT_EQ(values.size(), size_t(nx) * ny);
    for (size_t i = 0; i < values.size(); i++) image.getData()[i] = values[i];
}

std::vector<float> ramp(int n) {
    std::vector<float> v(n);
    for (int i = 0; i < n; i++) v[i] = float(i);
    return v;
}

}  // namespace

TEST(UpdateStatistics, RampOfSixteenSamples) {
    Image image;
    setSamples(image, 4, 4, ramp(16));
    image.updateStatistics();
    EXPECT_DOUBLE_EQ(image.getMeanDouble(), 7.5);
    EXPECT_NEAR(image.getSigmaDouble(), std::sqrt(21.25), 1e-12);
    // 12 border samples, corners counted twice: 120 / 16.
    EXPECT_DOUBLE_EQ(image.getEdgeMean(), 7.5);
    EXPECT_NEAR(image.getEdgeSigma(), std::sqrt(21.25), 1e-12);
    EXPECT_EQ(image.getMin(), 0.0f);
    EXPECT_EQ(image.getMax(), 15.0f);
    // 3 sigma (13.8) exceeds both distances from the mean: the range is not clipped.
    EXPECT_EQ(image.getHistMin(), 0.0f);
    EXPECT_EQ(image.getHistMax(), 15.0f);
    // Sample 0 falls wholly into bin 0; each sample weighs 100 / 16 percent.
    EXPECT_FLOAT_EQ(image.getHistogram()[0], 6.25f);
    float total = 0;
    for (int j = 0; j < 256; j++) total += image.getHistogram()[j];
    // Sample 15 = histMax puts 0.999 of its weight into the spill cell.
    EXPECT_NEAR(total, 100.0f - 6.25f * 0.999f, 1e-3);
}

TEST(UpdateStatistics, ZerosGiveATinyRangeAndBlackLimits) {
    Image image;
    setSamples(image, 8, 8, std::vector<float>(64, 0.0f));
    image.updateStatistics();
    EXPECT_EQ(image.getMeanDouble(), 0.0);
    EXPECT_EQ(image.getSigmaDouble(), 0.0);
    EXPECT_EQ(image.getMin(), 0.0f);
    EXPECT_EQ(image.getMax(), 0.0001f);
    EXPECT_EQ(image.getHistMin(), 0.0f);
    EXPECT_EQ(image.getHistMax(), 0.0001f);
    EXPECT_FLOAT_EQ(image.getHistogram()[0], 100.0f);
    EXPECT_FLOAT_EQ(image.getGreyLow(), 0.0001f * 2 / 256);
    EXPECT_FLOAT_EQ(image.getGreyHigh(), 0.0001f * 3 / 256);
}

TEST(UpdateStatistics, SignedZeroExtremesAreTheFirstZeroVisitedFromTheEnd) {
    // Samples are visited from the last to the first; among equal extremes the first one
    // visited stays, which decides the sign of a zero extreme.
    Image image;
    setSamples(image, 4, 1, {-1.0f, 0.0f, -0.0f, -2.0f});
    image.updateStatistics();
    EXPECT_EQ(image.getMax(), 0.0f);
    EXPECT_TRUE(std::signbit(image.getMax()));
    setSamples(image, 4, 1, {0.0f, -0.0f, 3.0f, 4.0f});
    image.updateStatistics();
    EXPECT_TRUE(std::signbit(image.getMin()));
    setSamples(image, 5, 1, {-0.0f, 0.0f, -3.0f, -4.0f, -5.0f});
    image.updateStatistics();
    EXPECT_FALSE(std::signbit(image.getMax()));
}

TEST(UpdateStatistics, ComplexImagesCountTheFirstFloatOfEachPairButEveryBorderFloat) {
    Image image;
    // Two rows of two (value, 100) pairs: the counted samples are 1, 3, 5, 7.
    setSamples(image, 4, 2, {1, 100, 3, 100, 5, 100, 7, 100});
    image.setFlags(complexFlag);
    image.updateStatistics();
    EXPECT_DOUBLE_EQ(image.getMeanDouble(), 4.0);
    EXPECT_NEAR(image.getSigmaDouble(), std::sqrt(5.0), 1e-12);
    EXPECT_EQ(image.getMin(), 1.0f);
    EXPECT_EQ(image.getMax(), 7.0f);
    // Rows: all 8 floats twice over (first and last row) = 416; columns: 101 + 105.
    EXPECT_NEAR(image.getEdgeMean(), 622.0 / 12.0, 1e-12);
    // One histogram pass with stride 2 visits the four counted samples: 25 % each.
    EXPECT_FLOAT_EQ(image.getHistogram()[0], 25.0f);
}

TEST(UpdateStatistics, NaNSamplePrintsTheReportAndResetsMeanAndSigma) {
    Image image;
    const float nan = std::numeric_limits<float>::quiet_NaN();
    setSamples(image, 2, 2, {1, nan, 3, 4});
    std::string out = test::captureStdout([&] { image.updateStatistics(); });
    // The sign printf gives a NaN depends on how it arose: compare without it.
    for (size_t at; (at = out.find("-nan")) != std::string::npos;) out.erase(at, 1);
    EXPECT_EQ(out,
              "ERROR - Bad statistics on this data set!\n"
              "mean=nan sigma=nan edgemean=nan edgesigma=nan  nan nan\n"
              "1.000000 4.000000 3.000000 nan\n");
    EXPECT_EQ(image.getMeanDouble(), 0.0);
    EXPECT_EQ(image.getSigmaDouble(), 1.0);
    EXPECT_EQ(image.getEdgeMean(), 0.0);
    EXPECT_EQ(image.getEdgeSigma(), 1.0);
    EXPECT_EQ(image.getMin(), 1.0f);  // NaN changes neither extreme
    EXPECT_EQ(image.getMax(), 4.0f);
    EXPECT_EQ(image.getHistMin(), 1.0f);
    EXPECT_EQ(image.getHistMax(), 3.0f);  // clipped to mean + 3 sigma = 3
}

TEST(UpdateStatistics, ImagesWithoutSamplesReportZerosAndFallBackToUnitLimits) {
    for (int shape = 0; shape < 3; shape++) {
        Image image;
        if (shape == 1) {
            ASSERT_EQ(image.resize(5, 0, 1), 1);
        } else if (shape == 2) {
            ASSERT_EQ(image.resize(3, 4, 0), 1);
        }
        const std::string out = test::captureStdout([&] { image.updateStatistics(); });
        EXPECT_NE(out.find("ERROR - Bad statistics on this data set!\n"), std::string::npos);
        EXPECT_NE(out.find("\n0.000000 0.000000 0.000000 0.000000\n"), std::string::npos) << out;
        EXPECT_EQ(image.getGreyLow(), -1.0f);
        EXPECT_EQ(image.getGreyHigh(), 1.0f);
    }
}

TEST(UpdateStatistics, InfiniteAndHugeConstantSamplesStayDefined) {
    // +inf makes the sums NaN; a constant of 4096 loses the 0.0001 widening to rounding,
    // so the histogram scale is infinite. Neither may convert NaN or inf to an integer.
    Image withInfinity;
    setSamples(withInfinity, 2, 2, {1, std::numeric_limits<float>::infinity(), 3, 4});
    test::captureStdout([&] { withInfinity.updateStatistics(); });
    EXPECT_EQ(withInfinity.getMeanDouble(), 0.0);

    Image constant;
    setSamples(constant, 3, 3, std::vector<float>(9, 4096.0f));
    constant.updateStatistics();
    EXPECT_EQ(constant.getHistMax(), 4096.0f);
    for (int j = 0; j < 256; j++) EXPECT_EQ(constant.getHistogram()[j], 0.0f);
    EXPECT_FALSE(std::isnan(constant.getGreyLow()));
}

TEST(UpdateStatistics, LimitsChosenOncePersistAcrossUpdates) {
    Image image;
    setSamples(image, 4, 4, ramp(16));
    image.updateStatistics();
    const float low = image.getGreyLow(), high = image.getGreyHigh();
    for (int i = 0; i < 16; i++) image.getData()[i] = 1000.0f + float(i) * 10;
    image.updateStatistics();
    EXPECT_DOUBLE_EQ(image.getMeanDouble(), 1075.0);
    EXPECT_EQ(image.getGreyLow(), low);
    EXPECT_EQ(image.getGreyHigh(), high);
}

TEST(UpdateStatistics, UpperClipFraction) {
    Image image;
    std::vector<float> values(100, 0.0f);
    values[0] = 100.0f;  // one outlier: mean 1, sigma sqrt(99), histMax clipped
    setSamples(image, 10, 10, values);
    image.updateStatistics();
    const double expected = (1.0 + 3 * std::sqrt(99.0) - 1.0) / (100.0 - 1.0);
    EXPECT_NEAR(image.getUpperClipFraction(), expected, 1e-6);
}

TEST(ComputeHistogram, SampleAtTheTopGoesMostlyToTheSpillCell) {
    Image image;
    setSamples(image, 1, 1, {1.0f});
    image.computeHistogram(0.0f, 1.0f);
    // x = 255.999: bin 255 keeps about 0.001 of the sample, in percent of one sample.
    EXPECT_NEAR(image.getHistogram()[255], 0.1f, 1e-3);
    EXPECT_NEAR(image.getHistogram()[256], 0.999f, 1e-4);
}

TEST(ComputeHistogram, SamplesOutsideTheRangeCountOnlyInTheDenominator) {
    Image image;
    setSamples(image, 2, 1, {0.5f, 5.0f});
    image.computeHistogram(0.0f, 1.0f);
    float total = 0;
    for (int j = 0; j < 256; j++) total += image.getHistogram()[j];
    EXPECT_NEAR(total, 50.0f, 1e-4);
}

TEST(ComputeHistogram, StridesSwitchAboveTwoHundredNinetyNineThousandNineHundredNinetyNine) {
    // Samples with index = n (mod 11) are 1, the others 0. Visiting every sample finds
    // the ones in 1/11 of the visits; strides 11 and 17 (from n - s down) find them in
    // every stride-11 visit and in every 11th stride-17 visit.
    for (int n : {299999, 300000}) {
        Image image;
        ASSERT_EQ(image.resize(n, 1, 1), 1);
        int64_t ones = 0;
        for (int i = 0; i < n; i++) {
            image.getData()[i] = (i % 11 == n % 11) ? 1.0f : 0.0f;
            ones += image.getData()[i] == 1.0f;
        }
        image.computeHistogram(-0.5f, 1.5f);
        // 1.0 lands at x = 191.99925, split between bins 191 and 192.
        const double found = double(image.getHistogram()[191]) + image.getHistogram()[192];
        double expected;
        if (n == 299999) {
            expected = 100.0 * double(ones) / n;
        } else {
            const int64_t visits11 = n / 11, visits17 = n / 17;
            expected = 100.0 * double(visits11 + visits17 / 11) / (n / 11.0 + n / 17.0);
        }
        // The bins are floats gathering tens of thousands of weights: allow their rounding.
        EXPECT_NEAR(found, expected, expected * 1e-3) << n;
    }
}

TEST(ComputeHistogram, ComplexImagesTakeTheStridesOneEntryEarlierDoubled) {
    // 400000 floats = 200000 pairs: strides 7 and 11 doubled, 14 and 22, from n - s down.
    // The ones sit at the indices 6 (mod 14) = n - 14k: every stride-14 visit finds one,
    // and every 7th stride-22 visit (n - 22k is 6 - 8k (mod 14), 6 for k = 0 (mod 7)).
    // Strides 7 and 11 would find them in half of the first pass; 22 and 34 in a seventh.
    Image image;
    const int n = 400000;
    ASSERT_EQ(image.resize(n, 1, 1), 1);
    for (int i = 0; i < n; i++) image.getData()[i] = i % 14 == 6 ? 1.0f : 0.0f;
    image.setFlags(complexFlag);
    image.computeHistogram(-0.5f, 1.5f);
    const double found = double(image.getHistogram()[191]) + image.getHistogram()[192];
    const double expected = 100.0 * double(n / 14 + n / 22 / 7) / (n / 14.0 + n / 22.0);
    EXPECT_NEAR(found, expected, expected * 1e-3);
}

TEST(UpdateStatistics, ExtremesWithinThreeSigmaAreNotClipped) {
    // Seven zeros and a one: mean 1/8, sigma sqrt(7)/8, so the one lies 2.65 sigma above
    // the mean: between 2 and 3 sigma, where the range keeps it. The same mirrored.
    Image image;
    setSamples(image, 8, 1, {0, 0, 0, 0, 1, 0, 0, 0});
    image.updateStatistics();
    EXPECT_EQ(image.getHistMax(), 1.0f);
    EXPECT_EQ(image.getHistMin(), 0.0f);
    setSamples(image, 8, 1, {1, 1, 1, 0, 1, 1, 1, 1});
    image.updateStatistics();
    EXPECT_EQ(image.getHistMin(), 0.0f);
    EXPECT_EQ(image.getHistMax(), 1.0f);
}

TEST(ComputeHistogram, ComplexImagesDoubleTheStrides) {
    // 400000 floats = 200000 pairs: strides 14 and 22 over the float indices.
    Image image;
    const int n = 400000;
    ASSERT_EQ(image.resize(n, 1, 1), 1);
    for (int i = 0; i < n; i++) image.getData()[i] = 0.0f;
    image.setFlags(complexFlag);
    image.computeHistogram(-0.5f, 1.5f);
    const double total = n / 14.0 + n / 22.0;
    const double visited = double(n / 14 + n / 22);
    EXPECT_NEAR(double(image.getHistogram()[63]) + image.getHistogram()[64], 100.0 * visited / total, 0.1);
}

namespace {

GreyLimits limitsOf(const std::vector<std::pair<int, float>>& filled, float minSample = 0.0f,
                    float histMin = 0.0f, float histMax = 256.0f) {
    float bins[256] = {};
    for (auto [j, v] : filled) bins[j] = v;
    return defaultGreyLimits(bins, minSample, histMin, histMax);
}

}  // namespace

TEST(DefaultGreyLimits, MainPeakInBinOneMovesToTwo) {
    // P = 1 becomes 2; T = (bin 0 + bin 4) / 20 = 1.5; bins 3..5 exceed it, so k = 6;
    // downwards bins 2 and 1 exceed it, so d = 0.
    const GreyLimits g = limitsOf({{0, 20}, {1, 100}, {2, 60}, {3, 30}, {4, 10}, {5, 5}});
    EXPECT_EQ(g.low, 0.0f);
    EXPECT_EQ(g.high, 6.0f);
}

TEST(DefaultGreyLimits, LaterPeakAtLeastAQuarterHighWins) {
    // Main peak at 10 falls below a tenth at 12; bins 100 and 102 both exceed 25, and the
    // highest bin from 100 on is 101. T = (bin 99 + bin 103) / 20 = 1.5: k = 105, d = 99.
    const GreyLimits g = limitsOf(
        {{9, 50}, {10, 100}, {11, 50}, {12, 5}, {100, 30}, {101, 40}, {102, 35}, {103, 30}, {104, 2}}, -5.0f);
    EXPECT_EQ(g.low, 99.0f);
    EXPECT_EQ(g.high, 105.0f);
}

TEST(DefaultGreyLimits, OfTwoEqualHighestBinsTheFirstIsTheMainPeak) {
    // Peaks at 10 and 50 of the same height; neither has a neighbour two bins away, so
    // there is no later peak: T = 0, k = 11, d = 9 around bin 10.
    const GreyLimits g = limitsOf({{10, 100}, {50, 100}});
    EXPECT_EQ(g.low, 9.0f);
    EXPECT_EQ(g.high, 11.0f);
}

TEST(DefaultGreyLimits, RangeMapsBinNumbersOntoSampleValues) {
    // A single-bin peak at 50 over the range [-1, 3]: T = 0, k = 51, d = 49.
    const GreyLimits g = limitsOf({{50, 100}}, 0.0f, -1.0f, 3.0f);
    EXPECT_FLOAT_EQ(g.low, -1.0f + 4.0f * 49 / 256);
    EXPECT_FLOAT_EQ(g.high, -1.0f + 4.0f * 51 / 256);
}

TEST(DefaultGreyLimits, NaNOrHugeLimitsFallBackToUnit) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    GreyLimits g = limitsOf({{50, 100}}, 0.0f, nan, 1.0f);
    EXPECT_EQ(g.low, -1.0f);
    EXPECT_EQ(g.high, 1.0f);
    g = limitsOf({{50, 100}}, 0.0f, 0.0f, 1e12f);
    EXPECT_EQ(g.low, -1.0f);
    EXPECT_EQ(g.high, 1.0f);
    float allNaN[256];
    for (float& b : allNaN) b = nan;
    g = defaultGreyLimits(allNaN, 1e20f, 1e20f, -1e20f);
    EXPECT_EQ(g.low, -1.0f);
    EXPECT_EQ(g.high, 1.0f);
}
