#include "formats/CommandPipe.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

extern char** environ;

namespace tarnview {

namespace {

// Starts argv with input (or /dev/null when it is -1) as its standard input, output as
// its standard output and /dev/null as its standard error. The pipe ends are
// close-on-exec, so the program inherits only the ones duplicated onto its standard
// streams. Returns the program's id, or -1.
pid_t spawn(const char* const argv[], int input, int output) {
    posix_spawn_file_actions_t actions;
    if (posix_spawn_file_actions_init(&actions) != 0) return -1;
    if (input >= 0)
        posix_spawn_file_actions_adddup2(&actions, input, STDIN_FILENO);
    else
        posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, output, STDOUT_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t pid = -1;
    const int started =
        posix_spawnp(&pid, argv[0], &actions, nullptr, const_cast<char* const*>(argv), environ);
    posix_spawn_file_actions_destroy(&actions);
    return started == 0 ? pid : -1;
}

// Waits for the program; 1 when it exited with status 0.
int waitFor(pid_t pid) {
    if (pid <= 0) return 0;
    int status = 0;
    pid_t waited;
    do waited = waitpid(pid, &status, 0);
    while (waited < 0 && errno == EINTR);
    return waited > 0 && WIFEXITED(status) && WEXITSTATUS(status) == 0 ? 1 : 0;
}

void closeBoth(int ends[2]) {
    if (ends[0] >= 0) close(ends[0]);
    if (ends[1] >= 0) close(ends[1]);
}

}  // namespace

CommandPipe openCommandPipe(const char* const argv[], int input) {
    return openCommandPipeline(argv, nullptr, input);
}

CommandPipe openCommandPipeline(const char* const first[], const char* const second[], int input) {
    CommandPipe result;
    int out[2] = {-1, -1};
    int link[2] = {-1, -1};
    if (pipe2(out, O_CLOEXEC) != 0) return result;
    if (second != nullptr && pipe2(link, O_CLOEXEC) != 0) {
        closeBoth(out);
        return result;
    }
    const pid_t firstPid = spawn(first, input, second != nullptr ? link[1] : out[1]);
    pid_t lastPid = firstPid;
    if (second != nullptr && firstPid > 0) lastPid = spawn(second, link[0], out[1]);
    closeBoth(link);
    close(out[1]);
    if (firstPid <= 0 || lastPid <= 0) {
        close(out[0]);
        if (firstPid > 0) {
            kill(firstPid, SIGKILL);
            waitFor(firstPid);
        }
        return result;
    }
    result.pid = lastPid;
    if (second != nullptr) result.feederPid = firstPid;
    result.stream = fdopen(out[0], "rb");
    if (result.stream == nullptr) {
        close(out[0]);
        closeCommandPipe(result);
    }
    return result;
}

int closeCommandPipe(CommandPipe& pipe) {
    if (pipe.stream != nullptr) std::fclose(pipe.stream);
    pipe.stream = nullptr;
    const int last = waitFor(pipe.pid);
    const int feeder = pipe.feederPid > 0 ? waitFor(pipe.feederPid) : 1;
    pipe.pid = -1;
    pipe.feederPid = -1;
    return last && feeder;
}

}  // namespace tarnview
