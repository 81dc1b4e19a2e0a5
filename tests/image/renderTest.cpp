#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <numbers>
#include <string>
#include <vector>

#include "image/Image.h"
#include "image/pgmWriter.h"
#include "image/render.h"
#include "support/testSupport.h"

namespace tarnview {
namespace {

using test::captureStdout;
using test::readBytes;
using test::scratchPath;

constexpr unsigned char untouched = 77;

// A real nx x ny image with sample (x, y) = value(x, y) and the given grey limits.
void fill(Image& image, int nx, int ny, const std::function<float(int, int)>& value, float low, float high) {
    ASSERT_EQ(image.resize(nx, ny, 1), 1);
    for (int y = 0; y < ny; y++)
        for (int x = 0; x < nx; x++) image.getData()[x + y * nx] = value(x, y);
    image.setGreyLimits(low, high);
}

std::vector<uint8_t> pgmBody(Image& image, std::string* printed = nullptr) {
    const std::string path = scratchPath("render.pgm");
    int result = -1;
    const std::string out = captureStdout([&] { result = writePgm(image, path.c_str()); });
    if (printed) *printed = out;
    EXPECT_EQ(result, 1);
    std::vector<uint8_t> bytes = readBytes(path);
    const std::string header =
        "P5\n" + std::to_string(image.getNx()) + " " + std::to_string(image.getNy()) + "\n255\n";
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + std::min(bytes.size(), header.size())), header);
    return std::vector<uint8_t>(bytes.begin() + std::min(bytes.size(), header.size()), bytes.end());
}

TEST(WritePgm, ThreeByTwoExampleWritesTheLastRowFirst) {
    Image image;
    const float rows[2][3] = {{0, 50, 100}, {100, 150, 200}};
    fill(
        image, 3, 2, [&](int x, int y) { return rows[y][x]; }, 0, 200);
    std::string printed;
    EXPECT_EQ(pgmBody(image, &printed), (std::vector<uint8_t>{127, 191, 255, 0, 63, 127}));
    EXPECT_EQ(printed, "");
}

TEST(WritePgm, EqualLimitsAreLoweredAndRenderBlack) {
    Image image;
    fill(
        image, 4, 3, [](int x, int y) { return float(x * 10 + y); }, 10, 10);
    EXPECT_EQ(pgmBody(image), std::vector<uint8_t>(12, 0));
    EXPECT_EQ(image.getGreyLow(), 10.0f);
    EXPECT_EQ(image.getGreyHigh(), 9.99f);
}

TEST(WritePgm, CrossedLimitsRenderEverySampleBlack) {
    Image image;
    const float values[6] = {100, 250, 300, 1000, INFINITY, 3e38f};
    fill(
        image, 3, 2, [&](int x, int y) { return values[x + 3 * y]; }, 300, 200);
    EXPECT_EQ(pgmBody(image), std::vector<uint8_t>(6, 0));
}

TEST(WritePgm, NanIsBlackAndInfinitiesHitTheLimits) {
    Image image;
    const float values[4] = {NAN, INFINITY, -INFINITY, 50};
    fill(
        image, 4, 1, [&](int x, int) { return values[x]; }, 0, 100);
    EXPECT_EQ(pgmBody(image), (std::vector<uint8_t>{0, 255, 0, 127}));
    // Infinite limits, as "-min -inf" or "-max inf" give them, stay defined.
    image.setGreyLimits(-INFINITY, 100);
    EXPECT_EQ(pgmBody(image), (std::vector<uint8_t>{0, 255, 0, 0}));
    image.setGreyLimits(0, INFINITY);
    EXPECT_EQ(pgmBody(image), (std::vector<uint8_t>{0, 255, 0, 0}));
    image.setGreyLimits(NAN, 100);
    EXPECT_EQ(pgmBody(image), (std::vector<uint8_t>{0, 255, 0, 0}));
}

TEST(WritePgm, ComplexImagesShowTheCentredViewWithZerosAtTheRight) {
    Image image;
    fill(
        image, 10, 2, [](int x, int y) { return float(100 + x + 10 * y); }, 0, 255);
    image.setFlags(complexFlag);
    const std::vector<uint8_t> body = pgmBody(image);
    ASSERT_EQ(body.size(), 20u);
    for (int r = 0; r < 2; r++) {
        EXPECT_EQ(body[r * 10 + 8], 0);
        EXPECT_EQ(body[r * 10 + 9], 0);
        EXPECT_NE(body[r * 10], 0);
    }
}

