#include "image/messageSink.h"

#include <cstdarg>
#include <cstdio>
#include <utility>

namespace tarnview {

namespace {
thread_local MessageCapture* currentCapture = nullptr;
}  // namespace

MessageCapture::MessageCapture() : previous(currentCapture) {
    currentCapture = this;
}

MessageCapture::~MessageCapture() {
    currentCapture = previous;
}

std::string MessageCapture::take() {
    return std::exchange(captured, std::string());
}

void emitMessage(const char* format, ...) {
    std::va_list arguments;
    va_start(arguments, format);
    if (currentCapture == nullptr) {
        std::vprintf(format, arguments);
        va_end(arguments);
        return;
    }
    std::va_list again;
    va_copy(again, arguments);
    char small[512];
    const int length = std::vsnprintf(small, sizeof small, format, arguments);
    if (length >= 0 && size_t(length) < sizeof small) {
        currentCapture->captured.append(small, size_t(length));
    } else if (length > 0) {
        std::string text(size_t(length) + 1, '\0');
        std::vsnprintf(text.data(), text.size(), format, again);
        text.resize(size_t(length));
        currentCapture->captured += text;
    }
    va_end(again);
    va_end(arguments);
}

}  // namespace tarnview
