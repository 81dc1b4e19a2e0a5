// Fuzz target of the MRC stream parser. Each input is parsed as a regular file of known
// length and as a pipe of unknown length, by the 2-D reader and by the section reader
// (section 1, which exercises the passing over of section 0), and its header by the
// section count.
//
// Size cap (set by `make fuzz`): inputs of at most 32 KiB (-max_len=32768) and
// allocations of at most 64 MiB (ASAN_OPTIONS max_allocation_size_mb=64 with
// allocator_may_return_null). Nothing is skipped: a header may declare up to 2^31 - 1 samples. For mode
// 0, and for every mode read from a pipe, the reader allocates the declared image before
// the data shows how much there is; beyond the cap the allocation fails and the reader
// refuses the image with its "Not enough memory" message.
#include <cstddef>
#include <cstdint>
#include <cstdio>

#include "formats/mrcReader.h"
#include "fuzzStreams.h"
#include "image/Image.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (std::FILE* in = tarnview::fuzz::knownLengthStream(data, size)) {
        tarnview::Image image;
        tarnview::readMrcStream(image, in, int64_t(size));
        std::rewind(in);
        tarnview::readMrcSectionStream(image, in, int64_t(size), 1);
        std::rewind(in);
        tarnview::readMrcSectionCountStream(in);
        std::fclose(in);
    }
    if (std::FILE* in = tarnview::fuzz::unknownLengthStream(data, size)) {
        tarnview::Image image;
        tarnview::readMrcStream(image, in, -1);
        std::fclose(in);
    }
    if (std::FILE* in = tarnview::fuzz::unknownLengthStream(data, size)) {
        tarnview::Image image;
        tarnview::readMrcSectionStream(image, in, -1, 1);
        std::fclose(in);
    }
    return 0;
}