TEST(WritePgm, ReportsFilesThatCannotBeOpenedOrWritten) {
    Image image;
    fill(
        image, 100, 100, [](int x, int) { return float(x); }, 0, 99);
    int result = -1;
    std::string printed = captureStdout([&] { result = writePgm(image, "/nonexistent/dir/out.pgm"); });
    EXPECT_EQ(result, 0);
    EXPECT_EQ(printed, "Cannot open file for writing\n");
    if (!test::fileExists("/dev/full")) GTEST_SKIP() << "no /dev/full";
    printed = captureStdout([&] { result = writePgm(image, "/dev/full"); });
    EXPECT_EQ(result, 0);
    EXPECT_EQ(printed, "Error writing /dev/full: the PGM file is incomplete.\n");
}

// A raster of w x h bytes, every byte untouched at first.
struct Raster {
    int w, h;
    std::vector<unsigned char> bytes;
    Raster(int width, int height) : w(width), h(height), bytes(size_t(width) * height, untouched) {}
    unsigned char at(int q, int r) const { return bytes[size_t(r) * w + q]; }
};

// Identity mapping for limits (0, 255): the byte is the integer part of the sample.
float ramp(int x, int y) {
    return float((x + 3 * y) % 250) + 0.5f;
}
int rampByte(int x, int y) {
    return (x + 3 * y) % 250;
}

TEST(RenderGrey, HalfScaleDrawsEverySecondSampleOfEverySecondRow) {
    Image image;
    fill(image, 512, 512, ramp, 0, 255);
    Raster raster(256, 256);
    renderGrey(image, raster.bytes.data(), 0, 0, 256, 256, 256, 0.5f, 0, 255);
    for (int r = 0; r < 256; r++)
        for (int q = 0; q < 256; q++)
            ASSERT_EQ(raster.at(q, r), rampByte(2 * q, 2 * (255 - r))) << q << "," << r;
}

TEST(RenderGrey, DoubleScaleRepeatsEachSampleInTwoByTwoPixels) {
    Image image;
    fill(image, 512, 512, ramp, 0, 255);
    Raster raster(1024, 1024);
    renderGrey(image, raster.bytes.data(), 0, 0, 1024, 1024, 1024, 2.0f, 0, 255);
    for (int r = 0; r < 1024; r++)
        for (int q = 0; q < 1024; q++)
            ASSERT_EQ(raster.at(q, r), rampByte(q / 2, (1023 - r) / 2)) << q << "," << r;
}

TEST(RenderGrey, ThirdScaleStepsByTheFixedPointFraction) {
    // 1 / 0.3 = 3.3333333: three samples per pixel, and a fourth each time the fraction
    // 33333 / 100000, starting from 10, passes a whole unit.
    Image image;
    fill(image, 40, 1, ramp, 0, 255);
    Raster raster(12, 1);
    renderGrey(image, raster.bytes.data(), 0, 0, 12, 1, 12, 0.3f, 0, 255);
    const int columns[12] = {0, 3, 6, 10, 13, 16, 20, 23, 26, 30, 33, 36};
    for (int q = 0; q < 12; q++) EXPECT_EQ(raster.at(q, 0), rampByte(columns[q], 0)) << q;
}

TEST(RenderGrey, RasterTallerThanTheImageKeepsItsTopRows) {
    Image image;
    fill(image, 3, 2, ramp, 0, 255);
    Raster raster(3, 5);
    renderGrey(image, raster.bytes.data(), 0, 0, 3, 5, 3, 1.0f, 0, 255);
    for (int q = 0; q < 3; q++) {
        for (int r = 0; r < 3; r++) EXPECT_EQ(raster.at(q, r), untouched);
        EXPECT_EQ(raster.at(q, 3), rampByte(q, 1));
        EXPECT_EQ(raster.at(q, 4), rampByte(q, 0));
    }
}

