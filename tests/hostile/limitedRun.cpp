#include "limitedRun.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>

extern char** environ;

namespace tarnview::test {

bool sanitizedBuild() {
    return TARNVIEW_SANITIZED != 0;
}

namespace {

// The environment of the child: ours, with the sanitizer options set to the limits.
std::vector<std::string> childEnvironment(const Limits& limits) {
    std::vector<std::string> env;
    for (char** e = environ; *e != nullptr; e++)
        if (std::strncmp(*e, "ASAN_OPTIONS=", 13) != 0) env.push_back(*e);
    env.push_back(
        "ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:allocator_may_return_null=1:max_allocation_size_mb=" +
        std::to_string(limits.allocationMb) + ":hard_rss_limit_mb=" + std::to_string(limits.rssMb));
    return env;
}

std::vector<char*> pointers(std::vector<std::string>& strings) {
    std::vector<char*> p;
    for (auto& s : strings) p.push_back(s.data());
    p.push_back(nullptr);
    return p;
}

// Reads both pipes until they close or the deadline passes; false on the deadline.
bool collect(int outFd, int errFd, LimitedRun& result, std::chrono::steady_clock::time_point deadline) {
    pollfd fds[2] = {{outFd, POLLIN, 0}, {errFd, POLLIN, 0}};
    std::string* sinks[2] = {&result.out, &result.err};
    int open = 2;
    char buf[65536];
    while (open > 0) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) return false;
        if (poll(fds, 2, int(left.count())) <= 0) continue;
        for (int i = 0; i < 2; i++) {
            if (fds[i].fd < 0 || !(fds[i].revents & (POLLIN | POLLHUP | POLLERR))) continue;
            const ssize_t got = read(fds[i].fd, buf, sizeof buf);
            if (got > 0) {
                // Keep the start and the end of a long output.
                if (sinks[i]->size() < (size_t(8) << 20)) sinks[i]->append(buf, size_t(got));
            } else {
                fds[i].fd = -1;
                open--;
            }
        }
    }
    return true;
}

}  // namespace

LimitedRun runTarnview(const std::vector<std::string>& args, const std::string& dir, const Limits& limits) {
    LimitedRun result;
    std::vector<std::string> argv = {TARNVIEW_BINARY};
    argv.insert(argv.end(), args.begin(), args.end());
    std::vector<std::string> env = childEnvironment(limits);
    std::vector<char*> argp = pointers(argv), envp = pointers(env);
    int outPipe[2], errPipe[2];
    if (pipe2(outPipe, O_CLOEXEC) != 0) return result;
    if (pipe2(errPipe, O_CLOEXEC) != 0) {
        close(outPipe[0]);
        close(outPipe[1]);
        return result;
    }
    const rlimit addressSpace = {rlim_t(limits.addressSpaceMb) << 20, rlim_t(limits.addressSpaceMb) << 20};
    const bool limitAddressSpace = !sanitizedBuild();

    const pid_t pid = fork();
    if (pid == 0) {
        // Only async-signal-safe calls from here to exec.
        const int in = open("/dev/null", O_RDONLY);
        if (in < 0 || dup2(in, 0) < 0 || dup2(outPipe[1], 1) < 0 || dup2(errPipe[1], 2) < 0) _exit(126);
        if (chdir(dir.c_str()) != 0) _exit(126);
        if (limitAddressSpace && setrlimit(RLIMIT_AS, &addressSpace) != 0) _exit(126);
        signal(SIGPIPE, SIG_DFL);
        execve(argp[0], argp.data(), envp.data());
        _exit(127);
    }
    close(outPipe[1]);
    close(errPipe[1]);
    if (pid < 0) {
        close(outPipe[0]);
        close(errPipe[0]);
        return result;
    }
    const auto deadline = std::chrono::steady_clock::now() +
                          std::chrono::milliseconds(static_cast<long long>(limits.seconds * 1000));
    if (!collect(outPipe[0], errPipe[0], result, deadline)) {
        result.timedOut = true;
        kill(pid, SIGKILL);
    }
    close(outPipe[0]);
    close(errPipe[0]);
    int status = 0;
    rusage usage{};
    while (wait4(pid, &status, 0, &usage) < 0 && errno == EINTR) {
    }
    if (WIFEXITED(status)) result.status = WEXITSTATUS(status);
    if (WIFSIGNALED(status)) result.signal = WTERMSIG(status);
    result.peakRssMb = usage.ru_maxrss / 1024;
    return result;
}

}  // namespace tarnview::test
