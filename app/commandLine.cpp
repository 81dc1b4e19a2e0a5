#include "app/commandLine.h"

#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
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

// The argument after a display option as a whole number (strtol, the whole word), or 0
// when it is missing, not a number or beyond the range of int.
int wholeNumber(const char* argument) {
    if (argument == nullptr) return 0;
    char* end = nullptr;
    errno = 0;
    const long value = std::strtol(argument, &end, 10);
    if (end == argument || *end != '\0' || errno != 0 || value < INT_MIN || value > INT_MAX) return 0;
    return int(value);
}

// The argument after a display option as a number (strtod, the whole word), or NaN.
double realNumber(const char* argument) {
    if (argument == nullptr) return std::nan("");
    char* end = nullptr;
    const double value = std::strtod(argument, &end);
    return end == argument || *end != '\0' ? std::nan("") : value;
}

}  // namespace

int parseDisplayOption(int argc, const char* const* argv, int i, DisplayOptions& options) {
    const char* option = argv[i];
    const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
    if (std::strcmp(option, "-psd") == 0) {
        options.psd = true;
        return 1;
    }
    if (std::strcmp(option, "-tile") == 0) {
        options.tile = wholeNumber(value);
    } else if (std::strcmp(option, "-bin") == 0) {
        options.bin = wholeNumber(value);
    } else if (std::strcmp(option, "-sigma") == 0 || std::strcmp(option, "-saturate") == 0) {
        options.rule = option[2] == 'i' ? sigmaRule : saturateRule;
        options.ruleValue = realNumber(value);
    } else {
        return 0;
    }
    return 2;
}

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
        } else if (const int used = parseDisplayOption(argc, argv, i, line.display)) {
            i += used - 1;
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
