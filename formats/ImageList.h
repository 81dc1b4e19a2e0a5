#pragma once
// ImageList: a growable array of item pointers. The IMAGIC reader stores Image pointers
// in it; the list itself stores any pointer value and never looks at what it points to.
//
// A list starts with 8 slots; whenever an addition fills the last free slot the array is
// reallocated to twice the item count, so a slot is free after every addition. The list
// owns its slot array, never its items: destroying a list leaves the items alone. When
// the caller owns the items (the images of readImagic), destroyWithImages releases them
// together with the list. To keep one item, take it out first:
//     Image* first = static_cast<Image*>(removeAt(list, 0));
//     destroyWithImages(list);
#include <cstdint>

namespace tarnview {

class Image;

struct ImageList {
    /// An empty list with 8 slots (0 slots if that allocation failed; the first
    /// addition then tries again).
    ImageList();
    /// Releases the slot array (not the items).
    ~ImageList();
    ImageList(const ImageList&) = delete;
    ImageList& operator=(const ImageList&) = delete;

    void** items = nullptr;  // slot array, owned; null after destroy without bit 0
    int count = 0;           // items in use
    int capacity = 0;        // slots allocated
};

/// The value removeItem returns when the item is not in the list.
void* notInList();

/// A new empty list with 8 slots, owned by the caller (release it with destroy(list, 1));
/// null when memory is exhausted.
ImageList* createImageList();
/// Releases the slot array of list, leaving it an empty usable list; when bit 0 of flags
/// is set, also releases the list object itself (it must come from createImageList).
/// The items are left alone. A null list is ignored.
void destroy(ImageList* list, int flags);
/// Releases every item as an Image (each must come from new Image), then the list itself.
/// A null list is ignored.
void destroyWithImages(ImageList* list);
/// Stores item after the last one. Returns 1, or 0 (list unchanged) for a null list or
/// when the slot array cannot grow.
int append(ImageList* list, void* item);
/// Stores item at index, clamped to 0 ... count; later items move up by one. Returns 1,
/// or 0 (list unchanged) for a null list or when the slot array cannot grow.
int insertAt(ImageList* list, void* item, int index);
/// The item at index, or null for a null list or an index outside 0 ... count - 1.
void* itemAt(const ImageList* list, int index);
/// itemAt for lists of images.
Image* imageAt(const ImageList* list, int index);
/// The number of items (0 for a null list).
int count(const ImageList* list);
/// Index of the first slot holding item, or -1 (also for a null or empty list).
int indexOf(const ImageList* list, const void* item);
/// Puts item at index and returns the item it replaced; 0 (nothing changes) for a null
/// list or an index outside 0 ... count - 1.
void* replaceAt(ImageList* list, int index, void* item);
/// Puts newItem in the first slot holding oldItem and returns oldItem; 0 when absent.
void* replaceItem(ImageList* list, void* oldItem, void* newItem);
/// Removes the item at index (later items move down) and returns it; 0 for a null list
/// or an index outside 0 ... count - 1.
void* removeAt(ImageList* list, int index);
/// Removes the first slot holding item and returns item; notInList() when absent; item
/// itself for a null list.
void* removeItem(ImageList* list, void* item);
/// Forgets every item (count 0); nothing is released.
void clear(ImageList* list);

}  // namespace tarnview
