#pragma once
// One named box marked on an image (52 bytes, the layout of the box database).
#include <cstdint>

namespace tarnview {

struct BoxRecord {
    int16_t x;
    int16_t y;
    int16_t width;
    int16_t height;
    int16_t mark1;     // set to -1 whenever a box is added or read
    int16_t mark2;     // likewise
    char boxName[40];  // zero-terminated, at most 39 characters
};

static_assert(sizeof(BoxRecord) == 52, "BoxRecord is 52 bytes");

}  // namespace tarnview
