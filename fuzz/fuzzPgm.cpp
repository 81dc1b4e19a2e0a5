// Fuzz target of the raw PGM stream parser. Each input is parsed as a stream of known
// length (a short one is refused before its samples are allocated) and, when that
// succeeds, so that the header's size is bounded by the input, again as a stream that
// cannot tell its length (a pipe), whole and without its last byte.
#include <sys/types.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "formats/convertedReader.h"
#include "image/Image.h"

namespace {

// A read-only stream over bytes that cannot seek, so its length is unknown to the reader.
struct Bytes {
    const uint8_t* data;
    size_t size;
    size_t position = 0;
};

ssize_t readBytes(void* cookie, char* buffer, size_t size) {
    auto* bytes = static_cast<Bytes*>(cookie);
    const size_t n = std::min(size, bytes->size - bytes->position);
    std::memcpy(buffer, bytes->data + bytes->position, n);
    bytes->position += n;
    return ssize_t(n);
}

int parse(std::FILE* in) {
    if (in == nullptr) return 0;
    tarnview::Image image;
    const int result = tarnview::readPgmStream(image, in);
    std::fclose(in);
    return result;
}

int parseUnseekable(const uint8_t* data, size_t size) {
    Bytes bytes{data, size};
    return parse(fopencookie(&bytes, "rb", cookie_io_functions_t{readBytes, nullptr, nullptr, nullptr}));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    if (!parse(fmemopen(const_cast<uint8_t*>(data), size, "rb"))) return 0;
    parseUnseekable(data, size);
    parseUnseekable(data, size - 1);
    return 0;
}