TEST(RenderGrey, PanningPlacesTheImageInTheRaster) {
    Image image;
    fill(image, 20, 6, ramp, 0, 255);
    // x0 = -10: raster columns 0 to 9 untouched, then the image.
    Raster left(40, 6);
    renderGrey(image, left.bytes.data(), -10, 0, 40, 6, 40, 1.0f, 0, 255);
    for (int r = 0; r < 6; r++)
        for (int q = 0; q < 40; q++)
            EXPECT_EQ(left.at(q, r), q < 10 || q >= 30 ? untouched : rampByte(q - 10, 5 - r))
                << q << "," << r;
    // y0 = -2: the image moves up; the two bottom raster rows stay untouched.
    Raster up(20, 8);
    renderGrey(image, up.bytes.data(), 0, -2, 20, 8, 20, 1.0f, 0, 255);
    for (int r = 0; r < 8; r++)
        for (int q = 0; q < 20; q++)
            EXPECT_EQ(up.at(q, r), r >= 6 ? untouched : rampByte(q, 5 - r)) << q << "," << r;
    // x0 = 15, y0 = 2: a window inside the image, cut where the image ends.
    Raster inside(8, 4);
    renderGrey(image, inside.bytes.data(), 15, 2, 8, 4, 8, 1.0f, 0, 255);
    for (int r = 0; r < 4; r++)
        for (int q = 0; q < 8; q++)
            EXPECT_EQ(inside.at(q, r), q >= 5 ? untouched : rampByte(15 + q, 2 + 3 - r)) << q << "," << r;
}

TEST(RenderGrey, PanningLeftOverAWideImageStopsAtTheRasterEdge) {
    // x0 = -5 over an image three times the raster's width: the image fills columns 5 to
    // 19; the rest of each 32-byte row (past w = 20) is not the raster's and stays as it was.
    Image image;
    fill(image, 60, 4, ramp, 0, 255);
    for (float scale : {1.0f, 0.5f}) {
        std::vector<unsigned char> raster(32 * 4, untouched);
        renderGrey(image, raster.data(), -5, 0, 20, 4, 32, scale, 0, 255);
        const int step = scale == 1.0f ? 1 : 2;  // source samples per raster pixel
        const int first = 5 / step;              // raster columns left free: -x0 / step
        const int top = scale == 1.0f ? 0 : 2;   // the half-scale image is 2 rows high
        for (int r = 0; r < 4; r++)
            for (int q = 0; q < 32; q++) {
                const bool drawn = r >= top && q >= first && q < 20;
                const int want = drawn ? rampByte((q - first) * step, (3 - r) * step) : untouched;
                EXPECT_EQ(raster[size_t(r) * 32 + q], want) << scale << ": " << q << "," << r;
            }
    }
}

TEST(RenderGrey, NanIsLoAlsoWhenLoIsAboveHi) {
    Image image;
    const float values[4] = {NAN, 0, 200, NAN};
    fill(
        image, 4, 1, [&](int x, int) { return values[x]; }, 0, 200);
    unsigned char out[4];
    renderGrey(image, out, 0, 0, 4, 1, 4, 1.0f, 250, 10);  // the vectorised 1:1 loop
    EXPECT_EQ(std::vector<int>(out, out + 4), (std::vector<int>{250, 250, 10, 250}));
    unsigned char doubled[8];
    renderGrey(image, doubled, 0, 0, 8, 1, 8, 2.0f, 250, 10);  // the stepping loop
    EXPECT_EQ(std::vector<int>(doubled, doubled + 8),
              (std::vector<int>{250, 250, 250, 250, 10, 10, 250, 250}));
}

TEST(RenderGrey, RowStrideAndByteRangeAreTheCallers) {
    Image image;
    const float values[3] = {0, 100, 200};
    fill(
        image, 3, 1, [&](int x, int) { return values[x]; }, 0, 200);
    // rowBytes wider than the window leaves the gap untouched.
    std::vector<unsigned char> wide(2 * 5, untouched);
    renderGrey(image, wide.data(), 0, 0, 3, 2, 5, 1.0f, 0, 255);
    EXPECT_EQ(wide, (std::vector<unsigned char>{77, 77, 77, 77, 77, 0, 127, 255, 77, 77}));
    // Inverted levels, and levels past 255 stored as their low 8 bits.
    unsigned char out[3];
    renderGrey(image, out, 0, 0, 3, 1, 3, 1.0f, 255, 0);
    EXPECT_EQ(std::vector<int>(out, out + 3), (std::vector<int>{255, 128, 0}));
    renderGrey(image, out, 0, 0, 3, 1, 3, 1.0f, 0, 1000);
    EXPECT_EQ(std::vector<int>(out, out + 3), (std::vector<int>{0, 500 % 256, 1000 % 256}));
    // Scales that are not positive numbers draw nothing.
    for (float scale : {0.0f, -1.0f, NAN}) {
        out[0] = out[1] = out[2] = untouched;
        renderGrey(image, out, 0, 0, 3, 1, 3, scale, 0, 255);
        EXPECT_EQ(out[0], untouched);
    }
}

