#pragma once
// Runs the converter as a hostile input would meet it: with a time limit and a memory
// limit, collecting its output, its exit status or the signal that ended it, and its
// peak resident memory.
#include <string>
#include <vector>

namespace tarnview::test {

struct Limits {
    double seconds = 20;  // killed after this long
    // Release build: the address-space limit (ulimit -v). Sanitizer build: ASan's
    // max_allocation_size_mb (with allocator_may_return_null) and hard_rss_limit_mb,
    // since its shadow memory is reserved at start.
    long long addressSpaceMb = 1024;
    long long allocationMb = 1024;
    long long rssMb = 1024;
};

struct LimitedRun {
    std::string out;
    std::string err;
    int status = -1;  // exit status, or -1 when the program did not exit
    int signal = 0;   // the signal that ended it, or 0
    bool timedOut = false;
    long long peakRssMb = 0;
};

/// Whether this suite runs against the sanitizer build.
bool sanitizedBuild();

/// Runs the tarnview binary with args in directory dir, standard input from /dev/null,
/// under the limits.
LimitedRun runTarnview(const std::vector<std::string>& args, const std::string& dir,
                       const Limits& limits = {});

}  // namespace tarnview::test
