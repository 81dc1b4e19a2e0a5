#pragma once
// The converter's command line:
//   tarnview (-mrc | -sal | -imagic) [-fft] [-v] [-min value] [-max value] [-z section]
//            infile outfile

namespace tarnview {

enum InputType { noInput = 0, mrcInput = 1, salInput = 2, imagicInput = 3 };

/// The section of "no -z given": the MRC file is read as a 2-D image.
inline constexpr int noSection = -1;

/// A grey limit of this value or above means "not given".
inline constexpr float limitNotGiven = 1e10f;

struct CommandLine {
    int inputType = noInput;
    bool fft = false;
    bool verbose = false;
    float minGrey = limitNotGiven;
    float maxGrey = limitNotGiven;
    int section = noSection;           // -z: the MRC section to convert
    const char* badSection = nullptr;  // the word after -z when it is not a section number
    int argIndex = 1;                  // the input file; the output file follows it
    const char* inputPath = nullptr;
    const char* outputPath = nullptr;
};

/// Parses the options before the first argument that does not begin with "-", by exact
/// whole-argument match; unknown options are skipped, the last type option wins, and
/// "-min"/"-max" consume the next argument (read with " %f"; not a number leaves the
/// limit unset); "-z" consumes the next argument as a section number (digits only, at
/// most 2^31 - 1; anything else is kept in badSection for the caller to refuse). Returns
/// false when the command line is incomplete (no arguments, fewer than two left for the
/// files, or no input type): the caller prints the usage text.
bool parseCommandLine(int argc, const char* const* argv, CommandLine& line);

}  // namespace tarnview