// A complex image of nx floats per row: element e of row y holds amplitude 10y + e + 1
// (the first float) and phase (y - 2) / 2 + e / 10 (the second).
void fillComplex(Image& image, int nx, int ny) {
    ASSERT_EQ(image.resize(nx, ny, 1), 1);
    for (int y = 0; y < ny; y++)
        for (int e = 0; e < nx / 2; e++) {
            image.getData()[y * nx + 2 * e] = float(10 * y + e + 1);
            image.getData()[y * nx + 2 * e + 1] = float((y - 2) / 2.0 + e / 10.0);
        }
    image.setFlags(complexFlag);
    image.setGreyLimits(0, 255);
}

// The element shown at raster column x for source row y in the centred 1:1 view:
// mirrored through the origin left of nx/2, the next row's element right of it, and
// row 0 for the last row.
void centredElement(int x, int y, int nx, int ny, int& row, int& element) {
    const int half = nx / 2;
    if (x < half) {
        row = ny - 1 - y, element = half - 1 - x;
    } else {
        row = y + 1 < ny ? y + 1 : 0, element = x - half + 1;
    }
}

TEST(RenderGrey, ComplexImagesShowTheCentredViewOfTheFirstFloats) {
    const int nx = 10, ny = 4;  // a transform of a side of 8: 5 elements per row
    Image image;
    fillComplex(image, nx, ny);
    Raster grey(nx, ny), phase(nx, ny);
    renderGrey(image, grey.bytes.data(), 0, 0, nx, ny, nx, 1.0f, 0, 255);
    renderPhase(image, phase.bytes.data(), 0, 0, nx, ny, nx, 1.0f, 0, 255);
    const double phaseFactor = float(255 / (2 * std::numbers::pi));
    for (int r = 0; r < ny; r++) {
        const int y = ny - 1 - r;
        for (int x = 0; x < nx - 2; x++) {
            int row, element;
            centredElement(x, y, nx, ny, row, element);
            const float amplitude = image.getData()[row * nx + 2 * element];
            const float angle = image.getData()[row * nx + 2 * element + 1];
            EXPECT_EQ(grey.at(x, r), int(amplitude)) << x << "," << r;
            EXPECT_EQ(phase.at(x, r), int((angle + std::numbers::pi) * phaseFactor)) << x << "," << r;
        }
        // The zero frequency (element 0 of the mirrored row) sits at pixel (nx - 2) / 2.
        EXPECT_EQ(grey.at(4, r), int(image.getData()[(ny - 1 - y) * nx]));
        for (int x = nx - 2; x < nx; x++) {
            EXPECT_EQ(grey.at(x, r), untouched);
            EXPECT_EQ(phase.at(x, r), untouched);
        }
    }
}

TEST(RenderGrey, FractionalStepsOverAComplexImageStayInsideIt) {
    // Between one and two samples per pixel the next-row test alone would admit the last
    // row; its next row is then row 0.
    const int nx = 10, ny = 4;
    Image image;
    fillComplex(image, nx, ny);
    for (float scale : {0.75f, 0.6f, 1.5f, 3.0f}) {
        Raster grey(16, 8), phase(16, 8);
        renderGrey(image, grey.bytes.data(), 0, 0, 16, 8, 16, scale, 0, 255);
        renderPhase(image, phase.bytes.data(), 0, 0, 16, 8, 16, scale, 0, 255);
        EXPECT_EQ(grey.at(15, 7), untouched) << scale;
    }
}

