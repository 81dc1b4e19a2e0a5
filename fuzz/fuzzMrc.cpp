// Fuzz target of the MRC stream parser. Each input is parsed twice: as a regular file of
// known length and as a pipe of unknown length.
//
// A header may declare up to 2^31 - 1 samples; the reader allocates them for mode 0 and
// for pipes, where the data's length is not known in advance. The harness skips those
// two readings for headers that declare more than 2^20 samples, to keep each run small.
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

#include "formats/byteOrder.h"
#include "formats/mrcReader.h"
#include "image/Image.h"

namespace {

constexpr int64_t largestAllocatedRead = int64_t(1) << 20;

void parse(std::vector<uint8_t>& bytes, bool knownLength) {
    std::FILE* in = fmemopen(bytes.data(), bytes.size(), "rb");
    if (in == nullptr) return;
    tarnview::Image image;
    tarnview::readMrcStream(image, in, knownLength ? int64_t(bytes.size()) : -1);
    std::fclose(in);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    std::vector<uint8_t> bytes(data, data + size);
    bool large = false, byteMode = false;
    if (size >= 16) {
        using tarnview::ByteOrder;
        const ByteOrder order = data[0] == 0 && data[1] == 0 ? ByteOrder::bigEndian : ByteOrder::littleEndian;
        const int64_t nx = int32_t(tarnview::decodeWord(data, order));
        const int64_t ny = int32_t(tarnview::decodeWord(data + 4, order));
        byteMode = int32_t(tarnview::decodeWord(data + 12, order)) == 0;
        large = nx * ny * 2 > largestAllocatedRead || nx * ny * 2 < -largestAllocatedRead;
    }
    if (!large || !byteMode) parse(bytes, true);
    if (!large) parse(bytes, false);
    return 0;
}
