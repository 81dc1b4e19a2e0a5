// Fuzz target for IMAGIC stacks. The first input byte b gives the number of header
// records, (b & 31) + 1; that many 1024-byte records follow (fewer if the input ends),
// and the rest is the data file. With bit 7 of b set, the header file is completed to
// its number of records by repeating its last (partial) record, so that stacks long
// enough to grow the image list beyond its first 8 slots are cheap to reach.
//
// Every input is read twice: from streams of known length and from streams of unknown
// length (as pipes).
//
// Size cap (set by `make fuzz`): inputs of at most 32 KiB (-max_len=32768) and
// allocations of at most 64 MiB (ASAN_OPTIONS max_allocation_size_mb=64 with
// allocator_may_return_null). Nothing is skipped: images declared beyond the cap fail to allocate and
// are left out with their message.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <vector>

#include "formats/ImageList.h"
#include "formats/imagicReader.h"
#include "fuzzStreams.h"

namespace {

constexpr size_t recordBytes = 1024;

void readStack(const std::vector<uint8_t>& header, const uint8_t* samples, size_t sampleBytes,
               bool knownLength) {
    using namespace tarnview::fuzz;
    std::FILE* headerFile = knownLength ? knownLengthStream(header.data(), header.size())
                                        : unknownLengthStream(header.data(), header.size());
    std::FILE* dataFile =
        knownLength ? knownLengthStream(samples, sampleBytes) : unknownLengthStream(samples, sampleBytes);
    if (headerFile != nullptr && dataFile != nullptr)
        tarnview::destroyWithImages(tarnview::readImagicStreams(headerFile, dataFile, "fuzz/stack.img"));
    if (headerFile != nullptr) std::fclose(headerFile);
    if (dataFile != nullptr) std::fclose(dataFile);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    const size_t records = size_t(data[0] & 31) + 1;
    const bool repeatLast = (data[0] & 0x80) != 0;
    size_t given = size - 1 < records * recordBytes ? size - 1 : records * recordBytes;
    std::vector<uint8_t> header(data + 1, data + 1 + given);
    if (repeatLast && given > 0) {
        const size_t lastStart = (given - 1) / recordBytes * recordBytes;
        const std::vector<uint8_t> last(header.begin() + long(lastStart), header.end());
        header.resize(lastStart);
        while (header.size() < records * recordBytes) header.insert(header.end(), last.begin(), last.end());
    }
    const uint8_t* samples = data + 1 + given;
    const size_t sampleBytes = size - 1 - given;
    readStack(header, samples, sampleBytes, true);
    readStack(header, samples, sampleBytes, false);
    return 0;
}
