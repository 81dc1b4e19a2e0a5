// Fuzz target for ScansALot scans. The input holds the header text and the data file
// apart: its first two bytes give the header's length n (little-endian, cut to what the
// input holds), the next n bytes are the header and the rest is the data. The header is
// parsed from a stream of known and one of unknown length; when it describes a scan, the
// data is read by the whole-scan and the corner reader, each from a stream of known
// length and from one of unknown length (as a pipe, which the corner reader cannot
// rewind).
//
// Size cap (set by `make fuzz`): inputs of at most 32 KiB (-max_len=32768) and
// allocations of at most 64 MiB (ASAN_OPTIONS max_allocation_size_mb=64 with
// allocator_may_return_null). Nothing is skipped: a scan declared beyond the cap and read from a pipe
// fails to allocate and is refused with its message.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <utility>

#include "formats/salReader.h"
#include "fuzzStreams.h"
#include "image/Image.h"

namespace {

tarnview::SalHeader parseHeader(const uint8_t* text, size_t size, bool knownLength) {
    using namespace tarnview::fuzz;
    std::FILE* stream = knownLength ? knownLengthStream(text, size) : unknownLengthStream(text, size);
    tarnview::SalHeader header;
    if (stream == nullptr) return header;
    header = tarnview::parseSalHeader(stream);
    std::fclose(stream);
    return header;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    size_t headerSize = size_t(data[0]) | size_t(data[1]) << 8;
    if (headerSize > size - 2) headerSize = size - 2;
    const uint8_t* text = data + 2;
    const uint8_t* samples = text + headerSize;
    const size_t sampleBytes = size - 2 - headerSize;

    parseHeader(text, headerSize, false);
    tarnview::SalHeader header = parseHeader(text, headerSize, true);
    if (header.exchangeAxes) std::swap(header.nx, header.ny);
    if (tarnview::salBlockLength(header) < 0) return 0;

    for (auto read : {tarnview::readSalData, tarnview::readSalCornerData})
        for (bool knownLength : {true, false}) {
            using namespace tarnview::fuzz;
            std::FILE* stream = knownLength ? knownLengthStream(samples, sampleBytes)
                                            : unknownLengthStream(samples, sampleBytes);
            if (stream == nullptr) return 0;
            tarnview::Image image;
            read(image, stream, header);
            std::fclose(stream);
        }
    return 0;
}
