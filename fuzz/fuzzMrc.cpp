// Fuzz target of the MRC stream parser. Each input is parsed twice: as a regular file of
// known length and as a pipe of unknown length.
//
// Size cap: a header may declare up to 2^31 - 1 samples and nothing is skipped. For
// mode 0, and for every mode read from a pipe, the reader allocates the declared image
// before the data shows how much there is; the fuzzer's allocation limit
// (ASAN_OPTIONS max_allocation_size_mb with allocator_may_return_null, set by `make
// fuzz`) makes the larger ones fail, which the reader refuses with its "Not enough
// memory" message.
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
        std::fclose(in);
    }
    if (std::FILE* in = tarnview::fuzz::unknownLengthStream(data, size)) {
        tarnview::Image image;
        tarnview::readMrcStream(image, in, -1);
        std::fclose(in);
    }
    return 0;
}
