// Fuzz target for IMAGIC stacks. The first input byte gives the number of header records
// (1 to 4); that many 1024-byte records follow (fewer if the input ends), and the rest
// is the data file.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>

#include "formats/ImageList.h"
#include "formats/imagicReader.h"

namespace {

FILE* streamOver(const uint8_t* data, size_t size) {
    return fmemopen(const_cast<uint8_t*>(data), size, "rb");  // size 0 gives an empty stream
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    const size_t records = size_t(data[0] % 4) + 1;
    const size_t headerSize = std::min(size - 1, records * 1024);
    const size_t dataSize = size - 1 - headerSize;
    FILE* header = streamOver(data + 1, headerSize);
    FILE* samples = streamOver(data + 1 + headerSize, dataSize);
    if (header != nullptr && samples != nullptr)
        tarnview::destroyWithImages(tarnview::readImagicStreams(header, samples, "fuzz/stack.img"));
    if (header != nullptr) std::fclose(header);
    if (samples != nullptr) std::fclose(samples);
    return 0;
}
