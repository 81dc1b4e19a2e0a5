#include "formats/ImageList.h"

#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>

#include "image/Image.h"

namespace tarnview {

namespace {

constexpr int initialSlots = 8;

// Reallocates the slot array to `slots` entries. Returns false (list unchanged) when
// memory is exhausted.
bool resizeSlots(ImageList* list, int slots) {
    void* fresh = std::realloc(list->items, size_t(slots) * sizeof(void*));
    if (fresh == nullptr) return false;
    list->items = static_cast<void**>(fresh);
    list->capacity = slots;
    return true;
}

// The slots wanted when the list is full: twice the item count, 8 for an empty list.
int grownCapacity(const ImageList* list) {
    if (list->count == 0) return initialSlots;
    if (list->count > INT_MAX / 2) return -1;
    return 2 * list->count;
}

// Makes sure a free slot exists before an addition (after a failed growth, or after
// destroy without bit 0, there may be none).
bool ensureFreeSlot(ImageList* list) {
    if (list->count < list->capacity) return true;
    int slots = grownCapacity(list);
    return slots > 0 && resizeSlots(list, slots);
}

// Keeps a slot free after an addition. A failure here is retried by the next addition.
void growIfFull(ImageList* list) {
    if (list->count != list->capacity) return;
    int slots = grownCapacity(list);
    if (slots > 0) resizeSlots(list, slots);
}

bool validIndex(const ImageList* list, int index) {
    return list != nullptr && index >= 0 && index < list->count;
}

}  // namespace

ImageList::ImageList() {
    items = static_cast<void**>(std::malloc(initialSlots * sizeof(void*)));
    if (items != nullptr) capacity = initialSlots;
}

ImageList::~ImageList() {
    std::free(items);
}

void* notInList() {
    return reinterpret_cast<void*>(intptr_t(-1));
}

ImageList* createImageList() {
    return new (std::nothrow) ImageList();
}

void destroy(ImageList* list, int flags) {
    if (list == nullptr) return;
    if (flags & 1) {
        delete list;
        return;
    }
    std::free(list->items);
    list->items = nullptr;
    list->count = 0;
    list->capacity = 0;
}

void destroyWithImages(ImageList* list) {
    if (list == nullptr) return;
    for (int i = 0; i < list->count; i++) delete static_cast<Image*>(list->items[i]);
    destroy(list, 1);
}

int append(ImageList* list, void* item) {
    if (list == nullptr || !ensureFreeSlot(list)) return 0;
    list->items[list->count++] = item;
    growIfFull(list);
    return 1;
}

int insertAt(ImageList* list, void* item, int index) {
    if (list == nullptr || !ensureFreeSlot(list)) return 0;
    if (index < 0) index = 0;
    if (index > list->count) index = list->count;
    std::memmove(list->items + index + 1, list->items + index, size_t(list->count - index) * sizeof(void*));
    list->items[index] = item;
    list->count++;
    growIfFull(list);
    return 1;
}

void* itemAt(const ImageList* list, int index) {
    return validIndex(list, index) ? list->items[index] : nullptr;
}

Image* imageAt(const ImageList* list, int index) {
    return static_cast<Image*>(itemAt(list, index));
}

int count(const ImageList* list) {
    return list == nullptr ? 0 : list->count;
}

int indexOf(const ImageList* list, const void* item) {
    if (list == nullptr) return -1;
    for (int i = 0; i < list->count; i++)
        if (list->items[i] == item) return i;
    return -1;
}

void* replaceAt(ImageList* list, int index, void* item) {
    if (!validIndex(list, index)) return nullptr;
    void* old = list->items[index];
    list->items[index] = item;
    return old;
}

void* replaceItem(ImageList* list, void* oldItem, void* newItem) {
    int index = indexOf(list, oldItem);
    if (index < 0) return nullptr;
    list->items[index] = newItem;
    return oldItem;
}

void* removeAt(ImageList* list, int index) {
    if (!validIndex(list, index)) return nullptr;
    void* old = list->items[index];
    std::memmove(list->items + index, list->items + index + 1,
                 size_t(list->count - index - 1) * sizeof(void*));
    list->count--;
    return old;
}

void* removeItem(ImageList* list, void* item) {
    if (list == nullptr) return item;
    int index = indexOf(list, item);
    if (index < 0) return notInList();
    return removeAt(list, index);
}

void clear(ImageList* list) {
    if (list != nullptr) list->count = 0;
}

}  // namespace tarnview
