#include "app/commandLine.h"

#include <climits>
#include <cstdio>
#include <cstring>

namespace tarnview {

namespace {

// Reads the argument after "-min"/"-max" as " %f"; a word that is not a number, or no
// argument at all, leaves the limit as it was.
void readLimit(const char* argument, float& limit) {
    if (argument == nullptr) return;
    float value;
    if (std::sscanf(argument, " %f", &value) == 1) limit = value;
}

// Reads the argument after "-z": a section number is decimal digits only, at most 2^31 - 1.
// Anything else (a sign, a fraction, trailing text) is kept as badSection.
void readSection(const char* argument, CommandLine& line) {
    if (argument == nullptr) return;
    long long value = 0;
    const char* p = argument;
    for (; *p >= '0' && *p <= '9' && value <= INT_MAX; p++) value = value * 10 + (*p - '0');
    if (p != argument && *p == 0 && value <= INT_MAX) {
        line.section = int(value);
        line.badSection = nullptr;
    } else {
        line.badSection = argument;
    }
}

}  // namespace

bool parseCommandLine(int argc, const char* const* argv, CommandLine& line) {
    int i = 1;
    while (i < argc && argv[i][0] == '-') {
        const char* option = argv[i];
        if (std::strcmp(option, "-mrc") == 0) {
            line.inputType = mrcInput;
        } else if (std::strcmp(option, "-sal") == 0) {
            line.inputType = salInput;
        } else if (std::strcmp(option, "-imagic") == 0) {
            line.inputType = imagicInput;
        } else if (std::strcmp(option, "-fft") == 0) {
            line.fft = true;
        } else if (std::strcmp(option, "-v") == 0) {
            line.verbose = true;
        } else if (std::strcmp(option, "-min") == 0 || std::strcmp(option, "-max") == 0) {
            // The value is always consumed; as the last argument there is nothing to read.
            const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
            readLimit(value, std::strcmp(option, "-min") == 0 ? line.minGrey : line.maxGrey);
            i++;
        } else if (std::strcmp(option, "-z") == 0) {
            readSection(i + 1 < argc ? argv[i + 1] : nullptr, line);
            i++;
        }
        i++;
    }
    line.argIndex = i;
    if (argc < 2 || argc - i < 2 || line.inputType == noInput) return false;
    line.inputPath = argv[i];
    line.outputPath = argv[i + 1];
    return true;
}

}  // namespace tarnview
