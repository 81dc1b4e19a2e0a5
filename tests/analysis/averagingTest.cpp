#include <gtest/gtest.h>

#include <memory>

#include "analysis/averaging.h"
#include "fourier/imageFourier.h"
#include "tests/analysis/analysisTestImages.h"
#include "tests/support/testSupport.h"

namespace tarnview {
namespace {

using test::captureStdout;
using test::noiseImage;
using test::valuesOf;

// A list of the images (owned by the caller).
struct List {
    ImageList list;
    explicit List(std::initializer_list<Image*> images) {
        for (Image* image : images) append(&list, image);
    }
    const ImageList* get() const { return &list; }
};

TEST(Average, TwoIdenticalImagesGiveTheImageNamedAsAnAverage) {
    auto a = noiseImage(8, 6, 1), b = noiseImage(8, 6, 1);
    Image receiver;
    receiver.setFlags(realImagFlag | fourierFlag);
    ASSERT_EQ(average(receiver, List({a.get(), b.get()}).get(), 0), 1);
    EXPECT_EQ(valuesOf(receiver), valuesOf(*a));
    EXPECT_STREQ(receiver.getName(), "Avg of 2, frame");
    EXPECT_EQ(receiver.getFlags(), realImagFlag | fourierFlag);  // only bit 0 is set or cleared
}

// The first image has three sections and the receiver is in the list.
TEST(Average, MeanOfFirstSectionsMayIncludeTheReceiver) {
    auto a = noiseImage(5, 7, 2, 3), b = noiseImage(5, 7, 3), c = noiseImage(5, 7, 4);
    const std::vector<float> va = valuesOf(*a), vb = valuesOf(*b), vc = valuesOf(*c);
    ASSERT_EQ(average(*b, List({a.get(), b.get(), c.get()}).get(), 0), 1);
    EXPECT_EQ(b->getNz(), 1);
    for (size_t i = 0; i < vb.size(); i++)
        EXPECT_NEAR(b->getData()[i], (va[i] + vb[i] + vc[i]) / 3, 1e-5) << i;
}

TEST(Average, OtherMethodsCopyTheFirstImage) {
    auto a = noiseImage(6, 6, 7), b = noiseImage(6, 6, 8);
    Image five, two;
    ASSERT_EQ(average(five, List({a.get(), b.get()}).get(), 5), 1);
    EXPECT_EQ(valuesOf(five), valuesOf(*a));
    EXPECT_STREQ(five.getName(), "Avg of 2, frame");
    EXPECT_EQ(captureStdout([&] {
                  EXPECT_EQ(average(two, List({a.get(), b.get()}).get(), 2), 1);
              }),
              "Unimplimented\n");
    EXPECT_EQ(valuesOf(two), valuesOf(*a));
}

// Too short a list, a null item, a size that differs at the end of the list, method 1 on
// real images, an odd height for the transforms: the receiver stays as it was.
TEST(Average, FailuresLeaveTheReceiverUnchanged) {
    auto a = noiseImage(6, 4, 9), b = noiseImage(6, 4, 10), odd = noiseImage(6, 5, 11);
    auto receiver = noiseImage(3, 3, 12);
    const std::vector<float> before = valuesOf(*receiver);
    EXPECT_EQ(average(*receiver, nullptr, 0), 0);
    EXPECT_EQ(average(*receiver, List({a.get()}).get(), 0), 0);
    EXPECT_EQ(average(*receiver, List({a.get(), nullptr}).get(), 0), 0);
    EXPECT_EQ(average(*receiver, List({a.get(), b.get(), odd.get()}).get(), 0), 0);
    EXPECT_EQ(average(*receiver, List({a.get(), b.get()}).get(), 1), 0);
    EXPECT_EQ(averageTransforms(*receiver, List({a.get(), b.get(), odd.get()}).get()), 0);
    EXPECT_EQ(averageTransforms(*receiver, List({odd.get(), odd.get()}).get()), 0);
    EXPECT_EQ(valuesOf(*receiver), before);
    EXPECT_STREQ(receiver->getName(), "frame");
}

// b = -a: each coefficient of b has a's amplitude and its phase turned by pi. The complex
// mean cancels them; averageTransforms keeps the amplitude and averages the phases.
TEST(Average, OppositePhasesCancelInTheComplexMeanOnly) {
    auto a = noiseImage(8, 8, 13), b = noiseImage(8, 8, 13);
    for (int i = 0; i < 64; i++) b->getData()[i] = -b->getData()[i];
    b->updateStatistics();
    std::unique_ptr<Image> fa(fft(*a, 0)), fb(fft(*b, 0));
    Image complexMean, transformMean;
    ASSERT_EQ(average(complexMean, List({fa.get(), fb.get()}).get(), 1), 1);
    ASSERT_EQ(averageTransforms(transformMean, List({a.get(), b.get()}).get()), 1);
    EXPECT_EQ(complexMean.getFlags() & complexFlag, complexFlag);
    EXPECT_EQ(transformMean.getFlags() & complexFlag, complexFlag);
    ASSERT_EQ(transformMean.getNx(), 10);
    for (int i = 0; i < 80; i += 2) {
        EXPECT_NEAR(complexMean.getData()[i], 0.0f, 1e-4) << i;
        EXPECT_NEAR(transformMean.getData()[i], fa->getData()[i], 1e-5) << i;
        EXPECT_NEAR(transformMean.getData()[i + 1], (fa->getData()[i + 1] + fb->getData()[i + 1]) / 2, 1e-6)
            << i;
    }
}

}  // namespace
}  // namespace tarnview
