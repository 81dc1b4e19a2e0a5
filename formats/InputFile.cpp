#include "formats/InputFile.h"

#include <new>

namespace tarnview {

namespace {
// Large enough to make system calls rare, small enough to stay in the cache.
constexpr size_t bufferBytes = size_t(256) << 10;
}  // namespace

int InputFile::open(const char* name, bool buffered) {
    if (file != nullptr) std::fclose(file);
    file = std::fopen(name, "rb");
    if (file == nullptr) return 0;
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
