// The sample loaders: rows stored last first in either byte order, short streams, bad
// sizes, and samples copied from memory.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "formats/sampleLoaders.h"
#include "image/Image.h"
#include "support/testSupport.h"
#include "testStreams.h"

namespace tarnview {
namespace {

using test::captureStdout;

// Distinct samples; the 16-bit ones go above 32767 to catch signed reads.
float floatAt(int x, int y) {
    return float(y * 10 + x) + 0.25f;
}
uint16_t shortAt(int x, int y) {
    return uint16_t(40000 + y * 331 + x * 17);
}

TEST(SampleLoaders, RowsComeLastFirstInEitherByteOrder) {
    for (ByteOrder order : {ByteOrder::littleEndian, ByteOrder::bigEndian}) {
        const bool bigEndian = order == ByteOrder::bigEndian;
        std::vector<uint8_t> floats, shorts;
        for (int y = 3; y >= 0; y--)  // the first stored row is image row 3
            for (int x = 0; x < 3; x++) {
                test::putF32(floats, floatAt(x, y), bigEndian);
                test::putU16(shorts, shortAt(x, y), bigEndian);
            }
        Image image;
        FILE* f = test::fileStreamOf(floats);
        EXPECT_EQ(readFloatRows(image, f, 3, 4, 1, order), 1);
        std::fclose(f);
        Image wide;
        f = test::fileStreamOf(shorts);
        EXPECT_EQ(read16BitRows(wide, f, 3, 4, 1, order), 1);
        std::fclose(f);
        ASSERT_EQ(image.getNx(), 3);
        ASSERT_EQ(wide.getNy(), 4);
        for (int y = 0; y < 4; y++)
            for (int x = 0; x < 3; x++) {
                EXPECT_EQ(image.getPixel(x, y), floatAt(x, y)) << bigEndian;
                EXPECT_EQ(wide.getPixel(x, y), float(shortAt(x, y))) << bigEndian;
            }
    }
}

TEST(SampleLoaders, ShortStreamsAndBadSizesFail) {
    const ByteOrder host = hostByteOrder();
    std::vector<uint8_t> bytes(3 * 4 * 2 + 5, 0);
    Image image;
    FILE* f = test::fileStreamOf(bytes);
    std::string out = captureStdout([&] { EXPECT_EQ(readFloatRows(image, f, 3, 3, 1, host), 0); });
    EXPECT_EQ(out, "Incomplete data read 0/3 blocks\n");
    // Two items per row: the short row still delivers one of them.
    std::rewind(f);
    out = captureStdout([&] { EXPECT_EQ(readFloatRows(image, f, 1, 4, 2, host), 0); });
    EXPECT_EQ(out, "Incomplete data read 1/8 blocks\n");
    std::rewind(f);
    out = captureStdout([&] { EXPECT_EQ(read16BitRows(image, f, 0, 3, 1, host), 0); });
    EXPECT_EQ(out, "Bad image size 0x3x1\n");
    std::fclose(f);
    out = captureStdout([&] { EXPECT_EQ(readFloatRows(image, nullptr, 65536, 32768, 1, host), 0); });
    EXPECT_EQ(out, "Bad image size 65536x32768x1\n");
}

TEST(SampleLoaders, SetDataCopiesSamplesAndSetsOnlyTheComplexFlag) {
    const float samples[6] = {1, 2, 3, 4, 5, 9};
    Image image;
    image.setFlags(realImagFlag);
    EXPECT_EQ(setComplexData(image, samples, 6, 1, 1), 1);
    EXPECT_EQ(image.getFlags(), realImagFlag | complexFlag);
    EXPECT_EQ(image.getPixel(5, 0), 9.0f);
    EXPECT_DOUBLE_EQ(image.getMeanDouble(), 3.0);  // first float of each pair: 1, 3, 5

    image.setFlags(7);
    EXPECT_EQ(setRealData(image, samples, 3, 2, 1), 1);
    EXPECT_EQ(image.getFlags(), 6);
    EXPECT_EQ(image.getPixel(2, 1), 9.0f);
    EXPECT_DOUBLE_EQ(image.getMeanDouble(), 4.0);

    // The image's own samples as the source, taking fewer of them.
    EXPECT_EQ(setRealData(image, image.getData(), 2, 2, 1), 1);
    EXPECT_EQ(image.getPixel(1, 1), 4.0f);
    EXPECT_DOUBLE_EQ(image.getMeanDouble(), 2.5);

    std::string out = captureStdout([&] { EXPECT_EQ(setRealData(image, samples, -1, 2, 1), 0); });
    EXPECT_EQ(out, "Bad image size -1x2x1\n");
    EXPECT_EQ(image.getNx(), 2);
}

}  // namespace
}  // namespace tarnview
