#include "formats/CommandPipe.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

extern char** environ;

namespace tarnview {

CommandPipe openCommandPipe(const char* const argv[], int input) {
    CommandPipe result;
    int ends[2];
    // Close-on-exec, so that the program inherits only the write end duplicated onto its
    // standard output.
    if (pipe2(ends, O_CLOEXEC) != 0) return result;
    posix_spawn_file_actions_t actions;
    if (posix_spawn_file_actions_init(&actions) != 0) {
        close(ends[0]);
        close(ends[1]);
        return result;
    }
    if (input >= 0) posix_spawn_file_actions_adddup2(&actions, input, STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, ends[1], STDOUT_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t pid = -1;
    const int started =
        posix_spawnp(&pid, argv[0], &actions, nullptr, const_cast<char* const*>(argv), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(ends[1]);
    if (started != 0) {
        close(ends[0]);
        return result;
    }
    result.stream = fdopen(ends[0], "rb");
    result.pid = pid;
    if (result.stream == nullptr) {
        close(ends[0]);
        closeCommandPipe(result);
    }
    return result;
}

int closeCommandPipe(CommandPipe& pipe) {
    if (pipe.stream != nullptr) std::fclose(pipe.stream);
    pipe.stream = nullptr;
    if (pipe.pid <= 0) return 0;
    int status = 0;
    pid_t waited;
    do waited = waitpid(pipe.pid, &status, 0);
    while (waited < 0 && errno == EINTR);
    pipe.pid = -1;
    return waited > 0 && WIFEXITED(status) && WEXITSTATUS(status) == 0 ? 1 : 0;
}

}  // namespace tarnview
