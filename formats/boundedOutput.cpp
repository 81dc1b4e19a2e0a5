#include "formats/boundedOutput.h"

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>

#include "formats/formatsMessages.h"

namespace tarnview {

namespace {

int64_t nowMilliseconds() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// Reaps pid when it has ended (or waits for it when block); -1 when it is not running
// any more, with *ok cleared unless it exited with status 0.
pid_t reap(pid_t pid, bool block, bool* ok) {
    if (pid <= 0) return -1;
    int status = 0;
    pid_t waited;
    do waited = waitpid(pid, &status, block ? 0 : WNOHANG);
    while (waited < 0 && errno == EINTR);
    if (waited == 0) return pid;  // still running
    if (waited < 0 || !WIFEXITED(status) || WEXITSTATUS(status) != 0) *ok = false;
    return -1;
}

constexpr int pollStepMilliseconds = 10;  // between looks at programs still running

}  // namespace

BoundedOutput::BoundedOutput(CommandPipe& commandPipe, RunBounds runBounds, const char* name)
    : pipe(commandPipe), bounds(runBounds), program(name), started(nowMilliseconds()) {
    const cookie_io_functions_t functions = {readCookie, nullptr, nullptr, nullptr};
    if (pipe.stream != nullptr) bounded = fopencookie(this, "r", functions);
}

BoundedOutput::~BoundedOutput() {
    finish();
}

int64_t BoundedOutput::millisecondsLeft() const {
    return std::max<int64_t>(0, started + bounds.milliseconds - nowMilliseconds());
}

ssize_t BoundedOutput::readCookie(void* cookie, char* buffer, size_t size) {
    return static_cast<BoundedOutput*>(cookie)->read(buffer, size);
}

// Reads straight from the pipe's descriptor: its own stream is never read, so it holds
// no bytes.
ssize_t BoundedOutput::read(char* buffer, size_t size) {
    if (stopped) return -1;
    if (size == 0) return 0;
    if (delivered >= bounds.outputBytes) {
        stop(true);
        return -1;
    }
    size = size_t(std::min<int64_t>(int64_t(size), bounds.outputBytes - delivered));
    const int fd = fileno(pipe.stream);
    for (;;) {
        pollfd ready = {fd, POLLIN, 0};
        const int n = poll(&ready, 1, int(std::min<int64_t>(millisecondsLeft(), 1 << 30)));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            stop(false);
            return -1;
        }
        const ssize_t got = ::read(fd, buffer, size);
        if (got < 0 && errno == EINTR) continue;
        if (got > 0) delivered += got;
        return got;
    }
}

void BoundedOutput::stop(bool tooLarge) {
    stopped = true;
    for (pid_t pid : {pipe.pid, pipe.feederPid})
        if (pid > 0) kill(pid, SIGKILL);
    if (tooLarge)
        printConverterOutputTooLarge(program, static_cast<long long>(bounds.outputBytes));
    else
        printConverterTooSlow(program, double(bounds.milliseconds) / 1000);
    dropped.emplace();
}

int BoundedOutput::finish() {
    if (pipe.stream == nullptr) return 0;
    if (bounded != nullptr) std::fclose(bounded);
    bounded = nullptr;
    // A program still writing ends on the closed pipe; one that lingers is killed when
    // the time is up.
    std::fclose(pipe.stream);
    pipe.stream = nullptr;
    bool ok = !stopped;
    pid_t last = pipe.pid, feeder = pipe.feederPid;
    while ((last > 0 || feeder > 0) && millisecondsLeft() > 0) {
        last = reap(last, false, &ok);
        feeder = reap(feeder, false, &ok);
        if (last > 0 || feeder > 0) usleep(pollStepMilliseconds * 1000);
    }
    for (pid_t pid : {last, feeder})
        if (pid > 0) {
            kill(pid, SIGKILL);
            reap(pid, true, &ok);
        }
    pipe.pid = -1;
    pipe.feederPid = -1;
    dropped.reset();
    return ok ? 1 : 0;
}

}  // namespace tarnview
