// Contrast rules: mean +- k sigma, and saturated percentiles against the order statistics
// of the sorted samples.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

#include "image/Image.h"
#include "image/contrastRules.h"
#include "image/messageSink.h"

using namespace tarnview;

namespace {

void setSamples(Image& image, int nx, int ny, const std::vector<float>& values) {
    ASSERT_EQ(image.resize(nx, ny, 1), 1);
    std::copy(values.begin(), values.end(), image.getData());
    image.updateStatistics();
}

}  // namespace

TEST(SigmaGreyLimits, MeanPlusMinusKSigmaOfTheStatistics) {
    // 0 ... 15: mean 7.5, sigma sqrt(21.25).
    std::vector<float> ramp(16);
    for (int i = 0; i < 16; i++) ramp[size_t(i)] = float(i);
    Image image;
    setSamples(image, 4, 4, ramp);
    const auto limits = sigmaGreyLimits(image, 2.5);
    ASSERT_TRUE(limits);
    EXPECT_EQ(limits->low, float(7.5 - 2.5 * std::sqrt(21.25)));
    EXPECT_EQ(limits->high, float(7.5 + 2.5 * std::sqrt(21.25)));
    MessageCapture messages;
    EXPECT_FALSE(sigmaGreyLimits(image, 0));
    EXPECT_FALSE(sigmaGreyLimits(image, INFINITY));
    EXPECT_EQ(messages.take(),
              "Cannot set grey limits at mean +- 0 sigma: the factor must be a positive number\n"
              "Cannot set grey limits at mean +- inf sigma: the factor must be a positive number\n");
}

TEST(PercentileGreyLimits, WithinOneBinOfTheSortedSamplesNaNsLeftOut) {
    // A skewed distribution (exponential plus a narrow peak) with NaNs and infinities.
    std::mt19937 generator(5);
    std::exponential_distribution<float> tail(0.05f);
    std::normal_distribution<float> peak(20.0f, 0.5f);
    std::vector<float> samples(400 * 300);
    for (size_t i = 0; i < samples.size(); i++) samples[i] = i % 3 ? tail(generator) : peak(generator);
    for (size_t i = 7; i < samples.size(); i += 1001) samples[i] = std::nanf("");
    samples[11] = INFINITY;
    samples[12] = -INFINITY;
    Image image;
    {
        MessageCapture quiet;  // the statistics report the NaNs
        setSamples(image, 400, 300, samples);
    }

    std::vector<float> finite;
    for (float v : samples)
        if (std::isfinite(v)) finite.push_back(v);
    std::sort(finite.begin(), finite.end());
    const double bin = (double(finite.back()) - finite.front()) / percentileBins;
    for (double percent : {0.0, 0.1, 1.0, 5.0, 25.0, 49.0}) {
        const auto limits = percentileGreyLimits(image, percent);
        ASSERT_TRUE(limits);
        const size_t k = size_t(percent / 100 * double(finite.size()));
        const double low = finite[std::min(k, finite.size() - 1)];
        const double high = finite[finite.size() - 1 - std::min(k, finite.size() - 1)];
        EXPECT_NEAR(limits->low, low, bin + 1e-6 * std::fabs(low)) << percent;
        EXPECT_NEAR(limits->high, high, bin + 1e-6 * std::fabs(high)) << percent;
    }
}

TEST(PercentileGreyLimits, ConstantImagesAndRefusals) {
    Image image;
    setSamples(image, 3, 2, {4, 4, 4, 4, 4, 4});
    const auto flat = percentileGreyLimits(image, 1);
    ASSERT_TRUE(flat);
    EXPECT_EQ(flat->low, 4.0f);
    EXPECT_EQ(flat->high, 4.0f);
    MessageCapture messages;
    EXPECT_FALSE(percentileGreyLimits(image, 50));
    EXPECT_FALSE(percentileGreyLimits(image, std::nan("")));
    EXPECT_EQ(messages.take(),
              "Cannot saturate 50% of the samples at each end: the percentage must be from 0 to below 50\n"
              "Cannot saturate nan% of the samples at each end: the percentage must be from 0 to below 50\n");
    const float nan = std::nanf("");
    {
        MessageCapture quiet;  // the statistics report the NaNs
        setSamples(image, 3, 2, {nan, nan, nan, nan, nan, nan});
    }
    EXPECT_FALSE(percentileGreyLimits(image, 1));
    EXPECT_EQ(messages.take(),
              "Cannot choose grey limits: the image has no sample that is a finite number\n");
}
