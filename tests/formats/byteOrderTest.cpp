// Byte order and sample widening, against values worked out by hand.
#include <gtest/gtest.h>

#include <bit>
#include <cstring>
#include <vector>

#include "formats/byteOrder.h"

namespace tarnview {
namespace {

TEST(ByteOrder, HostOrderAgreesWithTheCompiler) {
    EXPECT_EQ(hostIsBigEndian(), std::endian::native == std::endian::big);
    EXPECT_EQ(hostByteOrder(), hostIsBigEndian() ? ByteOrder::bigEndian : ByteOrder::littleEndian);
}

TEST(ByteOrder, WordsDecodeInEitherOrder) {
    const unsigned char bytes[4] = {0x12, 0x34, 0x56, 0xf8};
    EXPECT_EQ(decodeWord(bytes, ByteOrder::bigEndian), 0x123456f8u);
    EXPECT_EQ(decodeWord(bytes, ByteOrder::littleEndian), 0xf8563412u);
}

TEST(ByteOrder, SwapWordsReversesEachWordAndNothingBeyondTheCount) {
    uint8_t bytes[12] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
    swapWords(bytes, 2);
    const uint8_t want[12] = {4, 3, 2, 1, 8, 7, 6, 5, 9, 10, 11, 12};
    EXPECT_EQ(std::memcmp(bytes, want, 12), 0);
    swapWords(bytes, 0);
    swapWords(bytes, -3);
    EXPECT_EQ(std::memcmp(bytes, want, 12), 0);
}

TEST(ByteOrder, BytesWidenInPlaceDividedByTheDivisor) {
    std::vector<float> samples(3);
    const unsigned char bytes[3] = {0, 7, 255};
    std::memcpy(samples.data(), bytes, 3);
    widen8BitSamples(samples.data(), 3, 100.0);
    EXPECT_EQ(samples[0], 0.0f);
    EXPECT_EQ(samples[1], float(7 / 100.0));
    EXPECT_EQ(samples[2], float(2.55));
}

// More samples than one staging chunk, so that the chunk boundaries are crossed.
TEST(ByteOrder, SixteenBitSamplesWidenInPlaceAndForwardInEitherOrder) {
    const int count = 5000;
    for (ByteOrder order : {ByteOrder::littleEndian, ByteOrder::bigEndian}) {
        std::vector<unsigned char> stored(2 * count);
        for (int i = 0; i < count; i++) {
            const unsigned value = unsigned(i * 37 + 30000) % 65536;
            const bool big = order == ByteOrder::bigEndian;
            stored[2 * i] = (unsigned char)(big ? value >> 8 : value & 0xff);
            stored[2 * i + 1] = (unsigned char)(big ? value & 0xff : value >> 8);
        }
        std::vector<float> inPlace(count), forward(2 * count);
        std::memcpy(inPlace.data(), stored.data(), stored.size());
        widen16BitSamples(inPlace.data(), count, order);
        // Forward: staged in the back half of the same buffer.
        auto* back = reinterpret_cast<unsigned char*>(forward.data()) + 4 * count;
        std::memcpy(back, stored.data(), stored.size());
        widen16BitSamplesForward(forward.data(), back, count, order);
        for (int i = 0; i < count; i++) {
            const float want = float(unsigned(i * 37 + 30000) % 65536);
            ASSERT_EQ(inPlace[i], want) << i;
            ASSERT_EQ(forward[i], want) << i;
        }
    }
}

}  // namespace
}  // namespace tarnview
