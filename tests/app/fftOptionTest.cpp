// The converter's -fft option end to end: square check, padding to an even valid
// length, the spectrum's size, report and peaks.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "app/fftOption.h"
#include "fourier/imageFourier.h"
#include "fourier/noisePadding.h"
#include "fourier/random.h"
#include "support/testFiles.h"
#include "support/testSupport.h"

using namespace tarnview::test;

namespace {

// An n x m float MRC of smooth values with a little structure.
std::string squareMrc(int nx, int ny, const std::string& name) {
    std::vector<double> v(size_t(nx) * ny);
    for (int y = 0; y < ny; y++)
        for (int x = 0; x < nx; x++)
            v[size_t(y) * nx + x] = 100 + 10 * std::sin(0.3 * x) * std::cos(0.17 * y) + (x * 7 + y * 13) % 5;
    const std::string path = scratchPath(name);
    writeBytes(path, mrcFile(nx, ny, 1, 2, false, v));
    return path;
}

std::string paddingMessages(int s) {
    return "The image was not a valid size for the FFT routine.\nThe next valid size is " +
           std::to_string(s) + "x" + std::to_string(s) +
           ".\nI have padded the image with noise to continue processing.\n";
}

std::string pgmHeaderOf(const std::vector<uint8_t>& pgm) {
    size_t lines = 0, i = 0;
    while (i < pgm.size() && lines < 3)
        if (pgm[i++] == '\n') lines++;
    return std::string(pgm.begin(), pgm.begin() + long(i));
}

}  // namespace

TEST(FftOption, SidesArePaddedToTheNextEvenValidLength) {
    struct Case {
        int side, padded;
    };
    for (Case c : {Case{500, 504}, Case{999, 1008}, Case{105, 110}, Case{512, 520}}) {
        const std::string in = squareMrc(c.side, c.side, "side" + std::to_string(c.side) + ".mrc");
        const std::string out = in + ".pgm";
        const RunResult r = runTarnview({"-mrc", "-fft", in, out});
        EXPECT_EQ(r.out, paddingMessages(c.padded)) << c.side;
        EXPECT_EQ(r.status, 0);
        const std::vector<uint8_t> pgm = readBytes(out);
        const std::string header =
            "P5\n" + std::to_string(c.padded + 2) + " " + std::to_string(c.padded) + "\n255\n";
        EXPECT_EQ(pgmHeaderOf(pgm), header);
        EXPECT_EQ(pgm.size(), header.size() + size_t(c.padded + 2) * c.padded);
    }
}

TEST(FftOption, ValidSideIsTransformedAsItIs) {
    const std::string in = squareMrc(720, 720, "side720.mrc"), out = in + ".pgm";
    const RunResult r = runTarnview({"-mrc", "-fft", "-v", in, out});
    EXPECT_EQ(r.status, 0);
    // The report describes the spectrum: 722 floats per row.
    EXPECT_EQ(r.out.substr(0, 25), "\nThis image is 722 x 720\n");
    EXPECT_EQ(pgmHeaderOf(readBytes(out)), "P5\n722 720\n255\n");
}

TEST(FftOption, MostCommonMicrographSizeIsPaddedTo2184) {
    const std::string in = squareMrc(2048, 2048, "side2048.mrc"), out = in + ".pgm";
    const RunResult r = runTarnview({"-mrc", "-fft", in, out});
    EXPECT_EQ(r.out, paddingMessages(2184));
    EXPECT_EQ(r.status, 0);
    const std::vector<uint8_t> pgm = readBytes(out);
    EXPECT_EQ(pgmHeaderOf(pgm), "P5\n2186 2184\n255\n");
    EXPECT_EQ(pgm.size(), std::string("P5\n2186 2184\n255\n").size() + size_t(2186) * 2184);
}

TEST(FftOption, NonSquareImagesAreRefusedWithStatusZero) {
    const std::string in = squareMrc(512, 256, "wide.mrc"), out = scratchPath("wide.pgm");
    const RunResult r = runTarnview({"-mrc", "-fft", in, out});
    EXPECT_EQ(r.out, "Sorry, I can only do FFTs of square images.\n");
    EXPECT_EQ(r.status, 0);
    EXPECT_FALSE(fileExists(out));
}