TEST(RenderGrey, WindowAndNextRowTestsAreEvaluatedInFloat) {
    // y0 / inv + h - 1 in float, left to right: at scale 1.1 (inv 0.90909094), y0 = -50
    // and h = 120 it is 64.0 (summing h - 1 first gives 63.999996), so the image starts
    // at raster row 64.
    Image real;
    fill(real, 20, 80, ramp, 0, 255);
    Raster raster(20, 120);
    renderGrey(real, raster.bytes.data(), 0, -50, 20, 120, 20, 1.1f, 0, 255);
    EXPECT_EQ(raster.at(0, 64), rampByte(0, 0));
    EXPECT_EQ(raster.at(0, 65), untouched);

    // At scale 3 (inv 0.33333334) the next-row limit ny * nx - nx / inv is 80 - 30.0 in
    // float, so source row 5 of 8 (R = 50) is not below it: the right half of its raster
    // rows shows row 0, not row 6.
    Image transform;
    fillComplex(transform, 10, 8);
    Raster grey(24, 24), phase(24, 24);
    renderGrey(transform, grey.bytes.data(), 0, 0, 24, 24, 24, 3.0f, 0, 255);
    renderPhase(transform, phase.bytes.data(), 0, 0, 24, 24, 24, 3.0f, 0, 255);
    const double phaseFactor = float(255 / (2 * std::numbers::pi));
    for (int r = 6; r <= 8; r++) {
        EXPECT_EQ(grey.at(0, r), 10 * 2 + 4 + 1) << r;   // left half: row 7 - 5, element 4
        EXPECT_EQ(grey.at(15, r), 0 * 10 + 1 + 1) << r;  // right half: row 0, element 1
        EXPECT_EQ(phase.at(15, r), int((float(-1 + 0.1) + std::numbers::pi) * phaseFactor)) << r;
    }
    EXPECT_EQ(grey.at(15, 9), 10 * 5 + 1 + 1);  // source row 4 still shows row 5
}

TEST(RenderPhase, RealImagesAreDrawnByRenderGrey) {
    Image image;
    fill(image, 5, 3, ramp, 0, 255);
    Raster grey(5, 3), phase(5, 3);
    renderGrey(image, grey.bytes.data(), 0, 0, 5, 3, 5, 1.0f, 0, 255);
    renderPhase(image, phase.bytes.data(), 0, 0, 5, 3, 5, 1.0f, 0, 255);
    EXPECT_EQ(grey.bytes, phase.bytes);
}

TEST(RenderPhase, EqualLimitsAreRaised) {
    Image image;
    fillComplex(image, 6, 2);
    image.setGreyLimits(4, 4);
    Raster raster(6, 2);
    renderPhase(image, raster.bytes.data(), 0, 0, 6, 2, 6, 1.0f, 0, 255);
    EXPECT_EQ(image.getGreyHigh(), float(4 + 0.001));
}

TEST(RenderRgb32, WritesTheGreyLevelIntoBytesOneToThree) {
    Image image;
    const float rows[2][3] = {{0, 50, 100}, {150, 200, NAN}};
    fill(
        image, 3, 2, [&](int x, int y) { return rows[y][x]; }, 0, 200);
    std::vector<unsigned char> raster(2 * 12, untouched);
    renderRgb32(image, raster.data(), 0, 0, 3, 2, 12, 1.0f);
    // Row 0 of the raster shows the image's row 1.
    const int levels[2][3] = {{192, 255, 0}, {0, 64, 128}};
    for (int r = 0; r < 2; r++)
        for (int q = 0; q < 3; q++) {
            const unsigned char* pixel = &raster[r * 12 + 4 * q];
            EXPECT_EQ(pixel[0], untouched);
            for (int b = 1; b < 4; b++) EXPECT_EQ(pixel[b], levels[r][q]) << q << "," << r;
        }
}

TEST(RenderRgb32, ComplexImagesShowTheMagnitudeOfEachElementInPlace) {
    Image image;
    ASSERT_EQ(image.resize(4, 2, 1), 1);
    const float samples[8] = {3, 4, 0, 1, 6, 8, 0, -2};  // magnitudes 5, 1 / 10, 2
    std::copy(samples, samples + 8, image.getData());
    image.setFlags(complexFlag);
    image.setGreyLimits(0, 10);
    std::vector<unsigned char> raster(2 * 8, untouched);
    renderRgb32(image, raster.data(), 0, 0, 2, 2, 8, 1.0f);
    const int levels[2][2] = {{255, 51}, {128, 25}};  // 10 hits the limit; 2 * 25.6, 5 * 25.6, 1 * 25.6
    for (int r = 0; r < 2; r++)
        for (int q = 0; q < 2; q++) EXPECT_EQ(raster[r * 8 + 4 * q + 1], levels[r][q]) << q << "," << r;
}

}  // namespace
}  // namespace tarnview
