#pragma once
// Byte order and sample widening: the host's order (found at run time), the decoding of
// 4-byte words stored in either order, the reversal of 4-byte words, and the conversion
// of stored 8-bit, 16-bit and half-precision samples to floats in the buffer that holds them. Every
// reader and writer of the formats folder uses these.
#include <cstdint>

namespace tarnview {

/// The order of the bytes of multi-byte numbers in a file.
enum class ByteOrder { littleEndian, bigEndian };

/// True when the host stores integers most significant byte first.
bool hostIsBigEndian();
/// The host's byte order.
ByteOrder hostByteOrder();

/// The 4-byte word at bytes, stored in the given order, as a host integer.
uint32_t decodeWord(const unsigned char* bytes, ByteOrder order);

/// Reverses the byte order of each of the wordCount consecutive 4-byte words at buffer,
/// in place (bytes 0 1 2 3 become 3 2 1 0). A count of 0 or less does nothing.
void swapWords(void* buffer, int64_t wordCount);

/// Converts the count unsigned bytes stored at the front of samples into count floats in
/// the same buffer, byte / divisor each (computed in double), from the last sample to
/// the first so that none is overwritten before it is read.
void widen8BitSamples(float* samples, int64_t count, double divisor);
/// Converts the count unsigned 16-bit samples stored at the front of samples (2 bytes
/// each, in the given order) into count floats in the same buffer, from the last sample
/// to the first so that none is overwritten before it is read.
void widen16BitSamples(float* samples, int64_t count, ByteOrder order);
/// Converts the count IEEE half-precision samples stored at the front of samples (2 bytes
/// each, in the given order) into count floats in the same buffer, exactly (every half,
/// subnormals, infinities and NaN payloads included, has a float of the same value), from
/// the last sample to the first.
void widenHalfSamples(float* samples, int64_t count, ByteOrder order);
/// Converts the count unsigned 16-bit samples at in (in the given order) into count
/// floats at out, from the first sample to the last. in may lie in the same buffer as
/// out when it starts at least 2 x count bytes after out: no sample is then overwritten
/// before it is read.
void widen16BitSamplesForward(float* out, const unsigned char* in, int64_t count, ByteOrder order);

}  // namespace tarnview
