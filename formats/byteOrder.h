#pragma once
// Byte order of the host, found at run time, and the reversal of 4-byte words.
#include <cstdint>

namespace tarnview {

/// 1 when the host stores integers most significant byte first (the first byte of the
/// integer 127 is zero), else 0.
int hostIsBigEndian();

/// Reverses the byte order of each of the wordCount consecutive 4-byte words at buffer,
/// in place (bytes 0 1 2 3 become 3 2 1 0). A count of 0 or less does nothing.
void swapWords(void* buffer, int64_t wordCount);

}  // namespace tarnview
