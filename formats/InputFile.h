#pragma once
// A file opened for reading, by default with a large stdio buffer so that the readers'
// row-sized reads are served from memory instead of costing a system call each; a
// reader whose reads are large asks for none, and each read then goes straight into its
// destination. Closed when it goes out of scope.
#include <cstdio>
#include <memory>

namespace tarnview {

class InputFile {
  public:
    /// Opens name for binary reading; check with get() or operator bool.
    explicit InputFile(const char* name, bool buffered = true) { open(name, buffered); }
    /// No file yet; see open.
    InputFile() = default;
    ~InputFile();
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    /// Opens name for binary reading (closing any file open before), with the large
    /// buffer or, when buffered is false, with no stdio buffer at all. The open never
    /// waits: a FIFO that no program writes to opens as an empty stream. Returns 1, or 0
    /// when it cannot be opened.
    int open(const char* name, bool buffered = true);
    /// The stream, or null when no file is open.
    FILE* get() const { return file; }
    explicit operator bool() const { return file != nullptr; }

  private:
    std::unique_ptr<char[]> buffer;  // outlives the stream that uses it
    FILE* file = nullptr;
};

}  // namespace tarnview
