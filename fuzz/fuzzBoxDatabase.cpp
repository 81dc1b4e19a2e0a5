// Fuzz target of the box database reader: each input is read as a database into an
// image, whose boxes are then written out again (to /dev/null) and removed one by one.
#include <cstddef>
#include <cstdint>
#include <cstdio>

#include "formats/boxDatabase.h"
#include "image/Image.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    std::FILE* in = fmemopen(const_cast<uint8_t*>(data), size, "rb");
    if (in == nullptr) return 0;
    tarnview::Image image;
    tarnview::readBoxDatabaseStream(image, in);
    std::fclose(in);
    tarnview::writeBoxDatabase(image, "/dev/null");
    while (image.getBoxCount() > 0) image.removeBox(image.getBoxCount() - 1);
    return 0;
}
