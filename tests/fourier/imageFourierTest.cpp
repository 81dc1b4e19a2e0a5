#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "fourier/imageFourier.h"
#include "fourier/rowFrequency.h"
#include "tests/fourier/referenceDft.h"
#include "tests/support/testSupport.h"

namespace tarnview {
namespace {

using test::Cd;

std::unique_ptr<Image> makeImage(int nx, int ny, const std::vector<float>& samples, int nz = 1) {
    auto image = std::make_unique<Image>();
    EXPECT_EQ(image->resize(nx, ny, nz), 1);
    image->setName("micrograph");
    image->setMag(40.0f);
    image->setDeltaX(6.25f);
    if (samples.empty()) return image;
    std::memcpy(image->getData(), samples.data(), samples.size() * sizeof(float));
    image->updateStatistics();
    return image;
}

std::unique_ptr<Image> randomImage(int nx, int ny, unsigned seed) {
    return makeImage(nx, ny, test::randomSamples(size_t(nx) * ny, seed));
}

std::vector<float> samplesOf(const Image& image) {
    const float* data = image.getData();
    return std::vector<float>(data, data + size_t(image.getNx()) * image.getNy() * image.getNz());
}

struct Size {
    int nx, ny;
};
const Size sizes[] = {{6, 4}, {8, 9}, {20, 18}, {2, 1}, {4, 5}};

TEST(Fft, ConstantImageHasOnlyTheZeroFrequencyInRowTwo) {
    const float v = 2.5f;
    auto image = makeImage(4, 4, std::vector<float>(16, v));
    std::unique_ptr<Image> realImag(fft(*image, 1));
    std::unique_ptr<Image> ampPhase(fft(*image, 0));
    ASSERT_TRUE(realImag && ampPhase);
    ASSERT_EQ(realImag->getNx(), 6);
    for (int i = 0; i < 24; i++) {
        const bool zeroFrequency = i == 2 * 6;  // row 2, pair 0
        EXPECT_NEAR(realImag->getData()[i], zeroFrequency ? 16 * v : 0.0f, 1e-5) << i;
        // Amplitudes only: the phases of coefficients that are zero up to rounding are arbitrary.
        if (i % 2 == 0) {
            EXPECT_NEAR(ampPhase->getData()[i], zeroFrequency ? 16 * v / 4 : 0.0f, 1e-5) << i;
        }
    }
    EXPECT_EQ(ampPhase->getData()[13], 0.0f);  // phase of a positive real coefficient
}

TEST(Fft, EveryCoefficientMatchesTheDirectDftInBothForms) {
    for (Size s : sizes) {
        auto image = randomImage(s.nx, s.ny, unsigned(s.nx * 100 + s.ny));
        const std::vector<Cd> reference = test::directDft2d(image->getData(), s.nx, s.ny, 1);
        double rms = 0;
        for (Cd v : reference) rms += std::norm(v);
        rms = std::sqrt(rms / double(reference.size()));

        std::unique_ptr<Image> realImag(fft(*image, 1));
        std::unique_ptr<Image> ampPhase(fft(*image, 0));
        ASSERT_TRUE(realImag && ampPhase);
        const int width = s.nx + 2;
        for (int r = 0; r < s.ny; r++)
            for (int kx = 0; kx <= s.nx / 2; kx++) {
                const int ky = rowFrequency(r, s.ny);
                const Cd expected = reference[size_t((ky + s.ny) % s.ny) * s.nx + kx];
                const float* pair = realImag->getData() + size_t(r) * width + 2 * kx;
                const float* polar = ampPhase->getData() + size_t(r) * width + 2 * kx;
                std::string where = std::to_string(s.nx) + "x" + std::to_string(s.ny) + " kx " +
                                    std::to_string(kx) + " ky " + std::to_string(ky);
                EXPECT_NEAR(pair[0], expected.real(), 1e-5 * rms) << where;
                EXPECT_NEAR(pair[1], expected.imag(), 1e-5 * rms) << where;
                EXPECT_NEAR(polar[0], std::abs(expected) / s.ny, 1e-5 * rms / s.ny) << where;
                // The amplitude/phase form is the library's hypot and atan2 of the same
                // coefficients, rounded to float.
                EXPECT_EQ(polar[0], float(std::hypot(double(pair[0]), double(pair[1])) / s.ny)) << where;
                EXPECT_EQ(polar[1], float(std::atan2(double(pair[1]), double(pair[0])))) << where;
            }
    }
}

TEST(Fft, ResultCarriesTheSourceMetadataAndFreshStatistics) {
    auto image = randomImage(8, 9, 1);
    const std::vector<float> before = samplesOf(*image);
    for (int keepComplex : {1, 0}) {
        std::unique_ptr<Image> result(fft(*image, keepComplex));
        ASSERT_TRUE(result);
        EXPECT_STREQ(result->getName(), "FFT micrograph");
        EXPECT_EQ(result->getFlags(), keepComplex ? 7 : 3);
        EXPECT_EQ(result->getNx(), 10);
        EXPECT_EQ(result->getNy(), 9);
        EXPECT_EQ(result->getNz(), 1);
        EXPECT_EQ(result->getMag(), 40.0f);
        EXPECT_EQ(result->getDeltaX(), 6.25f);
        float largest = -1e30f;
        for (int i = 0; i < 90; i += 2) largest = std::max(largest, result->getData()[i]);
        EXPECT_EQ(result->getMax(), largest);
    }
    EXPECT_EQ(samplesOf(*image), before);
}

TEST(Fft, RefusesComplexSourcesAndInvalidSizes) {
    auto fourier = std::unique_ptr<Image>(fft(*randomImage(4, 4, 2), 1));
    Image* result = nullptr;
    EXPECT_EQ(test::captureStdout([&] { result = fft(*fourier, 1); }), "Cannot do FFT of FFT\n");
    EXPECT_EQ(result, nullptr);
    // 17 is no transform length; 9 and 15 are, but an odd width cannot be packed in rows.
    for (Size s : {Size{17, 4}, Size{4, 17}, Size{9, 4}, Size{15, 6}, Size{0, 4}}) {
        auto image = randomImage(s.nx, s.ny, 3);
        EXPECT_EQ(test::captureStdout([&] { result = fft(*image, 0); }), "Invalid FFT size!\n")
            << s.nx << "x" << s.ny;
        EXPECT_EQ(result, nullptr);
    }
    Image empty;
    EXPECT_EQ(test::captureStdout([&] { result = fft(empty, 0); }), "Invalid FFT size!\n");
    EXPECT_EQ(result, nullptr);
}

TEST(Fft, TransformsOnlyTheFirstSectionAndZeroesTheOthers) {
    std::vector<float> samples = test::randomSamples(6 * 4 * 2, 4);
    auto twoSections = makeImage(6, 4, samples, 2);
    samples.resize(6 * 4);
    auto oneSection = makeImage(6, 4, samples);
    std::unique_ptr<Image> a(fft(*twoSections, 0));
    std::unique_ptr<Image> b(fft(*oneSection, 0));
    ASSERT_TRUE(a && b);
    EXPECT_EQ(a->getNz(), 2);
    std::vector<float> expected = samplesOf(*b);
    expected.resize(8 * 4 * 2, 0.0f);
    EXPECT_EQ(samplesOf(*a), expected);
}

TEST(Fft, UntitledSourceGivesTitlesWithNa) {
    auto image = randomImage(4, 4, 5);
    image->setName(nullptr);
    std::unique_ptr<Image> forward(fft(*image, 1));
    ASSERT_TRUE(forward);
    EXPECT_STREQ(forward->getName(), "FFT na");
    forward->setName(nullptr);
    std::unique_ptr<Image> inverse(ift(*forward, 1));
    ASSERT_TRUE(inverse);
    EXPECT_STREQ(inverse->getName(), "IFT na");
}

TEST(Ift, InvertsFftInBothForms) {
    for (Size s : sizes) {
        auto image = randomImage(s.nx, s.ny, unsigned(s.nx + s.ny));
        const std::vector<float> original = samplesOf(*image);
        const float pixels = float(s.nx * s.ny);
        std::unique_ptr<Image> polar(fft(*image, 0));
        std::unique_ptr<Image> pairs(fft(*image, 1));
        const std::vector<float> polarBefore = samplesOf(*polar);
        std::unique_ptr<Image> normalised(ift(*polar, 0));
        std::unique_ptr<Image> scaled(ift(*pairs, 1));
        ASSERT_TRUE(normalised && scaled);
        EXPECT_EQ(samplesOf(*polar), polarBefore);
        for (Image* result : {normalised.get(), scaled.get()}) {
            EXPECT_EQ(result->getNx(), s.nx);
            EXPECT_EQ(result->getNy(), s.ny);
            EXPECT_EQ(result->getFlags(), 0);
            EXPECT_STREQ(result->getName(), "IFT FFT micrograph");
            EXPECT_EQ(result->getMag(), 40.0f);
        }
        for (size_t i = 0; i < original.size(); i++) {
            EXPECT_NEAR(normalised->getData()[i], original[i], 2e-6) << s.nx << "x" << s.ny << " " << i;
            EXPECT_NEAR(scaled->getData()[i], pixels * original[i], 2e-6 * pixels)
                << s.nx << "x" << s.ny << " " << i;
        }
    }
}

TEST(Ift, RefusesRealSourcesAndInvalidSizesSilently) {
    auto real = randomImage(4, 4, 6);
    Image* result = nullptr;
    EXPECT_EQ(test::captureStdout([&] { result = ift(*real, 1); }), "Cannot do IFT of real\n");
    EXPECT_EQ(result, nullptr);
    // Real widths 17 (no transform length) and 9 (odd), a height of 17, and widths that
    // leave no real width at all.
    for (Size s : {Size{19, 4}, Size{11, 4}, Size{6, 17}, Size{2, 4}, Size{1, 4}}) {
        auto fourier = randomImage(s.nx, s.ny, 7);
        fourier->setFlags(7);
        EXPECT_EQ(test::captureStdout([&] { result = ift(*fourier, 1); }), "") << s.nx << "x" << s.ny;
        EXPECT_EQ(result, nullptr);
    }
}

TEST(IftInto, GivesTheUnscaledInverseInTheDestination) {
    auto image = randomImage(8, 9, 8);
    std::unique_ptr<Image> pairs(fft(*image, 1));
    std::unique_ptr<Image> expected(ift(*pairs, 1));
    Image destination;
    destination.setFlags(0);
    EXPECT_EQ(iftInto(*pairs, destination), 1);
    EXPECT_EQ(samplesOf(destination), samplesOf(*expected));
    EXPECT_EQ(destination.getNx(), 8);
    EXPECT_EQ(destination.getNy(), 9);
    EXPECT_EQ(destination.getFlags(), 0);
    EXPECT_STREQ(destination.getName(), "IFT FFT micrograph");
    EXPECT_EQ(destination.getMean(), expected->getMean());

    // Into the Fourier image itself: the same samples, and it is a real image afterwards.
    EXPECT_EQ(iftInto(*pairs, *pairs), 1);
    EXPECT_EQ(samplesOf(*pairs), samplesOf(*expected));
    EXPECT_EQ(pairs->getFlags(), 0);
}

TEST(IftInto, LeavesTheDestinationUnchangedWhenRefusing) {
    auto destination = randomImage(6, 4, 9);
    const std::vector<float> before = samplesOf(*destination);
    auto real = randomImage(4, 4, 10);
    int done = 1;
    EXPECT_EQ(test::captureStdout([&] { done = iftInto(*real, *destination); }), "Cannot do IFT of real\n");
    EXPECT_EQ(done, 0);
    auto oddWidth = randomImage(11, 4, 11);
    oddWidth->setFlags(7);
    EXPECT_EQ(test::captureStdout([&] { done = iftInto(*oddWidth, *destination); }), "");
    EXPECT_EQ(done, 0);
    EXPECT_EQ(samplesOf(*destination), before);
    EXPECT_EQ(destination->getNx(), 6);
    EXPECT_STREQ(destination->getName(), "micrograph");
}

}  // namespace
}  // namespace tarnview
