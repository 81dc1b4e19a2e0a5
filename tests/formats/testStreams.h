#pragma once
// Streams over bytes for the reader tests: one that can seek (a temporary file) and one
// that cannot (a pipe), so that readers meet short reads as they happen.
#include <fcntl.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <vector>

namespace tarnview::test {

/// A temporary file holding bytes, positioned at its start; close with fclose.
inline FILE* fileStreamOf(const std::vector<uint8_t>& bytes) {
    FILE* f = std::tmpfile();
    if (f == nullptr) return nullptr;
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::rewind(f);
    return f;
}

/// A pipe holding bytes (at most 1 MiB), its writing end closed; close with fclose.
inline FILE* pipeStreamOf(const std::vector<uint8_t>& bytes) {
    int fds[2];
    if (pipe(fds) != 0) return nullptr;
    fcntl(fds[1], F_SETPIPE_SZ, 1 << 20);
    size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = write(fds[1], bytes.data() + done, bytes.size() - done);
        if (n <= 0) break;
        done += size_t(n);
    }
    close(fds[1]);
    return fdopen(fds[0], "rb");
}

}  // namespace tarnview::test
