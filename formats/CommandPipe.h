#pragma once
// Reading the standard output of an external program, or of a pipeline of two, run
// without a shell: their arguments reach them exactly as given, whatever characters they
// hold.
#include <sys/types.h>

#include <cstdio>

namespace tarnview {

/// A program (or the last of a pipeline of two) running with its standard output on
/// stream.
struct CommandPipe {
    std::FILE* stream = nullptr;
    pid_t pid = -1;
    pid_t feederPid = -1;  // the pipeline's first program, or -1
};

/// Starts argv[0], looked up on PATH, with the null-terminated argument vector argv; its
/// standard output becomes the returned stream, its standard input is the open
/// descriptor input when one is given (it stays open here too), else /dev/null, and its
/// standard error goes to /dev/null (nothing reaches this process's standard error).
/// Returns a pipe whose stream is null when the program cannot be started. Prints
/// nothing. Close it with closeCommandPipe.
CommandPipe openCommandPipe(const char* const argv[], int input = -1);

/// As openCommandPipe for the pipeline "first | second": first's standard output is
/// second's standard input, and second's standard output becomes the stream; first reads
/// input as openCommandPipe does. A null second runs first alone. When either program cannot be started, none
/// is left running and the stream is null.
CommandPipe openCommandPipeline(const char* const first[], const char* const second[], int input = -1);

/// Closes the stream and waits for the programs. Returns 1 when every program exited with
/// status 0, else 0. A program still writing is ended by the closed pipe.
int closeCommandPipe(CommandPipe& pipe);

}  // namespace tarnview
