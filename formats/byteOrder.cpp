#include "formats/byteOrder.h"

#include <cstring>

namespace tarnview {

int hostIsBigEndian() {
    const int probe = 127;
    unsigned char first;
    std::memcpy(&first, &probe, 1);
    return first == 0 ? 1 : 0;
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

}  // namespace tarnview
