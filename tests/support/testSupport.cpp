#include "support/testSupport.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <bit>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

extern char** environ;

namespace tarnview::test {

std::string captureStdout(const std::function<void()>& f) {
    std::fflush(stdout);
    testing::internal::CaptureStdout();
    f();
    std::fflush(stdout);
    return testing::internal::GetCapturedStdout();
}

std::string scratchPath(const std::string& name) {
    static std::string dir = [] {
        const char* base = std::getenv("TARNVIEW_TMP");
        std::string root = base && *base ? base : "/tmp";
        std::string d = root + "/tarnview-test-" + std::to_string(getpid());
        std::filesystem::create_directories(d);
        return d;
    }();
    return dir + "/" + name;
}

void writeBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

void writeText(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
}

std::vector<uint8_t> readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

bool fileExists(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0;
}

bool haveProgram(const std::string& name) {
    const char* p = std::getenv("PATH");
    std::string paths = p ? p : "/usr/bin:/bin";
    size_t start = 0;
    while (start <= paths.size()) {
        size_t end = paths.find(':', start);
        if (end == std::string::npos) end = paths.size();
        std::string candidate = paths.substr(start, end - start) + "/" + name;
        if (access(candidate.c_str(), X_OK) == 0) return true;
        start = end + 1;
    }
    return false;
}

RunResult runProgram(const std::vector<std::string>& argv) {
    RunResult result;
    int outPipe[2], errPipe[2];
    if (pipe(outPipe) != 0 || pipe(errPipe) != 0) return result;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, outPipe[1], 1);
    posix_spawn_file_actions_adddup2(&actions, errPipe[1], 2);
    posix_spawn_file_actions_addclose(&actions, outPipe[0]);
    posix_spawn_file_actions_addclose(&actions, errPipe[0]);
    std::vector<char*> args;
    for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    pid_t pid;
    int rc = posix_spawn(&pid, args[0], &actions, nullptr, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(outPipe[1]);
    close(errPipe[1]);
    if (rc != 0) {
        close(outPipe[0]);
        close(errPipe[0]);
        return result;
    }
    pollfd fds[2] = {{outPipe[0], POLLIN, 0}, {errPipe[0], POLLIN, 0}};
    std::string* sinks[2] = {&result.out, &result.err};
    int open = 2;
    char buf[65536];
    while (open > 0) {
        if (poll(fds, 2, -1) < 0) break;
        for (int i = 0; i < 2; i++) {
            if (fds[i].fd < 0 || !(fds[i].revents & (POLLIN | POLLHUP | POLLERR))) continue;
            ssize_t got = read(fds[i].fd, buf, sizeof buf);
            if (got > 0) {
                sinks[i]->append(buf, size_t(got));
            } else {
                close(fds[i].fd);
                fds[i].fd = -1;
                open--;
            }
        }
    }
    int status = 0;
    waitpid(pid, &status, 0);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

void putU32(std::vector<uint8_t>& out, uint32_t v, bool bigEndian) {
    for (int i = 0; i < 4; i++) {
        int shift = bigEndian ? 24 - 8 * i : 8 * i;
        out.push_back(uint8_t(v >> shift));
    }
}

void putF32(std::vector<uint8_t>& out, float v, bool bigEndian) {
    putU32(out, std::bit_cast<uint32_t>(v), bigEndian);
}

void putU16(std::vector<uint8_t>& out, uint16_t v, bool bigEndian) {
    if (bigEndian) {
        out.push_back(uint8_t(v >> 8));
        out.push_back(uint8_t(v));
    } else {
        out.push_back(uint8_t(v));
        out.push_back(uint8_t(v >> 8));
    }
}

RunResult runTarnview(std::vector<std::string> args) {
    args.insert(args.begin(), TARNVIEW_BINARY);
    return runProgram(args);
}

}  // namespace tarnview::test
