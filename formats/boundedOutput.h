#pragma once
// The output of external programs read within bounds on their run: a time from the start
// of the reading and a number of bytes. Past either bound the programs are killed and the
// reading fails with one message.
#include <cstdint>
#include <cstdio>
#include <optional>

#include "formats/CommandPipe.h"
#include "image/messageSink.h"

namespace tarnview {

/// How long the programs may run and how much they may write.
struct RunBounds {
    int64_t milliseconds;
    int64_t outputBytes;
};

/// Reads the stream of a started pipe within bounds, counted from construction.
class BoundedOutput {
  public:
    /// pipe must have a stream; program names the programs in the messages.
    BoundedOutput(CommandPipe& pipe, RunBounds bounds, const char* program);
    /// As finish().
    ~BoundedOutput();
    BoundedOutput(const BoundedOutput&) = delete;
    BoundedOutput& operator=(const BoundedOutput&) = delete;

    /// The bounded stream, or null when it could not be made (then read pipe.stream
    /// unbounded). A read that needs bytes beyond outputBytes, or waits past the time,
    /// fails: the programs are killed, "The converter %s was stopped after %g s\n" or
    /// "The converter %s was stopped: its output is larger than %lld bytes\n" is printed
    /// once, and what the calling thread prints after it until finish is dropped (it only
    /// tells of the cut stream).
    std::FILE* stream() const { return bounded; }
    /// Whether a bound was passed.
    bool exceeded() const { return stopped; }
    /// Closes both streams and waits for the programs, killing those that have not ended
    /// when the time is up. Returns 1 when every program exited with status 0 within the
    /// bounds, else 0. Later calls return 0 and do nothing.
    int finish();

  private:
    static ssize_t readCookie(void* cookie, char* buffer, size_t size);
    ssize_t read(char* buffer, size_t size);
    void stop(bool tooLarge);
    int64_t millisecondsLeft() const;

    CommandPipe& pipe;
    RunBounds bounds;
    const char* program;
    int64_t started;  // steady clock, milliseconds
    int64_t delivered = 0;
    bool stopped = false;
    std::FILE* bounded = nullptr;
    std::optional<MessageCapture> dropped;  // what is printed after the stop
};

}  // namespace tarnview