TEST(FftOption, GratingPeaksLandWhereTheirFrequenciesAre) {
    // cos(2 pi (kx x + ky y) / N) has its coefficients at +-(kx, ky). The view puts
    // frequency u at column N/2 + u, and row frequency w at PGM row N/2 - w.
    const int n = 72, kx = 8, ky = 5;
    std::vector<double> v(size_t(n) * n);
    for (int y = 0; y < n; y++)
        for (int x = 0; x < n; x++)
            v[size_t(y) * n + x] = 50 + 20 * std::cos(2 * M_PI * (kx * x + ky * y) / n);
    const std::string in = scratchPath("grating.mrc"), out = in + ".pgm";
    writeBytes(in, mrcFile(n, n, 1, 2, true, v));
    const RunResult r = runTarnview({"-mrc", "-fft", in, out});
    EXPECT_EQ(r.out, "");
    ASSERT_EQ(r.status, 0);
    const std::vector<uint8_t> pgm = readBytes(out);
    const size_t body = pgmHeaderOf(pgm).size();
    const int w = n + 2;
    auto pixel = [&](int row, int col) { return int(pgm[body + size_t(row) * w + col]); };
    EXPECT_EQ(pixel(n / 2 - ky, n / 2 + kx), 255);
    EXPECT_EQ(pixel(n / 2 + ky, n / 2 - kx), 255);
    // Not the mirror images across either axis, and nothing else as bright but the centre.
    EXPECT_LT(pixel(n / 2 + ky, n / 2 + kx), 255);
    EXPECT_LT(pixel(n / 2 - ky, n / 2 - kx), 255);
    int bright = 0;
    for (int row = 0; row < n; row++)
        for (int col = 0; col < n; col++) bright += pixel(row, col) == 255;
    EXPECT_LE(bright, 3);  // the two peaks and the zero frequency
}

namespace {

// A picture of side n whose samples depend on their place.
std::unique_ptr<tarnview::Image> placedPicture(int n) {
    auto image = std::make_unique<tarnview::Image>();
    image->resize(n, n, 1);
    for (int y = 0; y < n; y++)
        for (int x = 0; x < n; x++) image->getData()[y * n + x] = float(100 + 3 * x + 7 * y % 11);
    image->updateStatistics();
    return image;
}

}  // namespace

TEST(FftOption, OddPaddingPutsHalfTheDifferenceBeforeThePictureAndTheRestAfter) {
    // 31 becomes 36: two columns and rows of noise before the picture, three after. The
    // same noise, from the same seed, padded by hand at (2, 2) gives the same transform;
    // (3, 3) or (2, 3) would not.
    using namespace tarnview;
    std::unique_ptr<Image> expected = placedPicture(31);
    seedRandomForTests(4242);
    ASSERT_EQ(padWithNoiseAt(*expected, 1, 36, 36, 2, 2), 1);
    std::unique_ptr<Image> want(fft(*expected, 0));
    ASSERT_NE(want, nullptr);

    // The comparison can tell the placements apart.
    std::unique_ptr<Image> shifted = placedPicture(31);
    seedRandomForTests(4242);
    ASSERT_EQ(padWithNoiseAt(*shifted, 1, 36, 36, 3, 2), 1);
    std::unique_ptr<Image> wrong(fft(*shifted, 0));
    ASSERT_NE(wrong, nullptr);
    EXPECT_NE(std::vector<float>(wrong->getData(), wrong->getData() + 38 * 36),
              std::vector<float>(want->getData(), want->getData() + 38 * 36));

    std::unique_ptr<Image> image = placedPicture(31);
    seedRandomForTests(4242);
    FftOutcome outcome;
    const std::string printed = captureStdout([&] { outcome = replaceByFourierTransform(image); });
    EXPECT_EQ(printed, paddingMessages(36));
    ASSERT_EQ(outcome, FftOutcome::transformed);
    ASSERT_EQ(image->getNx(), 38);
    ASSERT_EQ(image->getNy(), 36);
    EXPECT_EQ(std::vector<float>(image->getData(), image->getData() + 38 * 36),
              std::vector<float>(want->getData(), want->getData() + 38 * 36));
}
