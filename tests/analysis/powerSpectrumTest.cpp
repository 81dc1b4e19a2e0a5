// The averaged power spectrum: ring zeros of a simulated contrast transfer function,
// centring and orientation, images of other shapes, and the refusals.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "analysis/powerSpectrum.h"
#include "analysis/testImages.h"
#include "fourier/imageFourier.h"
#include "image/Image.h"
#include "image/messageSink.h"

using namespace tarnview;
using tarnview::test::imageOf;

namespace {

constexpr double pi = 3.14159265358979323846;
// 300 kV, 1.5 um underfocus, Cs 2.7 mm; lengths in angstroms, 1 A pixels.
constexpr double lambda = 0.019687, defocus = 15000, cs = 2.7e7;

double chi(double k) {
    return pi * lambda * defocus * k * k - pi / 2 * cs * lambda * lambda * lambda * k * k * k * k;
}

// The frequency (1/A) of the n-th zero of sin(chi): the smaller root of chi = n pi.
double zeroFrequency(int n) {
    const double a = cs * lambda * lambda * lambda / 2, b = lambda * defocus;
    return std::sqrt((b - std::sqrt(b * b - 4 * a * n)) / (2 * a));
}

// A w x h image of white noise seen through the transfer function sin(chi(k)), made in
// Fourier space and transformed back.
std::unique_ptr<Image> ctfImage(int w, int h) {
    Image spectrum;
    spectrum.resize(w + 2, h, 1);
    spectrum.setFlags(complexFlag | fourierFlag | realImagFlag);
    std::mt19937 generator(7);
    std::normal_distribution<double> normal(0.0, 1.0);
    for (int r = 0; r < h; r++)
        for (int u = 0; u <= w / 2; u++) {
            const double kx = double(u) / w, ky = double(r - h / 2) / h;
            const double transfer = std::sin(chi(std::hypot(kx, ky)));
            float* pair = spectrum.getData() + (int64_t(r) * (w + 2) + 2 * u);
            pair[0] = float(transfer * normal(generator));
            pair[1] = float(transfer * normal(generator));
        }
    return std::unique_ptr<Image>(ift(spectrum, 1));
}

// The mean of the picture over rings of width 1 around the centre pixel, by rounded radius.
std::vector<double> ringMeans(const Image& picture) {
    const int n = picture.getNx(), half = n / 2;
    std::vector<double> sum(size_t(n), 0.0), count(size_t(n), 0.0);
    for (int y = 0; y < n; y++)
        for (int x = 0; x < n; x++) {
            const int r = int(std::lround(std::hypot(x - half, y - half)));
            sum[size_t(r)] += picture.getData()[y * n + x];
            count[size_t(r)] += 1;
        }
    for (int r = 0; r < n; r++) sum[size_t(r)] /= std::max(count[size_t(r)], 1.0);
    return sum;
}

// The minimum of the ring means within 3 pixels of radius, refined by a parabola.
double minimumNear(const std::vector<double>& profile, double radius) {
    int best = int(std::lround(radius));
    for (int r = best - 3; r <= best + 3; r++)
        if (profile[size_t(r)] < profile[size_t(best)]) best = r;
    const double a = profile[size_t(best - 1)], b = profile[size_t(best)], c = profile[size_t(best + 1)];
    return best + 0.5 * (a - c) / (a - 2 * b + c);
}

}  // namespace

TEST(PowerSpectrum, RingZerosOfANonSquareCtfImageLieWithinOnePixelOfTheSimulatedZeros) {
    const std::unique_ptr<Image> image = ctfImage(1260, 1008);
    ASSERT_TRUE(image);
    MessageCapture messages;
    const std::unique_ptr<Image> psd(powerSpectrum(*image, 504));
    ASSERT_TRUE(psd);
    EXPECT_EQ(messages.text(), "");  // 504 is a valid length
    EXPECT_EQ(psd->getNx() * 1000 + psd->getNy(), 504504);
    EXPECT_EQ(psd->getData()[252 * 504 + 252], 0.0f);
    const std::vector<double> profile = ringMeans(*psd);
    for (int n = 1; n <= 6; n++) {
        const double expected = zeroFrequency(n) * 504;
        EXPECT_NEAR(minimumNear(profile, expected), expected, 1.0) << "zero " << n;
    }
}

TEST(PowerSpectrum, AWaveShowsAtItsFrequencyFromTheCentrePixelAndItsMirror) {
    // cos(2 pi (20 x - 7 y) / 120) on a 360 x 240 image with tiles of 120: frequency
    // (20, -7) of the tile, at pixels (60 + 20, 60 - 7) and (60 - 20, 60 + 7).
    const auto image =
        imageOf(360, 240, [](int x, int y) { return 5 + std::cos(2 * pi * (20 * x - 7 * y) / 120.0); });
    const std::unique_ptr<Image> psd(powerSpectrum(*image, 120));
    ASSERT_TRUE(psd);
    ASSERT_EQ(psd->getNx(), 120);
    std::vector<int> peaks;
    const float* d = psd->getData();
    for (int i = 0; i < 120 * 120; i++)
        if (d[i] > psd->getMax() - 0.01f) peaks.push_back(i);
    EXPECT_EQ(peaks, (std::vector<int>{(60 - 7) * 120 + 80, (60 + 7) * 120 + 40}));
}

TEST(PowerSpectrum, TileSidesAndImagesSmallerThanATile) {
    EXPECT_EQ(powerSpectrumTile(512), 504);
    EXPECT_EQ(powerSpectrumTile(1000), 990);
    // 100 x 50 in tiles of 60: one tile across the height, padded with zeros.
    const auto image = imageOf(100, 50, [](int x, int y) { return std::sin(0.3 * x) + std::cos(0.2 * y); });
    MessageCapture messages;
    const std::unique_ptr<Image> psd(powerSpectrum(*image, 60));
    ASSERT_TRUE(psd);
    EXPECT_EQ(psd->getNx(), 60);
    EXPECT_EQ(messages.text(), "");
}

TEST(PowerSpectrum, RefusalsSayWhy) {
    auto image = imageOf(60, 60, [](int x, int y) { return x * y; });
    struct Case {
        int tile;
        double overlap;
        int smooth;
        std::string message;
    };
    const std::vector<Case> cases = {
        {4, 0.5, 3, "Cannot use tiles of 4 pixels: a tile must be 8 to 4096 pixels\n"},
        {36, 0.95, 3,
         "Cannot average tiles with overlap 0.95 and smoothing 3: the overlap must be 0 to 0.9 and the "
         "smoothing 0 "
         "to 50 bins\n"},
    };
    for (const Case& c : cases) {
        MessageCapture messages;
        EXPECT_EQ(powerSpectrum(*image, c.tile, c.overlap, c.smooth), nullptr);
        EXPECT_EQ(messages.text(), c.message);
    }
    MessageCapture messages;
    image->getData()[1000] = std::nanf("");
    EXPECT_EQ(powerSpectrum(*image, 36), nullptr);
    EXPECT_EQ(messages.take(), "The image has samples that are not finite numbers: no power spectrum\n");
    image->getData()[1000] = 1;
    const std::unique_ptr<Image> transform(fft(*image, 0));
    EXPECT_EQ(powerSpectrum(*transform, 32), nullptr);
    EXPECT_EQ(messages.take(), "Cannot make a power spectrum of a complex 62 x 60 image\n");
}
