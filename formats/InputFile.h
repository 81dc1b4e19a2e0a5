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
    explicit InputFile(const char* name, bool buffered = true, int fifoWaitMilliseconds = fifoWriterWait) {
        open(name, buffered, fifoWaitMilliseconds);
    }
    /// No file yet; see open.
    InputFile() = default;
    ~InputFile();
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    /// How long, in milliseconds, a FIFO is given to deliver its first byte (or to be
    /// closed by its writer) before the open fails: a writer may arrive a moment after
    /// the reader.
    static constexpr int fifoWriterWait = 3000;

    /// Opens name for binary reading (closing any file open before), with the large
    /// buffer or, when buffered is false, with no stdio buffer at all. The open of a FIFO
    /// does not wait for a writer, but the open then waits up to fifoWaitMilliseconds for
    /// the first data or for the writer's end (an empty stream). Returns 1, or 0 when the
    /// file cannot be opened (nothing printed) or after printing "Nothing was written to
    /// %s within %g s\n" when the wait ran out (see failureReported).
    int open(const char* name, bool buffered = true, int fifoWaitMilliseconds = fifoWriterWait);
    /// Whether the last open failed with a message of its own, which its caller does not
    /// repeat.
    bool failureReported() const { return reported; }
    /// The stream, or null when no file is open.
    FILE* get() const { return file; }
    explicit operator bool() const { return file != nullptr; }

  private:
    std::unique_ptr<char[]> buffer;  // outlives the stream that uses it
    FILE* file = nullptr;
    bool reported = false;
};

}  // namespace tarnview
