#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <random>
#include <vector>

#include "analysis/averaging.h"
#include "fourier/imageFourier.h"
#include "tests/support/testSupport.h"

namespace tarnview {
namespace {

using test::captureStdout;

std::unique_ptr<Image> randomImage(int nx, int ny, unsigned seed, int nz = 1) {
    auto image = std::make_unique<Image>();
    image->resize(nx, ny, nz);
    std::mt19937 generator(seed);
    std::uniform_real_distribution<float> value(-4.0f, 4.0f);
    for (int64_t i = 0; i < int64_t(nx) * ny * nz; i++) image->getData()[i] = value(generator);
    image->setName("frame");
    image->updateStatistics();
    return image;
}

// A list of the images (owned by the caller), destroyed with the test.
struct List {
    std::unique_ptr<ImageList> list = std::make_unique<ImageList>();
    explicit List(std::initializer_list<Image*> images) {
        for (Image* image : images) append(list.get(), image);
    }
    const ImageList* get() const { return list.get(); }
};

std::vector<float> valuesOf(const Image& image) {
    return std::vector<float>(image.getData(),
                              image.getData() + int64_t(image.getNx()) * image.getNy() * image.getNz());
}

TEST(Average, TwoIdenticalImagesGiveTheImageNamedAsAnAverage) {
    auto a = randomImage(8, 6, 1), b = randomImage(8, 6, 1);
    Image receiver;
    receiver.setFlags(realImagFlag | fourierFlag);
    ASSERT_EQ(average(receiver, List({a.get(), b.get()}).get(), 0), 1);
    EXPECT_EQ(valuesOf(receiver), valuesOf(*a));
    EXPECT_STREQ(receiver.getName(), "Avg of 2, frame");
    EXPECT_EQ(receiver.getFlags(), realImagFlag | fourierFlag);  // bit 0 stays clear
    EXPECT_FLOAT_EQ(receiver.getMean(), a->getMean());
}

TEST(Average, MeanOfThreeImagesMayIncludeTheReceiver) {
    auto a = randomImage(5, 7, 2), b = randomImage(5, 7, 3), c = randomImage(5, 7, 4);
    const std::vector<float> va = valuesOf(*a), vb = valuesOf(*b), vc = valuesOf(*c);
    ASSERT_EQ(average(*b, List({a.get(), b.get(), c.get()}).get(), 0), 1);
    for (size_t i = 0; i < va.size(); i++)
        EXPECT_NEAR(b->getData()[i], (va[i] + vb[i] + vc[i]) / 3, 1e-6) << i;
}

TEST(Average, ThreeDimensionalFirstImageGivesTheAverageOfFirstSections) {
    auto a = randomImage(4, 4, 5, 3), b = randomImage(4, 4, 6);
    Image receiver;
    ASSERT_EQ(average(receiver, List({a.get(), b.get()}).get(), 0), 1);
    EXPECT_EQ(receiver.getNz(), 1);
    for (int i = 0; i < 16; i++)
        EXPECT_FLOAT_EQ(receiver.getData()[i], (a->getData()[i] + b->getData()[i]) / 2) << i;
}

TEST(Average, OtherMethodsCopyTheFirstImage) {
    auto a = randomImage(6, 6, 7), b = randomImage(6, 6, 8);
    Image five, two;
    ASSERT_EQ(average(five, List({a.get(), b.get()}).get(), 5), 1);
    EXPECT_EQ(valuesOf(five), valuesOf(*a));
    EXPECT_STREQ(five.getName(), "Avg of 2, frame");
    int result = 0;
    EXPECT_EQ(captureStdout([&] {
                  result = average(two, List({a.get(), b.get()}).get(), 2);
              }),
              "Unimplimented\n");
    EXPECT_EQ(result, 1);
    EXPECT_EQ(valuesOf(two), valuesOf(*a));
}

// Failures leave the receiver as it was: too short a list, a null item, a size that
// differs at the end of the list, method 1 on real images.
TEST(Average, FailuresLeaveTheReceiverUnchanged) {
    auto a = randomImage(6, 4, 9), b = randomImage(6, 4, 10), odd = randomImage(6, 5, 11);
    auto receiver = randomImage(3, 3, 12);
    receiver->setName("kept");
    const std::vector<float> before = valuesOf(*receiver);
    EXPECT_EQ(average(*receiver, nullptr, 0), 0);
    EXPECT_EQ(average(*receiver, List({a.get()}).get(), 0), 0);
    EXPECT_EQ(average(*receiver, List({a.get(), nullptr}).get(), 0), 0);
    EXPECT_EQ(average(*receiver, List({a.get(), b.get(), odd.get()}).get(), 0), 0);
    EXPECT_EQ(average(*receiver, List({a.get(), b.get()}).get(), 1), 0);
    EXPECT_EQ(averageTransforms(*receiver, List({a.get(), b.get(), odd.get()}).get()), 0);
    EXPECT_EQ(averageTransforms(*receiver, List({odd.get(), odd.get()}).get()), 0);  // height 5 is odd
    EXPECT_EQ(valuesOf(*receiver), before);
    EXPECT_EQ(receiver->getNx(), 3);
    EXPECT_STREQ(receiver->getName(), "kept");
}

// b = -a: every coefficient of b has a's amplitude and a phase turned by pi. The complex
// mean cancels them; averageTransforms keeps the amplitude.
TEST(Average, OppositePhasesCancelInTheComplexMeanOnly) {
    auto a = randomImage(8, 8, 13), b = randomImage(8, 8, 13);
    for (int i = 0; i < 64; i++) b->getData()[i] = -b->getData()[i];
    b->updateStatistics();
    std::unique_ptr<Image> fa(fft(*a, 0)), fb(fft(*b, 0));
    Image complexMean, transformMean;
    ASSERT_EQ(average(complexMean, List({fa.get(), fb.get()}).get(), 1), 1);
    ASSERT_EQ(averageTransforms(transformMean, List({a.get(), b.get()}).get()), 1);
    EXPECT_EQ(complexMean.getFlags() & complexFlag, complexFlag);
    EXPECT_EQ(transformMean.getFlags() & complexFlag, complexFlag);
    EXPECT_STREQ(transformMean.getName(), "Avg of 2, frame");
    ASSERT_EQ(transformMean.getNx(), 10);
    for (int i = 0; i < 80; i += 2) {
        EXPECT_NEAR(complexMean.getData()[i], 0.0f, 1e-5) << i;
        EXPECT_NEAR(transformMean.getData()[i], fa->getData()[i], 1e-5) << i;
        const float meanPhase = (fa->getData()[i + 1] + fb->getData()[i + 1]) / 2;
        EXPECT_NEAR(transformMean.getData()[i + 1], meanPhase, 1e-5) << i;
    }
}

// Two transforms with the same phases: the complex mean is the mean amplitude.
TEST(Average, ComplexMeanOfEqualPhasesAveragesTheAmplitudes) {
    auto a = randomImage(8, 6, 14), b = randomImage(8, 6, 14);
    for (int i = 0; i < 48; i++) b->getData()[i] *= 3.0f;
    b->updateStatistics();
    std::unique_ptr<Image> fa(fft(*a, 0)), fb(fft(*b, 0));
    Image receiver;
    ASSERT_EQ(average(receiver, List({fa.get(), fb.get()}).get(), 1), 1);
    for (int i = 0; i < 60; i += 2) EXPECT_NEAR(receiver.getData()[i], 2 * fa->getData()[i], 1e-4) << i;
}

}  // namespace
}  // namespace tarnview
