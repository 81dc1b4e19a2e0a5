// Fuzz target of the ImageList container: each pair of input bytes is one operation (the
// first byte chooses it, the second gives an index or an item) applied both to a list and
// to a plain vector that models it; any difference, and any out-of-bounds access the
// sanitizers see, is a failure. The items are small integers stored as pointers.
//
// Size cap (set by `make fuzz`): inputs of at most 32 KiB (-max_len=32768), so at most
// 16384 operations.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "formats/ImageList.h"

namespace {

void* itemOf(int v) {
    return reinterpret_cast<void*>(uintptr_t(v) + 1);
}

// The index operand: mostly inside the list, sometimes just outside or negative.
int indexOf(uint8_t b, size_t size) {
    return int(b % (size + 3)) - 1;
}

int modelIndexOf(const std::vector<void*>& model, void* item) {
    for (size_t i = 0; i < model.size(); i++)
        if (model[i] == item) return int(i);
    return -1;
}

void check(bool ok) {
    if (!ok) std::abort();
}

// Applies operation op with operand b to list and to model.
void apply(tarnview::ImageList* list, std::vector<void*>& model, uint8_t op, uint8_t b) {
    using namespace tarnview;
    const int index = indexOf(b, model.size());
    const bool inside = index >= 0 && size_t(index) < model.size();
    void* item = itemOf(b % 16);
    switch (op % 9) {
        case 0:
            check(append(list, item) == 1);
            model.push_back(item);
            break;
        case 1: {
            check(insertAt(list, item, index) == 1);
            const size_t at = index < 0 ? 0 : size_t(index) > model.size() ? model.size() : size_t(index);
            model.insert(model.begin() + long(at), item);
            break;
        }
        case 2:
            check(itemAt(list, index) == (inside ? model[size_t(index)] : nullptr));
            break;
        case 3:
            check(indexOf(list, item) == modelIndexOf(model, item));
            break;
        case 4:
            check(replaceAt(list, index, item) == (inside ? model[size_t(index)] : nullptr));
            if (inside) model[size_t(index)] = item;
            break;
        case 5: {
            void* old = itemOf((b >> 4) % 16);
            const int at = modelIndexOf(model, old);
            check(replaceItem(list, old, item) == (at >= 0 ? old : nullptr));
            if (at >= 0) model[size_t(at)] = item;
            break;
        }
        case 6:
            check(removeAt(list, index) == (inside ? model[size_t(index)] : nullptr));
            if (inside) model.erase(model.begin() + index);
            break;
        case 7: {
            const int at = modelIndexOf(model, item);
            check(removeItem(list, item) == (at >= 0 ? item : notInList()));
            if (at >= 0) model.erase(model.begin() + at);
            break;
        }
        default:
            if (b % 8 == 0) {
                clear(list);
                model.clear();
            }
    }
    check(count(list) == int(model.size()) && list->capacity > list->count);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    tarnview::ImageList* list = tarnview::createImageList();
    if (list == nullptr) return 0;
    std::vector<void*> model;
    for (size_t i = 0; i + 1 < size; i += 2) apply(list, model, data[i], data[i + 1]);
    tarnview::destroy(list, 1);
    return 0;
}
