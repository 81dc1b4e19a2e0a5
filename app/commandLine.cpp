#include "app/commandLine.h"

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
