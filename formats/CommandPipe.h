#pragma once
// Reading the standard output of an external program, run without a shell: its
// arguments reach it exactly as given, whatever characters they hold.
#include <sys/types.h>

#include <cstdio>

namespace tarnview {

/// A program running with its standard output on stream.
struct CommandPipe {
    std::FILE* stream = nullptr;
    pid_t pid = -1;
};

/// Starts argv[0], looked up on PATH, with the null-terminated argument vector argv; its
/// standard output becomes the returned stream, its standard error goes to /dev/null
/// (nothing reaches this process's standard error), and its standard input is the open
/// descriptor input when one is given (it stays open here too). Returns a pipe whose
/// stream is null when the program cannot be started. Prints nothing. Close it with
/// closeCommandPipe.
CommandPipe openCommandPipe(const char* const argv[], int input = -1);

/// Closes the stream and waits for the program. Returns 1 when the program exited with
/// status 0, else 0. A program still writing is ended by the closed pipe.
int closeCommandPipe(CommandPipe& pipe);

}  // namespace tarnview
