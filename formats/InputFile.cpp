#include "formats/InputFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <new>

namespace tarnview {

namespace {
// Large enough to make system calls rare, small enough to stay in the cache.
constexpr size_t bufferBytes = size_t(256) << 10;
}  // namespace

int InputFile::open(const char* name, bool buffered) {
    if (file != nullptr) std::fclose(file);
    file = nullptr;
    // Opened without waiting: a FIFO with no writer would block a plain open for ever. It
    // then reads as an empty stream; reads wait as usual once the flag is cleared.
    const int fd = ::open(name, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return 0;
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
