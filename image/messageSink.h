#pragma once
// The one way the library's messages leave it. By default a message is printed on
// standard output, exactly as printf would print it. A thread that installs a
// MessageCapture receives its own messages in that capture instead, so a caller (the
// Python binding) can turn a failed call's message into an error and a successful call's
// messages into log records, while other threads print or capture theirs.
#include <string>

namespace tarnview {

/// Formats a message as printf does and sends it to the calling thread's capture, or to
/// standard output when the thread has none.
void emitMessage(const char* format, ...) __attribute__((format(printf, 1, 2)));

/// Collects the calling thread's messages while it lives. Captures nest: the innermost
/// one receives the text, and the previous one is restored when it ends.
class MessageCapture {
  public:
    MessageCapture();
    ~MessageCapture();
    MessageCapture(const MessageCapture&) = delete;
    MessageCapture& operator=(const MessageCapture&) = delete;

    /// Everything captured so far, in order.
    const std::string& text() const { return captured; }
    /// Hands over the text captured so far and starts again empty.
    std::string take();

  private:
    friend void emitMessage(const char* format, ...);
    std::string captured;
    MessageCapture* previous;
};

}  // namespace tarnview
