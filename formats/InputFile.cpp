#include "formats/InputFile.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <new>

#include "formats/formatsMessages.h"

namespace tarnview {

namespace {
// Large enough to make system calls rare, small enough to stay in the cache.
constexpr size_t bufferBytes = size_t(256) << 10;

// Whether fd, when it is a FIFO, has data or a writer that came and went within the wait
// (a FIFO opened without a writer reports neither until one arrives); true for any other
// file.
bool awaitWriter(int fd, int milliseconds) {
    struct stat status;
    if (fstat(fd, &status) != 0 || !S_ISFIFO(status.st_mode)) return true;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        pollfd ready = {fd, POLLIN, 0};
        const int n = poll(&ready, 1, int(std::max<int64_t>(0, left.count())));
        if (n > 0) return true;
        if (n == 0 || errno != EINTR) return false;
    }
}
}  // namespace

int InputFile::open(const char* name, bool buffered, int fifoWaitMilliseconds) {
    if (file != nullptr) std::fclose(file);
    file = nullptr;
    reported = false;
    // Opened without waiting: a FIFO with no writer would block a plain open for ever.
    // Its first read would then see no writer and an empty stream, so the first data or
    // a writer's end is awaited here, for a bounded time; reads wait as usual once the
    // flag is cleared.
    const int fd = ::open(name, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return 0;
    if (!awaitWriter(fd, fifoWaitMilliseconds)) {
        printNothingWrittenToFifo(name, fifoWaitMilliseconds / 1000.0);
        reported = true;
        close(fd);
        return 0;
    }
    const int flags = fcntl(fd, F_GETFL);
    if (flags < 0 || fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0 || (file = fdopen(fd, "rb")) == nullptr) {
        close(fd);
        return 0;
    }
    if (!buffered) {
        std::setvbuf(file, nullptr, _IONBF, 0);
        return 1;
    }
    if (!buffer) buffer.reset(new (std::nothrow) char[bufferBytes]);
    // Without the buffer (no memory) the stream keeps its default one.
    if (buffer) std::setvbuf(file, buffer.get(), _IOFBF, bufferBytes);
    return 1;
}

InputFile::~InputFile() {
    if (file != nullptr) std::fclose(file);
}

}  // namespace tarnview
