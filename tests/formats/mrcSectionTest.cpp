// The section reader and the section count: every section of small stacks in each mode
// and byte order against hand-computed floats, half-precision conversion, compressed
// stacks and the refusals.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <tuple>
#include <vector>

#include "formats/byteOrder.h"
#include "formats/mrcReader.h"
#include "image/Image.h"
#include "support/testFiles.h"
#include "support/testSupport.h"

namespace tarnview {
namespace {

using test::captureStdout;
using test::scratchPath;

constexpr int nx = 3, ny = 2, nz = 3;  // values per row (complex values in mode 4)

// Halves and their values worked out by hand: 1, -2, 1/3 rounded (0x3555 = 1 + 341/1024
// times 2^-2), the largest normal, the smallest and the largest subnormal.
const uint16_t halfBits[6] = {0x3C00, 0xC000, 0x3555, 0x7BFF, 0x0001, 0x03FF};
const double halfValues[6] = {1.0, -2.0, 0.333251953125, 65504.0, 0x1p-24, 1023 * 0x1p-24};

// The stored number of value i of section z, and the float the image must hold for it.
double stored(int mode, int z, int i) {
    if (mode == 12) return halfBits[(i + z) % 6];
    if (mode == 0) return (37 * i + 80 * z + 5) % 256;
    if (mode == 1 || mode == 6) return 65535 - 4099 * i - 1000 * z;  // 65535 is never -1
    return (i - 4) * 1.25 + z * 100;
}
double expected(int mode, int z, int i) {
    if (mode == 12) return halfValues[(i + z) % 6];
    if (mode == 0) return float(stored(mode, z, i) / 100.0);
    return stored(mode, z, i);
}

std::vector<uint8_t> stack(int mode, bool big) {
    const int perSection = nx * ny * (mode == 4 ? 2 : 1);
    std::vector<double> values;
    for (int z = 0; z < nz; z++)
        for (int i = 0; i < perSection; i++) values.push_back(stored(mode, z, i));
    return test::mrcFile(nx, ny, nz, mode, big, values);
}

// Checks image against section z: real samples as expected(), complex pairs as (amplitude
// hypot / 6 floats per row * 2 rows, phase), computed in double.
void expectSection(const Image& image, int mode, int z) {
    const int floats = mode == 4 ? 2 * nx : nx;
    ASSERT_EQ(image.getNx(), floats);
    ASSERT_EQ(image.getNy(), ny);
    ASSERT_EQ(image.getNz(), 1);
    for (int i = 0; i < floats * ny; i++) {
        double want = expected(mode, z, i);
        if (mode == 4) {
            const double re = expected(mode, z, i & ~1), im = expected(mode, z, i | 1);
            want = i % 2 == 0 ? std::hypot(re, im) / floats * ny : std::atan2(im, re);
        }
        EXPECT_EQ(image.getData()[i], float(want)) << "section " << z << " sample " << i;
    }
}

class MrcSectionMatrix : public testing::TestWithParam<std::tuple<int, bool>> {};

TEST_P(MrcSectionMatrix, EverySectionFromAFileAndFromAPipe) {
    const auto [mode, big] = GetParam();
    const std::string path = scratchPath("stack" + std::to_string(mode) + (big ? "be" : "le") + ".mrcs");
    std::vector<uint8_t> bytes = stack(mode, big);
    test::writeBytes(path, bytes);
    EXPECT_EQ(readMrcSectionCount(path.c_str()), nz);
    for (int z = 0; z < nz; z++) {
        Image image, piped;
        EXPECT_EQ(captureStdout([&] { ASSERT_EQ(readMrcSection(image, path.c_str(), z), 1); }), "");
        expectSection(image, mode, z);
        EXPECT_EQ(image.getMrcHeader()->nz, nz);
        EXPECT_EQ(image.isComplex(), mode == 4 ? 1 : 0);
        // Unknown length: the earlier sections are read and dropped.
        std::FILE* in = fmemopen(bytes.data(), bytes.size(), "rb");
        EXPECT_EQ(readMrcSectionStream(piped, in, -1, z), 1);
        std::fclose(in);
        expectSection(piped, mode, z);
    }
}

INSTANTIATE_TEST_SUITE_P(ModesAndByteOrders, MrcSectionMatrix,
                         testing::Combine(testing::Values(0, 1, 2, 4, 6, 12), testing::Bool()),
                         [](const auto& param) {
                             return "Mode" + std::to_string(std::get<0>(param.param)) +
                                    (std::get<1>(param.param) ? "BigEndian" : "LittleEndian");
                         });

TEST(WidenHalfSamples, SpecialValuesKeepTheirBits) {
    // Halves and the bits of their floats, by hand: infinities, a quiet NaN, a signalling
    // NaN whose payload moves to the top of the float's, signed zero and subnormal, and
    // the half just above 1 (1 + 2^-10).
    const uint16_t halves[7] = {0x7C00, 0xFC00, 0x7E00, 0x7C01, 0x8000, 0x8001, 0x3C01};
    const uint32_t floats[7] = {0x7F800000, 0xFF800000, 0x7FC00000, 0x7F802000,
                                0x80000000, 0xB3800000, 0x3F802000};
    for (bool big : {false, true}) {
        std::vector<uint8_t> stored;
        for (uint16_t h : halves) test::putU16(stored, h, big);
        float buffer[7];
        std::memcpy(buffer, stored.data(), stored.size());
        widenHalfSamples(buffer, 7, big ? ByteOrder::bigEndian : ByteOrder::littleEndian);
        for (int i = 0; i < 7; i++) EXPECT_EQ(std::bit_cast<uint32_t>(buffer[i]), floats[i]) << i;
    }
}

TEST(ReadMrcSection, ReadsACompressedStack) {
    if (!test::haveProgram("zcat") || !test::haveProgram("gzip")) GTEST_SKIP() << "zcat or gzip missing";
    const std::string path = scratchPath("halves.mrcs");
    test::writeBytes(path, stack(12, true));
    ASSERT_EQ(test::runProgram({"/usr/bin/gzip", "-f", "--", path}).status, 0);
    EXPECT_EQ(readMrcSectionCount((path + ".gz").c_str()), nz);
    Image image;
    ASSERT_EQ(readMrcSection(image, (path + ".gz").c_str(), 2), 1);
    expectSection(image, 12, 2);
}

TEST(ReadMrcSection, RefusalsHaveMessages) {
    const std::string path = scratchPath("refused.mrcs");
    Image image;
    // What one read prints; it must fail.
    auto printedBy = [&](auto read) { return captureStdout([&] { EXPECT_EQ(read(path.c_str()), 0); }); };
    auto section = [&](int z) { return [&image, z](const char* p) { return readMrcSection(image, p, z); }; };
    // A stack cut inside section 2 still gives section 1, not section 2.
    std::vector<uint8_t> cut = stack(2, false);
    cut.resize(cut.size() - 4);
    test::writeBytes(path, cut);
    EXPECT_EQ(readMrcSection(image, path.c_str(), 1), 1);
    EXPECT_EQ(printedBy(section(2)), "Incomplete data read 0/2 blocks\n");
    EXPECT_EQ(printedBy(section(3)), "There is no section 3: the file's sections are 0 to 2\n");
    EXPECT_EQ(printedBy(section(-1)), "There is no section -1: the file's sections are 0 to 2\n");
    // The 2-D reader still refuses mode 12; the count (-1) refuses modes no reader knows.
    test::writeBytes(path, test::mrcFile(nx, ny, 1, 12, false, std::vector<double>(6, 1.0)));
    EXPECT_EQ(printedBy([&](const char* p) { return readMrc(image, p); }), "Bad MRC file\n");
    test::writeBytes(path, test::mrcFile(nx, ny, nz, 5, false, {}));
    EXPECT_EQ(printedBy([](const char* p) { return readMrcSectionCount(p) + 1; }), "Bad MRC file\n");
    test::writeBytes(path, std::vector<uint8_t>(100, 0));
    EXPECT_EQ(printedBy(section(0)), "The file ends before its 1024-byte MRC header\n");
    EXPECT_EQ(printedBy([](const char*) { return readMrcSectionCount("/none.gz") + 1; }),
              "Cannot open file\n");
}

}  // namespace
}  // namespace tarnview
