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

/// How the picture is chosen, from the options documented in README and not in the usage
/// text: -psd, -tile N, -sigma K, -saturate P and -bin N.
enum ContrastRule { histogramPeakRule = 0, sigmaRule = 1, saturateRule = 2 };

struct DisplayOptions {
    bool psd = false;              // -psd: the averaged power spectrum instead of the image
    int tile = 512;                // -tile N: its tile side
    int bin = 1;                   // -bin N: n x n binning as the image is read
    int rule = histogramPeakRule;  // -sigma / -saturate, the last one given
    double ruleValue = 0;          // k of -sigma, the percentage of -saturate
};

/// Reads the display option at argv[i] (and its value) into options. Returns the number
/// of arguments it consumed (2 for an option with a value, also when the value is
/// missing or not a number: the value then reads as NaN or 0 and the converter refuses
/// it), or 0 when argv[i] is not a display option.
int parseDisplayOption(int argc, const char* const* argv, int i, DisplayOptions& options);

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
    DisplayOptions display;
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
