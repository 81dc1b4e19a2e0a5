#include "image/progress.h"

#include <atomic>
#include <climits>

namespace tarnview {

namespace {
// Atomic, so that operations running in several threads at once may report and a front
// end may poll from another thread; the record then shows the latest report of any.
std::atomic<std::time_t> lastReport{0};
std::atomic<const char*> currentMessage{nullptr};
}  // namespace

void reportProgress(int done, int /*total*/, const char* message) {
    if (done == -1) {
        lastReport = 0;
        currentMessage = nullptr;
        return;
    }
    lastReport = std::time(nullptr);
    currentMessage = message;
}

const char* progressMessage() {
    return currentMessage;
}

std::time_t progressTime() {
    return lastReport;
}

int progressFigure(long long value) {
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
    return int(value);
}

}  // namespace tarnview
