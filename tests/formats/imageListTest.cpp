// The list's boundaries, grouped: growth, clamping, absent items and null lists.
#include <gtest/gtest.h>

#include <cstdint>

#include "formats/ImageList.h"
#include "image/Image.h"

namespace tarnview {
namespace {

void* item(intptr_t v) {
    return reinterpret_cast<void*>(v);
}

// A list holding 10, 20, ..., n * 10.
ImageList* listOf(int n) {
    ImageList* list = createImageList();
    for (int i = 1; i <= n; i++) append(list, item(10 * i));
    return list;
}

TEST(ImageList, GrowsToTwiceTheCountWhenAnAdditionFillsIt) {
    ImageList* list = createImageList();
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->capacity, 8);
    EXPECT_EQ(count(list), 0);
    for (int i = 1; i <= 7; i++) append(list, item(i));
    EXPECT_EQ(list->capacity, 8);
    append(list, item(8));
    EXPECT_EQ(list->capacity, 16);
    for (int i = 9; i <= 15; i++) insertAt(list, item(i), 0);
    EXPECT_EQ(list->capacity, 16);
    insertAt(list, item(16), 3);
    EXPECT_EQ(list->capacity, 32);
    EXPECT_EQ(count(list), 16);
    destroy(list, 1);
}

TEST(ImageList, InsertAtClampsItsIndex) {
    ImageList* list = listOf(3);
    insertAt(list, item(5), -5);
    insertAt(list, item(99), 42);
    insertAt(list, item(15), 2);
    const intptr_t expected[] = {5, 10, 15, 20, 30, 99};
    ASSERT_EQ(count(list), 6);
    for (int i = 0; i < 6; i++) EXPECT_EQ(itemAt(list, i), item(expected[i])) << i;
    destroy(list, 1);
}

TEST(ImageList, LookupsOutsideTheListGiveNothing) {
    ImageList* list = listOf(3);
    EXPECT_EQ(itemAt(list, 3), nullptr);
    EXPECT_EQ(itemAt(list, -1), nullptr);
    EXPECT_EQ(itemAt(nullptr, 0), nullptr);
    EXPECT_EQ(count(nullptr), 0);

    append(list, item(20));
    EXPECT_EQ(indexOf(list, item(20)), 1);  // the first equal slot
    EXPECT_EQ(indexOf(list, item(77)), -1);
    EXPECT_EQ(indexOf(nullptr, item(20)), -1);
    ImageList* empty = createImageList();
    EXPECT_EQ(indexOf(empty, nullptr), -1);
    destroy(empty, 1);
    destroy(list, 1);
}

TEST(ImageList, ReplacementsReturnTheOldItemOrZero) {
    ImageList* list = listOf(3);
    EXPECT_EQ(replaceAt(list, 1, item(21)), item(20));
    EXPECT_EQ(replaceAt(list, 3, item(40)), nullptr);
    EXPECT_EQ(replaceAt(list, -1, item(40)), nullptr);
    EXPECT_EQ(replaceAt(nullptr, 0, item(40)), nullptr);
    EXPECT_EQ(replaceItem(list, item(30), item(31)), item(30));
    EXPECT_EQ(replaceItem(list, item(30), item(32)), nullptr);
    EXPECT_EQ(itemAt(list, 0), item(10));
    EXPECT_EQ(itemAt(list, 1), item(21));
    EXPECT_EQ(itemAt(list, 2), item(31));
    EXPECT_EQ(count(list), 3);
    destroy(list, 1);
}

TEST(ImageList, RemovalsCloseTheGap) {
    ImageList* list = listOf(4);
    EXPECT_EQ(removeAt(list, 1), item(20));
    EXPECT_EQ(removeAt(list, 3), nullptr);
    EXPECT_EQ(removeAt(nullptr, 0), nullptr);
    EXPECT_EQ(removeItem(list, item(40)), item(40));
    // Absent: -1, and the list is unchanged; a null list hands the item back.
    EXPECT_EQ(removeItem(list, item(77)), notInList());
    EXPECT_EQ(reinterpret_cast<intptr_t>(notInList()), -1);
    EXPECT_EQ(removeItem(nullptr, item(77)), item(77));
    ASSERT_EQ(count(list), 2);
    EXPECT_EQ(itemAt(list, 0), item(10));
    EXPECT_EQ(itemAt(list, 1), item(30));

    clear(list);
    EXPECT_EQ(count(list), 0);
    EXPECT_EQ(list->capacity, 8);
    destroy(list, 1);
}

TEST(ImageList, DestroyWithoutBitZeroLeavesAUsableEmptyList) {
    ImageList list;
    for (int i = 0; i < 9; i++) append(&list, item(i));
    destroy(&list, 0);
    EXPECT_EQ(list.items, nullptr);
    EXPECT_EQ(count(&list), 0);
    EXPECT_EQ(itemAt(&list, 0), nullptr);
    EXPECT_EQ(removeAt(&list, 0), nullptr);
    EXPECT_EQ(indexOf(&list, item(1)), -1);
    EXPECT_EQ(append(&list, item(5)), 1);
    EXPECT_EQ(list.capacity, 8);
    EXPECT_EQ(itemAt(&list, 0), item(5));
    destroy(nullptr, 1);  // ignored
}

TEST(ImageList, DestroyWithImagesReleasesTheItems) {
    ImageList* list = createImageList();
    for (int i = 0; i < 3; i++) append(list, new Image());
    Image* kept = static_cast<Image*>(removeAt(list, 0));
    destroyWithImages(list);  // leak checking sees that the other two are gone
    EXPECT_EQ(kept->getNx(), 0);
    delete kept;
    destroyWithImages(nullptr);
}

}  // namespace
}  // namespace tarnview
