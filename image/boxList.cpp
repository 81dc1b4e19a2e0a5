// The box list of an Image: named rectangles marked on it, kept in an array that grows
// by 8 records whenever only one free record is left.
#include <algorithm>
#include <cstring>
#include <new>

#include "image/Image.h"

namespace tarnview {

namespace {
constexpr int boxGrowth = 8;
}  // namespace

int Image::keepSpareBox() {
    if (boxCount < boxCapacity - 1) return 1;
    if (boxCapacity > INT32_MAX - boxGrowth) return 0;
    const int capacity = boxCapacity + boxGrowth;
    std::unique_ptr<BoxRecord[]> grown(new (std::nothrow) BoxRecord[capacity]());
    if (!grown) return 0;
    std::copy(boxes.get(), boxes.get() + boxCount, grown.get());
    boxes = std::move(grown);
    boxCapacity = capacity;
    return 1;
}

int Image::addBox(int16_t x, int16_t y, int16_t width, int16_t height, const char* boxName) {
    if (!keepSpareBox()) return 0;
    BoxRecord& box = boxes[boxCount];
    box.x = x;
    box.y = y;
    box.width = width;
    box.height = height;
    box.mark1 = -1;
    box.mark2 = -1;
    std::memset(box.boxName, 0, sizeof box.boxName);
    if (boxName != nullptr) std::memcpy(box.boxName, boxName, strnlen(boxName, sizeof box.boxName - 1));
    boxCount++;
    return 1;
}

int Image::removeBox(int index) {
    if (index < 0 || index >= boxCount) return boxCount;
    std::copy(boxes.get() + index + 1, boxes.get() + boxCount, boxes.get() + index);
    boxCount--;
    return boxCount;
}

}  // namespace tarnview
