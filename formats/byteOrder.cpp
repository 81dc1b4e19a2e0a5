#include "formats/byteOrder.h"

#include <bit>
#include <cstring>

namespace tarnview {

namespace {

// Samples widened per chunk, staged in a local array so that the conversion loop reads
// memory that the floats it writes cannot alias.
constexpr int64_t widenChunk = 2048;

// Converts n unsigned 16-bit samples at staged (2 bytes each, in the given order) to
// floats at out. Loads in the host's order and swaps where the orders differ, which the
// compiler turns into vector code.
void decode16BitChunk(const unsigned char* staged, float* out, int64_t n, ByteOrder order) {
    if (order == hostByteOrder()) {
        for (int64_t j = 0; j < n; j++) {
            uint16_t v;
            std::memcpy(&v, staged + 2 * j, 2);
            out[j] = float(v);
        }
    } else {
        for (int64_t j = 0; j < n; j++) {
            uint16_t v;
            std::memcpy(&v, staged + 2 * j, 2);
            out[j] = float(uint16_t(v >> 8 | v << 8));
        }
    }
}

// The float of the IEEE half with these bits: 1 sign bit, 5 exponent bits (bias 15), 10
// mantissa bits. Every half is a float exactly: a normal half keeps its mantissa with the
// exponent rebiased to 127 (112 = 127 - 15), a subnormal is mantissa x 2^-24, and an
// infinity or NaN keeps its mantissa as the top of the float's (a quiet NaN stays quiet).
float halfToFloat(uint16_t h) {
    const uint32_t sign = uint32_t(h & 0x8000u) << 16;
    const uint32_t exponent = uint32_t(h >> 10) & 0x1fu;
    const uint32_t mantissa = h & 0x3ffu;
    if (exponent == 0) {
        const float magnitude = float(mantissa) * 0x1p-24f;
        return sign != 0 ? -magnitude : magnitude;
    }
    const uint32_t floatExponent = exponent == 31 ? 255u : exponent + 112u;
    return std::bit_cast<float>(sign | floatExponent << 23 | mantissa << 13);
}

// Converts n half-precision samples at staged (2 bytes each, in the given order) to floats
// at out.
void decodeHalfChunk(const unsigned char* staged, float* out, int64_t n, ByteOrder order) {
    const bool swap = order != hostByteOrder();
    for (int64_t j = 0; j < n; j++) {
        uint16_t v;
        std::memcpy(&v, staged + 2 * j, 2);
        out[j] = halfToFloat(swap ? uint16_t(v >> 8 | v << 8) : v);
    }
}

using ChunkDecoder = void (*)(const unsigned char*, float*, int64_t, ByteOrder);

// Widens count 2-byte samples at the front of samples to floats in place with decode (a
// template argument, so that each decoder's loop is compiled, and vectorised, in place).
// Chunks from the last to the first: the floats of samples [start, end) cover the 16-bit
// places of samples [2 start, 2 end), which are either in this chunk (staged before any
// write) or after it (converted already).
template <ChunkDecoder decode>
void widen2ByteSamples(float* samples, int64_t count, ByteOrder order) {
    alignas(16) unsigned char staged[2 * widenChunk];
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(samples);
    for (int64_t end = count; end > 0;) {
        const int64_t start = end > widenChunk ? end - widenChunk : 0;
        std::memcpy(staged, bytes + 2 * start, size_t(2 * (end - start)));
        decode(staged, samples + start, end - start, order);
        end = start;
    }
}

}  // namespace

bool hostIsBigEndian() {
    const uint32_t one = 1;
    unsigned char first;
    std::memcpy(&first, &one, 1);
    return first == 0;
}

ByteOrder hostByteOrder() {
    return hostIsBigEndian() ? ByteOrder::bigEndian : ByteOrder::littleEndian;
}

uint32_t decodeWord(const unsigned char* bytes, ByteOrder order) {
    const unsigned char* b = bytes;
    if (order == ByteOrder::bigEndian)
        return uint32_t(b[0]) << 24 | uint32_t(b[1]) << 16 | uint32_t(b[2]) << 8 | b[3];
    return uint32_t(b[3]) << 24 | uint32_t(b[2]) << 16 | uint32_t(b[1]) << 8 | b[0];
}

void swapWords(void* buffer, int64_t wordCount) {
    unsigned char* bytes = static_cast<unsigned char*>(buffer);
    for (int64_t i = 0; i < wordCount; i++) {
        unsigned char* w = bytes + 4 * i;
        uint32_t v;
        std::memcpy(&v, w, 4);
        v = __builtin_bswap32(v);
        std::memcpy(w, &v, 4);
    }
}

void widen8BitSamples(float* samples, int64_t count, double divisor) {
    // Float i occupies bytes 4i to 4i + 3, at or behind byte i: going down, no byte is
    // overwritten before it has been converted.
    // The 256 possible values are computed once: a look-up costs less than a division.
    float values[256];
    for (int b = 0; b < 256; b++) values[b] = float(b / divisor);
    const auto* bytes = reinterpret_cast<const unsigned char*>(samples);
    for (int64_t i = count - 1; i >= 0; i--) samples[i] = values[bytes[i]];
}

void widen16BitSamples(float* samples, int64_t count, ByteOrder order) {
    widen2ByteSamples<decode16BitChunk>(samples, count, order);
}

void widenHalfSamples(float* samples, int64_t count, ByteOrder order) {
    widen2ByteSamples<decodeHalfChunk>(samples, count, order);
}

void widen16BitSamplesForward(float* out, const unsigned char* in, int64_t count, ByteOrder order) {
    // Chunks from the first to the last: the floats of samples [start, end) end at byte
    // 4 end of out, before the 16-bit places of samples from end on (at 2 count + 2 end
    // or later), so nothing is overwritten before it is read.
    alignas(16) unsigned char staged[2 * widenChunk];
    for (int64_t start = 0; start < count;) {
        const int64_t end = count - start > widenChunk ? start + widenChunk : count;
        std::memcpy(staged, in + 2 * start, size_t(2 * (end - start)));
        decode16BitChunk(staged, out + start, end - start, order);
        start = end;
    }
}

}  // namespace tarnview
