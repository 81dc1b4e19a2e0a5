#pragma once
// Streams over a fuzz input, for the targets: one that knows its length (a regular file,
// seekable) and one that does not (as from a pipe: no seeking, no length, the bytes
// delivered in pieces of at most 4096).
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>

namespace tarnview::fuzz {

/// A read-only, seekable stream over size bytes (the bytes are not copied); an empty
/// stream when size is 0. Null when the stream cannot be made. Close with fclose.
inline std::FILE* knownLengthStream(const uint8_t* data, size_t size) {
    static uint8_t none = 0;
    return fmemopen(size == 0 ? &none : const_cast<uint8_t*>(data), size, "rb");
}

namespace detail {

struct PipeLike {
    const uint8_t* data;
    size_t size;
    size_t at;
};

inline ssize_t readPiece(void* cookie, char* out, size_t want) {
    auto* p = static_cast<PipeLike*>(cookie);
    size_t n = p->size - p->at;
    if (n > want) n = want;
    if (n > 4096) n = 4096;
    std::memcpy(out, p->data + p->at, n);
    p->at += n;
    return ssize_t(n);
}

inline int closePipeLike(void* cookie) {
    delete static_cast<PipeLike*>(cookie);
    return 0;
}

}  // namespace detail

/// A read-only stream over size bytes that cannot seek or tell its position, as a pipe.
/// Null when the stream cannot be made. Close with fclose.
inline std::FILE* unknownLengthStream(const uint8_t* data, size_t size) {
    auto* cookie = new detail::PipeLike{data, size, 0};
    cookie_io_functions_t functions = {detail::readPiece, nullptr, nullptr, detail::closePipeLike};
    std::FILE* stream = fopencookie(cookie, "rb", functions);
    if (stream == nullptr) delete cookie;
    return stream;
}

}  // namespace tarnview::fuzz
